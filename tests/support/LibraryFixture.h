// The service fixture with the library's entities: wells and wellbores made
// through the stored factories. Header only: the programs that include it
// link libkelWell.
#ifndef KELWELL_TEST_LIBRARYFIXTURE_H
#define KELWELL_TEST_LIBRARYFIXTURE_H

#include "FailureChain.h"
#include "ServiceFixture.h"
#include "kel_StringPair.h"
#include "kel_Well.h"
#include "kel_WellBore.h"

namespace kelwell_test {

class LibraryFixture : public ServiceFixture {
protected:
  using ServiceFixture::ServiceFixture;

  kel_Well newWell(const char* name = "Well", const char* uwi = "UWI-1") const {
    return kel_Well::createNewWell(project, name, kel_StringPair("UWI", uwi), session);
  }
  kel_WellBore newBore(const kel_Well& well, const char* identifier = "00") const {
    return kel_WellBore::createNewWellBore(well, kel_StringPair("Bore", identifier), session);
  }
};

} // namespace kelwell_test

#endif
