// Rated coils of every type for the report tests.
#pragma once

#include <string>

#include "engine/records.h"
#include "reports/performance_sheet.h"

namespace fixtures {

struct Coil {
    CoilSpec coilSpec;
    CoilRating rating;
    reports::SheetTexts texts;
};

inline Coil Rated(const std::string& type) {
    Coil c;
    CoilSpec& s = c.coilSpec;
    CoilRating& r = c.rating;
    s.Application = type == "W" || type == "G" || type == "S" || type == "E" || type == "C" ? type : "O";
    s.Circuits = 12;
    s.FPI = 12;
    s.RD = 4;
    s.TH = 24;
    s.FinHeight = 30;
    s.FL = 48;
    s.FinThk = 0.006f;
    s.TubeWall = 0.02f;
    s.FinMat = "A";
    r.Acfm = 5000;
    r.FaceVelocity = 500;
    r.CoilFaceArea = 10;
    r.AirPD = 0.55f;
    r.EatDb = 80;
    r.EatWb = 67;
    r.LatDb = 55.2f;
    r.LatWb = 54.8f;
    r.EntFluidTemp = 45;
    r.LvgFluidTemp = 55.5f;
    r.Gpm = 31.25f;
    r.FluidPD = 8.4f;
    r.TubeVelocity = 3.1f;
    r.TotalBtuh = 162345.67f;
    r.SensibleBtuh = 121000.5f;
    r.Scfm = 4987;
    r.PercentGlycol = 30;
    r.Refrigerant = "22";
    if (type == "S") {
        r.EatDb = 40;
        r.SteamPressure = 5;
        r.EntFluidTemp = 227.1f;
        r.LatentHeat = 960.4f;
        r.Condensate = 112.6f;
        r.LatDb = 95;
    }
    if (type == "C") {
        r.EntFluidTemp = 120;
        r.LatDb = 105;
        r.FluidPD = 2.5f;
    }
    c.texts.txtHdr = {"12/08/2026", "AHU-1", "58-CWDM-04830-H", "Northwind Mall", "Phase 2"};
    c.texts.coilType = type;
    c.texts.tubeOD = "5";
    return c;
}

}  // namespace fixtures
