// The two records that carry a coil between the coil selection form and the
// rating engine. Field order, names and types are fixed: the engine copies
// both records whole in and out, and reports, saved coils and kvn-rate read
// them field by field.
#pragma once

#include <cstdint>
#include <string>

// Construction of the coil, plus a few geometry figures the engine derives.
struct CoilSpec {
    int16_t Circuits = 0;     // parallel tube circuits (blank field counts as 1)
    int16_t FPI = 0;          // fins per inch
    int16_t RD = 0;           // rows deep
    int16_t TH = 0;           // tubes high
    float FaceArea = 0;       // ft2, FinHeight x FL / 144 (engine)
    float FinHeight = 0;      // in, TH x face tube pitch (driver)
    float FinThk = 0;         // in, fin thickness
    float FL = 0;             // in, finned length
    float TubeWall = 0;       // in, tube wall thickness
    float HeaderLength = 0;   // in, FinHeight - 1 (engine)
    float HeaderDia = 0;      // in, larger pipe size (engine)
    float ConnDia = 0;        // in, smaller pipe size (engine)
    float FoulingFactor = 0;  // h.ft2.F/Btu, tube-side fouling
    std::string Application;  // coil type code: W G O S E C
    std::string Pattern;      // tube pattern code: 6 3 P 5 1
    std::string FinMat;       // fin material: C copper, A aluminium
    std::string FinTreat;     // fin type code (first letter used)
    std::string Rifled;       // Y rifled, N plain tubes
    std::string Corrugated;   // Y or N (the driver always stores N)
};

// Entering conditions, fluid properties, flow figures and results.
struct CoilRating {
    int16_t Altitude = 0;       // ft
    int16_t Reserved2 = 0;      // not used
    int16_t Reserved3 = 0;      // not used
    int16_t TotalTubes = 0;     // RD x TH
    float FinConductivity = 0;  // Btu/h.ft.F
    float CoilDepth = 0;        // in
    float Acfm = 0;             // ft3/min at entering conditions
    float FaceVelocity = 0;     // ft/min
    float AirPD = 0;            // in. w.g.
    float Reserved10 = 0;       // not used
    float Condensate = 0;       // lb/h (steam)
    float PrimaryArea = 0;      // ft2
    float SecondaryArea = 0;    // ft2
    float FluidDensity = 0;     // lb/ft3
    float EatDb = 0;            // F
    float EatWb = 0;            // F, 0 means not given
    float EntFluidTemp = 0;     // F, 0 for steam
    int16_t EvapSHCode = 0;     // F superheat
    float EvapCondAux = 0;      // wet refrigerant capacity factor
    float CoilFaceArea = 0;     // ft2, copy of CoilSpec.FaceArea
    float FluidMassFlow = 0;    // lb/h
    float SteamAux = 0;         // lb/h refrigerant flow (dry refrigerant rating)
    float FluidMassFlux = 0;    // lb/h.ft2
    float FluidPD = 0;          // ft of water (W, G) or psi (E, C)
    float Reserved25 = 0;       // not used
    float TubeVelocity = 0;     // ft/s
    float ConnVelocity = 0;     // ft/s
    float HeaderVelocity = 0;   // ft/s
    float CapacityFactor = 0;   // fluid-coil capacity multiplier
    float Gpm = 0;              // US gal/min
    float LatentHeat = 0;       // Btu/lb (steam)
    float LatDb = 0;            // F leaving dry bulb
    float LatWb = 0;            // F leaving wet bulb
    float LvgFluidTemp = 0;     // F
    float PercentGlycol = 0;    // %
    float WetFraction = 0;      // 0..1
    float SensibleBtuh = 0;     // Btu/h
    float TotalBtuh = 0;        // Btu/h
    float Scfm = 0;             // ft3/min standard air
    float FluidSpecHeat = 0;    // Btu/lb.F
    float SteamPressure = 0;    // psig
    float FluidThermCond = 0;   // Btu/h.ft.F
    float FluidViscosity = 0;   // lb/ft.h
    std::string Refrigerant;    // 12 22 134A 404A 407C 410A
};
