#include "core/FaultInjection.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include <EpiWell.hh>

#include "core/RemoteErrors.h"

namespace kelwelld {

namespace {

struct Armed {
  std::string operation;
  std::string objectId;
  EpSession::FaultAction action;
  std::string exceptionName;
  std::string text1;
  std::string text2;
  long value;
};

struct Registry {
  std::atomic<bool> enabled{false};
  std::mutex mutex;
  std::vector<Armed> faults;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

thread_local bool internalCall = false;

using Raiser = std::function<void(const Armed&)>;

template <class E>
Raiser oneText() {
  return [](const Armed& f) { throw E(f.text1.c_str()); };
}

template <class E>
Raiser system() {
  return [](const Armed&) { throw E(0, CORBA::COMPLETED_NO); };
}

// Every exception of the remote contract, by scoped name, and the system
// exceptions a client must be ready for.
const std::map<std::string, Raiser>& raisers() {
  static const std::map<std::string, Raiser> table = {
      {"EpTypes::FailedOperationException", oneText<EpTypes::FailedOperationException>()},
      {"EpTypes::BadArgumentsException", oneText<EpTypes::BadArgumentsException>()},
      {"EpTypes::InsufficientDataException", oneText<EpTypes::InsufficientDataException>()},
      {"EpTypes::InvalidDataTypeException",
       [](const Armed& f) {
         throw EpTypes::InvalidDataTypeException(static_cast<EpTypes::DataType>(f.value),
                                                 f.text1.c_str());
       }},
      {"EpDataStore::StoreException",
       [](const Armed& f) { throw EpDataStore::StoreException(f.text1.c_str(), f.text2.c_str()); }},
      {"EpEntity::ValidationException", oneText<EpEntity::ValidationException>()},
      {"EpUnitOfMeasureService::ConversionException",
       oneText<EpUnitOfMeasureService::ConversionException>()},
      {"EpCoordinateService::NoKnownTransformException",
       oneText<EpCoordinateService::NoKnownTransformException>()},
      {"EpReferenceValueService::NotFoundException",
       oneText<EpReferenceValueService::NotFoundException>()},
      {"CosLifeCycle::NoFactory",
       [](const Armed& f) {
         CosLifeCycle::Key key;
         key.length(1);
         key[0].id = f.text1.c_str();
         key[0].kind = f.text2.c_str();
         throw CosLifeCycle::NoFactory(key);
       }},
      {"EpiWell::WellBore::NoDefaultWellVelocityException",
       oneText<EpiWell::WellBore::NoDefaultWellVelocityException>()},
      {"EpiWell::WellBore::InvalidNumSamplesException",
       oneText<EpiWell::WellBore::InvalidNumSamplesException>()},
      {"EpiWell::WellBoreList::DuplicateBoreException",
       oneText<EpiWell::WellBoreList::DuplicateBoreException>()},
      {"EpiWell::WellBoreList::BoreNotFoundException",
       oneText<EpiWell::WellBoreList::BoreNotFoundException>()},
      {"EpiWell::WellBoreList::InvalidOperationException",
       oneText<EpiWell::WellBoreList::InvalidOperationException>()},
      {"EpiWell::WellLogTrace::InvalidIndexException",
       oneText<EpiWell::WellLogTrace::InvalidIndexException>()},
      {"EpiWell::WellLogTrace::ImpossibleConversionException",
       oneText<EpiWell::WellLogTrace::ImpossibleConversionException>()},
      {"EpiWell::WellLogTrace::InvalidNumSamplesException",
       oneText<EpiWell::WellLogTrace::InvalidNumSamplesException>()},
      {"EpiWell::WellLogTrace::NonMonotonicIndexException",
       oneText<EpiWell::WellLogTrace::NonMonotonicIndexException>()},
      {"EpiWell::WellVelocity::InvalidDataPairException",
       oneText<EpiWell::WellVelocity::InvalidDataPairException>()},
      {"EpiWell::WellVelocity::InvalidNumSamplesException",
       oneText<EpiWell::WellVelocity::InvalidNumSamplesException>()},
      {"EpiWell::WellVelocity::TimeNotFoundException",
       oneText<EpiWell::WellVelocity::TimeNotFoundException>()},
      {"EpiWell::WellVelocity::ConversionNotSupportedException",
       oneText<EpiWell::WellVelocity::ConversionNotSupportedException>()},
      {"CORBA::UNKNOWN", system<CORBA::UNKNOWN>()},
      {"CORBA::TRANSIENT", system<CORBA::TRANSIENT>()},
      {"CORBA::NO_PERMISSION", system<CORBA::NO_PERMISSION>()},
      {"CORBA::COMM_FAILURE", system<CORBA::COMM_FAILURE>()},
      {"CORBA::OBJECT_NOT_EXIST", system<CORBA::OBJECT_NOT_EXIST>()},
      {"CORBA::NO_IMPLEMENT", system<CORBA::NO_IMPLEMENT>()},
      {"CORBA::BAD_PARAM", system<CORBA::BAD_PARAM>()},
      {"CORBA::INTERNAL", system<CORBA::INTERNAL>()},
      {"CORBA::NO_MEMORY", system<CORBA::NO_MEMORY>()},
      {"CORBA::TIMEOUT", system<CORBA::TIMEOUT>()},
  };
  return table;
}

} // namespace

std::optional<ValueFault> enterFault(const char* operation, const std::string& objectId) {
  Registry& r = registry();
  if (!r.enabled.load(std::memory_order_relaxed) || internalCall) return std::nullopt;
  Armed fault;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    auto match = r.faults.begin();
    for (; match != r.faults.end(); ++match)
      if (match->operation == operation && (match->objectId.empty() || match->objectId == objectId))
        break;
    if (match == r.faults.end()) return std::nullopt;
    fault = *match;
    r.faults.erase(match);
  }
  if (fault.action == EpSession::RAISE_EXCEPTION) {
    raisers().at(fault.exceptionName)(fault);
  }
  return ValueFault{fault.action, fault.value};
}

void enableFaultInjection() { registry().enabled = true; }

bool faultInjectionEnabled() { return registry().enabled; }

void armFault(const EpSession::Fault& fault) {
  Armed armed{fault.operation.in(), fault.objectId.in(), fault.action, fault.exceptionName.in(),
              fault.text1.in(),     fault.text2.in(),    static_cast<long>(fault.value)};
  if (armed.operation.empty()) throwBadArguments("The fault names no operation. ");
  if (armed.action == EpSession::RAISE_EXCEPTION && raisers().count(armed.exceptionName) == 0) {
    std::string known;
    for (const auto& entry : raisers()) known += (known.empty() ? "" : ", ") + entry.first;
    throwBadArguments("The fault's exception " + quoted(armed.exceptionName) +
                      " is not one the service can raise; known: " + known + ". ");
  }
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.faults.push_back(std::move(armed));
}

void clearFaults() {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.faults.clear();
}

unsigned long armedFaultCount() {
  Registry& r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return static_cast<unsigned long>(r.faults.size());
}

InternalCall::InternalCall() : m_previous(internalCall) { internalCall = true; }

InternalCall::~InternalCall() { internalCall = m_previous; }

void FaultInjectorServant::arm(const EpSession::Fault& fault) { armFault(fault); }

void FaultInjectorServant::clear() { clearFaults(); }

CORBA::ULong FaultInjectorServant::armedCount() {
  return static_cast<CORBA::ULong>(armedFaultCount());
}

} // namespace kelwelld
