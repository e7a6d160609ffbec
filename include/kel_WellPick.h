// kel_WellPick: a pick (formation top, marker) interpreted on one wellbore.
// Its position is a pick value: a quantity in one of seven reference kinds.
// The service keeps the value as it was given and converts it into any of
// the kinds on request; the wrapper carries the numbers 0 to 6 across and
// gives them no meaning of its own.
//
// Like every wrapper of this library it is a thin handle on one counted
// remote reference; nothing is cached. Every operation fails with
// kel_SystemException or kel_UserException.
#ifndef KEL_WELLPICK_H
#define KEL_WELLPICK_H

#include "kel_Array.h"
#include "kel_Color.h"
#include "kel_Coordinate.h"
#include "kel_Date.h"
#include "kel_Entity.h"
#include "kel_Exception.h"
#include "kel_FloatQuantity.h"
#include "kel_Project.h"
#include "kel_Session.h"
#include "kel_Unit.h"
#include "kel_WellBore.h"
#include "kel_WellExport.h"
#include "kel_cppUtil.h"

class kel_WellVelocity;

template <class W>
struct kel_WrapperCore;

class KELWELL_EXPORT kel_WellPick : public kel_Entity {
public:
  // The reference kind of a pick value; the service says what each means.
  enum PickReference : int {
    PICK_REFERENCE_0 = 0,
    PICK_REFERENCE_1 = 1,
    PICK_REFERENCE_2 = 2,
    PICK_REFERENCE_3 = 3,
    PICK_REFERENCE_4 = 4,
    PICK_REFERENCE_5 = 5,
    PICK_REFERENCE_6 = 6
  };

  // A position: the number with its unit, and the kind it is expressed in.
  struct PickValue {
    kel_FloatQuantity value;
    PickReference reference = PICK_REFERENCE_0;
  };

  // A nil pick.
  kel_WellPick();
  // Wraps the stub's reference, which must be a pick's.
  // kel_SystemException for a null, nil or foreign reference.
  explicit kel_WellPick(const kel_RemoteStub& stub, bool duplicate = true);
  kel_WellPick(const kel_WellPick& other, bool duplicate = true);
  ~kel_WellPick() override;

  kel_WellPick& operator=(const kel_WellPick& other);
  // Identity is the identifier alone.
  bool operator==(const kel_WellPick& other) const;
  bool operator<(const kel_WellPick& other) const;

  static kel_WellPick narrow(const kel_Entity& entity, bool mustMatch = true);
  static kel_Array<kel_WellPick> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  static kel_WellPick getFromString(const kel_WellString& text);
  // All picks of the project.
  static kel_Array<kel_WellPick> getWellPicksInProject(const kel_Project& project);

  // "EpiWell_WellPick".
  static kel_WellString getEntityType();
  static kel_WellString getRepositoryId();

  // A new pick on the wellbore, kept in the wellbore's data store. The three
  // texts (pick name, pick type, interpreter) reach the service unchanged and
  // in this order; pickValue is kept as given.
  static kel_WellPick createNewWellPick(const kel_WellBore& bore, const kel_WellString& pickName,
                                        const kel_WellString& pickType, const kel_WellString& interpreter,
                                        const PickValue& pickValue, const kel_Session& session);
  // The same, held by the service in memory only.
  static kel_WellPick createStorelessWellPick(const kel_WellBore& bore, const kel_WellString& pickName,
                                              const kel_WellString& pickType,
                                              const kel_WellString& interpreter, const PickValue& pickValue,
                                              const kel_Session& session);

  // The confidence factor codes the service accepts, in its order.
  static kel_Array<kel_WellString> getValidConfidenceFactors();

  kel_WellString getComment() const;
  void setComment(const kel_WellString& comment);
  kel_WellString getConfidenceFactor() const;
  void setConfidenceFactor(const kel_WellString& confidenceFactor);
  kel_WellString getInterpreter() const;
  void setInterpreter(const kel_WellString& interpreter);
  kel_Date getPickDate() const;
  void setPickDate(const kel_Date& date);
  kel_WellString getPickName() const;
  void setPickName(const kel_WellString& name);
  kel_WellString getPickSource() const;
  void setPickSource(const kel_WellString& source);
  // Set when the pick is created; there is no setter.
  kel_WellString getPickType() const;
  // A default colour when the pick has none.
  kel_Color getPickColor() const;
  void setPickColor(const kel_Color& color);
  // When the part named by selector last changed; the service defines the
  // selectors and refuses others (kel_UserException).
  kel_Date getLastModified(const kel_WellString& selector) const;

  // Dip angle from horizontal and direction of dip, in unit (unchanged when
  // unit is nil or already theirs) or in the default angle unit.
  kel_FloatQuantity getDipAngle(const kel_Unit& unit) const;
  kel_FloatQuantity getDipAngle() const;
  void setDipAngle(const kel_FloatQuantity& angle);
  kel_FloatQuantity getDipAzimuth(const kel_Unit& unit) const;
  kel_FloatQuantity getDipAzimuth() const;
  void setDipAzimuth(const kel_FloatQuantity& azimuth);

  // The wellbore the pick belongs to; a nil wellbore when it has none.
  kel_WellBore getBore() const;

  // Not supported: both always fail with kel_UserException "Not implemented yet.".
  unsigned long getOccurrence() const;
  void setOccurrence(unsigned long occurrence);

  // The pick's position converted by the service into reference, in the unit
  // the service chose.
  PickValue getPickValue(PickReference reference) const;
  // The position exactly as it was last given.
  PickValue getOriginalPickValue() const;
  void setPickValue(const PickValue& pickValue);

  // Where the pick lies on its wellbore, in system (or the default system);
  // velocity converts a time kind (a nil one leaves the choice to the service).
  kel_Coordinate getLocation(const kel_CoordSystem& system, const kel_WellVelocity& velocity) const;
  kel_Coordinate getLocation(const kel_WellVelocity& velocity) const;

protected:
  void assignment(const kel_WellPick& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_WellPick>;

  static kel_Array<kel_WellString> getFromRVS(const kel_WellString& setName);
};

extern template class KELWELL_EXPORT kel_Array<kel_WellPick>;

#endif
