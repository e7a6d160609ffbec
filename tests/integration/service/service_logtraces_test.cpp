// Log traces over the wire through raw stubs: samples across chunk borders
// surviving SIGKILL bit for bit, the factories' refusals, the grouping of the
// values, and what a read refuses.
#include <cmath>
#include <cstring>
#include <vector>

#include "Helpers.h"

using namespace kelwell_test;
using Trace = EpiWell::WellLogTrace;

namespace {

EpUnitOfMeasureService::Unit_var unit(EpSession::SessionManager_ptr manager, const char* acronym) {
  EpUnitOfMeasureService::UnitService_var units = manager->getUnitService();
  return units->getUnit(acronym);
}

void putFloats(EpTypes::DataSequence& sequence, const std::vector<float>& values) {
  sequence.floatValues(EpTypes::FloatSeq());
  sequence.floatValues().length(static_cast<CORBA::ULong>(values.size()));
  if (!values.empty()) std::memcpy(sequence.floatValues().get_buffer(), values.data(), values.size() * sizeof(float));
}

std::vector<float> floatsOf(const EpTypes::DataSequence& sequence) {
  const EpTypes::FloatSeq& floats = sequence.floatValues();
  return std::vector<float>(floats.get_buffer(), floats.get_buffer() + floats.length());
}

Trace::TraceData data(EpUnitOfMeasureService::Unit_ptr indexUnit, const std::vector<float>& index,
                      const std::vector<std::vector<float>>& elements, short kind = Trace::INDEX_MD) {
  Trace::TraceData d;
  d.index.unit = EpUnitOfMeasureService::Unit::_duplicate(indexUnit);
  putFloats(d.index.values, index);
  d.trace.values.length(static_cast<CORBA::ULong>(elements.size()));
  for (CORBA::ULong e = 0; e < elements.size(); ++e) putFloats(d.trace.values[e], elements[e]);
  d.indexKind = kind;
  return d;
}

EpTypes::DataValue nullValue(float value) {
  EpTypes::DataValue v;
  v.floatValue(value);
  return v;
}

// Bits, so that equality means the same floats.
std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
  std::vector<std::uint32_t> bits(values.size());
  if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
  return bits;
}

} // namespace

void samplesSurviveSigkill(ServiceProcess& service);

TEST(LogTraces, SamplesAcrossChunkBordersSurviveSigkillBitForBit) {
  ServiceProcess service;
  try {
    samplesSurviveSigkill(service);
  } catch (const CORBA::Exception& e) {
    FAIL() << "a remote failure: " << e._name() << ": " << service.standardError();
  }
}

void samplesSurviveSigkill(ServiceProcess& service) {
  service.start();
  // Two elements of 100000 values and an append: several chunks, a partly filled last one rewritten.
  const std::size_t n = 100000, more = 30001;
  std::vector<float> index(n + more), first(n + more), second(n + more);
  for (std::size_t i = 0; i < n + more; ++i) {
    index[i] = 500.0f + 0.1524f * static_cast<float>(i);
    first[i] = std::sin(static_cast<float>(i)) * 100.0f;
    second[i] = i % 7 == 0 ? -999.25f : static_cast<float>(i) * 1e-3f;
  }
  const auto part = [](const std::vector<float>& v, std::size_t from, std::size_t to) {
    return std::vector<float>(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to));
  };
  std::string traceIor;
  try {
    Client client(service);
    EpSession::Project_var project = client.newProject("traces");
    EpiWell::Well_var well = client.newWell(project.in(), "logged");
    EpiWell::WellBore_var bore = client.newWellBore(well.in(), "B");
    EpUnitOfMeasureService::Unit_var m = unit(client.manager.in(), "m");
    CORBA::Object_var found = client.factory(EpiWell::_tc_NewWellLogTraceFactory->id(), true);
    EpiWell::NewWellLogTraceFactory_var factory = EpiWell::NewWellLogTraceFactory::_narrow(found.in());
    EpiWell::WellLogTrace_var trace = factory->createWellLogTrace(bore.in(), "ARRAY", "AIT", "LAS",
                                                  data(m.in(), part(index, 0, n), {part(first, 0, n), part(second, 0, n)}),
                                                  nullValue(-999.25f), client.session.in());
    trace->addNValues(data(m.in(), part(index, n, n + more), {part(first, n, n + more), part(second, n, n + more)}));
    trace->setComment("two elements");
    EXPECT_EQ(1, trace->getTraceVersion());
    EXPECT_EQ(EpEntity::EntitySeq_var(bore->getLogTraces())->length(), 1u);
    traceIor = CORBA::String_var(clientOrb()->object_to_string(trace.in())).in();
  } catch (const CORBA::Exception& e) {
    FAIL() << e._name() << ": " << service.standardError();
  }
  service.kill();
  service.start();

  CORBA::Object_var object = clientOrb()->string_to_object(traceIor.c_str());
  // This process's ORB still holds the connection the killed service left
  // open; its first call finds it dead (a new client process would not).
  try {
    object->_non_existent();
  } catch (const CORBA::COMM_FAILURE&) {
  } catch (const CORBA::TRANSIENT&) {
  }
  EpiWell::WellLogTrace_var trace = Trace::_narrow(object.in());
  ASSERT_FALSE(CORBA::is_nil(trace.in()));
  Trace::TraceData_var back = trace->getTraceData(EpUnitOfMeasureService::Unit::_nil(), EpTypes::FLOAT_DATA,
                                                  EpTypes::FLOAT_DATA, Trace::INDEX_MD);
  EXPECT_EQ(bitsOf(index), bitsOf(floatsOf(back->index.values)));
  ASSERT_EQ(2u, back->trace.values.length());
  EXPECT_EQ(bitsOf(first), bitsOf(floatsOf(back->trace.values[0])));
  EXPECT_EQ(bitsOf(second), bitsOf(floatsOf(back->trace.values[1])));
  EXPECT_STREQ("m", CORBA::String_var(back->index.unit->acronym()).in());
  EXPECT_EQ(1, trace->getTraceVersion());
  EXPECT_EQ(2, trace->getNumElements());
  EXPECT_EQ(static_cast<CORBA::Long>(n + more), trace->getNumSamples());
  EXPECT_STREQ("two elements", CORBA::String_var(trace->getComment()).in());

  // A range across a chunk border reads the same values as the whole.
  EpUnitOfMeasureService::Unit_var m = EpUnitOfMeasureService::Unit::_duplicate(back->index.unit.in());
  EpiTypes::DataQuantity from, to;
  from.value.floatValue(index[65530]);
  from.unit = EpUnitOfMeasureService::Unit::_duplicate(m.in());
  to.value.floatValue(index[65540]);
  to.unit = EpUnitOfMeasureService::Unit::_duplicate(m.in());
  Trace::TraceData_var range =
      trace->getTraceByIndexRange(m.in(), EpTypes::FLOAT_DATA, EpTypes::FLOAT_DATA, Trace::INDEX_MD, from, to);
  EXPECT_EQ(bitsOf(part(index, 65530, 65541)), bitsOf(floatsOf(range->index.values)));
  EXPECT_EQ(bitsOf(part(second, 65530, 65541)), bitsOf(floatsOf(range->trace.values[1])));
}

TEST(LogTraces, FactoriesRefuseWhatCannotBeATrace) {
  ServiceProcess& service = sharedService();
  if (!service.running()) service.start();
  Client client(service);
  EpSession::Project_var project = client.newProject("refusals");
  EpiWell::Well_var well = client.newWell(project.in(), "w");
  EpiWell::WellBore_var bore = client.newWellBore(well.in(), "B");
  EpiWell::WellBore_var storelessBore =
      client.storelessWellBoreFactory()->createWellBore(well.in(), property("B", "mem"), client.session.in());
  EpUnitOfMeasureService::Unit_var m = unit(client.manager.in(), "m");
  CORBA::Object_var found = client.factory(EpiWell::_tc_NewWellLogTraceFactory->id(), true);
  EpiWell::NewWellLogTraceFactory_var stored = EpiWell::NewWellLogTraceFactory::_narrow(found.in());
  found = client.factory(EpiWell::_tc_StorelessWellLogTraceFactory->id(), false);
  EpiWell::StorelessWellLogTraceFactory_var storeless = EpiWell::StorelessWellLogTraceFactory::_narrow(found.in());
  const Trace::TraceData good = data(m.in(), {1, 2}, {{1, 2}});

  EXPECT_EQ("A stored log trace needs a stored wellbore; the wellbore is storeless. ",
            reasonOf<EpTypes::FailedOperationException>([&] {
              stored->createWellLogTrace(storelessBore.in(), "a", "b", "c", good, nullValue(0), client.session.in());
            }));
  struct Case {
    const char* what;
    Trace::TraceData data;
    float null;
    const char* reason;  // the start of it
  };
  const std::vector<Case> cases{
      {"decreasing index", data(m.in(), {2, 1}, {{1, 2}}), 0, "The trace data was refused: The index values must"},
      {"short inner array", data(m.in(), {1, 2}, {{1}}), 0, "The trace data was refused: Inner array 0 holds 1"},
      {"values without an index", data(m.in(), {1}, {}), 0, "The trace data was refused: 1 index values came"},
      {"kind out of range", data(m.in(), {1}, {{1}}, 7), 0, "The trace data was refused: The index kind 7"},
      {"infinite null value", good, INFINITY, "The null value must be a finite number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string reason = reasonOf<EpEntity::ValidationException>([&] {
      storeless->createWellLogTrace(bore.in(), "a", "b", "c", c.data, nullValue(c.null), client.session.in());
    });
    EXPECT_EQ(0u, reason.rfind(c.reason, 0)) << reason;
  }
  EXPECT_EQ(EpEntity::EntitySeq_var(bore->getLogTraces())->length(), 0u);  // nothing half made

  // A trace without samples has one element and answers empty inner arrays.
  EpiWell::WellLogTrace_var empty = storeless->createWellLogTrace(storelessBore.in(), "e", "", "", data(m.in(), {}, {}),
                                                  nullValue(-1), client.session.in());
  EXPECT_EQ(1, empty->getNumElements());
  Trace::TraceData_var none =
      empty->getDecimatedTraceData(m.in(), EpTypes::FLOAT_DATA, EpTypes::FLOAT_DATA, Trace::INDEX_MD, 3);
  EXPECT_EQ(1u, none->trace.values.length());
  EXPECT_EQ(0u, none->index.values.floatValues().length());
  EXPECT_EQ(0u, reasonOf<Trace::ImpossibleConversionException>([&] {
                  empty->getTraceData(m.in(), EpTypes::DOUBLE_DATA, EpTypes::FLOAT_DATA, Trace::INDEX_MD);
                }).rfind("A log trace delivers its values as floats", 0));
  EXPECT_EQ(0u, reasonOf<Trace::InvalidIndexException>([&] {
                  empty->getTopIndex(m.in(), EpTypes::FLOAT_DATA, Trace::INDEX_MD);
                }).rfind("The trace holds no samples", 0));
  // Written in feet into a trace kept in metres: stored in metres.
  EpUnitOfMeasureService::Unit_var ft = unit(client.manager.in(), "ft");
  empty->setTraceData(data(ft.in(), {10, 20}, {{1, 2}}));
  Trace::TraceData_var inMetres =
      empty->getTraceData(EpUnitOfMeasureService::Unit::_nil(), EpTypes::FLOAT_DATA, EpTypes::FLOAT_DATA, Trace::INDEX_MD);
  EXPECT_EQ((std::vector<float>{3.048f, 6.096f}), floatsOf(inMetres->index.values));
}
