// The catalogue servants through object references, in one process: an ORB on
// 127.0.0.1, the registries under its root POA, calls made as a client would.
#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CoordinateSystems.h"
#include "ReferenceValues.h"
#include "UnitCatalogue.h"
#include "catalogue_fault_double.h"

using namespace kelwelld;
using testing::HasSubstr;

namespace {

class Orb : public testing::Environment {
public:
  void SetUp() override {
    int argc = 3;
    const char* argv[] = {"catalogue_servants_test", "-ORBendPoint", "giop:tcp:127.0.0.1:", nullptr};
    orb = CORBA::ORB_init(argc, const_cast<char**>(argv));
    CORBA::Object_var object = orb->resolve_initial_references("RootPOA");
    root = PortableServer::POA::_narrow(object.in());
    ASSERT_FALSE(CORBA::is_nil(root.in()));
    PortableServer::POAManager_var manager = root->the_POAManager();
    manager->activate();
  }
  void TearDown() override {
    orb->destroy();
  }
  static CORBA::ORB_var orb;
  static PortableServer::POA_var root;
};
CORBA::ORB_var Orb::orb;
PortableServer::POA_var Orb::root;
const auto* const orbEnvironment = testing::AddGlobalTestEnvironment(new Orb);

class CatalogueServants : public testing::Test {
protected:
  CatalogueServants()
      : units(Orb::orb.in(), Orb::root.in(), "metric"),
        systems(Orb::orb.in(), Orb::root.in(), "EPSG:4326", units),
        values(Orb::orb.in(), Orb::root.in()) {
    catalogue_test::resetFaults();
  }

  // The object as a client holding only its text form would have it.
  template <typename T>
  typename T::_ptr_type reread(typename T::_ptr_type reference) {
    CORBA::String_var text = Orb::orb->object_to_string(reference);
    CORBA::Object_var object = Orb::orb->string_to_object(text.in());
    return T::_narrow(object.in());
  }

  UnitRegistry units;
  CoordinateRegistry systems;
  ReferenceValueRegistry values;
};

template <typename Exception, typename Call>
std::string reasonOf(Call call) {
  try {
    call();
  } catch (const Exception& error) {
    return error.reason.in();
  }
  return "no exception";
}

} // namespace

TEST_F(CatalogueServants, UnitServiceFindsUnitsByAnySpelling) {
  EpUnitOfMeasureService::UnitService_var service = units.service();
  ASSERT_FALSE(CORBA::is_nil(service.in()));
  EpUnitOfMeasureService::Unit_var feet = service->getUnit("FEET");
  CORBA::String_var acronym = feet->acronym();
  EXPECT_STREQ(acronym.in(), "ft");
  EpUnitOfMeasureService::UnitDefinition_var definition = feet->definition();
  EXPECT_STREQ(definition->name.in(), "foot");
  EXPECT_STREQ(definition->quantity.in(), "length");
  EXPECT_EQ(definition->factor, 0.3048);
  EXPECT_EQ(definition->offset, 0.0);

  EpUnitOfMeasureService::Unit_var metre = service->getUnit("m");
  EXPECT_EQ(feet->convert(10.0, metre.in()), 3.048);
  EpTypes::DoubleSeq input;
  input.length(2);
  input[0] = 1.0;
  input[1] = 100.0;
  EpTypes::DoubleSeq_var output = feet->convertSeq(input, metre.in());
  ASSERT_EQ(output->length(), 2u);
  EXPECT_EQ(output[1], 30.48);

  EXPECT_EQ(reasonOf<EpTypes::BadArgumentsException>([&] { EpUnitOfMeasureService::Unit_var u = service->getUnit("xyz"); }),
            "Unknown unit 'xyz'. UnitService::allUnits lists the known units; docs/catalogues.md lists them with "
            "their aliases. ");
  EpUnitOfMeasureService::UnitSeq_var all = service->allUnits();
  EXPECT_EQ(all->length(), units.catalogue().units().size());
}

TEST_F(CatalogueServants, UnitConversionRefusalsAreConversionExceptions) {
  EpUnitOfMeasureService::Unit_var feet = units.reference("ft");
  EpUnitOfMeasureService::Unit_var seconds = units.reference("s");
  EXPECT_THAT(reasonOf<EpUnitOfMeasureService::ConversionException>([&] { feet->convert(1.0, seconds.in()); }),
              HasSubstr("different quantities"));
  EXPECT_EQ(reasonOf<EpUnitOfMeasureService::ConversionException>(
                [&] { feet->convert(1.0, EpUnitOfMeasureService::Unit::_nil()); }),
            "No target unit was given (a nil reference). ");
  EpTypes::DoubleSeq empty;
  EXPECT_THAT(reasonOf<EpUnitOfMeasureService::ConversionException>(
                  [&] { EpTypes::DoubleSeq_var r = feet->convertSeq(empty, seconds.in()); }),
              HasSubstr("different quantities"));
}

TEST_F(CatalogueServants, DefaultUnitSetsComeInTheirOrder) {
  EpUnitOfMeasureService::UnitService_var service = units.service();
  EpUnitOfMeasureService::UnitMeasureSet_var metric = service->defaultUnits("");
  EpUnitOfMeasureService::UnitMeasureSet_var field = service->defaultUnits("field");
  ASSERT_EQ(metric->length(), 13u);
  ASSERT_EQ(field->length(), 13u);
  const auto acronymAt = [](EpUnitOfMeasureService::UnitMeasureSet& set, CORBA::ULong i) {
    CORBA::String_var acronym = set[i].unit->acronym();
    return std::string(acronym.in());
  };
  EXPECT_STREQ(metric[0].measure.in(), "angle");
  EXPECT_EQ(acronymAt(metric.inout(), 1), "m");
  EXPECT_EQ(acronymAt(metric.inout(), 5), "ms");
  EXPECT_EQ(acronymAt(metric.inout(), 8), "m");
  EXPECT_EQ(acronymAt(metric.inout(), 12), "m/s");
  EXPECT_EQ(acronymAt(field.inout(), 8), "ft");
  EXPECT_EQ(acronymAt(field.inout(), 12), "ft/s");
  EXPECT_THAT(reasonOf<EpTypes::BadArgumentsException>(
                  [&] { EpUnitOfMeasureService::UnitMeasureSet_var s = service->defaultUnits("SI"); }),
              HasSubstr("Unknown unit system 'SI'"));
}

TEST_F(CatalogueServants, ResolveReadsOurReferencesAndAsksOthers) {
  EXPECT_EQ(units.resolve(EpUnitOfMeasureService::Unit::_nil()), nullptr);
  EpUnitOfMeasureService::Unit_var feet = units.reference("foot");
  EpUnitOfMeasureService::Unit_var reread_ = reread<EpUnitOfMeasureService::Unit>(feet.in());
  const UnitDefinition* definition = units.resolve(reread_.in());
  ASSERT_NE(definition, nullptr);
  EXPECT_EQ(definition->acronym, "ft");

  EXPECT_EQ(systems.resolve(EpCoordinateService::System::_nil()), "");
  EpCoordinateService::System_var utm = systems.reference("epsg:32631+twt");
  EXPECT_EQ(systems.resolve(utm.in()), "EPSG:32631+TWT");
  EXPECT_THROW(EpCoordinateService::System_var s = systems.reference("EPSG:999999"), EpTypes::BadArgumentsException);
}

TEST(CatalogueRestart, UnitReferencesOutliveTheRegistryThatMadeThem) {
  CORBA::PolicyList none;
  PortableServer::POAManager_var manager = Orb::root->the_POAManager();
  PortableServer::POA_var parent = Orb::root->create_POA("restart", manager.in(), none);
  CORBA::String_var text;
  {
    UnitRegistry before(Orb::orb.in(), parent.in(), "metric");
    EpUnitOfMeasureService::Unit_var feet = before.reference("ft");
    text = Orb::orb->object_to_string(feet.in());
  }
  // The service starts again on the same endpoint.
  UnitRegistry after(Orb::orb.in(), parent.in(), "field");
  CORBA::Object_var object = Orb::orb->string_to_object(text.in());
  EpUnitOfMeasureService::Unit_var feet = EpUnitOfMeasureService::Unit::_narrow(object.in());
  ASSERT_FALSE(CORBA::is_nil(feet.in()));
  CORBA::String_var acronym = feet->acronym();
  EXPECT_STREQ(acronym.in(), "ft");
  EXPECT_EQ(after.resolve(feet.in())->acronym, "ft");
  parent->destroy(false, true);
}

TEST_F(CatalogueServants, CoordinateServiceGivesSystemsAndTransforms) {
  EpCoordinateService::CoordinateService_var service = systems.service();
  EpCoordinateService::System_var depth = service->preferredDepthSystem();
  EpCoordinateService::System_var time = service->preferredTimeSystem();
  CORBA::String_var depthName = depth->name();
  CORBA::String_var timeName = time->name();
  EXPECT_STREQ(depthName.in(), "EPSG:4326");
  EXPECT_STREQ(timeName.in(), "EPSG:4326+TWT");
  EXPECT_FALSE(depth->isTimeSystem());
  EXPECT_TRUE(time->isTimeSystem());
  EXPECT_EQ(depth->epsgCode(), 4326);
  EpUnitOfMeasureService::Unit_var vertical = time->verticalUnit();
  CORBA::String_var verticalAcronym = vertical->acronym();
  EXPECT_STREQ(verticalAcronym.in(), "ms");

  EXPECT_THAT(reasonOf<EpTypes::BadArgumentsException>(
                  [&] { EpCoordinateService::System_var s = service->getSystem("EPSG:999999"); }),
              HasSubstr("'EPSG:999999'"));

  EpCoordinateService::System_var utm = service->getSystem("EPSG:32631");
  EpCoordinateService::Coordinates source;
  source.system = service->defaultSystem();
  source.points.length(1);
  source.points[0].x = 3.0;
  source.points[0].y = 45.0;
  source.points[0].z = 7.0;
  EpCoordinateService::Coordinates_var result = service->transform(source, utm.in());
  EXPECT_EQ(systems.resolve(result->system.in()), "EPSG:32631");
  EXPECT_NEAR(result->points[0].x, 500000.0, 1e-3);
  EXPECT_NEAR(result->points[0].y, 4982950.4002, 1e-3);
  EXPECT_EQ(result->points[0].z, 7.0);

  EXPECT_THAT(reasonOf<EpCoordinateService::NoKnownTransformException>(
                  [&] { EpCoordinateService::Coordinates_var r = service->transform(source, time.in()); }),
              HasSubstr("two-way time"));
  EXPECT_THAT(reasonOf<EpCoordinateService::NoKnownTransformException>([&] {
                EpCoordinateService::Coordinates_var r =
                    service->transform(source, EpCoordinateService::System::_nil());
              }),
              HasSubstr("No target coordinate system"));
}

TEST_F(CatalogueServants, DefaultCoordinateSystemMustBeAnEpsgDepthSystem) {
  for (const char* name : {"EPSG:4326+TWT", "EPSG:999999", "nonsense"}) {
    EXPECT_THROW(CoordinateRegistry(Orb::orb.in(), Orb::root.in(), name, units), EpTypes::BadArgumentsException)
        << name;
  }
}

TEST_F(CatalogueServants, ReferenceValueSetsComeInBatchesWithAnIteratorForTheRest) {
  EpReferenceValueService::ReferenceValueService_var service = values.service();
  EpReferenceValueService::Identification id;
  id.authority = "Kelvast";
  id.setName = "WellboreStatus";
  EpReferenceValueService::ReferenceValueSet_var set = service->getSet(id);
  const auto& expected = *values.catalogue().find("Kelvast", "WellboreStatus");
  ASSERT_EQ(set->count(), expected.size());

  EpReferenceValueService::ReferenceValueList_var first;
  EpReferenceValueService::ReferenceValueIterator_var rest;
  set->getValues(3, first.out(), rest.out());
  ASSERT_EQ(first->length(), 3u);
  EXPECT_STREQ(first[0].code.in(), expected[0].code.c_str());
  ASSERT_FALSE(CORBA::is_nil(rest.in()));

  std::vector<std::string> seen;
  EpReferenceValueService::ReferenceValueList_var batch;
  while (rest->nextN(4, batch.out())) {
    for (CORBA::ULong i = 0; i < batch->length(); ++i) {
      seen.push_back(batch[i].code.in());
    }
  }
  EXPECT_EQ(batch->length(), 0u);
  ASSERT_EQ(seen.size(), expected.size() - 3);
  EXPECT_EQ(seen.back(), expected.back().code);
  rest->destroy();   // harmless once exhausted

  // All at once: no iterator.
  set->getValues(set->count(), first.out(), rest.out());
  EXPECT_EQ(first->length(), expected.size());
  EXPECT_TRUE(CORBA::is_nil(rest.in()));

  // An iterator destroyed before the end delivers nothing more.
  set->getValues(0, first.out(), rest.out());
  EXPECT_EQ(first->length(), 0u);
  ASSERT_FALSE(CORBA::is_nil(rest.in()));
  rest->destroy();
  EXPECT_FALSE(rest->nextN(10, batch.out()));
  EXPECT_EQ(batch->length(), 0u);
}

TEST_F(CatalogueServants, UnknownAndEmptyReferenceValueSets) {
  EpReferenceValueService::ReferenceValueService_var service = values.service();
  EpReferenceValueService::Identification id;
  id.authority = "Kelvast";
  id.setName = "NoSuchSet";
  EXPECT_EQ(reasonOf<EpReferenceValueService::NotFoundException>(
                [&] { EpReferenceValueService::ReferenceValueSet_var s = service->getSet(id); }),
            "No reference value set 'NoSuchSet' of authority 'Kelvast'. ReferenceValueService::listSets lists the "
            "sets. ");

  id.setName = "EmptySet";
  EpReferenceValueService::ReferenceValueSet_var empty = service->getSet(id);
  EXPECT_EQ(empty->count(), 0u);
  EpReferenceValueService::ReferenceValueList_var list;
  EpReferenceValueService::ReferenceValueIterator_var rest;
  empty->getValues(10, list.out(), rest.out());
  EXPECT_EQ(list->length(), 0u);
  EXPECT_TRUE(CORBA::is_nil(rest.in()));
  EpReferenceValueService::Identification_var back = empty->identification();
  EXPECT_STREQ(back->setName.in(), "EmptySet");

  EpReferenceValueService::IdentificationSeq_var sets = service->listSets();
  EXPECT_EQ(sets->length(), values.catalogue().sets().size());
  EXPECT_TRUE(values.contains("GenericFluidComponent", "condensate"));
  EXPECT_FALSE(values.contains("GenericFluidComponent", "lava"));
}

TEST_F(CatalogueServants, OperationsPassThroughTheFaultHook) {
  EpReferenceValueService::ReferenceValueService_var service = values.service();
  EpReferenceValueService::Identification id;
  id.authority = "Kelvast";
  id.setName = "FlowDirection";
  EpReferenceValueService::ReferenceValueSet_var set = service->getSet(id);
  catalogue_test::armValueFault("count", {EpSession::RETURN_OUT_OF_RANGE, 99999});
  EXPECT_EQ(set->count(), 99999u);
  catalogue_test::armValueFault("getSet", {EpSession::RETURN_NIL, 0});
  EpReferenceValueService::ReferenceValueSet_var nil = service->getSet(id);
  EXPECT_TRUE(CORBA::is_nil(nil.in()));

  EpUnitOfMeasureService::UnitService_var unitService = units.service();
  EpUnitOfMeasureService::Unit_var feet = unitService->getUnit("ft");
  CORBA::String_var acronym = feet->acronym();
  const auto& calls = catalogue_test::faultCalls();
  const auto called = [&](const std::string& operation, const std::string& objectId) {
    return std::find(calls.begin(), calls.end(), std::make_pair(operation, objectId)) != calls.end();
  };
  EXPECT_TRUE(called("count", "Kelvast/FlowDirection"));
  EXPECT_TRUE(called("getSet", "ReferenceValueService"));
  EXPECT_TRUE(called("getUnit", "UnitService"));
  EXPECT_TRUE(called("acronym", "ft"));
}
