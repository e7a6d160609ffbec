// kel_WellLogTrace: one log trace of a wellbore (a GR or RHOB curve, or an
// array log with several values per index value), held by the well data
// service: index values (depths or times), the trace values at each, and
// descriptive attributes.
//
// Like every wrapper of this library it is a thin handle on one counted
// remote reference; nothing is cached, and selection, decimation and
// searching are the service's. Whole traces travel in one request and one
// answer. Every operation fails with kel_SystemException or kel_UserException.
#ifndef KEL_WELLLOGTRACE_H
#define KEL_WELLLOGTRACE_H

#include "kel_Array.h"
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

template <class W>
struct kel_WrapperCore;

class KELWELL_EXPORT kel_WellLogTrace : public kel_Entity {
public:
  // What the index measures; the service says what each value means.
  // Kinds 0 to 2 are depths, 3 and 4 times.
  enum IndexKind : int { INDEX_KIND_0 = 0, INDEX_KIND_1 = 1, INDEX_KIND_2 = 2, INDEX_KIND_3 = 3, INDEX_KIND_4 = 4 };
  // How far the trace has been processed (raw, edited, ...), as the service numbers it.
  enum TraceProcessState : int {
    TRACE_PROCESS_STATE_0 = 0,
    TRACE_PROCESS_STATE_1 = 1,
    TRACE_PROCESS_STATE_2 = 2,
    TRACE_PROCESS_STATE_3 = 3,
    TRACE_PROCESS_STATE_4 = 4,
    TRACE_PROCESS_STATE_5 = 5,
    TRACE_PROCESS_STATE_6 = 6
  };

  // A whole trace or a part of it: one index value per sample, and the trace
  // values grouped in inner arrays as the service groups them.
  struct KELWELL_EXPORT TraceData {
    kel_FloatQuantities index;
    kel_FloatQuantitiesSeq trace;
    IndexKind indexKind = INDEX_KIND_0;
  };

  // A nil trace.
  kel_WellLogTrace();
  // Wraps the stub's reference, which must be a log trace's. A null
  // reference is reported on standard error and refused with kel_SystemException.
  explicit kel_WellLogTrace(const kel_RemoteStub& stub, bool duplicate = true);
  kel_WellLogTrace(const kel_WellLogTrace& other, bool duplicate = true);
  ~kel_WellLogTrace() override;

  kel_WellLogTrace& operator=(const kel_WellLogTrace& other);
  // Identity is the identifier alone.
  bool operator==(const kel_WellLogTrace& other) const;
  bool operator<(const kel_WellLogTrace& other) const;

  static kel_WellLogTrace narrow(const kel_Entity& entity, bool mustMatch = true);
  static kel_Array<kel_WellLogTrace> narrow(const kel_Array<kel_Entity>& entities, bool mustMatch = true);
  static kel_WellLogTrace getFromString(const kel_WellString& text);
  // All log traces of the project.
  static kel_Array<kel_WellLogTrace> getWellLogTracesInProject(const kel_Project& project);

  // "EpiWell_WellLogTrace".
  static kel_WellString getEntityType();
  static kel_WellString getRepositoryId();

  // A new trace of the bore, kept in the bore's data store: text1 to text3
  // (trace name, trace kind, data source) go to the service unchanged;
  // data holds its first samples, nullValue marks missing values.
  static kel_WellLogTrace createNewWellLogTrace(const kel_WellBore& bore, const kel_WellString& text1,
                                                const kel_WellString& text2, const kel_WellString& text3,
                                                const TraceData& data, float nullValue, const kel_Session& session);
  // The same, held by the service in memory only.
  static kel_WellLogTrace createStorelessWellLogTrace(const kel_WellBore& bore, const kel_WellString& text1,
                                                      const kel_WellString& text2,
                                                      const kel_WellString& text3, const TraceData& data,
                                                      float nullValue, const kel_Session& session);

  // ---------------------------------------------------------------- attributes
  kel_WellString getComment();
  void setComment(const kel_WellString& comment);
  kel_Date getCreationDate();
  kel_WellString getDataSource();
  void setDataSource(const kel_WellString& dataSource);
  float getNullValue() const;
  void setNullValue(float nullValue);
  // Trace values per index value.
  long getNumElements() const;
  long getNumSamples() const;
  kel_WellString getSoftSource();
  void setSoftSource(const kel_WellString& softSource);
  kel_WellString getTraceKind();
  void setTraceKind(const kel_WellString& traceKind);
  kel_WellString getTraceName();
  void setTraceName(const kel_WellString& traceName);
  TraceProcessState getTraceProcess();
  void setTraceProcess(TraceProcessState state);
  kel_Unit getTraceUnit();
  void setTraceUnit(const kel_Unit& unit);
  long getTraceVersion() const;
  kel_WellString getUser();
  void setUser(const kel_WellString& user);
  IndexKind getNativeIndexKind();
  // When the part of the trace named by selector last changed; the service
  // defines the selectors.
  kel_Date getLastModified(const kel_WellString& selector);
  // The wellbore of the trace; a nil wellbore when the service names none.
  kel_WellBore getBore();

  // ---------------------------------------------------------------- data
  // The forms without a unit take the default depth unit for kinds 0 to 2
  // and the default time unit for kinds 3 and 4.
  void getIndexInfo(const kel_Unit& unit, IndexKind kind, kel_FloatQuantity& increment, kel_FloatQuantity& minimum,
                    kel_FloatQuantity& maximum, bool& flag) const;
  void getIndexInfo(IndexKind kind, kel_FloatQuantity& increment, kel_FloatQuantity& minimum,
                    kel_FloatQuantity& maximum, bool& flag) const;
  kel_FloatQuantity getTopIndex(const kel_Unit& unit, IndexKind kind);
  kel_FloatQuantity getTopIndex(IndexKind kind);
  kel_FloatQuantity getBottomIndex(const kel_Unit& unit, IndexKind kind);
  kel_FloatQuantity getBottomIndex(IndexKind kind);
  TraceData getTraceData(const kel_Unit& unit, IndexKind kind);
  TraceData getTraceData(IndexKind kind);
  // Every step-th sample from the first; 0 and 1 give every sample.
  TraceData getDecimatedTraceData(const kel_Unit& unit, IndexKind kind, unsigned long step);
  TraceData getDecimatedTraceData(IndexKind kind, unsigned long step);
  // The samples whose index lies in [from, to].
  TraceData getLogTraceByIndexRange(const kel_Unit& unit, IndexKind kind, kel_FloatQuantity from,
                                    kel_FloatQuantity to);
  TraceData getLogTraceByIndexRange(IndexKind kind, kel_FloatQuantity from, kel_FloatQuantity to);
  // The samples with a trace value in [from, to].
  TraceData getLogTraceByTraceRange(const kel_Unit& unit, IndexKind kind, kel_FloatQuantity from,
                                    kel_FloatQuantity to);
  TraceData getLogTraceByTraceRange(IndexKind kind, kel_FloatQuantity from, kel_FloatQuantity to);
  // The index values at which the largest (smallest) trace value occurs.
  kel_FloatQuantities getMaxTraceIndexValue(const kel_Unit& unit, IndexKind kind);
  kel_FloatQuantities getMaxTraceIndexValue(IndexKind kind);
  kel_FloatQuantities getMinTraceIndexValue(const kel_Unit& unit, IndexKind kind);
  kel_FloatQuantities getMinTraceIndexValue(IndexKind kind);
  kel_FloatQuantity getMaxTraceValue();
  kel_FloatQuantity getMinTraceValue();
  // Replaces every sample / appends samples after the last one / removes them all.
  void setTraceData(const TraceData& data);
  void addNValues(const TraceData& data);
  void removeAllValues();

protected:
  void assignment(const kel_WellLogTrace& other, bool duplicate);
  void* getBaseObject() const override;
  kel_cppUtil::String getClassName() const override;

public:
  // The last of the virtual operations: the only one a wrapper class adds.
  virtual kel_Project getProject() const;

private:
  friend struct kel_WrapperCore<kel_WellLogTrace>;
};

extern template class KELWELL_EXPORT kel_Array<kel_WellLogTrace>;

#endif
