// kel_WellLogTrace against a real kelwelld: a real log written and read back
// bit for bit, multi-element samples, every selection on a small trace
// checked by hand, appends and their refusals, attributes and failure chains.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include <EpiWell.hh>

#include "LibraryService.h"
#include "kel_RemoteStub.h"
#include "kel_WellLogTrace.h"

using namespace library_test;
using kelwell_test::expectTop;
using kelwell_test::startsWith;
using kelwell_test::sys;
using kelwell_test::user;
using Trace = kel_WellLogTrace;

namespace {

constexpr float kNull = -999.0f;

kel_Array<float> floats(const std::vector<float>& values) {
  kel_Array<float> array;
  array.assign(values.data(), static_cast<unsigned>(values.size()));
  return array;
}

std::vector<float> valuesOf(const kel_Array<float>& array) {
  std::vector<float> values;
  array.read([&](const float* in, unsigned n) { values.assign(in, in + n); });
  return values;
}

Trace::TraceData traceData(const std::vector<float>& index, const std::vector<std::vector<float>>& elements,
                           Trace::IndexKind kind = Trace::INDEX_KIND_0, const char* indexUnit = "m") {
  Trace::TraceData data;
  data.index = kel_FloatQuantities(kel_Unit::getUnit(indexUnit), floats(index));
  kel_Array<kel_Array<float>> inner(static_cast<unsigned>(elements.size()));
  for (unsigned e = 0; e < elements.size(); ++e) inner.set(e, floats(elements[e]));
  data.trace = kel_FloatQuantitiesSeq(kel_Unit::getUnit("m"), inner);
  data.indexKind = kind;
  return data;
}

// Bit patterns, so that a comparison says "the same float", NaN or not.
std::vector<std::uint32_t> bitsOf(const std::vector<float>& values) {
  std::vector<std::uint32_t> bits(values.size());
  if (!values.empty()) std::memcpy(bits.data(), values.data(), values.size() * sizeof(float));
  return bits;
}

// The depth column and some curves of a LAS file's data section, in
// increasing depth (the file lists them bottom up). Only what these tests
// need of the format: one line per depth step, blank-separated numbers.
struct LasColumns {
  std::vector<float> depth;
  std::vector<std::vector<float>> curves;
};

LasColumns readLas(const std::string& path, const std::vector<unsigned>& columns) {
  std::ifstream in(path);
  EXPECT_TRUE(in.good()) << path;
  LasColumns las;
  las.curves.resize(columns.size());
  std::string line;
  bool data = false;
  while (std::getline(in, line)) {
    if (line.rfind("~A", 0) == 0) {
      data = true;
      continue;
    }
    if (!data || line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream fields(line);
    std::vector<float> row;
    float value = 0.0f;
    while (fields >> value) row.push_back(value);
    las.depth.push_back(row.at(0));
    for (unsigned c = 0; c < columns.size(); ++c) las.curves[c].push_back(row.at(columns[c]));
  }
  std::reverse(las.depth.begin(), las.depth.end());
  for (auto& curve : las.curves) std::reverse(curve.begin(), curve.end());
  return las;
}

const std::string kLog = std::string(KELWELL_TEST_DATA_DIR) + "/las/F03-02.las";

// A trace of six samples at 100..105 m, values 5, null, 7, 2, 9, 2.
const std::vector<float> kIndex{100, 101, 102, 103, 104, 105};
const std::vector<float> kValues{5, kNull, 7, 2, 9, 2};

EpiWell::WellBore_ptr raw(const kel_WellBore& bore) {
  return static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal()));
}

} // namespace

struct LogTraceTest : Fixture {
  kel_Well well = newWell();
  kel_WellBore bore = newBore(well);

  Trace newTrace(const std::vector<float>& index, const std::vector<std::vector<float>>& elements,
                 bool stored = true) {
    const Trace::TraceData data = traceData(index, elements);
    return stored ? Trace::createNewWellLogTrace(bore, "GR", "GR", "LAS", data, kNull, session)
                  : Trace::createStorelessWellLogTrace(bore, "GR", "GR", "LAS", data, kNull, session);
  }
  Trace smallTrace() { return newTrace(kIndex, {kValues}); }

  static std::vector<float> indexOf(const Trace::TraceData& data) { return valuesOf(data.index.getValues()); }
  static std::vector<float> elementOf(const Trace::TraceData& data, unsigned e) {
    return valuesOf(data.trace.getValues()[e]);
  }
  static kel_FloatQuantity metres(float value) { return kel_FloatQuantity(kel_Unit::getUnit("m"), value); }
};

TEST_F(LogTraceTest, RealLogReadsBackBitForBitStoredAndStoreless) {
  const LasColumns las = readLas(kLog, {10});  // GR
  ASSERT_EQ(14069u, las.depth.size());
  for (bool stored : {true, false}) {
    SCOPED_TRACE(stored ? "stored" : "storeless");
    Trace trace = newTrace(las.depth, {las.curves[0]}, stored);
    EXPECT_EQ(14069, trace.getNumSamples());
    const Trace::TraceData back = trace.getTraceData(kel_Unit::getUnit("m"), Trace::INDEX_KIND_0);
    EXPECT_EQ(Trace::INDEX_KIND_0, back.indexKind);
    EXPECT_EQ(bitsOf(las.depth), bitsOf(indexOf(back)));
    ASSERT_EQ(1u, back.trace.getValues().size());
    EXPECT_EQ(bitsOf(las.curves[0]), bitsOf(elementOf(back, 0)));
    EXPECT_EQ("m", text(back.index.getUnit().getAcronym()));
  }
}

TEST_F(LogTraceTest, MultiElementSamplesTravelOneInnerArrayPerElement) {
  const LasColumns las = readLas(kLog, {1, 3, 10});  // SP, ILD, GR
  Trace trace = newTrace(las.depth, las.curves);
  EXPECT_EQ(3, trace.getNumElements());
  const Trace::TraceData back = trace.getTraceData(kel_Unit::getUnit("m"), Trace::INDEX_KIND_0);
  ASSERT_EQ(3u, back.trace.getValues().size());
  for (unsigned e = 0; e < 3; ++e) EXPECT_EQ(bitsOf(las.curves[e]), bitsOf(elementOf(back, e))) << e;

  // A range keeps the grouping: three inner arrays of the range's length.
  const Trace::TraceData part =
      trace.getLogTraceByIndexRange(kel_Unit::getUnit("m"), Trace::INDEX_KIND_0, metres(1000), metres(1001));
  const std::vector<float> index = indexOf(part);
  ASSERT_FALSE(index.empty());
  for (unsigned e = 0; e < 3; ++e) EXPECT_EQ(index.size(), elementOf(part, e).size());
  EXPECT_GE(index.front(), 1000.0f);
  EXPECT_LE(index.back(), 1001.0f);
}

TEST_F(LogTraceTest, SelectionsOfASmallTraceAsComputedByHand) {
  Trace trace = smallTrace();
  const kel_Unit m = kel_Unit::getUnit("m");
  struct Case {
    const char* what;
    std::function<Trace::TraceData()> read;
    std::vector<float> index, values;
  };
  const std::vector<Case> cases{
      {"whole", [&] { return trace.getTraceData(m, Trace::INDEX_KIND_0); }, kIndex, kValues},
      {"step 0", [&] { return trace.getDecimatedTraceData(m, Trace::INDEX_KIND_0, 0); }, kIndex, kValues},
      {"step 1", [&] { return trace.getDecimatedTraceData(m, Trace::INDEX_KIND_0, 1); }, kIndex, kValues},
      {"step 2", [&] { return trace.getDecimatedTraceData(m, Trace::INDEX_KIND_0, 2); }, {100, 102, 104}, {5, 7, 9}},
      {"step 4", [&] { return trace.getDecimatedTraceData(m, Trace::INDEX_KIND_0, 4); }, {100, 104}, {5, 9}},
      {"step 9", [&] { return trace.getDecimatedTraceData(m, Trace::INDEX_KIND_0, 9); }, {100}, {5}},
      {"index range, ends inclusive",
       [&] { return trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, metres(101), metres(103)); },
       {101, 102, 103}, {kNull, 7, 2}},
      {"index range between samples",
       [&] { return trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, metres(101.2f), metres(101.7f)); }, {}, {}},
      {"index range beyond the trace",
       [&] { return trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, metres(200), metres(300)); }, {}, {}},
      {"index range over all", [&] { return trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, metres(0), metres(1e4f)); },
       kIndex, kValues},
      {"index range in feet",
       [&] {
         const kel_Unit ft = kel_Unit::getUnit("ft");
         return trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, kel_FloatQuantity(ft, 331.0f),
                                              kel_FloatQuantity(ft, 337.0f));  // 100.9 m .. 102.7 m
       },
       {101, 102}, {kNull, 7}},
      {"trace range", [&] { return trace.getLogTraceByTraceRange(m, Trace::INDEX_KIND_0, metres(2), metres(5)); },
       {100, 103, 105}, {5, 2, 2}},
      {"trace range holding the null value",
       [&] { return trace.getLogTraceByTraceRange(m, Trace::INDEX_KIND_0, metres(-1000), metres(0)); }, {}, {}},
      {"TVD of a vertical wellbore", [&] { return trace.getTraceData(m, Trace::INDEX_KIND_1); }, kIndex, kValues},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Trace::TraceData data = c.read();
    EXPECT_EQ(c.index, indexOf(data));
    ASSERT_EQ(1u, data.trace.getValues().size());  // an inner array even when nothing is selected
    EXPECT_EQ(c.values, elementOf(data, 0));
  }

  EXPECT_EQ(9.0f, trace.getMaxTraceValue().getValue());
  EXPECT_EQ(2.0f, trace.getMinTraceValue().getValue());
  EXPECT_EQ(std::vector<float>{104}, valuesOf(trace.getMaxTraceIndexValue(m, Trace::INDEX_KIND_0).getValues()));
  EXPECT_EQ((std::vector<float>{103, 105}),
            valuesOf(trace.getMinTraceIndexValue(m, Trace::INDEX_KIND_0).getValues()));

  kel_FloatQuantity increment, minimum, maximum;
  bool regular = false;
  trace.getIndexInfo(m, Trace::INDEX_KIND_0, increment, minimum, maximum, regular);
  EXPECT_EQ(1.0f, increment.getValue());
  EXPECT_EQ(100.0f, minimum.getValue());
  EXPECT_EQ(105.0f, maximum.getValue());
  EXPECT_TRUE(regular);
  EXPECT_EQ(100.0f, trace.getTopIndex(m, Trace::INDEX_KIND_0).getValue());
  EXPECT_EQ(105.0f, trace.getBottomIndex(m, Trace::INDEX_KIND_0).getValue());
  const kel_FloatQuantity topInFeet = trace.getTopIndex(kel_Unit::getUnit("ft"), Trace::INDEX_KIND_0);
  EXPECT_EQ("ft", text(topInFeet.getUnit().getAcronym()));
  EXPECT_NEAR(100.0 / 0.3048, topInFeet.getValue(), 1e-3);
}

TEST_F(LogTraceTest, AppendsAndRefusedWritesLeaveTheSamplesAsTheyWere) {
  Trace trace = smallTrace();
  const kel_Unit m = kel_Unit::getUnit("m");
  EXPECT_EQ(0, trace.getTraceVersion());

  trace.addNValues(traceData({106, 107}, {{1, 3}}));
  EXPECT_EQ(8, trace.getNumSamples());
  EXPECT_EQ(1, trace.getTraceVersion());
  const Trace::TraceData before = trace.getTraceData(m, Trace::INDEX_KIND_0);

  struct Refusal {
    const char* what;
    std::function<void()> write;
    bool user;
    const char* message;
  };
  const char* append = "Could not add N values in the LogTrace for the trace and the index. ";
  const char* replace = "Could not update the supplied trace data and the index. ";
  const std::vector<Refusal> refusals{
      {"append overlapping the stored end", [&] { trace.addNValues(traceData({107, 108}, {{1, 1}})); }, true, append},
      {"append decreasing", [&] { trace.addNValues(traceData({110, 109}, {{1, 1}})); }, true, append},
      {"append with too few values", [&] { trace.addNValues(traceData({110, 111}, {{1}})); }, true, append},
      {"append with two elements", [&] { trace.addNValues(traceData({110}, {{1}, {2}})); }, true, append},
      {"append of a non-finite value", [&] { trace.addNValues(traceData({110}, {{NAN}})); }, true, append},
      {"append of a time index", [&] { trace.addNValues(traceData({1}, {{1}}, Trace::INDEX_KIND_3, "s")); }, true,
       append},
      {"replace with too few values", [&] { trace.setTraceData(traceData({1, 2, 3}, {{1, 2}})); }, true, replace},
      // The other refusals of a replace are not in its ladder: they leave as system failures.
      {"replace decreasing", [&] { trace.setTraceData(traceData({3, 2}, {{1, 2}})); }, false, replace},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    const Failure failure = failureOf(r.write);
    EXPECT_EQ(r.user, failure.isUserException());
    EXPECT_EQ(r.message, text(failure.getMessage()));
    const Trace::TraceData after = trace.getTraceData(m, Trace::INDEX_KIND_0);
    EXPECT_EQ(indexOf(before), indexOf(after));
    EXPECT_EQ(elementOf(before, 0), elementOf(after, 0));
    EXPECT_EQ(1, trace.getTraceVersion());
  }

  const Failure overlap = failureOf([&] { trace.addNValues(traceData({107}, {{1}})); });
  expectChain(overlap, {startsWith(user(append, "Caught an EpiWell::WellLogTrace::NonMonotonicIndexException exception "
                                                "in the kel_WellLogTrace::addNValues method. Appended index values"))});
  const Failure mismatch = failureOf([&] { trace.setTraceData(traceData({1, 2, 3}, {{1, 2}})); });
  expectChain(mismatch, {startsWith(user(replace, "Caught an EpiWell::WellLogTrace::InvalidNumSamplesException "
                                                  "exception in the kel_WellLogTrace::setTraceData method. "))});

  trace.setTraceData(traceData({1, 2}, {{10, 20}}));
  EXPECT_EQ((std::vector<float>{1, 2}), indexOf(trace.getTraceData(m, Trace::INDEX_KIND_0)));
  EXPECT_EQ(2, trace.getTraceVersion());
  trace.removeAllValues();
  EXPECT_EQ(0, trace.getNumSamples());
  EXPECT_EQ(3, trace.getTraceVersion());
  const Trace::TraceData empty = trace.getTraceData(m, Trace::INDEX_KIND_0);
  EXPECT_TRUE(indexOf(empty).empty());
  EXPECT_EQ(1u, empty.trace.getValues().size());
  EXPECT_EQ(kNull, trace.getMaxTraceValue().getValue());  // no value: the null value

  kel_FloatQuantity increment, minimum, maximum;
  bool regular = false;
  expectChain(failureOf([&] { trace.getIndexInfo(m, Trace::INDEX_KIND_0, increment, minimum, maximum, regular); }),
              {startsWith(sys("Could not return the index increment, minimum and maximum values for the supplied "
                              "IndexKind. ",
                              "Caught an EpiWell::WellLogTrace::InvalidIndexException exception in the "
                              "kel_WellLogTrace::getIndexInfo method. "))});
  // Appending to an empty trace starts it again.
  trace.addNValues(traceData({5}, {{1}}));
  EXPECT_EQ(1, trace.getNumSamples());
}

TEST_F(LogTraceTest, ReadFailuresNameWhatIsMissing) {
  Trace trace = smallTrace();
  const kel_Unit m = kel_Unit::getUnit("m");
  expectChain(failureOf([&] { trace.getTraceData(kel_Unit::getUnit("s"), Trace::INDEX_KIND_3); }),
              {startsWith(sys("Could not return the trace data and the index for supplied indexKind and unit. ",
                              "Caught an EpiWell::WellLogTrace::ImpossibleConversionException  exception in the "
                              "kel_WellLogTrace::getTraceData method. The wellbore has no velocity function"))});
  expectChain(failureOf([&] { trace.getTraceData(kel_Unit::getUnit("s"), Trace::INDEX_KIND_0); }),
              {startsWith(sys("Could not return the trace data and the index for supplied indexKind and unit. ",
                              "Caught an EpUnitOfMeasureService::ConversionException exception in the "
                              "kel_WellLogTrace::getTraceData method. "))});
  expectChain(failureOf([&] { trace.getLogTraceByIndexRange(m, Trace::INDEX_KIND_0, metres(103), metres(101)); }),
              {startsWith(sys("Could not return the trace data in the index range using the supplied arguments. ",
                              "Caught an EpiWell::WellLogTrace::InvalidIndexException exception in the "
                              "kel_WellLogTrace::getLogTraceByIndexRange method. The index range is reversed"))});
  // A default-unit form with a kind out of range fails before asking anything.
  const Failure kind = failureOf([&] { trace.getTraceData(static_cast<Trace::IndexKind>(5)); });
  expectChain(kind, {sys("Could not return the trace data and the index with default unit and supplied indexKind. ",
                         "Caught an kel_SystemException exception in the kel_WellLogTrace::getTraceData method. "),
                     sys("The given kind couldn't be mapped: 5")});
}

TEST_F(LogTraceTest, AttributesReadBackAndTheWellboreListsItsTraces) {
  Trace trace = smallTrace();
  using Get = kel_WellString (Trace::*)();
  using Set = void (Trace::*)(const kel_WellString&);
  const std::vector<std::tuple<Get, Set, const char*>> texts{
      {&Trace::getComment, &Trace::setComment, "  spaces kept  "},
      {&Trace::getDataSource, &Trace::setDataSource, "LAS import"},
      {&Trace::getSoftSource, &Trace::setSoftSource, "loader 2"},
      {&Trace::getTraceKind, &Trace::setTraceKind, "RHOB"},
      {&Trace::getTraceName, &Trace::setTraceName, "RHOB_EDIT"},
      {&Trace::getUser, &Trace::setUser, "geo"}};
  for (const auto& [get, set, value] : texts) {
    (trace.*set)(value);
    EXPECT_EQ(value, text((trace.*get)()));
  }
  EXPECT_EQ(kNull, trace.getNullValue());
  trace.setNullValue(-9999.0f);
  EXPECT_EQ(-9999.0f, trace.getNullValue());
  trace.setTraceProcess(Trace::TRACE_PROCESS_STATE_6);
  EXPECT_EQ(Trace::TRACE_PROCESS_STATE_6, trace.getTraceProcess());
  EXPECT_EQ("m", text(trace.getTraceUnit().getAcronym()));
  trace.setTraceUnit(kel_Unit::getUnit("ft"));
  EXPECT_EQ("ft", text(trace.getTraceUnit().getAcronym()));
  EXPECT_EQ(Trace::INDEX_KIND_0, trace.getNativeIndexKind());
  EXPECT_FALSE(trace.getCreationDate().isNullDate());
  EXPECT_TRUE(trace.getBore() == bore);
  EXPECT_TRUE(trace.getProject() == project);
  EXPECT_EQ(0, trace.getTraceVersion());  // attributes are no data change

  const Trace second = smallTrace();
  const Trace storeless = newTrace(kIndex, {kValues}, false);
  EpEntity::EntitySeq_var listed = raw(bore)->getLogTraces();
  ASSERT_EQ(3u, listed->length());  // stored ones in creation order, then the storeless
  EXPECT_EQ(text(trace.getId()), std::string(CORBA::String_var(listed[0u]->getId()).in()));
  EXPECT_EQ(text(second.getId()), std::string(CORBA::String_var(listed[1u]->getId()).in()));
  EXPECT_EQ(text(storeless.getId()), std::string(CORBA::String_var(listed[2u]->getId()).in()));
  const kel_Array<Trace> inProject = Trace::getWellLogTracesInProject(project);
  ASSERT_EQ(2u, inProject.size());
  EXPECT_TRUE(inProject[0] == trace);
  EXPECT_TRUE(Trace::getFromString(trace.getStringifiedReference()) == trace);
}

TEST_F(LogTraceTest, OwnChecksOfTheWrapper) {
  Trace trace = smallTrace();
  expectChain(failureOf([&] { trace.setTraceProcess(static_cast<Trace::TraceProcessState>(7)); }),
              {sys("Could not update the trace process state (Raw, Edited, DepthAjusted, Corrected,...).  ",
                   "Caught an kel_SystemException exception in the kel_WellLogTrace::setTraceProcess method. "),
               sys("Couldn't convert the kel_WellLogTrace::TraceProcessState to "
                   "EpiWell::WellLogTrace::TraceProcessState. ",
                   "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiTraceProcessState "
                   "method. "),
               sys("The traceProcessState couldn't be mapped. 7")});
  expectChain(failureOf([&] { trace.setTraceUnit(kel_Unit()); }),
              {sys("Could not update the unit of measure of the trace values. ",
                   "Caught an kel_SystemException exception in the kel_WellLogTrace::setTraceUnit method. "),
               sys("The provided unit is nil. ")});
  returnNil("getBore");
  EXPECT_TRUE(trace.getBore().getRemoteObject(kel_Internal()) == nullptr);

  // The null-pointer constructor says so on standard error, once.
  testing::internal::CaptureStderr();
  const Failure null = failureOf([] { Trace t{kel_RemoteStub()}; });
  EXPECT_EQ("Trying to instantiate an kel_WellLogTrace using a NULL pointer.\n",
            testing::internal::GetCapturedStderr());
  expectChain(null, {sys("Trying to instantiate an kel_WellLogTrace using a NULL pointer.")});

  // Creators refuse a nil session before anything else, a bad kind before the factory.
  const Trace::TraceData data = traceData(kIndex, {kValues});
  expectChain(failureOf([&] { Trace::createStorelessWellLogTrace(bore, "a", "b", "c", data, kNull, kel_Session()); }),
              {sys("Could not create a storeless well logTrace from given inputs. ",
                   "Caught an kel_SystemException exception in the kel_WellLogTrace::createStorelessWellLogTrace "
                   "method. "),
               sys("The supplied session is nil. ")});
  Trace::TraceData badKind = data;
  badKind.indexKind = static_cast<Trace::IndexKind>(9);
  expectTop(failureOf([&] { Trace::createNewWellLogTrace(bore, "a", "b", "c", badKind, kNull, session); }),
            {sys("Could not create a new well logTrace from given inputs. ",
                 "Caught an kel_SystemException exception in the kel_WellLogTrace::createNewWellLogTrace method. "),
             sys("Couldn't convert the kel_WellLogTrace::IndexKind to EpiWell::WellLogTrace::IndexKind. ",
                 "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiIndexKind method. ")});
  expectChain(failureOf([&] { Trace::createStorelessWellLogTrace(kel_WellBore(), "a", "b", "c", data, kNull, session); }),
              {sys("Could not create a storeless well logTrace from given inputs. ",
                   "Caught an kel_SystemException exception in the kel_WellLogTrace::createStorelessWellLogTrace "
                   "method. "),
               sys("The supplied bore is nil. ")});
}

TEST_F(LogTraceTest, EachLadderTranslatesWhatTheServiceRaises) {
  Trace trace = smallTrace();
  const kel_Unit m = kel_Unit::getUnit("m");
  kel_FloatQuantity increment, minimum, maximum;
  bool regular = false;
  struct Case {
    const char* what;
    std::function<void()> arm, call;
    std::vector<kelwell_test::Level> chain;  // the top levels
  };
  const std::string store = "Caught an EpDataStore::StoreException exception in the ";
  const std::vector<Case> cases{
      {"R: a store failure", [] { raise("getComment", "EpDataStore::StoreException", "Lost. ", "disk"); },
       [&] { trace.getComment(); },
       {sys("Could not return the general comment about this well logTrace. ",
            store + "kel_WellLogTrace::getComment method. Lost. disk")}},
      {"W: a refused value", [] { raise("setUser", "EpEntity::ValidationException", "Too long. "); },
       [&] { trace.setUser("x"); },
       {user("Could not update the user id of the user who created this well logTrace. ",
             "Caught an EpEntity::ValidationException exception in the kel_WellLogTrace::setUser method. Too long. ")}},
      {"R: a nil unit", [] { returnNil("getTraceUnit"); }, [&] { trace.getTraceUnit(); },
       {sys("Could not return the unit of measure of the trace values. ",
            "Caught an kel_SystemException exception in the kel_WellLogTrace::getTraceUnit method. "),
        sys("The EpUnitOfMeasureService::Unit came back nil. ")}},
      {"R: a kind out of range", [] { returnOutOfRange("getNativeIndexKind", 9); },
       [&] { trace.getNativeIndexKind(); },
       {sys("Could not return this well logTrace's  native index kind. ",
            "Caught an kel_SystemException exception in the kel_WellLogTrace::getNativeIndexKind method. "),
        sys("Couldn't convert the EpiWell::WellLogTrace::IndexKind to kel_WellLogTrace::IndexKind. ",
            "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeKelIndexKind method. "),
        sys("The indexKind couldn't be mapped. 9")}},
      {"X: an invalid index", [] { raise("getTopIndex", "EpiWell::WellLogTrace::InvalidIndexException", "No. "); },
       [&] { trace.getTopIndex(m, Trace::INDEX_KIND_0); },
       {sys("Could not return the first index value in the trace for the supplied index kind and unit. ",
            "Caught an EpiWell::WellLogTrace::InvalidIndexException exception in the kel_WellLogTrace::getTopIndex "
            "method. No. ")}},
      {"X: a store failure", [] { raise("getTraceData", "EpDataStore::StoreException", "a", "b"); },
       [&] { trace.getTraceData(m, Trace::INDEX_KIND_0); },
       {sys("Could not return the trace data and the index for supplied indexKind and unit. ",
            store + "kel_WellLogTrace::getTraceData method. ab")}},
      {"N: an impossible conversion",
       [] { raise("addNValues", "EpiWell::WellLogTrace::ImpossibleConversionException", "No TWT. "); },
       [&] { trace.addNValues(traceData({200}, {{1}})); },
       {user("Could not add N values in the LogTrace for the trace and the index. ",
             "Caught an EpiWell::WellLogTrace::ImpossibleConversionException exception in the "
             "kel_WellLogTrace::addNValues method. No TWT. ")}},
      {"R: removing all values, a transport failure", [] { raise("removeAllValues", "CORBA::TRANSIENT"); },
       [&] { trace.removeAllValues(); },
       {sys("Could not remove all values in the well logTrace. ",
            "Caught a CORBA::Exception exception in the kel_WellLogTrace::removeAllValues method. ")}},
      // The default-unit forms wrap the form with a unit once more. Top and
      // bottom always take the depth unit, which a time kind refuses.
      {"D: top index of a time kind in the default depth unit", [] {},
       [&] { trace.getTopIndex(Trace::INDEX_KIND_3); },
       {sys("Could not return the first index value that exists in the trace for the supplied index kind. ",
            "Caught an kel_SystemException exception in the kel_WellLogTrace::getTopIndex method. "),
        startsWith(sys("Could not return the first index value in the trace for the supplied index kind and unit. ",
                       "Caught an EpUnitOfMeasureService::ConversionException exception in the "
                       "kel_WellLogTrace::getTopIndex method. "))}},
      {"D: index information with kind 5", [] {},
       [&] { trace.getIndexInfo(static_cast<Trace::IndexKind>(5), increment, minimum, maximum, regular); },
       {sys("Could not return the index increment, minimum and maximum values for the supplied IndexKind. ",
            "Caught an kel_SystemException exception in the kel_WellLogTrace::getIndexInfo method. "),
        sys("Could not return the index increment, minimum and maximum values for the supplied IndexKind. ",
            "Caught an kel_SystemException exception in the kel_WellLogTrace::getIndexInfo method. "),
        sys("Couldn't convert the kel_WellLogTrace::IndexKind to EpiWell::WellLogTrace::IndexKind. ",
            "Caught an kel_SystemException exception in the kel_WellEnumConverter::makeEpiIndexKind method. ")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.arm();
    expectTop(failureOf(c.call), c.chain);
  }
  EXPECT_EQ(6, trace.getNumSamples());  // nothing above changed the samples
}
