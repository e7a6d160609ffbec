// Visibility of the well library's exported classes: libkelWell is built with
// hidden symbols, and only what its headers declare with KELWELL_EXPORT is
// part of its binary interface.
//
// The same headers serve both interface levels of the library.
// KELWELL_EARLIER_INTERFACE (kel_WellLevel.h, written by the build) is 1 at
// the earlier level, which has no wellbore list change events and no
// kel_WellBore::getWellBoresOfWell; kel_WellString is the text type of every
// exported signature: the platform's older kel_String at the earlier level,
// kel_cppUtil::String at the current one.
#ifndef KEL_WELLEXPORT_H
#define KEL_WELLEXPORT_H

#include "kel_WellLevel.h"

#if KELWELL_EARLIER_INTERFACE
#include "kel_String.h"
using kel_WellString = kel_String;
#else
#include "kel_cppUtil.h"
using kel_WellString = kel_cppUtil::String;
#endif

#if defined(_WIN32)
#if defined(KELWELL_BUILDING_LIBRARY)
#define KELWELL_EXPORT __declspec(dllexport)
#else
#define KELWELL_EXPORT __declspec(dllimport)
#endif
#else
#define KELWELL_EXPORT __attribute__((visibility("default")))
#endif

#endif
