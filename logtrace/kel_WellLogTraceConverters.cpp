// The log trace's enumerations to and from the service, each by kel_EnumRule.
#include "kel_WellEnumConverter.h"

using kel_translation::Msg;
using kel_translation::Where;

kel_WellLogTrace::IndexKind kel_WellEnumConverter::makeKelIndexKind(EpiWell::WellLogTrace::IndexKind value) {
  return kel_EnumRule{{0, 1, 2, 3, 4},
                      "The indexKind couldn't be mapped. ",
                      Msg{"Couldn't convert the EpiWell::WellLogTrace::IndexKind to kel_WellLogTrace::IndexKind. "},
                      Where{"kel_WellEnumConverter", "makeKelIndexKind"}}
      .map<kel_WellLogTrace::IndexKind>(value);
}

EpiWell::WellLogTrace::IndexKind kel_WellEnumConverter::makeEpiIndexKind(kel_WellLogTrace::IndexKind value) {
  return kel_EnumRule{{0, 1, 2, 3, 4},
                      "The indexKind couldn't be mapped. ",
                      Msg{"Couldn't convert the kel_WellLogTrace::IndexKind to EpiWell::WellLogTrace::IndexKind. "},
                      Where{"kel_WellEnumConverter", "makeEpiIndexKind"}}
      .map<EpiWell::WellLogTrace::IndexKind>(value);
}

kel_WellLogTrace::TraceProcessState kel_WellEnumConverter::makeKelTraceProcessState(
    EpiWell::WellLogTrace::TraceProcessState value) {
  return kel_EnumRule{
      {0, 1, 2, 3, 4, 5, 6},
      "The traceProcessState couldn't be mapped. ",
      Msg{"Couldn't convert the EpiWell::WellLogTrace::TraceProcessState to kel_WellLogTrace::TraceProcessState. "},
      Where{"kel_WellEnumConverter", "makeKelTraceProcessState"}}
      .map<kel_WellLogTrace::TraceProcessState>(value);
}

EpiWell::WellLogTrace::TraceProcessState kel_WellEnumConverter::makeEpiTraceProcessState(
    kel_WellLogTrace::TraceProcessState value) {
  return kel_EnumRule{
      {0, 1, 2, 3, 4, 5, 6},
      "The traceProcessState couldn't be mapped. ",
      Msg{"Couldn't convert the kel_WellLogTrace::TraceProcessState to EpiWell::WellLogTrace::TraceProcessState. "},
      Where{"kel_WellEnumConverter", "makeEpiTraceProcessState"}}
      .map<EpiWell::WellLogTrace::TraceProcessState>(value);
}
