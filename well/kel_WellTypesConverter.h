// Depths and times with their kinds, to and from the service. The kind is
// converted first on the way out and last on the way in, each by its
// kel_WellEnumConverter; the values by kel_DataQuantityConverter. There is no
// ladder here: the calling operation's wraps whatever fails.
#ifndef KEL_WELLTYPESCONVERTER_H
#define KEL_WELLTYPESCONVERTER_H

#include <memory>

#include <EpiWell.hh>

#include "kel_WellTypes.h"

struct kel_WellTypesConverter {
  static std::unique_ptr<EpiWell::Depths> makeEpiDepths(const kel_WellTypes::Depths& depths);
  static kel_WellTypes::Depths makeKelDepths(const EpiWell::Depths& depths);
  static std::unique_ptr<EpiWell::Times> makeEpiTimes(const kel_WellTypes::Times& times);
  static kel_WellTypes::Times makeKelTimes(const EpiWell::Times& times);
};

#endif
