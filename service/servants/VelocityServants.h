// The WellVelocity servant (one default servant for the stored POA and the
// storeless one) and its factories. The arithmetic is the time-depth
// engine's (engine/TimeDepth.h); this file unpacks lists and units, loads the
// function, calls the engine, packs the answer and reports each refusal as
// the remote exception the operation declares.
#ifndef KELWELLD_VELOCITYSERVANTS_H
#define KELWELLD_VELOCITYSERVANTS_H

#include <functional>
#include <optional>
#include <string>

#include <EpiWell.hh>

#include "engine/TimeDepth.h"
#include "entity/Velocities.h"
#include "servants/EntityServant.h"
#include "servants/Factories.h"

namespace kelwelld {

class WellVelocityServant : public EntityServant<POA_EpiWell::WellVelocity, VelocityRecord> {
public:
  explicit WellVelocityServant(Context& context);

  char* getLastModified(const char* selector) override;

  CORBA::Boolean getCheckshot() override;
  void setCheckshot(CORBA::Boolean value) override;
  char* getComment() override;
  void setComment(const char* value) override;
  char* getDataSource() override;
  void setDataSource(const char* value) override;
  CORBA::Long getNumSamples() override;
  char* getWellVelocityName() override;
  void setWellVelocityName(const char* value) override;
  EpiTypes::DataQuantity* getDatum() override;
  void setDatum(const EpiTypes::DataQuantity& value) override;
  EpiTypes::DataQuantity* getExtendViDeep(EpTypes::DataType type, EpUnitOfMeasureService::Unit_ptr unit) override;
  void setExtendViDeep(const EpiTypes::DataQuantity& value) override;
  EpiTypes::DataQuantity* getExtendViShallow(EpTypes::DataType type, EpUnitOfMeasureService::Unit_ptr unit) override;
  void setExtendViShallow(const EpiTypes::DataQuantity& value) override;
  EpiWell::WellBore_ptr getBore() override;

  EpiWell::WellVelocity::WellVelocityData* getVelocityData(EpTypes::DataType type,
                                                          EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                          EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                          EpUnitOfMeasureService::Unit_ptr velocityUnit) override;
  EpiWell::WellVelocity::TimeDepthPairs* getTimeDepths(EpTypes::DataType type,
                                                      EpUnitOfMeasureService::Unit_ptr timeUnit,
                                                      EpUnitOfMeasureService::Unit_ptr depthUnit,
                                                      EpiWell::TimeType timeType,
                                                      EpiWell::DepthType depthType) override;
  EpiWell::WellVelocity::TimeVelocityPairs* getTimeVelocities(
      EpTypes::DataType type, EpUnitOfMeasureService::Unit_ptr timeUnit,
      EpUnitOfMeasureService::Unit_ptr velocityUnit, EpiWell::TimeType timeType,
      EpiWell::WellVelocity::VelocityType velocityType) override;
  EpTypes::DataSequence* getAnisotropy(EpTypes::DataType type) override;

  EpiWell::Times* convertDepthsToTimes(const EpiWell::Depths& depths, EpTypes::DataType type,
                                       EpUnitOfMeasureService::Unit_ptr timeUnit, EpiWell::TimeType target) override;
  EpiWell::Depths* convertTimesToDepths(const EpiWell::Times& times, EpTypes::DataType type,
                                        EpUnitOfMeasureService::Unit_ptr depthUnit, EpiWell::DepthType target) override;
  EpiWell::WellVelocity::Velocities* convertTimesToVelocities(const EpiWell::Times& times, EpTypes::DataType type,
                                                             EpUnitOfMeasureService::Unit_ptr velocityUnit,
                                                             EpiWell::WellVelocity::VelocityType target) override;

  void setVelocityData(const EpiWell::WellVelocity::WellVelocityData& data) override;
  void setWellVelocityPairs(const EpiWell::WellVelocity::VelocityDataPairs& pairs) override;
  void updateWellVelocityPairs(const EpiWell::WellVelocity::VelocityDataPairs& pairs) override;
  void insertWellVelocityPairs(const EpiWell::WellVelocity::VelocityDataPairs& pairs,
                               const EpTypes::FloatSeq& values) override;
  void deleteTimes(const EpiWell::Times& times) override;
  void setAnisotropy(CORBA::Long position, const EpTypes::DataSequence& factors) override;

private:
  // The function of the call, loaded with its samples (after the fault check).
  VelocityRecord load(const char* operation);
  void setText(const char* operation, std::string VelocityRecord::*member, const char* value);
  void setVelocity(const char* operation, Quantity VelocityRecord::*member, const EpiTypes::DataQuantity& value,
                   const char* attribute);
  EpiTypes::DataQuantity* velocity(const char* operation, Quantity VelocityRecord::*member,
                                   EpTypes::DataType type, EpUnitOfMeasureService::Unit_ptr unit);
  // Changes the samples through the engine in one write, stamps them and
  // reports the change; change throws to refuse, and then nothing changes.
  void changeSamples(const char* operation, const std::function<void(engine::VelocityFunction&)>& change);
};

class NewWellVelocityFactoryServant : public FactoryServant<POA_EpiWell::NewWellVelocityFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellVelocity_ptr createWellVelocity(EpiWell::WellBore_ptr bore, const char* name, const char* dataSource,
                                               const EpiTypes::DataQuantity& datum,
                                               const EpiWell::WellVelocity::WellVelocityData& data,
                                               EpSession::Session_ptr session) override;
};

class StorelessWellVelocityFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellVelocityFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellVelocity_ptr createWellVelocity(EpiWell::WellBore_ptr bore, const char* name, const char* dataSource,
                                               const EpiTypes::DataQuantity& datum,
                                               const EpiWell::WellVelocity::WellVelocityData& data,
                                               EpSession::Session_ptr session) override;
};

// The velocity function as the engine computes with it: datum and extend
// velocities in SI units, the samples as kept. StoreException when what is
// kept makes no function (a damaged store).
engine::VelocityFunction functionOf(const VelocityRecord& record);

// The wellbore's default velocity function; nullopt when it has none.
std::optional<engine::VelocityFunction> defaultFunctionOf(Context& context, const std::string& wellBoreId);

} // namespace kelwelld

#endif
