// Visibility of the well library's exported classes: libkelWell is built with
// hidden symbols, and only what its headers declare with KELWELL_EXPORT is
// part of its binary interface.
#ifndef KEL_WELLEXPORT_H
#define KEL_WELLEXPORT_H

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
