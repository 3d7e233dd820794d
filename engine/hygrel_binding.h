// The engine's binding of Hygrel32: the nine moist-air functions it uses,
// each resolved by name from libHygrel32.so at its first call.
//
// A missing library raises run-time error 48 "File not found: Hygrel32"; a
// missing function raises 453 "Can't find DLL entry point <NAME> in
// Hygrel32" (see engine/rterror.h). Units: °F, grains per pound of dry air,
// altitude in feet.
#pragma once

#include <cstdint>
#include <string>

#include "psychro/hygrel32.h"

namespace hg {

// What every function answers for a state outside the library's range.
inline constexpr float kOutOfRange = HYGREL32_ERROR;

float HGSATVP(float t);
float HGDENSITY(float t, float W, int16_t Z);
float HGENTHALPY(float t, float W);
float HGSATGRAINS(float t, int16_t Z);
float HGRH(float t, float W, int16_t Z);
float HGRHTOGR(float t, float phi, int16_t Z);
float HGDEWPOINT(float W, int16_t Z);
float HGWETBULB(float t, float W, int16_t Z);
float HGWBTOGR(float t, float tw, int16_t Z);

// The path of the loaded library ("" before the first call or when missing).
std::string LoadedLibraryPath();
// For tests: the file name to load instead of "libHygrel32.so"; also forgets
// every function resolved so far.
// Not to be called while another thread rates a coil.
void SetLibraryNameForTesting(const std::string& name);

}  // namespace hg
