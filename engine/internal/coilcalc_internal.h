// The coil rating engine's inner workings (module CoilCalc): its module
// state and procedures. Only the engine and its tests include this header;
// everyone else uses engine/coilcalc.h.
//
// The engine's procedures take no arguments and work on the module state
// below; only the entry CC_RateCoil takes the two records. Booleans are
// 16-bit integers, -1 true and 0 false. Quantities are stored as 32-bit
// floats and computed with double-precision intermediates (see
// engine/rterror.h for the checked stores).
//
// Threads: each thread has its own module state `cc` and its own message
// sink (engine/msgbox.h), and the Hygrel32 binding is safe to call from any
// thread. So CC_RateCoil, and every procedure below, may run on several
// threads at once, each rating its own coil; a procedure sees only the state
// of the thread that calls it. Every rating starts from a fresh state, so
// its result does not depend on what the thread rated before.
// Not thread-safe: hg::SetLibraryNameForTesting while other threads rate.
#pragma once

#include <cstdint>
#include <string>

#include "engine/coil_type.h"
#include "engine/coilcalc.h"
#include "engine/internal/lookup_memo.h"
#include "engine/records.h"

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

struct CoilCalcState {
    // The engine's copies of the caller's records.
    CoilSpec Coil;
    CoilRating Rating;
    // The coil's kind, read once from Coil.Application by property assignment.
    CoilType Type = CoilType::Unknown;

    // Entry and dispatch.
    int16_t UseDryCalc = 0;    // -1: the dry heating solver must run
    int16_t CoilDry = 0;       // -1: the coil surface is dry
    float TubeFlowArea = 0;    // ft2, inside flow area of all circuits
    float HeaderFlowArea = 0;  // ft2
    float ConnFlowArea = 0;    // ft2
    float FluidSG = 0;         // specific gravity of the tube fluid
    float FluidPdFactor = 1;   // corrugated water coils
    float AirPdFactor = 1;     // corrugated water coils
    std::string CalcErrorMsg;  // shown when property assignment fails

    // Property assignment.
    float TubeOd = 0;          // in
    float TubeId = 0;          // in
    float TotalArea = 0;       // ft2
    float AreaRatio = 0;       // outside / inside area
    float AreaPerFaceRow = 0;  // used by the refrigerant solver
    float AirCp = 0;           // Btu/lb.F
    float AirMassFlow = 0;     // lb/h
    float EatWbCalc = 0;       // F, entering wet bulb as used
    float AirJ = 0;            // h.ft2.F/Btu, dry air-side resistance
    float AirJCorr = 0;        // h.ft2.F/Btu, with velocity correction

    // Saturation, surface-temperature and fin procedures.
    float SurfTempNext = 0;
    float FinWallRes = 0;
    float FinWallResDry = 0;
    float FinWallResWet = 0;

    // Solvers.
    float MeanFluidTemp = 0;    // F, mean tube-fluid temperature
    float GuessList[101] = {};  // trial total capacities

    // How the last rating was reached, for the caller's advice; no result
    // depends on them.
    int16_t TrialLimitReached = 0;  // -1: a solver ended on the mean of its last two trials
    int16_t LaminarFilm = 0;        // -1: the last tube-side coefficient came from the
                                    // laminar or transitional tables
};

// The engine's module state of the calling thread. Initial-exec TLS: the
// engine is linked into programs, and the solvers read it in tight loops.
extern thread_local CoilCalcState cc [[gnu::tls_model("initial-exec")]];
// Moist-air lookups of the current rating, cleared by CC_Reset. Beside the
// state rather than in it, so that starting a rating from a fresh state does
// not clear and copy the whole table.
extern thread_local LookupMemo ccLookups [[gnu::tls_model("initial-exec")]];

// Clears the values the entry resets at the start of every rating.
void CC_Reset();
bool CC_bAssignCoilProp(float& EntAirEnthalpy);

// Fluid properties.
void CC_WaterProperties();
void CC_GlycolProperties();
void CC_SteamProperties();

// Pressure drops.
float CC_AirPressureDrop();
float CC_TubePressureDrop();

// Tube-side film coefficient, Btu/h.ft2.F.
float CC_TubeFilmCoef();

// Saturation, surface-temperature and fin procedures.
float CC_SatTempFromEnthalpy(float targetEnthalpy, float dryBulb, float wetBulb, int16_t& done);
void CC_SurfaceTemp(float cr, float tf, float ha, float& result);
void CC_FinWallResistance(float b, float finConductivity, float coilDepth, float secondaryArea,
                          float primaryArea, int16_t totalTubes);

// Air density of the dry ratings, lb/ft3. The library's refusal (beyond its
// range, above 200 F) raises run-time error 5 "Out of Range Condition or
// error with HGDENSITY!" rather than being used as a density.
float CC_AirDensity(float t, float w, int16_t altitude);

// Solvers.
void CC_DoFluidCoilCalc();
void CC_DoDryCoilCalc();
void CC_DoEvapCondCalc(float& EntAirEnthalpy);
// The wet refrigerant rating, run by CC_DoEvapCondCalc for an evaporator or
// condenser colder than the entering air.
void CC_DoEvapWetCalc(float EntAirEnthalpy);
