// The engine's named constants: unit conversions and the properties of
// standard air and water the correlations are built on. Inch-pound units.
//
// Several are rounded, or a deliberately short pi; the ratings have always
// been computed with them and they are part of every result: changing one,
// even to a more exact value, changes the ratings. Internal to the engine.
#pragma once

namespace kc {

// Deliberately short pi of the fin-and-tube geometry (part of the result).
inline constexpr double kPiShort = 3.1415926;

inline constexpr double kSqInPerSqFt = 144;         // in2 per ft2
inline constexpr double kSqInPerSqFtTwoFaces = 72;  // both faces of a fin: 144 / 2
// ft2 of a circle per in2 of its diameter squared: pi / 4 / 144 = 0.0054542,
// rounded (part of the result).
inline constexpr double kCircleSqFtPerSqIn = 0.00545;
// Tube surface, ft2, is pi d L / 144 with d and L in in.: the divisor
// 144 / pi = 45.837, rounded (part of the result).
inline constexpr double kTubeSurfaceDivisor = 45.84;
// Collar holes of a fin, both faces: 2 pi d^2 / 4 / 144, the divisor
// 2 x 45.84 (part of the result).
inline constexpr double kCollarHoleDivisor = 91.68;
inline constexpr double kFtPerIn = 0.0833;  // 1 / 12, rounded (part of the result)

inline constexpr double kGrainsPerLb = 7000;     // grains of moisture per lb
inline constexpr double kCpDryAir = 0.24;        // Btu/lb.F
inline constexpr double kCpWaterVapour = 0.444;  // Btu/lb.F

// Standard air, 0.075 lb/ft3 and 0.24 Btu/lb.F, per cfm and hour:
inline constexpr double kStdAirLbPerHourPerCfm = 4.5;  // 60 x 0.075, lb/h per cfm
inline constexpr double kStdAirSensibleFactor = 1.08;  // 60 x 0.075 x 0.24, Btu/h.F per cfm
// Btu/h to kW and back, the factors as rounded (their product, 0.99932, is
// part of the steam results).
inline constexpr double kKwPerBtuh = 0.0002928;
inline constexpr double kBtuhPerKw = 3413.0;

inline constexpr double kWaterDensityStd = 62.4245;  // lb/ft3, for the specific gravity
// Mass flux, lb/h.ft2, of water at 1 ft/s: about 62.36 lb/ft3 x 3600 s/h
// (times the specific gravity for another liquid).
inline constexpr double kWaterFluxPerFtPerSec = 224500;
inline constexpr double kCuFtPerHourPerGpm = 8.020833333;  // 231 in3 x 60 / 1728

// Fin conductivity, Btu/h.ft.F.
inline constexpr float kCopperFinConductivity = 226.0f;
inline constexpr float kAluminiumFinConductivity = 128.3f;

// The cooling coil's capacity search (a list of trial capacities, Btu/h,
// each rated in turn until one reproduces itself). Part of every result.
inline constexpr float kFirstCapacityGuess = 10000.0f;  // Btu/h, the first trial
// Btu/h: the search has converged when a trial's capacity is within this of
// the capacity it started from.
inline constexpr double kCapacityTolerance = 250.0;
// After an infeasible trial (the surface condition cannot hold), the next
// trial is this fraction of the last...
inline constexpr double kInfeasibleStep = 0.8;
// ...but at least this many Btu/h above the highest capacity known to be too
// low...
inline constexpr double kAboveLowerBound = 50.0;
// ...and, when above the lowest capacity known to be too high, this fraction
// of itself.
inline constexpr double kBelowUpperBound = 0.9;
// Damping of the capacity step: after kDampHalfAfter trials the step is
// halved, after kDampHeavyAfter it is cut to kDampHeavy of itself, so a
// search that oscillates settles.
inline constexpr int kDampHalfAfter = 50;
inline constexpr int kDampHeavyAfter = 75;
inline constexpr float kDampHalf = 0.5f;
inline constexpr float kDampHeavy = 0.15f;
// F above the entering dew point at which the saturated enthalpy bounds the
// latent load a wet surface can take.
inline constexpr double kDewPointMargin = 0.005;
// F by which the leaving dry bulb is kept above the leaving wet bulb, and
// above the entering fluid, when a rating ends below either.
inline constexpr double kLeavingAboveWetBulb = 0.001;
inline constexpr double kLeavingAboveFluid = 0.01;

}  // namespace kc
