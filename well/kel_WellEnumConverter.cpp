#include "kel_WellEnumConverter.h"

using kel_translation::Msg;
using kel_translation::Where;

kel_WellBore::WellDepthDatum kel_WellEnumConverter::makeKelWellDepthDatum(
    EpiWell::WellBore::WellDepthDatum value) {
  return kel_EnumRule{
      {0, 1, 2, 3, 4, 5, 6},
      "The wellDepthDatum couldn't be mapped. ",
      Msg{"Couldn't convert the EpiWell::WellBore::WellDepthDatum to kel_WellBore::WellDepthDatum. "},
      Where{"kel_WellEnumConverter", "makeKelWellDepthDatum"}}
      .map<kel_WellBore::WellDepthDatum>(value);
}

EpiWell::WellBore::WellDepthDatum kel_WellEnumConverter::makeEpiWellDepthDatum(
    kel_WellBore::WellDepthDatum value) {
  return kel_EnumRule{
      {0, 1, 2, 3, 4, 5, 6},
      "The wellDepthDatum couldn't be mapped. ",
      Msg{"Couldn't convert the kel_WellBore::WellDepthDatum to EpiWell::WellBore::WellDepthDatum. "},
      Where{"kel_WellEnumConverter", "makeEpiWellDepthDatum"}}
      .map<EpiWell::WellBore::WellDepthDatum>(value);
}

kel_WellBore::CalculationMethod kel_WellEnumConverter::makeKelCalculationMethod(
    EpiWell::WellBore::CalculationMethod value) {
  return kel_EnumRule{
      {0, 1, 3, 4, 5},
      "The calculationMethod couldn't be mapped. ",
      Msg{"Couldn't convert the EpiWell::WellBore::CalculationMethod to kel_WellBore::CalculationMethod. "},
      Where{"kel_WellEnumConverter", "makeKelCalculationMethod"}}
      .map<kel_WellBore::CalculationMethod>(value);
}

EpiWell::WellBore::CalculationMethod kel_WellEnumConverter::makeEpiCalculationMethod(
    kel_WellBore::CalculationMethod value) {
  return kel_EnumRule{
      {0, 1, 3, 4, 5},
      "The calculationMethod couldn't be mapped. ",
      Msg{"Couldn't convert the kel_WellBore::CalculationMethod to EpiWell::WellBore::CalculationMethod. "},
      Where{"kel_WellEnumConverter", "makeEpiCalculationMethod"}}
      .map<EpiWell::WellBore::CalculationMethod>(value);
}

kel_WellBore::TotalDepthReference kel_WellEnumConverter::makeKelTotalDepthReference(
    EpiWell::WellBore::TotalDepthReference value) {
  return kel_EnumRule{
      {0, 1, 2, 3},
      "The totalDepthReference couldn't be mapped. ",
      Msg{"Couldn't convert the EpiWell::WellBore::TotalDepthReference to kel_WellBore::TotalDepthReference. "},
      Where{"kel_WellEnumConverter", "makeKelTotalDepthReference"}}
      .map<kel_WellBore::TotalDepthReference>(value);
}

EpiWell::WellBore::TotalDepthReference kel_WellEnumConverter::makeEpiTotalDepthReference(
    kel_WellBore::TotalDepthReference value) {
  return kel_EnumRule{
      {0, 1, 2, 3},
      "The totalDepthReference couldn't be mapped. ",
      Msg{"Couldn't convert the kel_WellBore::TotalDepthReference to EpiWell::WellBore::TotalDepthReference. "},
      Where{"kel_WellEnumConverter", "makeEpiTotalDepthReference"}}
      .map<EpiWell::WellBore::TotalDepthReference>(value);
}

kel_WellTypes::DepthType kel_WellEnumConverter::makeKelDepthType(EpiWell::DepthType value) {
  return kel_EnumRule{{0, 1, 2, 3},
                      "The depthType couldn't be mapped. ",
                      Msg{"Couldn't convert the EpiWell::DepthType to kel_WellTypes::DepthType. "},
                      Where{"kel_WellEnumConverter", "makeKelDepthType"}}
      .map<kel_WellTypes::DepthType>(value);
}

EpiWell::DepthType kel_WellEnumConverter::makeEpiWellDepthType(kel_WellTypes::DepthType value) {
  return kel_EnumRule{{0, 1, 2, 3},
                      "The given DepthType couldn't be mapped. ",
                      Msg{"Couldn't convert the kel_WellTypes::DepthType to EpiWell::DepthType. "},
                      Where{"kel_WellEnumConverter", "makeEpiWellDepthType"}}
      .map<EpiWell::DepthType>(value);
}

kel_WellTypes::TimeType kel_WellEnumConverter::makeKelTimeType(EpiWell::TimeType value) {
  return kel_EnumRule{{0, 1, 2},
                      "The timeType couldn't be mapped. ",
                      Msg{"Couldn't convert the EpiWell::TimeType to kel_WellTypes::TimeType. "},
                      Where{"kel_WellEnumConverter", "makeKelTimeType"}}
      .map<kel_WellTypes::TimeType>(value);
}

EpiWell::TimeType kel_WellEnumConverter::makeEpiWellTimeType(kel_WellTypes::TimeType value) {
  return kel_EnumRule{{0, 1, 2},
                      "The timeType couldn't be mapped. ",
                      Msg{"Couldn't convert the kel_WellTypes::TimeType to EpiWell::TimeType. "},
                      Where{"kel_WellEnumConverter", "makeEpiWellTimeType"}}
      .map<EpiWell::TimeType>(value);
}
