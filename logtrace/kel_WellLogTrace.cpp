#include "kel_WellLogTrace.h"

#include <memory>

#include <EpiWell.hh>

#include "kel_DataQuantityConverter.h"
#include "kel_FailureTranslation.h"
#include "kel_RemoteAccess.h"
#include "kel_WellEnumConverter.h"
#include "kel_WrapperCore.h"

using namespace kel_translation;
using Core = kel_WrapperCore<kel_WellLogTrace>;
using Remote = Core::Objref;
using RemoteTraceData = EpiWell::WellLogTrace::TraceData;

template class kel_Array<kel_WellLogTrace>;

namespace {

// The data type code of every read: the service delivers 32-bit floats.
constexpr EpTypes::DataType floats = EpTypes::FLOAT_DATA;

constexpr const char* cls = "kel_WellLogTrace";

// ---------------------------------------------------------------- trace data both ways

// The remote form of data, converted in the order the operation needs (the
// creators convert the index kind last, the writers first). The sample
// arrays move in one copy each.
enum class KindFirst { Yes, No };

// Hands the converter's float buffer over to the trace data instead of
// copying it a second time.
void moveFloats(EpTypes::DataSequence& from, EpTypes::DataSequence& to) {
  EpTypes::FloatSeq& source = from.floatValues();
  const CORBA::ULong maximum = source.maximum();
  const CORBA::ULong length = source.length();
  CORBA::Float* buffer = source.get_buffer(true);
  to.floatValues(EpTypes::FloatSeq());
  to.floatValues().replace(maximum, length, buffer, true);
}

std::unique_ptr<RemoteTraceData> makeRemoteTraceData(const kel_WellLogTrace::TraceData& data, KindFirst order) {
  auto remote = std::make_unique<RemoteTraceData>();
  if (order == KindFirst::Yes) remote->indexKind = kel_WellEnumConverter::makeEpiIndexKind(data.indexKind);
  const std::unique_ptr<EpiTypes::DataQuantities> index = kel_DataQuantityConverter::makeDataQuantities(data.index);
  remote->index.unit = index->unit;
  moveFloats(index->values, remote->index.values);
  const std::unique_ptr<EpiTypes::DataQuantitiesSeq> trace =
      kel_DataQuantityConverter::makeDataQuantitiesSeq(data.trace);
  remote->trace.unit = trace->unit;
  remote->trace.values.length(trace->values.length());
  for (CORBA::ULong i = 0; i < trace->values.length(); ++i) moveFloats(trace->values[i], remote->trace.values[i]);
  if (order == KindFirst::No) remote->indexKind = kel_WellEnumConverter::makeEpiIndexKind(data.indexKind);
  return remote;
}

// A reply's samples become the trace data's arrays as they are: the arrays
// take over the buffers the ORB received them into.
kel_WellLogTrace::TraceData makeKelTraceData(RemoteTraceData& remote) {
  kel_WellLogTrace::TraceData data;
  data.indexKind = kel_WellEnumConverter::makeKelIndexKind(remote.indexKind);
  data.index = kel_DataQuantityConverter::takeKelFloatQuantities(remote.index);
  data.trace = kel_DataQuantityConverter::takeKelFloatQuantitiesSeq(remote.trace);
  return data;
}

// ---------------------------------------------------------------- units of the reads

EpUnitOfMeasureService::Unit_ptr unitOf(const kel_Unit& unit) {
  return kel_remote::rawOrNil<EpUnitOfMeasureService::Unit>(unit);
}

kel_Unit orUnitless(const kel_Unit& unit) {
  return unit.isNil() ? kel_Unit::getUnit(kel_Unit::unitless) : unit;
}

// The default unit of an index kind: depth for 0 to 2, time for 3 and 4;
// any other number is refused.
kel_Unit defaultUnitOfKind(int kind) {
  const kel_UnitMeasureSet defaults = kel_UnitMeasureSet::getDefaultUnits();
  if (kind >= 0 && kind <= 2) return orUnitless(defaults.depthUnit);
  if (kind == 3 || kind == 4) return orUnitless(defaults.timeUnit);
  kel_cppUtil::String text("The given kind couldn't be mapped: ");
  text << kind;
  throw kel_SystemException(text);
}

// The X ladder of the index and data reads with a unit: the split
// ImpossibleConversion clause carries the operation in its second piece.
template <std::size_t N>
constexpr auto readLadder(const char (&piece)[N]) {
  return Standard(Conversion, ImpossibleConversion.split(ImpossibleConversionOpening, piece), InvalidIndex, Store);
}

// The N ladder of addNValues: each trace exception becomes kel_UserException.
constexpr auto appendLadder() {
  return Standard(TraceInvalidNumSamples, NonMonotonicIndex.throwingUser(), ImpossibleConversion.throwingUser(),
                  InvalidIndex.throwingUser(), Store);
}

} // namespace

// ---------------------------------------------------------------- the wrapper core

kel_WellLogTrace::kel_WellLogTrace() = default;

kel_WellLogTrace::kel_WellLogTrace(const kel_RemoteStub& stub, bool duplicate)
    : kel_Entity(Core::typedStub(stub), false) {
  Core::adopt(*this, stub, duplicate);
}

kel_WellLogTrace::kel_WellLogTrace(const kel_WellLogTrace& other, bool duplicate) : kel_Entity(other, false) {
  assignment(other, duplicate);
}

kel_WellLogTrace::~kel_WellLogTrace() = default;

kel_WellLogTrace& kel_WellLogTrace::operator=(const kel_WellLogTrace& other) { return Core::copy(*this, other); }
bool kel_WellLogTrace::operator==(const kel_WellLogTrace& other) const { return Core::equal(*this, other); }
bool kel_WellLogTrace::operator<(const kel_WellLogTrace& other) const { return Core::less(*this, other); }

void kel_WellLogTrace::assignment(const kel_WellLogTrace& other, bool duplicate) {
  Core::assignment(*this, other, duplicate);
}
void* kel_WellLogTrace::getBaseObject() const { return Core::baseObject(*this); }
kel_cppUtil::String kel_WellLogTrace::getClassName() const { return Core::className(); }
kel_WellString kel_WellLogTrace::getEntityType() { return Core::entityType(); }
kel_WellString kel_WellLogTrace::getRepositoryId() { return Core::repositoryId(); }
kel_Project kel_WellLogTrace::getProject() const { return Core::project(*this); }

kel_WellLogTrace kel_WellLogTrace::narrow(const kel_Entity& entity, bool mustMatch) {
  return Core::narrow(entity, mustMatch);
}

kel_Array<kel_WellLogTrace> kel_WellLogTrace::narrow(const kel_Array<kel_Entity>& entities, bool mustMatch) {
  return Core::narrowArray(entities, mustMatch);
}

kel_WellLogTrace kel_WellLogTrace::getFromString(const kel_WellString& text) { return Core::fromString(text); }

kel_Array<kel_WellLogTrace> kel_WellLogTrace::getWellLogTracesInProject(const kel_Project& project) {
  return Core::inProject(project);
}

// ---------------------------------------------------------------- creation

namespace {

constexpr kel_CreatorTexts newTexts{"The EpiWell::NewWellLogTraceFactory came back nil. ",
                                    "The EpiWell::WellLogTrace came back nil. "};
constexpr kel_CreatorTexts storelessTexts{"The EpiWell::StorelessWellLogTraceFactory came back nil. ",
                                          "The EpiWell::WellLogTrace came back nil. "};

// What both factories are called with after the trace data; the wellbore is
// checked after the factory was found.
template <class Factory>
EpiWell::WellLogTrace_ptr createOn(Factory factory, EpSession::Session_ptr session, const kel_WellBore& bore,
                                   const kel_WellString& text1, const kel_WellString& text2,
                                   const kel_WellString& text3, const RemoteTraceData& data, float nullValue) {
  EpiWell::WellBore_ptr remoteBore = kel_remote::rawOrNil<EpiWell::WellBore>(bore);
  if (CORBA::is_nil(remoteBore)) throw kel_SystemException("The supplied bore is nil. ");
  const EpTypes::DataValue null = kel_DataQuantityConverter::makeDataValue(nullValue);
  return factory->createWellLogTrace(remoteBore, static_cast<const char*>(text1), static_cast<const char*>(text2),
                                     static_cast<const char*>(text3), data, null, session);
}

} // namespace

kel_WellLogTrace kel_WellLogTrace::createNewWellLogTrace(const kel_WellBore& bore, const kel_WellString& text1,
                                                         const kel_WellString& text2,
                                                         const kel_WellString& text3, const TraceData& data,
                                                         float nullValue, const kel_Session& session) {
  return translate(
      Msg{"Could not create a new well logTrace from given inputs. "}, Where{cls, "createNewWellLogTrace"},
      Standard(Store, FailedOperation, NoFactory), [&] {
        return Core::createNew(
            session, bore, newTexts, [&] { return makeRemoteTraceData(data, KindFirst::No); },
            [&](EpiWell::NewWellLogTraceFactory_ptr factory, EpSession::Session_ptr on,
                const std::unique_ptr<RemoteTraceData>& remote) {
              return createOn(factory, on, bore, text1, text2, text3, *remote, nullValue);
            });
      });
}

kel_WellLogTrace kel_WellLogTrace::createStorelessWellLogTrace(const kel_WellBore& bore,
                                                               const kel_WellString& text1,
                                                               const kel_WellString& text2,
                                                               const kel_WellString& text3,
                                                               const TraceData& data, float nullValue,
                                                               const kel_Session& session) {
  return translate(
      Msg{"Could not create a storeless well logTrace from given inputs. "},
      Where{cls, "createStorelessWellLogTrace"}, Standard(Store, FailedOperation, NoFactory), [&] {
        return Core::createStoreless(
            session, storelessTexts, [&] { return makeRemoteTraceData(data, KindFirst::No); },
            [&](EpiWell::StorelessWellLogTraceFactory_ptr factory, EpSession::Session_ptr on,
                const std::unique_ptr<RemoteTraceData>& remote) {
              return createOn(factory, on, bore, text1, text2, text3, *remote, nullValue);
            });
      });
}

// ---------------------------------------------------------------- attributes

kel_WellString kel_WellLogTrace::getComment() {
  return Core::getText(*this, &Remote::getComment, Msg{"Could not return the general comment about this well logTrace. "},
                       Where{cls, "getComment"}, Standard(Store));
}
void kel_WellLogTrace::setComment(const kel_WellString& comment) {
  Core::setText(*this, &Remote::setComment, comment,
                Msg{"Could not update the general comment about this well logTrace. "}, Where{cls, "setComment"},
                Standard(Store, Validation));
}

kel_Date kel_WellLogTrace::getCreationDate() {
  return Core::getDate(*this, &Remote::getCreationDate,
                       Msg{"Could not return the date and time this log trace was interpreted. "},
                       Where{cls, "getCreationDate"}, Standard(Store));
}

kel_WellString kel_WellLogTrace::getDataSource() {
  return Core::getText(
      *this, &Remote::getDataSource,
      Msg{"Could not return the name of the source supplying the information about this well logTrace. "},
      Where{cls, "getDataSource"}, Standard(Store));
}
void kel_WellLogTrace::setDataSource(const kel_WellString& dataSource) {
  Core::setText(*this, &Remote::setDataSource, dataSource,
                Msg{"Could not update the name of the source supplying the information about this well logTrace. "},
                Where{cls, "setDataSource"}, Standard(Store, Validation));
}

float kel_WellLogTrace::getNullValue() const {
  return translate(Msg{"Could not return the value used to denote missing, unknown, or null value. "},
                   Where{cls, "getNullValue"}, Standard(Store), [&] {
                     const EpTypes::DataValue value = Core::remote(*this)->getNullValue();
                     return kel_DataQuantityConverter::makeKelFloat(value);
                   });
}
void kel_WellLogTrace::setNullValue(float nullValue) {
  translate(Msg{"Could not update the value used to denote missing, unknown, or null value. "},
            Where{cls, "setNullValue"}, Standard(Store, Validation), [&] {
              const EpTypes::DataValue value = kel_DataQuantityConverter::makeDataValue(nullValue);
              Core::remote(*this)->setNullValue(value);
            });
}

long kel_WellLogTrace::getNumElements() const {
  return translate(Msg{"Could not return the number of trace values per index value. "},
                   Where{cls, "getNumElements"}, Standard(Store),
                   [&] { return static_cast<long>(Core::remote(*this)->getNumElements()); });
}

long kel_WellLogTrace::getNumSamples() const {
  return translate(Msg{"Could not return the number of samples in the trace. "}, Where{cls, "getNumSamples"},
                   Standard(Store), [&] { return static_cast<long>(Core::remote(*this)->getNumSamples()); });
}

kel_WellString kel_WellLogTrace::getSoftSource() {
  return Core::getText(*this, &Remote::getSoftSource,
                       Msg{"Could not return the name of the application program that created this well logTrace. "},
                       Where{cls, "getSoftSource"}, Standard(Store));
}
void kel_WellLogTrace::setSoftSource(const kel_WellString& softSource) {
  Core::setText(*this, &Remote::setSoftSource, softSource,
                Msg{"Could not update the name of the application program that created this well logTrace. "},
                Where{cls, "setSoftSource"}, Standard(Store, Validation));
}

kel_WellString kel_WellLogTrace::getTraceKind() {
  return Core::getText(*this, &Remote::getTraceKind, Msg{"Could not return the kind of the trace (eg GR, RHOB). "},
                       Where{cls, "getTraceKind"}, Standard(Store));
}
void kel_WellLogTrace::setTraceKind(const kel_WellString& traceKind) {
  Core::setText(*this, &Remote::setTraceKind, traceKind, Msg{"Could not update the kind of the trace (eg GR, RHOB). "},
                Where{cls, "setTraceKind"}, Standard(Store, Validation));
}

kel_WellString kel_WellLogTrace::getTraceName() {
  return Core::getText(*this, &Remote::getTraceName, Msg{"Could not return the name of this well logTrace. "},
                       Where{cls, "getTraceName"}, Standard(Store));
}
void kel_WellLogTrace::setTraceName(const kel_WellString& traceName) {
  Core::setText(*this, &Remote::setTraceName, traceName, Msg{"Could not update the name of the trace. "},
                Where{cls, "setTraceName"}, Standard(Store, Validation));
}

kel_WellLogTrace::TraceProcessState kel_WellLogTrace::getTraceProcess() {
  return Core::getEnum(*this, &Remote::getTraceProcess, &kel_WellEnumConverter::makeKelTraceProcessState,
                       Msg{"Could not return the trace process state (Raw, Edited, DepthAjusted, Corrected,...).  "},
                       Where{cls, "getTraceProcess"}, Standard(Store));
}
void kel_WellLogTrace::setTraceProcess(TraceProcessState state) {
  Core::setEnum(*this, &Remote::setTraceProcess, &kel_WellEnumConverter::makeEpiTraceProcessState, state,
                Msg{"Could not update the trace process state (Raw, Edited, DepthAjusted, Corrected,...).  "},
                Where{cls, "setTraceProcess"}, Standard(Store, Validation));
}

kel_Unit kel_WellLogTrace::getTraceUnit() {
  return translate(Msg{"Could not return the unit of measure of the trace values. "}, Where{cls, "getTraceUnit"},
                   Standard(Store), [&] {
                     EpUnitOfMeasureService::Unit_var unit = Core::remote(*this)->getTraceUnit();
                     if (CORBA::is_nil(unit.in()))
                       throw kel_SystemException("The EpUnitOfMeasureService::Unit came back nil. ");
                     CORBA::String_var acronym = unit->acronym();
                     return kel_Unit::getUnit(acronym.in());
                   });
}
void kel_WellLogTrace::setTraceUnit(const kel_Unit& unit) {
  translate(Msg{"Could not update the unit of measure of the trace values. "}, Where{cls, "setTraceUnit"},
            Standard(Store, Validation), [&] {
              EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
              if (CORBA::is_nil(remoteUnit)) throw kel_SystemException("The provided unit is nil. ");
              Core::remote(*this)->setTraceUnit(remoteUnit);
            });
}

long kel_WellLogTrace::getTraceVersion() const {
  return translate(Msg{"Could not return the trace version of this well logTrace. "}, Where{cls, "getTraceVersion"},
                   Standard(Store), [&] { return static_cast<long>(Core::remote(*this)->getTraceVersion()); });
}

kel_WellString kel_WellLogTrace::getUser() {
  return Core::getText(*this, &Remote::getUser,
                       Msg{"Could not return the user id of the user who created this well logTrace. "},
                       Where{cls, "getUser"}, Standard(Store));
}
void kel_WellLogTrace::setUser(const kel_WellString& user) {
  Core::setText(*this, &Remote::setUser, user,
                Msg{"Could not update the user id of the user who created this well logTrace. "},
                Where{cls, "setUser"}, Standard(Store, Validation));
}

kel_WellLogTrace::IndexKind kel_WellLogTrace::getNativeIndexKind() {
  return Core::getEnum(*this, &Remote::getNativeIndexKind, &kel_WellEnumConverter::makeKelIndexKind,
                       Msg{"Could not return this well logTrace's  native index kind. "},
                       Where{cls, "getNativeIndexKind"}, Standard(Store));
}

kel_Date kel_WellLogTrace::getLastModified(const kel_WellString& selector) {
  return translate(Msg{"Could not return the last modified date of this well logTrace. "},
                   Where{cls, "getLastModified"}, Standard(Store, Validation), [&] {
                     CORBA::String_var text = Core::remote(*this)->getLastModified(static_cast<const char*>(selector));
                     return kel_Date::fromString(text.in());
                   });
}

kel_WellBore kel_WellLogTrace::getBore() {
  return translate(Msg{"Could not return the Bore the well logTrace belongs to. "}, Where{cls, "getBore"},
                   Standard(Store), [&] {
                     EpiWell::WellBore_var bore = Core::remote(*this)->getBore();
                     if (CORBA::is_nil(bore.in())) return kel_WellBore();
                     return kel_WrapperCore<kel_WellBore>::wrap(bore.in());
                   });
}

// ---------------------------------------------------------------- index information

void kel_WellLogTrace::getIndexInfo(const kel_Unit& unit, IndexKind kind, kel_FloatQuantity& increment,
                                    kel_FloatQuantity& minimum, kel_FloatQuantity& maximum, bool& flag) const {
  translate(Msg{"Could not return the index increment, minimum and maximum values for the supplied IndexKind. "},
            Where{cls, "getIndexInfo"}, readLadder(" exception in the kel_WellLogTrace::getIndexInfo method. "), [&] {
              EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
              const EpiWell::WellLogTrace::IndexKind remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
              EpiTypes::DataQuantity_var step, low, high;
              const CORBA::Boolean regular =
                  Core::remote(*this)->getIndexInfo(remoteUnit, floats, remoteKind, step.out(), low.out(), high.out());
              increment = kel_DataQuantityConverter::makeKelFloatQuantity(step.in());
              minimum = kel_DataQuantityConverter::makeKelFloatQuantity(low.in());
              maximum = kel_DataQuantityConverter::makeKelFloatQuantity(high.in());
              flag = regular != 0;
            });
}

void kel_WellLogTrace::getIndexInfo(IndexKind kind, kel_FloatQuantity& increment, kel_FloatQuantity& minimum,
                                    kel_FloatQuantity& maximum, bool& flag) const {
  translate(Msg{"Could not return the index increment, minimum and maximum values for the supplied IndexKind. "},
            Where{cls, "getIndexInfo"}, Standard(), [&] {
              // Only kinds 3 and 4 are times; any other number, valid or not,
              // takes the depth unit and is judged by the form with a unit.
              const kel_UnitMeasureSet defaults = kel_UnitMeasureSet::getDefaultUnits();
              const bool time = kind == INDEX_KIND_3 || kind == INDEX_KIND_4;
              getIndexInfo(orUnitless(time ? defaults.timeUnit : defaults.depthUnit), kind, increment, minimum,
                           maximum, flag);
            });
}

namespace {

// Top and bottom index: the one read that converts units on this side.
kel_FloatQuantity endIndexIn(const kel_WellLogTrace& self, const kel_Unit& unit, kel_WellLogTrace::IndexKind kind,
                             EpiTypes::DataQuantity* (Remote::*read)(EpUnitOfMeasureService::Unit_ptr,
                                                                     EpTypes::DataType,
                                                                     EpiWell::WellLogTrace::IndexKind)) {
  EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
  const EpiWell::WellLogTrace::IndexKind remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
  EpiTypes::DataQuantity_var answer = (Core::remote(self)->*read)(remoteUnit, floats, remoteKind);
  const kel_FloatQuantity q = kel_DataQuantityConverter::makeKelFloatQuantity(answer.in());
  if (unit.getAcronym() == static_cast<const char*>(q.getUnit().getAcronym())) return q;
  if (unit.isNil()) return q;
  return unit.transform(q);
}

} // namespace

kel_FloatQuantity kel_WellLogTrace::getTopIndex(const kel_Unit& unit, IndexKind kind) {
  return translate(Msg{"Could not return the first index value in the trace for the supplied index kind and unit. "},
                   Where{cls, "getTopIndex"}, readLadder(" exception in the kel_WellLogTrace::getTopIndex method. "),
                   [&] { return endIndexIn(*this, unit, kind, &Remote::getTopIndex); });
}

kel_FloatQuantity kel_WellLogTrace::getTopIndex(IndexKind kind) {
  return translate(
      Msg{"Could not return the first index value that exists in the trace for the supplied index kind. "},
      Where{cls, "getTopIndex"}, Standard(),
      [&] { return getTopIndex(orUnitless(kel_UnitMeasureSet::getDefaultUnits().depthUnit), kind); });
}

kel_FloatQuantity kel_WellLogTrace::getBottomIndex(const kel_Unit& unit, IndexKind kind) {
  return translate(Msg{"Could not return the last index value in the trace for the supplied index kind and unit. "},
                   Where{cls, "getBottomIndex"},
                   readLadder(" exception in the kel_WellLogTrace::getBottomIndex method. "),
                   [&] { return endIndexIn(*this, unit, kind, &Remote::getBottomIndex); });
}

kel_FloatQuantity kel_WellLogTrace::getBottomIndex(IndexKind kind) {
  return translate(
      Msg{"Could not return the last index value that exists in the trace for the supplied index kind. "},
      Where{cls, "getBottomIndex"}, Standard(),
      [&] { return getBottomIndex(orUnitless(kel_UnitMeasureSet::getDefaultUnits().depthUnit), kind); });
}

// ---------------------------------------------------------------- trace data

kel_WellLogTrace::TraceData kel_WellLogTrace::getTraceData(const kel_Unit& unit, IndexKind kind) {
  return translate(Msg{"Could not return the trace data and the index for supplied indexKind and unit. "},
                   Where{cls, "getTraceData"}, readLadder(" exception in the kel_WellLogTrace::getTraceData method. "),
                   [&] {
                     EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
                     const auto remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
                     EpiWell::WellLogTrace::TraceData_var data =
                         Core::remote(*this)->getTraceData(remoteUnit, floats, floats, remoteKind);
                     return makeKelTraceData(data.inout());
                   });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getTraceData(IndexKind kind) {
  return translate(Msg{"Could not return the trace data and the index with default unit and supplied indexKind. "},
                   Where{cls, "getTraceData"}, Standard(),
                   [&] { return getTraceData(defaultUnitOfKind(kind), kind); });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getDecimatedTraceData(const kel_Unit& unit, IndexKind kind,
                                                                    unsigned long step) {
  return translate(Msg{"Could not return the trace data for supplied unit, indexKind and decimation step. "},
                   Where{cls, "getDecimatedTraceData"},
                   readLadder(" exception in the kel_WellLogTrace::getDecimatedTraceData method. "), [&] {
                     EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
                     const auto remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
                     EpiWell::WellLogTrace::TraceData_var data = Core::remote(*this)->getDecimatedTraceData(
                         remoteUnit, floats, floats, remoteKind, static_cast<CORBA::ULong>(step));
                     return makeKelTraceData(data.inout());
                   });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getDecimatedTraceData(IndexKind kind, unsigned long step) {
  return translate(Msg{"Could not return the trace data with default unit, supplied indexKind and decimation step. "},
                   Where{cls, "getDecimatedTraceData"}, Standard(),
                   [&] { return getDecimatedTraceData(defaultUnitOfKind(kind), kind, step); });
}

namespace {

using RangeRead = EpiWell::WellLogTrace::TraceData* (Remote::*)(EpUnitOfMeasureService::Unit_ptr, EpTypes::DataType,
                                                                 EpTypes::DataType, EpiWell::WellLogTrace::IndexKind,
                                                                 const EpiTypes::DataQuantity&,
                                                                 const EpiTypes::DataQuantity&);

// The frame of both range reads: unit, kind, then to and from, then the request.
kel_WellLogTrace::TraceData rangeOf(const kel_WellLogTrace& self, RangeRead read, const kel_Unit& unit,
                                    kel_WellLogTrace::IndexKind kind, const kel_FloatQuantity& from,
                                    const kel_FloatQuantity& to) {
  EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
  const auto remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
  const std::unique_ptr<EpiTypes::DataQuantity> remoteTo = kel_DataQuantityConverter::makeDataQuantity(to);
  const std::unique_ptr<EpiTypes::DataQuantity> remoteFrom = kel_DataQuantityConverter::makeDataQuantity(from);
  EpiWell::WellLogTrace::TraceData_var data =
      (Core::remote(self)->*read)(remoteUnit, floats, floats, remoteKind, *remoteFrom, *remoteTo);
  return makeKelTraceData(data.inout());
}

} // namespace

kel_WellLogTrace::TraceData kel_WellLogTrace::getLogTraceByIndexRange(const kel_Unit& unit, IndexKind kind,
                                                                      kel_FloatQuantity from, kel_FloatQuantity to) {
  return translate(Msg{"Could not return the trace data in the index range using the supplied arguments. "},
                   Where{cls, "getLogTraceByIndexRange"},
                   readLadder(" exception in the kel_WellLogTrace::getLogTraceByIndexRange method. "),
                   [&] { return rangeOf(*this, &Remote::getTraceByIndexRange, unit, kind, from, to); });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getLogTraceByIndexRange(IndexKind kind, kel_FloatQuantity from,
                                                                      kel_FloatQuantity to) {
  return translate(Msg{"Could not return the trace data in the index range using default unit, supplied arguments. "},
                   Where{cls, "getLogTraceByIndexRange"}, Standard(),
                   [&] { return getLogTraceByIndexRange(defaultUnitOfKind(kind), kind, from, to); });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getLogTraceByTraceRange(const kel_Unit& unit, IndexKind kind,
                                                                      kel_FloatQuantity from, kel_FloatQuantity to) {
  return translate(Msg{"Could not return the trace data in the index range using the supplied arguments. "},
                   Where{cls, "getLogTraceByTraceRange"},
                   readLadder(" exception in the kel_WellLogTrace::getLogTraceByTraceRange method. "),
                   [&] { return rangeOf(*this, &Remote::getTraceByTraceRange, unit, kind, from, to); });
}

kel_WellLogTrace::TraceData kel_WellLogTrace::getLogTraceByTraceRange(IndexKind kind, kel_FloatQuantity from,
                                                                      kel_FloatQuantity to) {
  return translate(Msg{"Could not return the trace data in the index range using default unit, supplied arguments. "},
                   Where{cls, "getLogTraceByTraceRange"}, Standard(),
                   [&] { return getLogTraceByTraceRange(defaultUnitOfKind(kind), kind, from, to); });
}

// ---------------------------------------------------------------- extremes

namespace {

using ExtremeIndexRead = EpiTypes::DataQuantities* (Remote::*)(EpUnitOfMeasureService::Unit_ptr, EpTypes::DataType,
                                                                EpiWell::WellLogTrace::IndexKind);

kel_FloatQuantities extremeIndexOf(const kel_WellLogTrace& self, ExtremeIndexRead read, const kel_Unit& unit,
                                   kel_WellLogTrace::IndexKind kind) {
  EpUnitOfMeasureService::Unit_ptr remoteUnit = unitOf(unit);
  const auto remoteKind = kel_WellEnumConverter::makeEpiIndexKind(kind);
  EpiTypes::DataQuantities_var at = (Core::remote(self)->*read)(remoteUnit, floats, remoteKind);
  return kel_DataQuantityConverter::makeKelFloatQuantities(at.in());
}

} // namespace

kel_FloatQuantities kel_WellLogTrace::getMaxTraceIndexValue(const kel_Unit& unit, IndexKind kind) {
  return translate(Msg{"Could not return the index value(s) at which the maximum trace value occurs. "},
                   Where{cls, "getMaxTraceIndexValue"},
                   readLadder(" exception in the kel_WellLogTrace::getMaxTraceIndexValue method. "),
                   [&] { return extremeIndexOf(*this, &Remote::getMaxTraceIndexValue, unit, kind); });
}

kel_FloatQuantities kel_WellLogTrace::getMaxTraceIndexValue(IndexKind kind) {
  return translate(Msg{"Could not return the index value(s) at which the maximum trace value occurs using default unit. "},
                   Where{cls, "getMaxTraceIndexValue"}, Standard(),
                   [&] { return getMaxTraceIndexValue(defaultUnitOfKind(kind), kind); });
}

kel_FloatQuantities kel_WellLogTrace::getMinTraceIndexValue(const kel_Unit& unit, IndexKind kind) {
  return translate(Msg{"Could not return the index value(s) at which the minimum trace value occurs. "},
                   Where{cls, "getMinTraceIndexValue"},
                   readLadder(" exception in the kel_WellLogTrace::getMinTraceIndexValue method. "),
                   [&] { return extremeIndexOf(*this, &Remote::getMinTraceIndexValue, unit, kind); });
}

kel_FloatQuantities kel_WellLogTrace::getMinTraceIndexValue(IndexKind kind) {
  return translate(Msg{"Could not return the index value(s) at which the minimum trace value occurs using default unit. "},
                   Where{cls, "getMinTraceIndexValue"}, Standard(),
                   [&] { return getMinTraceIndexValue(defaultUnitOfKind(kind), kind); });
}

kel_FloatQuantity kel_WellLogTrace::getMaxTraceValue() {
  return translate(Msg{"Could not return the maximum amplitude value that exists in this well logTrace. "},
                   Where{cls, "getMaxTraceValue"}, Standard(Store), [&] {
                     EpiTypes::DataQuantity_var value = Core::remote(*this)->getMaxTraceValue();
                     return kel_DataQuantityConverter::makeKelFloatQuantity(value.in());
                   });
}

kel_FloatQuantity kel_WellLogTrace::getMinTraceValue() {
  return translate(Msg{"Could not return the minimum amplitude value that exists in this well logTrace. "},
                   Where{cls, "getMinTraceValue"}, Standard(Store), [&] {
                     EpiTypes::DataQuantity_var value = Core::remote(*this)->getMinTraceValue();
                     return kel_DataQuantityConverter::makeKelFloatQuantity(value.in());
                   });
}

// ---------------------------------------------------------------- writes

void kel_WellLogTrace::setTraceData(const TraceData& data) {
  translate(Msg{"Could not update the supplied trace data and the index. "}, Where{cls, "setTraceData"},
            Standard(TraceInvalidNumSamples.split(TraceInvalidNumSamplesOpening,
                                                  "exception in the kel_WellLogTrace::setTraceData method. "),
                     Store),
            [&] {
              const std::unique_ptr<RemoteTraceData> remote = makeRemoteTraceData(data, KindFirst::Yes);
              Core::remote(*this)->setTraceData(*remote);
            });
}

void kel_WellLogTrace::addNValues(const TraceData& data) {
  translate(Msg{"Could not add N values in the LogTrace for the trace and the index. "}, Where{cls, "addNValues"},
            appendLadder(), [&] {
              const std::unique_ptr<RemoteTraceData> remote = makeRemoteTraceData(data, KindFirst::Yes);
              Core::remote(*this)->addNValues(*remote);
            });
}

void kel_WellLogTrace::removeAllValues() {
  translate(Msg{"Could not remove all values in the well logTrace. "}, Where{cls, "removeAllValues"},
            Standard(Store), [&] { Core::remote(*this)->removeAllValues(); });
}
