// Lists of valid codes from the reference value service: the codes of the
// set named setName under the authority "Kelvast", in the service's order.
// The lookup of each class that offers such lists (its private getFromRVS)
// runs this inside its own ladder.
#ifndef KEL_REFERENCEVALUES_H
#define KEL_REFERENCEVALUES_H

#include "kel_Array.h"
#include "kel_WellExport.h"

// nilSetText: the class's direct failure when the service answers a nil set.
kel_Array<kel_WellString> kel_referenceValues(const kel_WellString& setName, const char* nilSetText);

#endif
