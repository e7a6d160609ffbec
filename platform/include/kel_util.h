// kel_util: factory lookup, reference values and units of measure.
// Results are object references owned by the caller; remote exceptions pass
// through unchanged so that callers can translate them.
#ifndef KEL_UTIL_H
#define KEL_UTIL_H

#include <EpReferenceValueService.hh>
#include <EpSession.hh>
#include <EpUnitOfMeasureService.hh>

namespace kel_util {

struct FactoryFinder {
  // The storeless factory whose interface has repositoryId; nil when none.
  static CORBA::Object_ptr findFactory(EpSession::Session_ptr session, const char* repositoryId);
  // The factory for objects kept in storeName; unused must be null. Nil when none.
  static CORBA::Object_ptr findFactory(EpSession::Session_ptr session, const char* repositoryId,
                                       const char* unused, const char* storeName);
};

struct ReferenceValue {
  static EpReferenceValueService::ReferenceValueService_ptr getService();
};

struct UnitOfMeasure {
  // EpTypes::BadArgumentsException for an unknown acronym.
  static EpUnitOfMeasureService::Unit_ptr getUnit(const char* acronym);
};

} // namespace kel_util

#endif
