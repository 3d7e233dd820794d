// Rated coils of every type, filled by hand as the engine leaves them.
#pragma once

#include <string>

#include "engine/records.h"
#include "files/save_row.h"

struct RatedCoil {
    CoilSpec spec;
    CoilRating rating;
    SaveRowTexts texts;
};

inline RatedCoil MakeRatedCoil(const std::string& application) {
    RatedCoil c;
    CoilSpec& s = c.spec;
    CoilRating& r = c.rating;
    s.Application = application;
    s.Pattern = "5";
    s.FinMat = "A";
    s.FinTreat = "CR";
    s.FinThk = 0.006f;
    s.FinHeight = 30.0f;
    s.FL = 48.5f;
    s.RD = 4;
    s.FPI = 12;
    s.TH = 20;
    s.Circuits = 10;
    r.CoilFaceArea = 10.10417f;
    r.Scfm = 5051.5f;
    r.EatDb = 80.0f;
    r.EatWb = 67.0f;
    r.LatDb = 55.23456f;
    r.LatWb = 54.1f;
    r.FaceVelocity = 500.0f;
    r.AirPD = 0.6123f;
    r.EntFluidTemp = 45.0f;
    r.LvgFluidTemp = 55.5f;
    r.FluidPD = 7.25f;
    r.Gpm = 40.0f;
    r.SteamPressure = 5.0f;
    r.TotalBtuh = 201234.5f;
    r.SensibleBtuh = 150432.2f;
    r.Refrigerant = "22";
    r.PercentGlycol = 30.0f;
    r.Altitude = 1000;
    c.texts.coilsPerSystem = "2";
    c.texts.model = "58-CWDM-04824-F";
    c.texts.item = "AHU-1";
    c.texts.coilTypeWord = CoilTypeWord(application);
    c.texts.tubeText = "5";
    c.texts.wallText = "0.02";
    if (application == "S") {
        s.Pattern = "1";
        c.texts.tubeText = "1";
        c.texts.wallText = "0.035";
        r.EatWb = 0;
        r.EntFluidTemp = 0;
        r.EatDb = 0.0f;
        r.LatDb = 95.5f;
    } else if (application == "C") {
        s.FinMat = "C";
        r.EatDb = 95.0f;
        r.LatDb = 110.25f;
        r.EntFluidTemp = 120.0f;
    }
    return c;
}
