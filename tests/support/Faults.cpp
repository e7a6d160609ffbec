#include "Faults.h"

#include <stdexcept>
#include <utility>

namespace kelwell_test {

Faults::Faults(EpSession::FaultInjector_var injector) : m_injector(std::move(injector)) {
  if (CORBA::is_nil(m_injector.in())) throw std::runtime_error("kelwelld runs without --fault-injection");
}

void Faults::raise(const char* operation, const char* exceptionName, const char* text1, const char* text2,
                   const std::string& objectId) const {
  arm(operation, objectId, EpSession::RAISE_EXCEPTION, exceptionName, text1, text2, 0);
}

void Faults::returnNil(const char* operation, const std::string& objectId) const {
  arm(operation, objectId, EpSession::RETURN_NIL, "", "", "", 0);
}

void Faults::returnOutOfRange(const char* operation, long value, const std::string& objectId) const {
  arm(operation, objectId, EpSession::RETURN_OUT_OF_RANGE, "", "", "", value);
}

unsigned long Faults::armed() const { return m_injector->armedCount(); }

void Faults::clear() const { m_injector->clear(); }

void Faults::arm(const char* operation, const std::string& objectId, EpSession::FaultAction action,
                 const char* exceptionName, const char* text1, const char* text2, long value) const {
  EpSession::Fault fault;
  fault.operation = operation;
  fault.objectId = objectId.c_str();
  fault.action = action;
  fault.exceptionName = exceptionName;
  fault.text1 = text1;
  fault.text2 = text2;
  fault.value = static_cast<CORBA::Long>(value);
  m_injector->arm(fault);
}

} // namespace kelwell_test
