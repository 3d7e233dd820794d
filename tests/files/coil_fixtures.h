// Rated coils of every type, as the engine leaves the records.
#pragma once

#include <string>

#include "engine/records.h"
#include "files/save_row.h"

struct RatedCoil {
    CoilSpec coilSpec;
    CoilRating rating;
    SaveRowTexts texts;
};

inline RatedCoil MakeRatedCoil(const std::string& application) {
    RatedCoil c;
    CoilSpec& s = c.coilSpec;
    CoilRating& r = c.rating;
    s.Application = application;
    s.FinMat = application == "C" ? "C" : "A";
    s.FinThk = 0.006f, s.FinHeight = 30, s.FL = 48.5f, s.RD = 4, s.FPI = 12, s.Circuits = 10;
    r.CoilFaceArea = 10.10417f, r.Scfm = 5051.5f, r.EatDb = 80, r.EatWb = 67, r.LatDb = 55.23456f;
    r.LatWb = 54.1f, r.FaceVelocity = 500, r.AirPD = 0.6123f, r.EntFluidTemp = 45, r.LvgFluidTemp = 55.5f;
    r.FluidPD = 7.25f, r.Gpm = 40, r.SteamPressure = 5, r.TotalBtuh = 201234.5f, r.SensibleBtuh = 150432.2f;
    r.Refrigerant = "22", r.PercentGlycol = 30, r.Altitude = 1000;
    c.texts = {"2",   "58-CWDM-04824-F", "AHU-1", CoilTypeWord(application), application == "S" ? "1" : "5",
               "0.02"};
    return c;
}
