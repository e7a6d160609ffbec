// kel_Well: one well held by the well data service.
//
// A kel_Well is a thin handle on one counted reference to a remote well; it
// caches nothing, so every getter asks the service and every setter writes
// through at once. Every operation fails with kel_SystemException or
// kel_UserException, whose message says what could not be done and whose
// context and causes say why.
#ifndef KEL_WELL_H
#define KEL_WELL_H

#include "kel_Array.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_StringPair.h"
#include "kel_Unit.h"
#include "kel_WellExport.h"
#include "kel_cppUtil.h"

template <class W>
struct kel_WrapperCore;

class KELWELL_EXPORT kel_Well : public kel_Entity {
public:
  // A nil well.
  kel_Well();
  // Wraps the stub's reference, which must be a well's; with duplicate the
  // wrapper takes a count of its own, without it adopts the caller's.
  // kel_SystemException for a null, nil or foreign reference.
  explicit kel_Well(const kel_RemoteStub& stub, bool duplicate = true);
  kel_Well(const kel_Well& other, bool duplicate = true);
  ~kel_Well() override;

  kel_Well& operator=(const kel_Well& other);
  // Identity is the identifier alone.
  bool operator==(const kel_Well& other) const;
  bool operator<(const kel_Well& other) const;

  // The entity as a well: a nil well when it is another kind of entity and
  // mustMatch is false, a failure when mustMatch is true.
  static kel_Well narrow(const kel_Entity& entity, bool mustMatch = true);
  // The wells among the entities, in order; with mustMatch every entity must be one.
  static kel_Array<kel_Well> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  // The well whose stringified reference is text.
  static kel_Well getFromString(const kel_WellString& text);
  // All wells of the project.
  static kel_Array<kel_Well> getWellsInProject(const kel_Project& project);

  // "EpiWell_Well".
  static kel_WellString getEntityType();
  // The repository identifier of the remote well interface.
  static kel_WellString getRepositoryId();


  // A new well kept in the project's data store.
  static kel_Well createNewWell(const kel_Project& project, const kel_WellString& name,
                                const kel_StringPair& identifier, const kel_Session& session);
  // A new well held by the service in memory only.
  static kel_Well createStorelessWell(const kel_Project& project, const kel_StringPair& identifier,
                                      const kel_Session& session);

  // Descriptive attributes, as plain text.
  kel_WellString getCountry() const;
  void setCountry(const kel_WellString& country);
  kel_WellString getCounty() const;
  void setCounty(const kel_WellString& county);
  kel_WellString getCurrentOperator() const;
  void setCurrentOperator(const kel_WellString& currentOperator);
  kel_WellString getField() const;
  void setField(const kel_WellString& field);
  kel_WellString getPlatformIdentifier() const;
  void setPlatformIdentifier(const kel_WellString& platformIdentifier);
  kel_WellString getStateOrProvince() const;
  void setStateOrProvince(const kel_WellString& stateOrProvince);
  kel_WellString getWellStatus() const;
  void setWellStatus(const kel_WellString& wellStatus);

  // The null date when unknown; setting the null date clears it.
  kel_Date getSpudDate() const;
  void setSpudDate(const kel_Date& spudDate);

  // The water depth in unit (unchanged when it was stored without a unit or
  // unit is nil), or in the default depth unit.
  kel_FloatQuantity getWaterDepth(const kel_Unit& unit) const;
  kel_FloatQuantity getWaterDepth() const;
  void setWaterDepth(const kel_FloatQuantity& waterDepth);

  // The surface location in system (a nil system: the one it was written
  // in), or in the default system. The result carries the system the
  // service reports.
  kel_Coordinate getLocation(const kel_CoordSystem& system) const;
  kel_Coordinate getLocation() const;
  void setLocation(const kel_Coordinate& location);

  // The primary identifier, for example ("UWI", "100/01-02-003-04W5/00").
  kel_StringPair getIdentifier() const;

  // Alternative identifiers, in the order they were written.
  kel_Array<kel_StringPair> getWellAliases() const;
  void setWellAliases(const kel_Array<kel_StringPair>& aliases);

protected:
  // With duplicate, takes other's reference with a count of its own;
  // without, keeps the state the base copied.
  void assignment(const kel_Well& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  // The project the well belongs to; a nil project when it has none.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_Well>;
};

extern template class KELWELL_EXPORT kel_Array<kel_Well>;

#endif
