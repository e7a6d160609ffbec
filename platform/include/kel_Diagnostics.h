// An operator's view of the failures the library translates.
//
// The library's texts for a CORBA exception it replaces are fixed and do
// not name it, so OBJECT_NOT_EXIST, TRANSIENT and MARSHAL read the same.
// With KELWELL_DIAGNOSTICS set to anything but "" or "0", each replaced
// exception is also written to standard error, one line each:
//   kelwell: CORBA::TRANSIENT minor 0x41540002 (TRANSIENT_ConnectFailed), completed NO; reported as "<context>"
// The texts the caller receives stay as they are.
#ifndef KEL_DIAGNOSTICS_H
#define KEL_DIAGNOSTICS_H

#include "kel_cppUtil.h"

namespace CORBA {
class Exception;
}

// Whether KELWELL_DIAGNOSTICS asks for the lines above.
bool kel_diagnosticsWanted();

// Writes the line for caught, replaced by a failure whose context is
// context, when kel_diagnosticsWanted(); nothing otherwise.
void kel_reportReplacedException(const CORBA::Exception& caught, const char* context);

// The line's text after "kelwell: ", without the newline.
kel_cppUtil::String kel_describeReplacedException(const CORBA::Exception& caught, const char* context);

#endif
