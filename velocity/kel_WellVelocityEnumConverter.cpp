// The velocity enumerations of kel_WellEnumConverter.
#include "kel_WellEnumConverter.h"

using kel_translation::Msg;
using kel_translation::Where;

kel_WellVelocity::VelocityType kel_WellEnumConverter::makeKelVelocityType(EpiWell::WellVelocity::VelocityType value) {
  return kel_EnumRule{
      {0, 1, 2},
      "The velocityType couldn't be mapped. ",
      Msg{"Couldn't convert the EpiWell::WellVelocity::VelocityType to kel_WellVelocity::VelocityType. "},
      Where{"kel_WellEnumConverter", "makeKelVelocityType"}}
      .map<kel_WellVelocity::VelocityType>(value);
}

EpiWell::WellVelocity::VelocityType kel_WellEnumConverter::makeEpiVelocityType(kel_WellVelocity::VelocityType value) {
  return kel_EnumRule{
      {0, 1, 2},
      "The velocityType couldn't be mapped. ",
      Msg{"Couldn't convert the kel_WellVelocity::VelocityType to EpiWell::WellVelocity::VelocityType. "},
      Where{"kel_WellEnumConverter", "makeEpiVelocityType"}}
      .map<EpiWell::WellVelocity::VelocityType>(value);
}

EpiWell::WellVelocity::VelocityOtherType kel_WellEnumConverter::makeEpiVelocityOtherType(
    kel_WellVelocity::VelocityOtherType value) {
  return kel_EnumRule{{3, 4, 5},
                      "The velocityOtherType couldn't be mapped. ",
                      Msg{"Couldn't convert the kel_WellVelocity::VelocityOtherType to "
                          "EpiWell::WellVelocity::VelocityOtherType. "},
                      Where{"kel_WellEnumConverter", "makeEpiVelocityOtherType"}}
      .map<EpiWell::WellVelocity::VelocityOtherType>(value);
}
