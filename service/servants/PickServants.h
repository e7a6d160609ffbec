// The WellPick servant (one default servant for the stored POA and the
// storeless one) and its factories. A pick keeps its value exactly as it was
// given; every other kind is computed on each read through the wellbore's
// depth kinds (WellBoreDepths) and, for time kinds, a velocity function.
#ifndef KELWELLD_PICKSERVANTS_H
#define KELWELLD_PICKSERVANTS_H

#include <EpiWell.hh>

#include "entity/Picks.h"
#include "servants/EntityServant.h"
#include "servants/Factories.h"

namespace kelwelld {

class WellPickServant : public EntityServant<POA_EpiWell::WellPick, PickRecord> {
public:
  explicit WellPickServant(Context& context);

  char* getLastModified(const char* selector) override;

  char* getComment() override;
  void setComment(const char* value) override;
  char* getConfidenceFactor() override;
  void setConfidenceFactor(const char* value) override;
  char* getInterpreter() override;
  void setInterpreter(const char* value) override;
  char* getPickDate() override;
  void setPickDate(const char* value) override;
  char* getPickName() override;
  void setPickName(const char* value) override;
  char* getPickSource() override;
  void setPickSource(const char* value) override;
  char* getPickType() override;
  char* getPickColor() override;
  void setPickColor(const char* value) override;
  EpiTypes::DataQuantity* getDipAngle() override;
  void setDipAngle(const EpiTypes::DataQuantity& value) override;
  EpiTypes::DataQuantity* getDipAzimuth() override;
  void setDipAzimuth(const EpiTypes::DataQuantity& value) override;
  EpiWell::WellBore_ptr getBore() override;

  EpiWell::WellPick::PickValue* getPickValue(EpiWell::WellPick::PickReference reference) override;
  EpiWell::WellPick::PickValue* getOriginalPickValue() override;
  void setPickValue(const EpiWell::WellPick::PickValue& value) override;
  EpCoordinateService::Coordinate* getLocation(EpCoordinateService::System_ptr system,
                                               EpiWell::WellVelocity_ptr velocity) override;

private:
  void setText(const char* operation, std::string PickRecord::*member, const std::string& value);
  void setDip(const char* operation, Quantity PickRecord::*member, const EpiTypes::DataQuantity& value,
              const char* attribute, double largestDegrees);
};

class NewWellPickFactoryServant : public FactoryServant<POA_EpiWell::NewWellPickFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellPick_ptr createWellPick(EpiWell::WellBore_ptr bore, const char* pickName, const char* pickType,
                                       const char* interpreter, const EpiWell::WellPick::PickValue& value,
                                       EpSession::Session_ptr session) override;
};

class StorelessWellPickFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellPickFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellPick_ptr createWellPick(EpiWell::WellBore_ptr bore, const char* pickName, const char* pickType,
                                       const char* interpreter, const EpiWell::WellPick::PickValue& value,
                                       EpSession::Session_ptr session) override;
};

} // namespace kelwelld

#endif
