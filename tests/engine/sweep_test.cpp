// Property sweep: generated coils of every type, rows 1 to 10 and 6 to 14
// fins per inch, at realistic air and fluid conditions, each rated through
// the engine entry. Every record must stay finite, every run-time fault must
// come out as a message or a numbered error, and the results must obey the
// physics each coil type promises.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "coil_fixture.h"
#include "engine/hygrel_binding.h"

using namespace solvers_test;

namespace {

constexpr int kCoilsPerType = 1000;

// A small deterministic generator, the same on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 7;
        s_ ^= s_ << 17;
        return s_;
    }
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * double(Next() >> 11) / double(1ull << 53);
    }
    int Int(int lo, int hi) { return lo + int(Next() % uint64_t(hi - lo + 1)); }
    float Tenth(double lo, double hi) { return float(std::round(Uniform(lo, hi) * 10) / 10); }
    template <typename T, size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Next() % N];
    }

private:
    uint64_t s_;
};

const char* const kRefrigerants[] = {"22", "12", "410A", "407C", "404A", "134A", "410a", "134a"};

// Construction common to every generated coil.
void Construction(Rng& g, Coil& c, bool steam) {
    if (steam) {
        static const char* const tubes[] = {"5", "1"};
        c.tube = g.Pick(tubes);
        c.wall = c.tube == "1" ? 0.035f : 0.025f;
        c.finThk = c.tube == "1" ? 0.010f : 0.006f;
    } else {
        static const char* const tubes[] = {"3", "4", "5"};
        c.tube = g.Pick(tubes);
        if (c.tube == "3") {
            c.wall = 0.014f;
            c.finThk = 0.0045f;
        } else if (c.tube == "4") {
            c.wall = 0.017f;
            c.finThk = 0.006f;
        } else {
            c.wall = 0.02f;
            c.finThk = 0.006f;
        }
    }
    static const char* const mats[] = {"A", "A", "C"};
    c.finMat = g.Pick(mats);
    c.rows = g.Int(1, 10);
    c.fpi = g.Int(6, 14);
    c.th = c.tube == "1" ? g.Int(4, 12) : g.Int(8, 36);
    c.fl = float(g.Int(24, 120));
    static const double perTube[] = {0.5, 1.0, 1.0, 2.0};
    c.circuits = std::max(1, int(std::lround(c.th * g.Pick(perTube))));
    c.altitude = g.Int(0, 3) == 0 ? g.Int(0, 6000) : 0;
    // Face velocity 300 to 600 ft/min.
    const double pitch = c.tube == "5" ? 1.5 : c.tube == "4" ? 1.25 : c.tube == "1" ? 3.0 : 1.0;
    const double face = c.th * pitch * c.fl / 144.0;
    c.acfm = float(std::round(face * g.Uniform(300, 600)));
}

// Fluid flow giving 1 to 6 ft/s in the tubes.
float Gpm(Rng& g, const Coil& c) {
    const double perCircuit = c.tube == "3" ? 0.33 : c.tube == "4" ? 0.55 : 0.9;  // gpm per ft/s
    return float(std::round(c.circuits * perCircuit * g.Uniform(1, 6) * 10) / 10);
}

Coil CoolingCoil(Rng& g, const std::string& type) {
    Coil c;
    c.type = type;
    Construction(g, c, false);
    c.eatDb = g.Tenth(70, 95);
    c.eatWb = g.Int(0, 19) == 0 ? 0.0f : float(c.eatDb - g.Tenth(2, 18));
    c.entFluid = type == "G" ? g.Tenth(30, 50) : g.Tenth(38, 50);
    c.glycol = type == "G" ? float(g.Int(10, 50)) : 0.0f;
    c.gpm = Gpm(g, c);
    return c;
}

Coil HeatingCoil(Rng& g, const std::string& type) {
    Coil c;
    c.type = type;
    Construction(g, c, false);
    c.eatDb = g.Tenth(-20, 70);
    // Cold air holds little moisture: its wet bulb lies close to its dry bulb.
    const double spread = c.eatDb < 40 ? 0.5 : 8;
    c.eatWb = g.Int(0, 1) == 0 ? 0.0f : float(c.eatDb - g.Tenth(0.2, spread));
    c.entFluid = type == "G" ? g.Tenth(100, 180) : g.Tenth(120, 200);
    c.glycol = type == "G" ? float(g.Int(10, 50)) : 0.0f;
    c.gpm = Gpm(g, c);
    return c;
}

Coil SteamCoil(Rng& g) {
    Coil c;
    c.type = std::string("S");
    Construction(g, c, true);
    c.eatDb = g.Tenth(-20, 70);
    c.eatWb = 0;
    c.steamPsi = float(g.Int(0, 3) == 0 ? g.Int(16, 75) : g.Int(1, 15));
    return c;
}

Coil Evaporator(Rng& g) {
    Coil c;
    c.type = std::string("E");
    Construction(g, c, false);
    c.eatDb = g.Tenth(70, 95);
    c.eatWb = float(c.eatDb - g.Tenth(2, 18));
    c.entFluid = g.Tenth(30, 50);
    c.refrigerant = g.Pick(kRefrigerants);
    c.superheat = g.Int(5, 15);
    return c;
}

Coil Condenser(Rng& g) {
    Coil c;
    c.type = std::string("C");
    Construction(g, c, false);
    c.eatDb = g.Tenth(70, 105);
    c.eatWb = 0;
    c.entFluid = float(c.eatDb + g.Tenth(10, 40));
    c.refrigerant = g.Pick(kRefrigerants);
    return c;
}

std::string Describe(const Coil& c) {
    char buf[320];
    std::snprintf(buf, sizeof buf,
                  "%s tube %s rows %d fpi %d th %d fl %.0f circ %d alt %d acfm %.0f db %.1f wb %.1f "
                  "fluid %.1f gpm %.1f gly %.0f psi %.0f refr %s",
                  c.type.c_str(), c.tube.c_str(), c.rows, c.fpi, c.th, c.fl, c.circuits, c.altitude, c.acfm,
                  c.eatDb, c.eatWb, c.entFluid, c.gpm, c.glycol, c.steamPsi, c.refrigerant.c_str());
    return buf;
}

// Tally of one coil type's sweep.
struct Tally {
    int rated = 0;
    std::map<std::string, int> faults;  // message or raised error -> count
    std::map<std::string, int> broken;  // property -> count
    void Fault(const std::string& what) { ++faults[what]; }
    void Broken(const std::string& what, const Coil& c, const std::string& detail) {
        if (broken[what]++ < 3) ADD_FAILURE() << what << ": " << Describe(c) << " -> " << detail;
    }
    void Print(const char* title) const {
        std::printf("[ sweep    ] %s: %d rated", title, rated);
        for (const auto& [k, n] : faults) std::printf("; %d x \"%s\"", n, k.c_str());
        std::printf("\n");
    }
};

// Rates one coil; checks what every coil type must satisfy. Answers true
// when the coil was rated without any message or error.
bool RateAndCheck(const Coil& c, Tally& t, Rated& out) {
    out = Rate(c);
    if (!out.assigned && !out.raised) {
        // Property assignment refused the coil and said so.
        EXPECT_EQ(out.messages.size(), 1u) << Describe(c);
        t.Fault(out.messages.empty() ? "?" : out.messages[0]);
        return false;
    }
    if (out.raised) {
        t.Fault(std::to_string(out.errorNumber) + "  " + out.errorText);
        return false;
    }
    const std::string bad = FirstNonFinite(out.coilSpec, out.rating);
    if (!bad.empty()) t.Broken("non-finite field", c, bad);
    if (!out.messages.empty()) {
        t.Fault(out.messages[0]);
        return false;
    }
    ++t.rated;
    return true;
}

double Grains(float db, float wb, int16_t alt) {
    return hg::HGWBTOGR(db, wb, alt);
}

void CoolingSweep(const std::string& type, uint64_t seed) {
    Rng g(seed);
    Tally t;
    for (int i = 0; i < kCoilsPerType; ++i) {
        const Coil c = CoolingCoil(g, type);
        Rated out;
        if (!RateAndCheck(c, t, out)) continue;
        const CoilRating& r = out.rating;
        if (!(r.LatDb >= r.EntFluidTemp && r.LatDb <= r.EatDb))
            t.Broken("LatDb outside fluid..entering", c, std::to_string(r.LatDb));
        const double we = Grains(r.EatDb, r.EatWb, r.Altitude);
        const double wl = Grains(r.LatDb, r.LatWb, r.Altitude);
        if (!(wl <= we + 1e-4 * we))
            t.Broken("leaving humidity above entering", c, std::to_string(wl) + " > " + std::to_string(we));
        if (!(r.SensibleBtuh <= r.TotalBtuh))
            t.Broken("sensible above total", c,
                     std::to_string(r.SensibleBtuh) + " > " + std::to_string(r.TotalBtuh));
        // Leaving fluid from the capacity and the fluid flow. The water
        // density is refreshed at the mean fluid temperature after the
        // solver (up to half a percent); the glycol density is not.
        const double fluidRate = double(r.Gpm) * 8.020833333 * r.FluidDensity * r.FluidSpecHeat;
        const double rise = double(r.LvgFluidTemp) - r.EntFluidTemp;
        const double tol = type == "W" ? 1e-2 : 1e-5;
        if (!(std::fabs(rise * fluidRate - r.TotalBtuh) <= tol * std::fabs(r.TotalBtuh) + 0.1))
            t.Broken("leaving fluid inconsistent with capacity", c,
                     std::to_string(rise * fluidRate) + " vs " + std::to_string(r.TotalBtuh));
    }
    t.Print(("cooling " + type).c_str());
    // Near-saturated leaving air once ended these ratings in run-time errors;
    // none may remain.
    EXPECT_TRUE(t.faults.empty());
}

void HeatingSweep(const std::string& type, uint64_t seed) {
    Rng g(seed);
    Tally t;
    for (int i = 0; i < kCoilsPerType; ++i) {
        const Coil c = HeatingCoil(g, type);
        Rated out;
        if (!RateAndCheck(c, t, out)) continue;
        const CoilRating& r = out.rating;
        if (r.TotalBtuh != r.SensibleBtuh) t.Broken("total differs from sensible", c, "");
        if (!(r.LatDb < r.EntFluidTemp && r.LatDb > r.EatDb))
            t.Broken("LatDb outside entering air..fluid", c, std::to_string(r.LatDb));
        if (!(r.LvgFluidTemp < r.EntFluidTemp))
            t.Broken("fluid not cooled", c, std::to_string(r.LvgFluidTemp));
    }
    t.Print(("heating " + type).c_str());
    EXPECT_TRUE(t.faults.empty());
}

}  // namespace

TEST(Sweep, CoolingWaterCoils) {
    CoolingSweep("W", 1);
}
TEST(Sweep, CoolingGlycolCoils) {
    CoolingSweep("G", 2);
}
TEST(Sweep, HeatingWaterCoils) {
    HeatingSweep("W", 3);
}
TEST(Sweep, HeatingGlycolCoils) {
    HeatingSweep("G", 4);
}

TEST(Sweep, SteamCoils) {
    Rng g(5);
    Tally t;
    for (int i = 0; i < kCoilsPerType; ++i) {
        const Coil c = SteamCoil(g);
        Rated out;
        if (!RateAndCheck(c, t, out)) continue;
        const CoilRating& r = out.rating;
        if (r.TotalBtuh != r.SensibleBtuh) t.Broken("total differs from sensible", c, "");
        if (!(r.LatDb > r.EatDb && r.LatDb < r.EntFluidTemp))
            t.Broken("LatDb outside entering air..steam", c, std::to_string(r.LatDb));
        if (!(r.Condensate > 0)) t.Broken("no condensate", c, std::to_string(r.Condensate));
    }
    t.Print("steam");
    // Only the density range of the library may stop a steam rating.
    for (const auto& [what, n] : t.faults)
        EXPECT_EQ(what, "5  Out of Range Condition or error with HGDENSITY!") << n;
}

TEST(Sweep, Evaporators) {
    Rng g(6);
    Tally t;
    int colder = 0;
    double worst = 0;
    for (int i = 0; i < kCoilsPerType; ++i) {
        const Coil c = Evaporator(g);
        Rated out;
        if (!RateAndCheck(c, t, out)) continue;
        const CoilRating& r = out.rating;
        if (!(r.SensibleBtuh <= r.TotalBtuh)) t.Broken("sensible above total", c, "");
        // The capacity never exceeds that of air leaving saturated at the
        // refrigerant temperature, counted in standard air.
        const float hwb = hg::HGENTHALPY(r.EatWb, hg::HGWBTOGR(r.EatWb, r.EatWb, r.Altitude));
        const float hr =
            hg::HGENTHALPY(r.EntFluidTemp, hg::HGWBTOGR(r.EntFluidTemp, r.EntFluidTemp, r.Altitude));
        const double qSat = double(r.Scfm) * 4.5 * (double(hwb) - hr);
        if (!(r.TotalBtuh <= qSat * (1 + 1e-6)))
            t.Broken("capacity beyond saturated leaving air", c, std::to_string(r.TotalBtuh));
        // The wet rating counts its capacity in standard air (Scfm x 4.5) but
        // takes the leaving state from the actual air mass flow: warm, humid,
        // light air leaves below the refrigerant temperature. Counted, not
        // failed: it is the rating's own.
        if (r.LatWb < r.EntFluidTemp) {
            ++colder;
            worst = std::max(worst, double(r.EntFluidTemp) - r.LatWb);
        }
        if (!(r.LatDb <= r.EatDb)) t.Broken("air heated", c, std::to_string(r.LatDb));
    }
    t.Print("evaporator");
    std::printf("[ sweep    ] evaporator: %d leave with a wet bulb below the refrigerant, by up to %.1f F\n",
                colder, worst);
    EXPECT_TRUE(t.faults.empty());
}

TEST(Sweep, Condensers) {
    Rng g(7);
    Tally t;
    for (int i = 0; i < kCoilsPerType; ++i) {
        const Coil c = Condenser(g);
        Rated out;
        if (!RateAndCheck(c, t, out)) continue;
        const CoilRating& r = out.rating;
        if (r.TotalBtuh != r.SensibleBtuh) t.Broken("total differs from sensible", c, "");
        if (!(r.LatDb > r.EatDb && r.LatDb <= r.EntFluidTemp))
            t.Broken("LatDb outside entering air..refrigerant", c, std::to_string(r.LatDb));
    }
    t.Print("condenser");
    EXPECT_TRUE(t.faults.empty());
}
