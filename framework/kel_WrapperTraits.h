// The constants that tell the six wrapper classes apart. Everything else of
// their shared machinery (kel_WrapperCore.h) is written once.
#ifndef KEL_WRAPPERTRAITS_H
#define KEL_WRAPPERTRAITS_H

#include <EpiWell.hh>

class kel_Well;
class kel_WellBore;
class kel_WellBoreList;
class kel_WellLogTrace;
class kel_WellPick;
class kel_WellVelocity;

template <class W>
struct kel_WrapperTraits;

// How the wrapper classes differ in narrowing a generic entity: kel_Well
// tests the entity's reference for null; the others narrow it to
// EpEntity::Entity first and test that for nil.
enum class kel_EntityCheck { NullPointer, NarrowToEntity };

template <>
struct kel_WrapperTraits<kel_Well> {
  using Remote = EpiWell::Well;
  using NewFactory = EpiWell::NewWellFactory;
  using StorelessFactory = EpiWell::StorelessWellFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_Well; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellFactory; }

  static constexpr const char* entityType = "EpiWell_Well";
  static constexpr const char* className = "kel_Well";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_Well using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = false;
  static constexpr bool storelessSessionNilIsUser = true;

  static constexpr const char* compareMessage = "Could not compare this well with given well. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided well object. ";
  static constexpr const char* copyMessage = "Could not copy the provided well object. ";
  static constexpr const char* projectMessage = "Could not return the project which this well belongs to. ";
  static constexpr bool projectCatchesCorbaUser = false;

  static constexpr const char* narrowMessage = "Could not narrow the given entity object to a well object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NullPointer;
  static constexpr const char* entityNil = "The EpEntity::Entity came back NULL. ";
  static constexpr const char* wrongType = "The EpiWell::Well came back NULL. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a well object from given stringified well. ";
  static constexpr const char* fromStringNil = "The EpiWell::Well came back nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of well objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than wells. ";
  static constexpr const char* finderMessage = "Couldn't return any Well objects for given project. ";
  static constexpr const char* finderName = "getWellsInProject";
};

template <>
struct kel_WrapperTraits<kel_WellBore> {
  using Remote = EpiWell::WellBore;
  using NewFactory = EpiWell::NewWellBoreFactory;
  using StorelessFactory = EpiWell::StorelessWellBoreFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_WellBore; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellBoreFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellBoreFactory; }

  static constexpr const char* entityType = "EpiWell_WellBore";
  static constexpr const char* className = "kel_WellBore";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_WellBore using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = false;
  static constexpr bool storelessSessionNilIsUser = false;

  static constexpr const char* compareMessage = "Could not compare this wellbore with given wellbore. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided wellbore list object. ";
  static constexpr const char* copyMessage = "Could not copy the provided wellbore object. ";
  static constexpr const char* projectMessage = "Could not return the project which this wellbore belongs to. ";
  static constexpr bool projectCatchesCorbaUser = false;

  static constexpr const char* narrowMessage =
      "Could not narrow the given entity object to a wellbore object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NarrowToEntity;
  static constexpr const char* entityNil = "The EpEntity::Entity came back nil. ";
  static constexpr const char* wrongType = "The EpiWell::WellBore came back nil. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a wellbore object from given stringified wellbore. ";
  static constexpr const char* fromStringNil = "The EpiWell::WellBore came back nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of wellbore objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than wellbores. ";
  static constexpr const char* finderMessage = "Couldn't return any WellBore objects for given project. ";
  static constexpr const char* finderName = "getWellBoresInProject";
};

template <>
struct kel_WrapperTraits<kel_WellBoreList> {
  using Remote = EpiWell::WellBoreList;
  using NewFactory = EpiWell::NewWellBoreListFactory;
  using StorelessFactory = EpiWell::StorelessWellBoreListFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_WellBoreList; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellBoreListFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellBoreListFactory; }

  static constexpr const char* entityType = "EpiWell_WellBoreList";
  static constexpr const char* className = "kel_WellBoreList";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_WellBoreList using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = false;
  static constexpr bool storelessSessionNilIsUser = true;

  static constexpr const char* compareMessage =
      "Could not compare this wellbore list with given wellbore list. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided wellbore list object. ";
  static constexpr const char* copyMessage = "Could not copy the provided wellbore list object. ";
  static constexpr const char* projectMessage =
      "Could not return the project which this wellbore list belongs to. ";
  static constexpr bool projectCatchesCorbaUser = false;

  static constexpr const char* narrowMessage =
      "Could not narrow the given entity object to a wellbore list object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NarrowToEntity;
  static constexpr const char* entityNil = "The EpEntity::Entity came back nil. ";
  static constexpr const char* wrongType = "The EpiWell::WellBoreList came back nil. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a wellbore list object from given stringified wellbore list. ";
  static constexpr const char* fromStringNil = "The EpiWell::WellBoreList came bcak nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of wellbore list objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than wellbore lists. ";
  static constexpr const char* finderMessage = "Couldn't return any wellbore list objects for given project. ";
  static constexpr const char* finderName = "getWellBoreListsInProject";
};

template <>
struct kel_WrapperTraits<kel_WellLogTrace> {
  using Remote = EpiWell::WellLogTrace;
  using NewFactory = EpiWell::NewWellLogTraceFactory;
  using StorelessFactory = EpiWell::StorelessWellLogTraceFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_WellLogTrace; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellLogTraceFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellLogTraceFactory; }

  static constexpr const char* entityType = "EpiWell_WellLogTrace";
  static constexpr const char* className = "kel_WellLogTrace";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_WellLogTrace using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = true;
  static constexpr bool storelessSessionNilIsUser = false;

  static constexpr const char* compareMessage =
      "Could not compare this well logTrace with given well logTrace. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided welllog trace object. ";
  static constexpr const char* copyMessage = "Could not copy the provided well logTrace object. ";
  static constexpr const char* projectMessage =
      "Could not return the project which this well logTrace belongs to. ";
  static constexpr bool projectCatchesCorbaUser = false;

  static constexpr const char* narrowMessage =
      "Could not narrow the given entity object to a well logTrace object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NarrowToEntity;
  static constexpr const char* entityNil = "The EpEntity::Entity came back nil. ";
  static constexpr const char* wrongType = "The EpiWell::WellLogTrace came back nil. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a well logTrace object from given stringified wellbore list. ";
  static constexpr const char* fromStringNil = "The EpiWell::WellLogTrace came back nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of well logTrace objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than well logTrace lists. ";
  static constexpr const char* finderMessage = "Couldn't return any well logTrace objects for given project. ";
  static constexpr const char* finderName = "getWellLogTracesInProject";
};

template <>
struct kel_WrapperTraits<kel_WellPick> {
  using Remote = EpiWell::WellPick;
  using NewFactory = EpiWell::NewWellPickFactory;
  using StorelessFactory = EpiWell::StorelessWellPickFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_WellPick; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellPickFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellPickFactory; }

  static constexpr const char* entityType = "EpiWell_WellPick";
  static constexpr const char* className = "kel_WellPick";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_WellPick using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = false;
  static constexpr bool storelessSessionNilIsUser = false;

  static constexpr const char* compareMessage = "Could not compare this well pick with given well pick. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided wellpick object. ";
  static constexpr const char* copyMessage = "Could not copy the provided well pick object. ";
  static constexpr const char* projectMessage =
      "Could not return the project which this well pick belongs to. ";
  static constexpr bool projectCatchesCorbaUser = true;

  static constexpr const char* narrowMessage =
      "Could not narrow the given entity object to a wellbore object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NarrowToEntity;
  static constexpr const char* entityNil = "The EpEntity::Entity came back nil. ";
  static constexpr const char* wrongType = "The EpiWell::WellPick came back nil. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a well pick object from given stringified wellpick. ";
  static constexpr const char* fromStringNil = "The EpiWell::WellPick came back nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of well pick objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than well picks. ";
  static constexpr const char* finderMessage = "Couldn't return any well pick objects for given project. ";
  static constexpr const char* finderName = "getWellPicksInProject";
};

template <>
struct kel_WrapperTraits<kel_WellVelocity> {
  using Remote = EpiWell::WellVelocity;
  using NewFactory = EpiWell::NewWellVelocityFactory;
  using StorelessFactory = EpiWell::StorelessWellVelocityFactory;
  static CORBA::TypeCode_ptr typeCode() { return EpiWell::_tc_WellVelocity; }
  static CORBA::TypeCode_ptr newFactoryTypeCode() { return EpiWell::_tc_NewWellVelocityFactory; }
  static CORBA::TypeCode_ptr storelessFactoryTypeCode() { return EpiWell::_tc_StorelessWellVelocityFactory; }

  static constexpr const char* entityType = "EpiWell_WellVelocity";
  static constexpr const char* className = "kel_WellVelocity";
  static constexpr const char* nullPointer = "Trying to instantiate an kel_WellVelocity using a NULL pointer.";
  static constexpr bool nullPointerToStandardError = false;
  static constexpr bool storelessSessionNilIsUser = false;

  static constexpr const char* compareMessage =
      "Could not compare this well velocity with given well velocity. ";
  static constexpr const char* assignmentMessage = "Could not narrow the provided wellvelocity object. ";
  static constexpr const char* copyMessage = "Could not copy the provided well velocity object. ";
  static constexpr const char* projectMessage =
      "Could not return the project which this well velocity belongs to. ";
  static constexpr bool projectCatchesCorbaUser = false;

  static constexpr const char* narrowMessage =
      "Could not narrow the given entity object to a well velocity object. ";
  static constexpr kel_EntityCheck entityCheck = kel_EntityCheck::NarrowToEntity;
  static constexpr const char* entityNil = "The EpEntity::Entity came back nil. ";
  static constexpr const char* wrongType = "The EpiWell::WellVelocity came back nil. ";
  static constexpr const char* fromStringMessage =
      "Couldn't create a well velocity object from given stringified well velocity. ";
  static constexpr const char* fromStringNil = "The EpiWell::WellVelocity came back nil. ";

  static constexpr const char* arrayNarrowMessage =
      "Could not narrow the given list of entity objects to a list of well velocity objects. ";
  static constexpr const char* otherTypes =
      "The given entity array contains other types of entities than well velocities. ";
  static constexpr const char* finderMessage = "Couldn't return any well velocity objects for given project. ";
  static constexpr const char* finderName = "getWellVelocitiesInProject";
};

#endif
