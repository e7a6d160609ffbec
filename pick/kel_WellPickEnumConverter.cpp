// The pick reference converters of kel_WellEnumConverter.
#include "kel_WellEnumConverter.h"

using kel_translation::Msg;
using kel_translation::Where;

kel_WellPick::PickReference kel_WellEnumConverter::makeKelPickReference(EpiWell::WellPick::PickReference value) {
  return kel_EnumRule{{0, 1, 2, 3, 4, 5, 6},
                      "The pickReference couldn't be mapped. ",
                      Msg{"Couldn't convert the EpiWell::WellPick::PickReference to kel_WellPick::PickReference. "},
                      Where{"kel_WellEnumConverter", "makeKelPickReference"}}
      .map<kel_WellPick::PickReference>(value);
}

EpiWell::WellPick::PickReference kel_WellEnumConverter::makeEpiPickReference(kel_WellPick::PickReference value) {
  return kel_EnumRule{{0, 1, 2, 3, 4, 5, 6},
                      "The pickReference couldn't be mapped. ",
                      Msg{"Couldn't convert the kel_WellPick::PickReference to EpiWell::WellPick::PickReference. "},
                      Where{"kel_WellEnumConverter", "makeEpiPickReference"}}
      .map<EpiWell::WellPick::PickReference>(value);
}
