// kel_WellVelocity against a velocity function served by this test process:
// it answers what a test scripts, records what the wrapper sends (as text),
// and raises the failure a test arms for the next call of an operation. The
// creators meet a scripted session whose factory finder hands out scripted
// factories. Units, wells and wellbores come from the fixture's kelwelld.
#include <limits>
#include <string>
#include <vector>

#include "ScriptedServants.h"
#include "kel_WellVelocity.h"

using namespace contract;

namespace {

using Remote = EpiWell::WellVelocity;
using UnitPtr = EpUnitOfMeasureService::Unit_ptr;
using contract::describe;

// ---------------------------------------------------------------- values and what crossed, as text

std::string describe(const EpTypes::DataSequence& values) {
  if (values._d() != EpTypes::FLOAT_DATA) return "not floats";
  std::ostringstream out;
  for (CORBA::ULong i = 0; i < values.floatValues().length(); ++i) out << (i ? "," : "") << values.floatValues()[i];
  return out.str();
}
std::string describe(const EpiTypes::DataQuantities& q) { return describe(q.unit.in()) + ":" + describe(q.values); }
std::string describe(const kel_FloatQuantities& q) {
  std::ostringstream out;
  out << q.getUnit().getAcronym().str() << ":";
  for (unsigned i = 0; i < q.getValues().size(); ++i) out << (i ? "," : "") << q.getValues()[i];
  return out.str();
}
std::string describe(const Remote::WellVelocityData& d) {
  return describe(d.times) + " " + describe(d.depths) + " " + describe(d.firstVelocities) + " " +
         describe(d.secondVelocities) + " " + describe(d.thirdVelocities);
}
std::string describe(const Remote::VelocityDataPairs& p) {
  return describe(p.times) + " " + describe(p.values) + " " + std::to_string(p.timeType) + " " +
         std::to_string(p.valueKind);
}
template <class Kinded>
std::string describeKinded(const Kinded& k) {
  return describe(k.values) + " kind " + std::to_string(k.type);
}

kel_Array<float> floats(std::initializer_list<float> values) {
  kel_Array<float> result;
  for (float v : values) result.addElement(v);
  return result;
}
kel_FloatQuantities list(const char* unit, std::initializer_list<float> values) {
  return kel_FloatQuantities(kel_Unit::getUnit(unit), floats(values));
}
EpiTypes::DataQuantities remoteList(const char* unit, std::initializer_list<float> values) {
  EpTypes::FloatSeq sequence(static_cast<CORBA::ULong>(values.size()));
  sequence.length(static_cast<CORBA::ULong>(values.size()));
  CORBA::ULong i = 0;
  for (float v : values) sequence[i++] = v;
  EpiTypes::DataQuantities result;
  result.unit = remoteUnit(unit);
  result.values.floatValues(sequence);
  return result;
}

// ---------------------------------------------------------------- the scripted objects

// Answers fixed samples; the kinds it reports are never those asked for.
class ScriptedVelocity : public POA_EpiWell::WellVelocity, public Script {
public:
  CORBA::Boolean checkshot = 2;
  EpiWell::WellBore_var bore;
  EpiWell::TimeType reportedTimeType = EpiWell::TIME_TWT_MSL;
  EpiWell::DepthType reportedDepthType = EpiWell::DEPTH_TVDGL;
  Remote::VelocityType reportedVelocityType = Remote::AVERAGE_VELOCITY;

  char* getId() override { return text("getId", "scripted:velocity"); }
  char* getStoreName() override { return text("getStoreName", ""); }
  char* getEntityType() override { return text("getEntityType", "EpiWell_WellVelocity"); }
  EpSession::Project_ptr getProject() override { return EpSession::Project::_nil(); }
  char* getLastModified(const char* selector) override {
    enter("getLastModified", selector);
    return CORBA::string_dup("2024-03-01T12:00:00Z");
  }

  CORBA::Boolean getCheckshot() override { return enter("getCheckshot"), checkshot; }
  void setCheckshot(CORBA::Boolean value) override { enter("setCheckshot", value ? "true" : "false"); }
  char* getComment() override { return text("getComment", "a comment"); }
  void setComment(const char* value) override { enter("setComment", value); }
  char* getDataSource() override { return text("getDataSource", "checkshot survey"); }
  void setDataSource(const char* value) override { enter("setDataSource", value); }
  CORBA::Long getNumSamples() override { return enter("getNumSamples"), 42; }
  char* getWellVelocityName() override { return text("getWellVelocityName", "VF-1"); }
  void setWellVelocityName(const char* value) override { enter("setWellVelocityName", value); }
  EpiTypes::DataQuantity* getDatum() override {
    return enter("getDatum"), new EpiTypes::DataQuantity(remoteQuantity("m", 100.0f));
  }
  void setDatum(const EpiTypes::DataQuantity& value) override { enter("setDatum", describe(value)); }
  EpiTypes::DataQuantity* getExtendViDeep(EpTypes::DataType type, UnitPtr unit) override {
    return enter("getExtendViDeep", join(type, describe(unit))), new EpiTypes::DataQuantity(extend());
  }
  void setExtendViDeep(const EpiTypes::DataQuantity& value) override { enter("setExtendViDeep", describe(value)); }
  EpiTypes::DataQuantity* getExtendViShallow(EpTypes::DataType type, UnitPtr unit) override {
    return enter("getExtendViShallow", join(type, describe(unit))), new EpiTypes::DataQuantity(extend());
  }
  void setExtendViShallow(const EpiTypes::DataQuantity& v) override { enter("setExtendViShallow", describe(v)); }
  EpiWell::WellBore_ptr getBore() override { return enter("getBore"), EpiWell::WellBore::_duplicate(bore.in()); }

  Remote::WellVelocityData* getVelocityData(EpTypes::DataType type, UnitPtr t, UnitPtr d, UnitPtr v) override {
    enter("getVelocityData", join(type, describe(t), describe(d), describe(v)));
    return new Remote::WellVelocityData{remoteList("s", {0.5f, 1.0f}), remoteList("m", {500.0f, 1100.0f}),
                                        remoteList("m/s", {2000.0f, 2400.0f}), remoteList("m/s", {2200.0f}),
                                        remoteList("ft/s", {7000.0f})};
  }
  Remote::TimeDepthPairs* getTimeDepths(EpTypes::DataType type, UnitPtr t, UnitPtr d, EpiWell::TimeType timeType,
                                        EpiWell::DepthType depthType) override {
    enter("getTimeDepths", join(type, describe(t), describe(d), timeType, depthType));
    return new Remote::TimeDepthPairs{{remoteList("ms", {100.0f, 200.0f}), reportedTimeType},
                                      {remoteList("ft", {300.0f, 650.0f}), reportedDepthType}};
  }
  Remote::TimeVelocityPairs* getTimeVelocities(EpTypes::DataType type, UnitPtr t, UnitPtr v, EpiWell::TimeType timeType,
                                               Remote::VelocityType velocityType) override {
    enter("getTimeVelocities", join(type, describe(t), describe(v), timeType, velocityType));
    return new Remote::TimeVelocityPairs{{remoteList("s", {0.1f}), reportedTimeType},
                                         {remoteList("m/s", {1800.0f}), reportedVelocityType}};
  }
  EpTypes::DataSequence* getAnisotropy(EpTypes::DataType type) override {
    enter("getAnisotropy", join(type));
    EpTypes::DoubleSeq values(2);  // delivered as doubles: read as floats all the same
    values.length(2);
    values[0] = 0.25;
    values[1] = 0.5;
    auto* result = new EpTypes::DataSequence;
    result->doubleValues(values);
    return result;
  }
  EpiWell::Times* convertDepthsToTimes(const EpiWell::Depths& depths, EpTypes::DataType type, UnitPtr unit,
                                       EpiWell::TimeType target) override {
    enter("convertDepthsToTimes", join(describeKinded(depths), type, describe(unit), target));
    return new EpiWell::Times{remoteList("ms", {250.0f}), reportedTimeType};
  }
  EpiWell::Depths* convertTimesToDepths(const EpiWell::Times& times, EpTypes::DataType type, UnitPtr unit,
                                        EpiWell::DepthType target) override {
    enter("convertTimesToDepths", join(describeKinded(times), type, describe(unit), target));
    return new EpiWell::Depths{remoteList("m", {750.0f}), reportedDepthType};
  }
  Remote::Velocities* convertTimesToVelocities(const EpiWell::Times& times, EpTypes::DataType type, UnitPtr unit,
                                               Remote::VelocityType target) override {
    enter("convertTimesToVelocities", join(describeKinded(times), type, describe(unit), target));
    return new Remote::Velocities{remoteList("m/s", {2100.0f}), reportedVelocityType};
  }

  void setVelocityData(const Remote::WellVelocityData& data) override { enter("setVelocityData", describe(data)); }
  void setWellVelocityPairs(const Remote::VelocityDataPairs& p) override { enter("setWellVelocityPairs", describe(p)); }
  void updateWellVelocityPairs(const Remote::VelocityDataPairs& p) override {
    enter("updateWellVelocityPairs", describe(p));
  }
  void insertWellVelocityPairs(const Remote::VelocityDataPairs& p, const EpTypes::FloatSeq& values) override {
    EpTypes::DataSequence sequence;
    sequence.floatValues(values);
    enter("insertWellVelocityPairs", describe(p) + " floats " + describe(sequence));
  }
  void deleteTimes(const EpiWell::Times& times) override { enter("deleteTimes", describeKinded(times)); }
  void setAnisotropy(CORBA::Long position, const EpTypes::DataSequence& factors) override {
    enter("setAnisotropy", join(position, describe(factors)));
  }

private:
  char* text(const char* operation, const char* value) { return enter(operation), CORBA::string_dup(value); }
  static EpiTypes::DataQuantity extend() { return remoteQuantity("m/s", 1500.0f); }
};

// Both factories, recording what they are handed; they answer created.
template <class Skeleton>
class ScriptedFactory : public Skeleton, public Script {
public:
  EpiWell::WellVelocity_var created;

  EpiWell::WellVelocity_ptr createWellVelocity(EpiWell::WellBore_ptr bore, const char* name, const char* dataSource,
                                               const EpiTypes::DataQuantity& datum,
                                               const Remote::WellVelocityData& data,
                                               EpSession::Session_ptr session) override {
    enter("createWellVelocity", join(CORBA::is_nil(bore) ? "nil" : "bore", name, dataSource, describe(datum),
                                     describe(data), CORBA::is_nil(session) ? "nil" : "session"));
    return Remote::_duplicate(created.in());
  }
};

// ---------------------------------------------------------------- the fixture

struct Velocity : ServedWrapper<kel_WellVelocity, ScriptedVelocity> {};

std::string fragment(const char* operation) { return std::string("kel_WellVelocity::") + operation + " method. "; }

} // namespace

// ---------------------------------------------------------------- attributes

TEST_F(Velocity, AttributesForwardAndCarryWhatCameBack) {
  EXPECT_TRUE(scripted.getCheckshot());  // the service answered 2: any non-zero is true
  servant->checkshot = 0;
  EXPECT_FALSE(scripted.getCheckshot());
  EXPECT_EQ("a comment", str(scripted.getComment()));
  EXPECT_EQ("checkshot survey", str(scripted.getDataSource()));
  EXPECT_EQ("VF-1", str(scripted.getWellVelocityName()));
  EXPECT_EQ(42, scripted.getNumSamples());
  EXPECT_EQ(kel_Date::fromString("2024-03-01T12:00:00Z"), scripted.getLastModified("samples"));
  EXPECT_EQ("samples", servant->sent("getLastModified"));
  EXPECT_EQ("EpiWell_WellVelocity", str(kel_WellVelocity::getEntityType()));
  EXPECT_EQ("IDL:EpiWell/WellVelocity:1.0", str(kel_WellVelocity::getRepositoryId()));

  const Sent writes[] = {
      {[&] { scripted.setCheckshot(true); }, "setCheckshot", "true"},
      {[&] { scripted.setComment("revised"); }, "setComment", "revised"},
      {[&] { scripted.setDataSource("VSP"); }, "setDataSource", "VSP"},
      {[&] { scripted.setWellVelocityName("VF-2"); }, "setWellVelocityName", "VF-2"},
      {[&] { scripted.setDatum(kel_FloatQuantity(kel_Unit::getUnit("ft"), 82.5f)); }, "setDatum", "ft:82.5"},
      {[&] { scripted.setExtendViDeep(kel_FloatQuantity(kel_Unit::getUnit("m/s"), 4500.0f)); }, "setExtendViDeep",
       "m/s:4500"},
      {[&] { scripted.setExtendViShallow(kel_FloatQuantity(kel_Unit(), 1480.0f)); }, "setExtendViShallow", "nil:1480"},
  };
  for (const Sent& w : writes) {
    w.call();
    EXPECT_EQ(w.sent, servant->sent(w.operation)) << w.operation;
  }

  EXPECT_TRUE(scripted.getBore().getRemoteObject(kel_Internal()) == nullptr);  // none: a nil wellbore
  const kel_WellBore bore = this->bore(well());
  servant->bore =
      EpiWell::WellBore::_duplicate(static_cast<EpiWell::WellBore_ptr>(bore.getRemoteObject(kel_Internal())));
  EXPECT_TRUE(scripted.getBore() == bore);
}

TEST_F(Velocity, TheDatumIsConvertedHereTheExtendVelocitiesByTheService) {
  const kel_FloatQuantity inFeet = scripted.getDatum(kel_Unit::getUnit("ft"));
  EXPECT_EQ("ft", str(inFeet.getUnit().getAcronym()));
  EXPECT_NEAR(328.084f, inFeet.getValue(), 1e-3f);
  for (const kel_Unit& unchanged : {kel_Unit::getUnit("m"), kel_Unit()}) {
    EXPECT_EQ("m", str(scripted.getDatum(unchanged).getUnit().getAcronym()));
    EXPECT_EQ(100.0f, scripted.getDatum(unchanged).getValue());
  }
  // The service answers 1500 m/s whatever it is asked: nothing is transformed here.
  const kel_FloatQuantity deep = scripted.getExtendViDeep(kel_Unit::getUnit("ft/s"));
  EXPECT_EQ("3 ft/s", servant->sent("getExtendViDeep"));
  EXPECT_EQ("m/s", str(deep.getUnit().getAcronym()));
  EXPECT_EQ(1500.0f, deep.getValue());
  scripted.getExtendViShallow(kel_Unit());
  EXPECT_EQ("3 nil", servant->sent("getExtendViShallow"));
}

// ---------------------------------------------------------------- samples and conversions

TEST_F(Velocity, ReadsAndConversionsAskForFloatsInTheGivenUnitsAndKinds) {
  const kel_Unit s = kel_Unit::getUnit("s"), ms = kel_Unit::getUnit("ms"), m = kel_Unit::getUnit("m"),
                 ft = kel_Unit::getUnit("ft"), mps = kel_Unit::getUnit("m/s");
  const kel_WellTypes::Depths depths{list("m", {1000.0f, 1500.0f}), kel_WellTypes::DEPTH_TYPE_1};
  const kel_WellTypes::Times times{list("ms", {400.0f}), kel_WellTypes::TIME_TYPE_1};

  // Every kind in a result is the one the service reported (times 2, depths
  // 3, velocities 1), never a copy of the one asked for.
  std::string received;
  const Sent cases[] = {
      {[&] {
         const auto d = scripted.getVelocityData(s, m, kel_Unit());
         received = join(describe(d.times), describe(d.depths), describe(d.firstVelocities),
                         describe(d.secondVelocities), describe(d.thirdVelocities));
       },
       "getVelocityData", "3 s m nil"},
      {[&] {
         const auto p = scripted.getTimeDepths(ms, ft, kel_WellTypes::TIME_TYPE_1, kel_WellTypes::DEPTH_TYPE_2);
         received = join(describeKinded(p.times), describeKinded(p.depths));
       },
       "getTimeDepths", "3 ms ft 1 2"},
      {[&] {
         const auto p =
             scripted.getTimeVelocities(s, mps, kel_WellTypes::TIME_TYPE_0, kel_WellVelocity::VELOCITY_TYPE_2);
         received = join(describeKinded(p.times), describeKinded(p.velocities));
       },
       "getTimeVelocities", "3 s m/s 0 2"},
      {[&] { received = describe(kel_FloatQuantities(kel_Unit(), scripted.getAnisotropy())); }, "getAnisotropy", "3"},
      {[&] { received = describeKinded(scripted.convertDepthsToTimes(depths, ms, kel_WellTypes::TIME_TYPE_0)); },
       "convertDepthsToTimes", "m:1000,1500 kind 1 3 ms 0"},
      {[&] {
         received = describeKinded(scripted.convertTimesToDepths(times, kel_Unit(), kel_WellTypes::DEPTH_TYPE_0));
       },
       "convertTimesToDepths", "ms:400 kind 1 3 nil 0"},
      {[&] {
         received = describeKinded(scripted.convertTimesToVelocities(times, ft, kel_WellVelocity::VELOCITY_TYPE_0));
       },
       "convertTimesToVelocities", "ms:400 kind 1 3 ft 0"},
  };
  const char* const answers[] = {"s:0.5,1 m:500,1100 m/s:2000,2400 m/s:2200 ft/s:7000",
                                 "ms:100,200 kind 2 ft:300,650 kind 3",
                                 "s:0.1 kind 2 m/s:1800 kind 1",
                                 ":0.25,0.5",
                                 "ms:250 kind 2",
                                 "m:750 kind 3",
                                 "m/s:2100 kind 1"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    cases[i].call();
    EXPECT_EQ(cases[i].sent, servant->sent(cases[i].operation)) << cases[i].operation;
    EXPECT_EQ(answers[i], received) << cases[i].operation;
  }
}

TEST_F(Velocity, TheOverloadsWithoutUnitsAskInTheDefaultUnits) {
  const kel_UnitMeasureSet defaults = kel_UnitMeasureSet::getDefaultUnits();
  const std::string time = str(defaults.timeUnit.getAcronym()), depth = str(defaults.depthUnit.getAcronym()),
                    velocity = str(defaults.velocityUnit.getAcronym());
  const kel_WellTypes::Depths depths{list("m", {10.0f}), kel_WellTypes::DEPTH_TYPE_0};
  const kel_WellTypes::Times times{list("s", {1.0f}), kel_WellTypes::TIME_TYPE_0};
  const Sent cases[] = {
      {[&] { scripted.getVelocityData(); }, "getVelocityData", join(3, time, depth, velocity)},
      {[&] { scripted.getTimeDepths(kel_WellTypes::TIME_TYPE_2, kel_WellTypes::DEPTH_TYPE_3); }, "getTimeDepths",
       join(3, time, depth, 2, 3)},
      {[&] { scripted.getTimeVelocities(kel_WellTypes::TIME_TYPE_1, kel_WellVelocity::VELOCITY_TYPE_1); },
       "getTimeVelocities", join(3, time, velocity, 1, 1)},
      {[&] { scripted.convertDepthsToTimes(depths, kel_WellTypes::TIME_TYPE_1); }, "convertDepthsToTimes",
       join("m:10 kind 0 3", time, 1)},
      {[&] { scripted.convertTimesToDepths(times, kel_WellTypes::DEPTH_TYPE_2); }, "convertTimesToDepths",
       join("s:1 kind 0 3", depth, 2)},
      {[&] { scripted.convertTimesToVelocities(times, kel_WellVelocity::VELOCITY_TYPE_2); }, "convertTimesToVelocities",
       join("s:1 kind 0 3", velocity, 2)},
      {[&] { scripted.getExtendViDeep(); }, "getExtendViDeep", join(3, velocity)},
      {[&] { scripted.getExtendViShallow(); }, "getExtendViShallow", join(3, velocity)},
  };
  for (const Sent& c : cases) {
    c.call();
    EXPECT_EQ(c.sent, servant->sent(c.operation)) << c.operation;
  }
  EXPECT_EQ(depth, str(scripted.getDatum().getUnit().getAcronym()));
}

TEST_F(Velocity, WritesSendTheListsAndKindsTheyAreGiven) {
  const kel_WellVelocity::WellVelocityData data{list("ms", {100.0f, 200.0f}), list("ft", {400.0f, 900.0f}),
                                                list("m/s", {1500.0f}), list("m/s", {}), list("ft/s", {5000.0f})};
  const kel_WellVelocity::VelocityDataPairs pairs{list("s", {0.1f, 0.2f}), list("m", {90.0f, 200.0f}),
                                                  kel_WellTypes::TIME_TYPE_1, kel_WellVelocity::VELOCITY_OTHER_TYPE_4};
  const kel_WellTypes::Times times{list("ms", {100.0f}), kel_WellTypes::TIME_TYPE_2};
  kel_Array<float> factors = floats({0.1f, 0.2f});
  const Sent cases[] = {
      {[&] { scripted.setVelocityData(data); }, "setVelocityData", "ms:100,200 ft:400,900 m/s:1500 m/s: ft/s:5000"},
      {[&] { scripted.setWellVelocityPairs(pairs); }, "setWellVelocityPairs", "s:0.1,0.2 m:90,200 1 4"},
      {[&] { scripted.updateWellVelocityPairs(pairs); }, "updateWellVelocityPairs", "s:0.1,0.2 m:90,200 1 4"},
      {[&] {
         scripted.insertWellVelocityPairs(pairs, floats({7.0f, 8.0f}));
       },
       "insertWellVelocityPairs", "s:0.1,0.2 m:90,200 1 4 floats 7,8"},
      {[&] { scripted.deleteTimes(times); }, "deleteTimes", "ms:100 kind 2"},
      {[&] { scripted.setAnisotropy(-3, factors); }, "setAnisotropy", "-3 0.1,0.2"},
      // An empty float list travels as an empty sequence.
      {[&] { scripted.insertWellVelocityPairs(pairs, kel_Array<float>()); }, "insertWellVelocityPairs",
       "s:0.1,0.2 m:90,200 1 4 floats "},
  };
  for (const Sent& c : cases) {
    c.call();
    EXPECT_EQ(c.sent, servant->sent(c.operation)) << c.operation;
  }
}

// A kind that does not map fails in its converter, before anything is asked
// or anything else converted; the operation reports it once more.
TEST_F(Velocity, KindsThatDoNotMapFailBeforeAnythingIsSent) {
  kel_WellVelocity::VelocityDataPairs pairs;  // lists without units: they would fail to convert
  pairs.valueType = static_cast<kel_WellVelocity::VelocityOtherType>(2);
  kel_WellTypes::Times times{list("s", {1.0f}), static_cast<kel_WellTypes::TimeType>(3)};
  auto chain = [](const char* message, const char* operation, const char* converter, const char* converterMessage,
                  const char* mapping) {
    return std::vector<Level>{
        sys(message, kSystem + fragment(operation)),
        sys(converterMessage, std::string(kSystem) + "kel_WellEnumConverter::" + converter + " method. "),
        sys(mapping)};
  };
  struct Case {
    std::function<void()> call;
    std::vector<Level> chain;
  };
  const Case cases[] = {
      {[&] {
         scripted.getTimeDepths(kel_Unit(), kel_Unit(), kel_WellTypes::TIME_TYPE_0,
                                static_cast<kel_WellTypes::DepthType>(4));
       },
       chain("Could not return the well velocities' time values and corresponding array of depth values. ",
             "getTimeDepths", "makeEpiWellDepthType",
             "Couldn't convert the kel_WellTypes::DepthType to EpiWell::DepthType. ",
             "The given DepthType couldn't be mapped. 4")},
      {[&] { scripted.setWellVelocityPairs(pairs); },
       chain("Could not update/replace the entire well velocity data samples with the supplied ones. ",
             "setWellVelocityPairs", "makeEpiVelocityOtherType",
             "Couldn't convert the kel_WellVelocity::VelocityOtherType to EpiWell::WellVelocity::VelocityOtherType. ",
             "The velocityOtherType couldn't be mapped. 2")},
      {[&] { scripted.convertTimesToVelocities(times, kel_Unit(), static_cast<kel_WellVelocity::VelocityType>(3)); },
       chain("Could not convert the times values to velocities using the supplied arguments. ",
             "convertTimesToVelocities", "makeEpiVelocityType",
             "Couldn't convert the kel_WellVelocity::VelocityType to EpiWell::WellVelocity::VelocityType. ",
             "The velocityType couldn't be mapped. 3")},
      {[&] { scripted.deleteTimes(times); },
       chain("Could not remove well velocity data samples based upon the supplied times. ", "deleteTimes",
             "makeEpiWellTimeType", "Couldn't convert the kel_WellTypes::TimeType to EpiWell::TimeType. ",
             "The timeType couldn't be mapped. 3")},
  };
  for (const Case& c : cases) expectChain(caught(c.call), c.chain);
  EXPECT_FALSE(servant->called());

  // A kind the service reports that has no counterpart here.
  servant->reportedVelocityType = 7;
  times.type = kel_WellTypes::TIME_TYPE_0;
  expectChain(caught([&] { scripted.convertTimesToVelocities(times, kel_Unit(), kel_WellVelocity::VELOCITY_TYPE_0); }),
              chain("Could not convert the times values to velocities using the supplied arguments. ",
                    "convertTimesToVelocities", "makeKelVelocityType",
                    "Couldn't convert the EpiWell::WellVelocity::VelocityType to kel_WellVelocity::VelocityType. ",
                    "The velocityType couldn't be mapped. 7"));
}

TEST_F(Velocity, APositionTheServiceCannotCountIsRefusedNotCutDown) {
  if (sizeof(long) <= sizeof(CORBA::Long)) GTEST_SKIP() << "long is the service's width here";
  kel_Array<float> factors = floats({0.1f});
  const long beyond = static_cast<long>(std::numeric_limits<CORBA::Long>::max()) + 1;
  expectChain(caught([&] { scripted.setAnisotropy(beyond, factors); }),
              {user("Could not update the the p-wave anisotropy factors at given position. ",
                    kUser + fragment("setAnisotropy")),
               user("The position 2147483648 is outside the positions the service counts. ")});
  EXPECT_FALSE(servant->called());
}

// ---------------------------------------------------------------- failure chains

// A row for each ladder kind and for each clause whose context has texts of its own.
TEST_F(Velocity, RemoteFailuresLeaveWithTheOperationsMessageAndContext) {
  const kel_Unit mps = kel_Unit::getUnit("m/s");
  const kel_FloatQuantities one = list("s", {1.0f});
  const kel_WellVelocity::WellVelocityData data{one, one, one, one, one};
  const kel_WellVelocity::VelocityDataPairs pairs{one, one, kel_WellTypes::TIME_TYPE_0,
                                                  kel_WellVelocity::VELOCITY_OTHER_TYPE_3};
  const kel_WellTypes::Times times{one, kel_WellTypes::TIME_TYPE_0};

  auto store = [] { throw EpDataStore::StoreException("The store is read-only. ", "wells.db"); };
  auto validation = [] { throw EpEntity::ValidationException("No such selector: x"); };
  auto conversion = [] { throw EpUnitOfMeasureService::ConversionException("m/s is no time"); };
  auto dataType = [] { throw EpTypes::InvalidDataTypeException(EpTypes::FLOAT_DATA, "no floats today"); };
  auto notSupported = [] { throw Remote::ConversionNotSupportedException("The wellbore has no elevation. "); };
  const std::string storeTexts = "The store is read-only. wells.db";
  const std::string conversionOpening = "Caught an EpUnitOfMeasureService::ConversionException exception in the ";
  const std::string dataTypeOpening = "Caught an EpTypes::InvalidDataTypeException exception in the ";

  struct Case {
    const char* ladder;
    const char* armed;
    std::function<void()> fault;
    std::function<void()> call;
    std::vector<Level> chain;
  };
  const std::vector<Case> cases{
      {"R",
       "getComment",
       store,
       [&] { scripted.getComment(); },
       {sys("Could not return the general comment about this velocity. ",
            kStore + fragment("getComment") + storeTexts)}},
      {"R",
       "getNumSamples",
       [] { throw CORBA::NO_PERMISSION(0, CORBA::COMPLETED_NO); },
       [&] { scripted.getNumSamples(); },
       {sys("Could not return the number of samples in this well velocity. ", kCorba + fragment("getNumSamples"))}},
      {"R and validation",
       "getLastModified",
       validation,
       [&] { scripted.getLastModified("x"); },
       {user("Could not return the date the well velocity was last modified. ",
             kValidation + fragment("getLastModified") + "No such selector: x")}},
      {"W",
       "setCheckshot",
       validation,
       [&] { scripted.setCheckshot(false); },
       {user("Could not update the checkshot attibute. ",
             kValidation + fragment("setCheckshot") + "No such selector: x")}},
      {"V",
       "getExtendViDeep",
       conversion,
       [&] { scripted.getExtendViDeep(mps); },
       {sys("Could not return the extend interval velocity on the deep end. ",
            conversionOpening + fragment("getExtendViDeep") + "m/s is no time")}},
      {"C-",
       "getExtendViDeep",
       store,
       [&] { scripted.getExtendViDeep(); },
       {sys("Could not return the extend interval velocity on the deep end using default vertical unit. ",
            kSystem + fragment("getExtendViDeep")),
        sys("Could not return the extend interval velocity on the deep end. ",
            kStore + fragment("getExtendViDeep") + storeTexts)}},
      {"D",
       "getVelocityData",
       dataType,
       [&] { scripted.getVelocityData(mps, mps, mps); },
       {sys("Could not return the well velocities' time, depth and velocity values. ",
            dataTypeOpening + fragment("getVelocityData") + "no floats today")}},
      {"C",
       "getVelocityData",
       conversion,
       [&] { scripted.getVelocityData(); },
       {sys("Could not return the well velocities' time, depth and velocity values using default units. ",
            kSystem + fragment("getVelocityData")),
        sys("Could not return the well velocities' time, depth and velocity values. ",
            conversionOpening + fragment("getVelocityData") + "m/s is no time")}},
      {"D+",
       "convertTimesToDepths",
       notSupported,
       [&] { scripted.convertTimesToDepths(times, mps, kel_WellTypes::DEPTH_TYPE_0); },
       {sys("Could not convert the time values to depth using the supplied arguments. ",
            "Caught an EpiWell::WellVelocity::ConversionNotSupportedException exception in the " +
                fragment("convertTimesToDepths"))}},
      {"write",
       "setVelocityData",
       [] { throw Remote::InvalidDataPairException("times not increasing"); },
       [&] { scripted.setVelocityData(data); },
       {sys("Could not set the well velocities' time, depth and velocity values. ",
            "Caught an EpiWell::WellVelocity::InvalidDataPairException  exception in the "
            "kel_WellVelocity::setVelocityData method. times not increasing")}},
      {"write",
       "updateWellVelocityPairs",
       [] { throw Remote::InvalidNumSamplesException("2 times, 3 values"); },
       [&] { scripted.updateWellVelocityPairs(pairs); },
       {sys("Could not replace the current well velocity data samples. ",
            "Caught an EpiWell::WellVelocity::InvalidNumSamplesException exception in the "
            "kel_WellVelocity::updateWellVelocityPairs method. 2 times, 3 values")}},
      {"write",
       "deleteTimes",
       [] { throw Remote::TimeNotFoundException("1.5"); },
       [&] { scripted.deleteTimes(times); },
       {sys("Could not remove well velocity data samples based upon the supplied times. ",
            "Caught an EpiWell::WellVelocity::TimeNotFoundException exception in the "
            "kel_WellVelocity::deleteTimes method. 1.5")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ladder) + " " + c.armed);
    servant->faults[c.armed] = c.fault;
    expectChain(caught(c.call), c.chain);
    EXPECT_EQ(0u, servant->faults.count(c.armed)) << "the armed failure was not reached";
  }

  // A nil velocity function stands for no remote object.
  expectChain(
      caught([] { kel_WellVelocity().getNumSamples(); }),
      {user("Could not return the number of samples in this well velocity. ", kUser + fragment("getNumSamples")),
       user("This kel_WellVelocity is nil: it stands for no remote object. ")});
}

// ---------------------------------------------------------------- creation

TEST_F(Velocity, CreatorsCheckTheSessionConvertTheDataThenLookTheFactoryUp) {
  auto* finder = new ScriptedFinder;
  const kel_Session scriptedSession = sessionFinding(finder);
  auto* stored = new ScriptedFactory<POA_EpiWell::NewWellVelocityFactory>;
  CORBA::Object_var storedReference = serve(stored);
  auto* storeless = new ScriptedFactory<POA_EpiWell::StorelessWellVelocityFactory>;
  CORBA::Object_var storelessReference = serve(storeless);
  CORBA::Object_var velocityReference = poa->servant_to_reference(servant);
  stored->created = storeless->created = Remote::_narrow(velocityReference.in());

  const kel_WellBore bore = this->bore(well());
  const kel_FloatQuantities v = list("m/s", {2250.0f, 2250.0f});
  const kel_WellVelocity::WellVelocityData data{list("ms", {0.0f, 400.0f}), list("m", {0.0f, 450.0f}), v, v, v};
  kel_WellVelocity::WellVelocityData unconvertible = data;
  unconvertible.thirdVelocities = kel_FloatQuantities(kel_Unit(), floats({1.0f}));  // no unit to look up
  const kel_FloatQuantity datum(kel_Unit::getUnit("m"), 25.0f);

  using Creator =
      kel_WellVelocity (*)(const kel_WellBore&, const kel_cppUtil::String&, const kel_cppUtil::String&,
                           const kel_FloatQuantity&, const kel_WellVelocity::WellVelocityData&, const kel_Session&);
  struct Way {
    const char* name;
    Creator create;
    const char* message;
    const char* factoryNil;
    std::string key;
    Script* factory;
    CORBA::Object_ptr reference;
    Level nilBore;  // the stored factory's lookup asks the wellbore for its store first
  };
  const Way ways[] = {
      {"createNewWellVelocity", &kel_WellVelocity::createNewWellVelocity,
       "Could not create a new well velocity from given inputs. ",
       "The EpiWell::newWellVelocityFactory came back NULL. ",
       "IDL:EpiWell/NewWellVelocityFactory:1.0 in '" + str(bore.getStoreName()) + "'", stored, storedReference.in(),
       sys("Could not read the store name of the entity. ", "The entity is nil. ")},
      {"createStorelessWellVelocity", &kel_WellVelocity::createStorelessWellVelocity,
       "Could not create a storeless well velocity from given inputs. ",
       "The EpiWell::StorelessWellVelocityFactory came back nil", "IDL:EpiWell/StorelessWellVelocityFactory:1.0 in ''",
       storeless, storelessReference.in(), sys("The supplied bore is nil. ")},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    const Level top = sys(way.message, kSystem + fragment(way.name));
    auto create = [&](const kel_WellBore& b, const kel_WellVelocity::WellVelocityData& d, const kel_Session& on) {
      return way.create(b, "VF", "src", datum, d, on);
    };
    finder->forget();
    finder->factory = CORBA::Object::_nil();

    // The session first: not even the data is looked at.
    expectChain(caught([&] { create(kel_WellBore(), unconvertible, kel_Session()); }),
                {top, sys("The supplied session is nil. ")});
    // Then the data: a list that does not convert fails before any lookup.
    const Caught failed = caught([&] { create(bore, unconvertible, scriptedSession); });
    EXPECT_EQ(way.message, text(failed.getMessage()));
    ASSERT_TRUE(failed->hasCause());
    EXPECT_EQ("Could not convert an kel_FloatQuantities object to an EpiTypes::DataQuantities object. ",
              text(failed->getCause().getMessage()));
    EXPECT_FALSE(finder->called());
    // Then the factory, looked up by its interface (and the wellbore's store).
    expectChain(caught([&] { create(bore, data, scriptedSession); }), {top, sys(way.factoryNil)});
    EXPECT_EQ(way.key, finder->sent("find_factories"));

    finder->factory = CORBA::Object::_duplicate(way.reference);
    expectChain(caught([&] { create(kel_WellBore(), data, scriptedSession); }), {top, way.nilBore});
    EXPECT_TRUE(create(bore, data, scriptedSession) == scripted);
    EXPECT_EQ("bore VF src m:25 ms:0,400 m:0,450 m/s:2250,2250 m/s:2250,2250 m/s:2250,2250 session",
              way.factory->sent("createWellVelocity"));

    way.factory->faults["createWellVelocity"] = [] { throw CosLifeCycle::NoFactory(); };
    expectChain(caught([&] { create(bore, data, scriptedSession); }),
                {sys(way.message, "Caught a CosLifeCycle::NoFactory exception in the " + fragment(way.name))});
    way.factory->faults["createWellVelocity"] = [] { throw EpDataStore::StoreException("Full. ", "disk"); };
    expectChain(caught([&] { create(bore, data, scriptedSession); }),
                {sys(way.message, kStore + fragment(way.name) + "Full. disk")});
  }
  stored->created = Remote::_nil();
  finder->factory = CORBA::Object::_duplicate(storedReference.in());
  expectChain(
      caught([&] { kel_WellVelocity::createNewWellVelocity(bore, "VF", "src", datum, data, scriptedSession); }),
      {sys("Could not create a new well velocity from given inputs. ", kSystem + fragment("createNewWellVelocity")),
       sys("The EpiWell::WellVelocity came back NULL. ")});
}
