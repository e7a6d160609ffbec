// The WellLogTrace servant (one default servant for stored and storeless
// traces) and the two trace factories. The samples' semantics (grouping,
// ranges, extremes, decimation, index kinds) are the trace engine's
// (engine/TraceSamples.h, docs/service.md "Log trace samples").
#ifndef KELWELLD_LOGTRACESERVANTS_H
#define KELWELLD_LOGTRACESERVANTS_H

#include <string>
#include <vector>

#include <EpiWell.hh>

#include "engine/TraceSamples.h"
#include "entity/LogTraces.h"
#include "servants/EntityServant.h"
#include "servants/Factories.h"

namespace kelwelld {

// The one place where a trace's index meets its wellbore's geometry: index
// values (SI: metres or seconds) converted between index kinds of the
// trace's wellbore. Every wellbore is vertical here and none has a velocity
// function yet; when paths and velocity functions are kept, this is where
// the wellbore's path and default velocity function come in.
std::vector<double> convertTraceIndex(Context& context, const std::string& boreId,
                                      const std::vector<double>& index, engine::IndexKind from,
                                      engine::IndexKind to);

class LogTraceServant : public EntityServant<POA_EpiWell::WellLogTrace, LogTraceRecord> {
public:
  explicit LogTraceServant(Context& context);

  char* getLastModified(const char* selector) override;

  char* getComment() override;
  void setComment(const char* value) override;
  char* getCreationDate() override;
  char* getDataSource() override;
  void setDataSource(const char* value) override;
  EpTypes::DataValue getNullValue() override;
  void setNullValue(const EpTypes::DataValue& value) override;
  CORBA::Long getNumElements() override;
  CORBA::Long getNumSamples() override;
  char* getSoftSource() override;
  void setSoftSource(const char* value) override;
  char* getTraceKind() override;
  void setTraceKind(const char* value) override;
  char* getTraceName() override;
  void setTraceName(const char* value) override;
  EpiWell::WellLogTrace::TraceProcessState getTraceProcess() override;
  void setTraceProcess(EpiWell::WellLogTrace::TraceProcessState value) override;
  EpUnitOfMeasureService::Unit_ptr getTraceUnit() override;
  void setTraceUnit(EpUnitOfMeasureService::Unit_ptr unit) override;
  CORBA::Long getTraceVersion() override;
  char* getUser() override;
  void setUser(const char* value) override;
  EpiWell::WellLogTrace::IndexKind getNativeIndexKind() override;
  EpiWell::WellBore_ptr getBore() override;

  CORBA::Boolean getIndexInfo(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                              EpiWell::WellLogTrace::IndexKind kind, EpiTypes::DataQuantity_out increment,
                              EpiTypes::DataQuantity_out minimum, EpiTypes::DataQuantity_out maximum) override;
  EpiTypes::DataQuantity* getTopIndex(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                      EpiWell::WellLogTrace::IndexKind kind) override;
  EpiTypes::DataQuantity* getBottomIndex(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                         EpiWell::WellLogTrace::IndexKind kind) override;
  EpiWell::WellLogTrace::TraceData* getTraceData(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType indexType,
                                                 EpTypes::DataType traceType,
                                                 EpiWell::WellLogTrace::IndexKind kind) override;
  EpiWell::WellLogTrace::TraceData* getDecimatedTraceData(EpUnitOfMeasureService::Unit_ptr unit,
                                                          EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                          EpiWell::WellLogTrace::IndexKind kind,
                                                          CORBA::ULong step) override;
  EpiWell::WellLogTrace::TraceData* getTraceByIndexRange(EpUnitOfMeasureService::Unit_ptr unit,
                                                         EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                         EpiWell::WellLogTrace::IndexKind kind,
                                                         const EpiTypes::DataQuantity& from,
                                                         const EpiTypes::DataQuantity& to) override;
  EpiWell::WellLogTrace::TraceData* getTraceByTraceRange(EpUnitOfMeasureService::Unit_ptr unit,
                                                         EpTypes::DataType indexType, EpTypes::DataType traceType,
                                                         EpiWell::WellLogTrace::IndexKind kind,
                                                         const EpiTypes::DataQuantity& from,
                                                         const EpiTypes::DataQuantity& to) override;
  EpiTypes::DataQuantities* getMaxTraceIndexValue(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                                  EpiWell::WellLogTrace::IndexKind kind) override;
  EpiTypes::DataQuantities* getMinTraceIndexValue(EpUnitOfMeasureService::Unit_ptr unit, EpTypes::DataType type,
                                                  EpiWell::WellLogTrace::IndexKind kind) override;
  EpiTypes::DataQuantity* getMaxTraceValue() override;
  EpiTypes::DataQuantity* getMinTraceValue() override;

  void setTraceData(const EpiWell::WellLogTrace::TraceData& data) override;
  void addNValues(const EpiWell::WellLogTrace::TraceData& data) override;
  void removeAllValues() override;

private:
  void setText(const char* operation, std::string LogTraceRecord::*member, const char* value);
  void writeData(const char* operation, const EpiWell::WellLogTrace::TraceData& data, SampleWrite how);
};

class NewWellLogTraceFactoryServant : public FactoryServant<POA_EpiWell::NewWellLogTraceFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellLogTrace_ptr createWellLogTrace(EpiWell::WellBore_ptr bore, const char* traceName,
                                               const char* traceKind, const char* dataSource,
                                               const EpiWell::WellLogTrace::TraceData& data,
                                               const EpTypes::DataValue& nullValue,
                                               EpSession::Session_ptr session) override;
};

class StorelessWellLogTraceFactoryServant : public FactoryServant<POA_EpiWell::StorelessWellLogTraceFactory> {
public:
  using FactoryServant::FactoryServant;
  EpiWell::WellLogTrace_ptr createWellLogTrace(EpiWell::WellBore_ptr bore, const char* traceName,
                                               const char* traceKind, const char* dataSource,
                                               const EpiWell::WellLogTrace::TraceData& data,
                                               const EpTypes::DataValue& nullValue,
                                               EpSession::Session_ptr session) override;
};

} // namespace kelwelld

#endif
