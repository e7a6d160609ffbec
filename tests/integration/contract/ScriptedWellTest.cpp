// kel_Well against a well object served by this test process: it answers
// what a test scripts (numbers in every numeric type, identifiers whose
// value is no text) and records what the wrapper sends and how often it asks.
#include <cmath>
#include <map>
#include <mutex>
#include <string>

#include <EpiWell.hh>

#include "ContractService.h"
#include "kel_Connection.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_FloatQuantity.h"
#include "kel_Internal.h"
#include "kel_Unit.h"
#include "kel_Well.h"

using namespace contract;

namespace {

class ScriptedWell : public POA_EpiWell::Well {
public:
  // What the wrapper sent and how often each operation was called.
  std::map<std::string, int> calls;
  std::string spudDate;
  EpiTypes::DataQuantity sentDepth;
  bool locationSystemWasNil = false;
  EpCoordinateService::Coordinate sentLocation;
  CosPropertyService::Properties sentAliases;

  // What it answers.
  EpTypes::DataValue depth;
  CORBA::Any identifierValue;
  CosPropertyService::Properties aliases;

  ScriptedWell() { depth.floatValue(1.0f); identifierValue <<= "ID-1"; }

  int count(const std::string& operation) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return calls[operation];
  }

  char* getId() override { return text("getId", "scripted:1"); }
  char* getStoreName() override { return text("getStoreName", ""); }
  char* getEntityType() override { return text("getEntityType", "EpiWell_Well"); }
  EpSession::Project_ptr getProject() override { called("getProject"); return EpSession::Project::_nil(); }
  char* getLastModified(const char*) override { return text("getLastModified", "2024-01-01T00:00:00Z"); }

  char* getCountry() override { return text("getCountry", "Scripted"); }
  void setCountry(const char*) override { called("setCountry"); }
  char* getCounty() override { return text("getCounty", ""); }
  void setCounty(const char*) override { called("setCounty"); }
  char* getCurrentOperator() override { return text("getCurrentOperator", ""); }
  void setCurrentOperator(const char*) override { called("setCurrentOperator"); }
  char* getField() override { return text("getField", ""); }
  void setField(const char*) override { called("setField"); }
  char* getPlatformIdentifier() override { return text("getPlatformIdentifier", ""); }
  void setPlatformIdentifier(const char*) override { called("setPlatformIdentifier"); }
  char* getStateOrProvince() override { return text("getStateOrProvince", ""); }
  void setStateOrProvince(const char*) override { called("setStateOrProvince"); }
  char* getWellStatus() override { return text("getWellStatus", ""); }
  void setWellStatus(const char*) override { called("setWellStatus"); }
  char* getSpudDate() override { return text("getSpudDate", spudDate.c_str()); }
  void setSpudDate(const char* value) override {
    called("setSpudDate");
    spudDate = value;
  }

  EpiTypes::DataQuantity* getWaterDepth() override {
    called("getWaterDepth");
    EpiTypes::DataQuantity* result = new EpiTypes::DataQuantity;
    result->value = depth;
    result->unit = EpUnitOfMeasureService::Unit::_nil();
    return result;
  }
  void setWaterDepth(const EpiTypes::DataQuantity& value) override {
    called("setWaterDepth");
    sentDepth = value;
  }

  EpCoordinateService::Coordinate* getLocation(EpCoordinateService::System_ptr system) override {
    called("getLocation");
    locationSystemWasNil = CORBA::is_nil(system);
    EpCoordinateService::Coordinate* result = new EpCoordinateService::Coordinate;
    result->system = EpCoordinateService::System::_duplicate(m_system.in());
    result->x = 1.0;
    result->y = 2.0;
    result->z = 3.0;
    return result;
  }
  void setLocation(const EpCoordinateService::Coordinate& value) override {
    called("setLocation");
    sentLocation = value;
  }

  CosPropertyService::Property* getIdentifier() override {
    called("getIdentifier");
    CosPropertyService::Property* result = new CosPropertyService::Property;
    result->property_name = CORBA::string_dup("UWI");
    result->property_value = identifierValue;
    return result;
  }
  CosPropertyService::Properties* getAliases() override {
    called("getAliases");
    return new CosPropertyService::Properties(aliases);
  }
  void setAliases(const CosPropertyService::Properties& value) override {
    called("setAliases");
    sentAliases = value;
  }
  EpEntity::EntitySeq* getWellBores() override {
    called("getWellBores");
    return new EpEntity::EntitySeq;
  }

  void answerLocationsIn(EpCoordinateService::System_ptr system) {
    m_system = EpCoordinateService::System::_duplicate(system);
  }

private:
  void called(const char* operation) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++calls[operation];
  }
  char* text(const char* operation, const char* value) {
    called(operation);
    return CORBA::string_dup(value);
  }

  std::mutex m_mutex;
  EpCoordinateService::System_var m_system;
};

// A scripted well served in the process's POA for the length of a test.
struct Scripted : Contract {
  ScriptedWell* servant = new ScriptedWell;
  PortableServer::POA_var poa;
  PortableServer::ObjectId_var oid;
  kel_Well scripted;

  void SetUp() override {
    auto orb = static_cast<CORBA::ORB_ptr>(kel_Connection::getOrb());
    CORBA::Object_var root = orb->resolve_initial_references("RootPOA");
    poa = PortableServer::POA::_narrow(root.in());
    PortableServer::POAManager_var manager = poa->the_POAManager();
    manager->activate();
    oid = poa->activate_object(servant);
    CORBA::Object_var reference = poa->id_to_reference(oid.in());
    scripted = kel_Well(kel_RemoteStub(reference.in()), true);
  }
  void TearDown() override {
    scripted = kel_Well();
    poa->deactivate_object(oid.in());
    servant->_remove_ref();
    Contract::TearDown();
  }
};

TEST_F(Scripted, EveryNumericTypeOfTheServiceBecomesAFloat) {
  struct Case {
    const char* what;
    void (*fill)(EpTypes::DataValue&);
    float expected;
  };
  const Case cases[] = {
      {"unsigned byte 200", [](EpTypes::DataValue& v) { v.byteValue(200); }, 200.0f},
      {"character cell 200", [](EpTypes::DataValue& v) { v.ubyteValue(static_cast<CORBA::Char>(200)); }, -56.0f},
      {"short -300", [](EpTypes::DataValue& v) { v.shortValue(-300); }, -300.0f},
      {"long 123456", [](EpTypes::DataValue& v) { v.longValue(123456); }, 123456.0f},
      {"float 2.5", [](EpTypes::DataValue& v) { v.floatValue(2.5f); }, 2.5f},
      {"double 0.1", [](EpTypes::DataValue& v) { v.doubleValue(0.1); }, static_cast<float>(0.1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.fill(servant->depth);
    const kel_FloatQuantity q = scripted.getWaterDepth(kel_Unit::getUnit("m"));
    EXPECT_EQ(c.expected, q.getValue());
    EXPECT_TRUE(q.getUnit().isNil());
  }
}

TEST_F(Scripted, NothingIsCachedAndCopiesCallNothingRemote) {
  EXPECT_EQ("Scripted", str(scripted.getCountry()));
  EXPECT_EQ("Scripted", str(scripted.getCountry()));
  EXPECT_EQ(2, servant->count("getCountry"));

  const std::map<std::string, int> before = servant->calls;
  kel_Well copy(scripted);
  kel_Well assigned;
  assigned = scripted;
  kel_Well& same = assigned;
  assigned = same;
  EXPECT_EQ(before, servant->calls);
  EXPECT_EQ("Scripted", str(assigned.getCountry()));
}

TEST_F(Scripted, WhatTheSettersSend) {
  scripted.setSpudDate(kel_Date());
  EXPECT_EQ("", servant->spudDate);
  scripted.setSpudDate(kel_Date(2024, 5, 17, 8, 30, 0));
  EXPECT_EQ(str(kel_Date(2024, 5, 17, 8, 30, 0).toString()), servant->spudDate);

  scripted.setWaterDepth(kel_FloatQuantity(kel_Unit::getUnit("ft"), 12.5f));
  ASSERT_EQ(EpTypes::FLOAT_DATA, servant->sentDepth.value._d());
  EXPECT_EQ(12.5f, servant->sentDepth.value.floatValue());
  ASSERT_FALSE(CORBA::is_nil(servant->sentDepth.unit.in()));
  EXPECT_EQ("ft", std::string(CORBA::String_var(servant->sentDepth.unit->acronym()).in()));
  scripted.setWaterDepth(kel_FloatQuantity(kel_Unit(), 1.0f));
  EXPECT_TRUE(CORBA::is_nil(servant->sentDepth.unit.in()));

  const kel_CoordSystem utm = kel_CoordSystem::getSystem("EPSG:32631");
  scripted.setLocation(kel_Coordinate(utm, 10.0, 20.0, 30.0));
  ASSERT_FALSE(CORBA::is_nil(servant->sentLocation.system.in()));
  EXPECT_EQ("EPSG:32631", std::string(CORBA::String_var(servant->sentLocation.system->name()).in()));
  EXPECT_EQ(10.0, servant->sentLocation.x);
  EXPECT_EQ(20.0, servant->sentLocation.y);
  EXPECT_EQ(30.0, servant->sentLocation.z);

  kel_Array<kel_StringPair> aliases;
  aliases.addElement(kel_StringPair("b", "2"));
  aliases.addElement(kel_StringPair("a", "1"));
  scripted.setWellAliases(aliases);
  ASSERT_EQ(2u, servant->sentAliases.length());
  EXPECT_EQ("b", std::string(servant->sentAliases[0].property_name.in()));
  const char* value = nullptr;
  ASSERT_TRUE(servant->sentAliases[1].property_value >>= value);
  EXPECT_EQ("1", std::string(value));
  scripted.setWellAliases(kel_Array<kel_StringPair>());
  EXPECT_EQ(0u, servant->sentAliases.length());
}

TEST_F(Scripted, TheLocationCarriesTheSystemThatCameBack) {
  const kel_CoordSystem utm = kel_CoordSystem::getSystem("EPSG:32631");
  servant->answerLocationsIn(
      static_cast<EpCoordinateService::System_ptr>(utm.getRemoteObject(kel_Internal())));

  const kel_Coordinate fromNil = scripted.getLocation(kel_CoordSystem());
  EXPECT_TRUE(servant->locationSystemWasNil);
  EXPECT_EQ("EPSG:32631", str(fromNil.getSystem().getName()));
  EXPECT_EQ(1.0, fromNil.getX());
  EXPECT_EQ(2.0, fromNil.getY());
  EXPECT_EQ(3.0, fromNil.getZ());

  const kel_Coordinate asked = scripted.getLocation(kel_CoordSystem::getSystem("EPSG:4326"));
  EXPECT_FALSE(servant->locationSystemWasNil);
  EXPECT_EQ("EPSG:32631", str(asked.getSystem().getName()));

  servant->answerLocationsIn(EpCoordinateService::System::_nil());
  expectChain(caught([&] { scripted.getLocation(kel_CoordSystem()); }),
              {sys("Could not return this well's surface coordinate location. ",
                   std::string(kSystem) + "kel_Well::getLocation method. "),
               sys("The EpCoordinateService::System came back nil. ")});
}

// An identifier or alias whose value holds no text either fails through the
// operation or comes back as some text; it never crashes.
TEST_F(Scripted, AnIdentifierValueThatIsNoText) {
  servant->identifierValue <<= static_cast<CORBA::Long>(42);
  try {
    (void)scripted.getIdentifier();
  } catch (const kel_Exception& e) {
    EXPECT_EQ("Could not return this well's primary identifier. ", str(e.getMessage()));
    ASSERT_TRUE(e.hasCause());
    EXPECT_EQ("Could not convert given any to a kel_String. ", str(e.getCause().getMessage()));
    const std::string context = str(e.getCause().getContext());
    const std::string fragment = "kel_Converter::convertAnyToString method. ";
    ASSERT_GE(context.size(), fragment.size());
    EXPECT_EQ(fragment, context.substr(context.size() - fragment.size()));
  }

  servant->aliases.length(1);
  servant->aliases[0].property_name = CORBA::string_dup("n");
  servant->aliases[0].property_value <<= 1.5;
  try {
    (void)scripted.getWellAliases();
  } catch (const kel_Exception& e) {
    EXPECT_EQ("Could not return a list of this well's aliases. ", str(e.getMessage()));
  }
}

} // namespace
