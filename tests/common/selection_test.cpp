// Selection to a duty: the search against ratings run one by one, pruning
// against no pruning, the flow search, the nearest candidate, cancelling,
// and kvn-rate --select.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <thread>
#include <tuple>

#include "common/numfmt.h"
#include "common/select_inputs.h"
#include "common/selection.h"
#include "sample_coils.h"
#include "tools/select_json.h"
#include "tools/units_output.h"

namespace {

using selection::Candidate;
using selection::SearchResult;
using selection::SearchSpec;
using Strings = std::vector<std::string>;

// The sample water coil at 500 ft/min, fast enough for the air drop to bind;
// its rows, fins and circuits are the search's.
FieldTexts FastWater() {
    FieldTexts f = With(Water(), {{"Acfm", "4000"}, {"Gpm", "30"}});
    for (const char* key : {"FPI", "RD", "Circuits"}) f.erase(key);
    return f;
}

SearchSpec Query(FieldTexts fixed, std::map<std::string, double> duty,
                 std::map<std::string, Strings> choices) {
    SearchSpec s;
    s.defaultLimits = false;  // the search's mechanics alone
    s.fixed = std::move(fixed);
    s.duty = std::move(duty);
    for (auto& [k, v] : choices) s.choices[k] = v;
    std::string error;
    EXPECT_TRUE(selection::CompleteSpec(s, error)) << error;
    return s;
}

std::string RecordText(const Candidate& c) {
    return kvnrate::CoilSpecJson(c.coilSpec).dump() + kvnrate::CoilRatingJson(c.rating).dump();
}

// What a search answers, record by record.
Strings Outcome(const SearchResult& r) {
    Strings out{std::to_string(r.feasible)};
    for (const Candidate& c : r.ranked) out.push_back(std::to_string(c.index) + RecordText(c));
    if (r.closest) out.push_back("closest " + std::to_string(r.closest->index) + RecordText(*r.closest));
    return out;
}

TEST(Selection, FirstCandidateIsTheSmallestFeasibleOfTheSpaceRatedOneByOne) {
    const Strings rows = {"2", "3", "4", "5", "6"}, fpis = {"8", "10", "12"}, circuits = {"8", "16"};
    const SearchSpec query = Query(FastWater(), {{"TotalBtuh", 110000}, {"AirPDMax", 0.8}, {"LatDbMax", 57}},
                                   {{"RD", rows}, {"FPI", fpis}, {"Circuits", circuits}});
    const SearchResult r = selection::Search(query);

    // The ranking's keys: outside area, rows, FPI, air PD, fluid PD, circuits.
    std::tuple<float, int, int, float, float, int> bestKey{HUGE_VALF, 0, 0, 0, 0, 0};
    FieldTexts best;
    int feasible = 0;
    for (const auto& rd : rows)
        for (const auto& fpi : fpis)
            for (const auto& c : circuits) {
                FieldTexts f = FastWater();
                f["RD"] = rd, f["FPI"] = fpi, f["Circuits"] = c;
                const kvnrate::RatedCoil coil = kvnrate::RateFields(f, kAirFlowAcfm);
                if (!coil.ok()) continue;
                const CoilRating& x = coil.rating;
                if (x.TotalBtuh < 110000 || x.AirPD > 0.8f || x.LatDb > 57) continue;
                ++feasible;
                const auto key = std::make_tuple(static_cast<float>(double(x.PrimaryArea) + x.SecondaryArea),
                                                 coil.coilSpec.RD, coil.coilSpec.FPI, x.AirPD, x.FluidPD,
                                                 coil.coilSpec.Circuits);
                if (key < bestKey) bestKey = key, best = f;
            }
    ASSERT_GT(feasible, 1);
    ASSERT_LT(feasible, 30);
    EXPECT_EQ(r.feasible, feasible);
    EXPECT_EQ(r.searched, 30);
    ASSERT_FALSE(r.ranked.empty());
    EXPECT_EQ(r.ranked[0].fields, best);
    EXPECT_EQ(r.ranked[0].outsideArea, std::get<0>(bestKey));
    for (std::size_t i = 1; i < r.ranked.size(); ++i) EXPECT_FALSE(RanksBefore(r.ranked[i], r.ranked[i - 1]));
    // Margins are in the limits' units, inside the limit when positive.
    const Candidate& c = r.ranked[0];
    ASSERT_EQ(c.margins.size(), 3u);
    EXPECT_EQ(c.margins[0].key, "TotalBtuh");
    EXPECT_EQ(c.margins[0].value, static_cast<float>(c.rating.TotalBtuh - 110000.0));
    EXPECT_EQ(c.margins[1].key, "LatDbMax");
    EXPECT_EQ(c.margins[2].value, static_cast<float>(0.8f - double(c.rating.AirPD)));
}

TEST(Selection, PruningAndThreadsGiveWhatRatingEverythingGives) {
    FieldTexts dry = FastWater();
    dry["EatWb"] = "58";
    FieldTexts glycol = FastWater();
    glycol["Application"] = "G", glycol["PercentGlycol"] = "30", glycol["Pattern"] = "3";
    glycol.erase("TubeWall"), glycol.erase("FinThk");
    const Strings rows = {"1", "2", "3", "4", "5", "6", "7", "8"};
    struct Case {
        FieldTexts fixed;
        std::map<std::string, double> duty;
        std::optional<double> rise;
    };
    const Case cases[] = {
        {FastWater(), {{"AirPDMax", 0.55}, {"TotalBtuh", 90000}}, {}},
        {FastWater(), {{"AirPDMax", 0.45}, {"TotalBtuh", 1e7}}, {}},  // nothing feasible: closest
        {dry, {{"AirPDMax", 0.5}, {"SensibleBtuh", 60000}}, {}},
        {glycol, {{"AirPDMax", 0.6}, {"LatDbMax", 58}}, {}},
        {FastWater(), {{"AirPDMax", 0.5}, {"FluidPDMax", 15}}, 10.0},
    };
    int saved = 0;
    for (const Case& k : cases) {
        SearchSpec query = Query(k.fixed, k.duty, {{"RD", rows}, {"FPI", {"8", "14"}}, {"Circuits", {"16"}}});
        query.fluidRise = k.rise;
        const SearchResult pruned = selection::Search(query);
        query.jobs = 4;  // on threads: the same candidates, ratings and counts
        const SearchResult threaded = selection::Search(query);
        query.prune = false, query.jobs = 1;
        const SearchResult full = selection::Search(query);
        EXPECT_EQ(Outcome(pruned), Outcome(full)) << k.duty.begin()->second;
        EXPECT_EQ(Outcome(threaded), Outcome(pruned));
        EXPECT_EQ(threaded.rated, pruned.rated);
        EXPECT_LE(pruned.rated, full.rated);
        EXPECT_EQ(full.pruned, 0);
        saved += full.rated - pruned.rated;
    }
    EXPECT_GT(saved, 10);  // the comparison means something only if pruning happened
}

TEST(Selection, FluidRiseFlowsHitTheRiseAndEveryCandidateReratesToTheSameRecords) {
    SearchSpec query =
        Query(FastWater(), {{"TotalBtuh", 80000}},
              {{"RD", {"3", "4", "6"}}, {"FPI", {"8", "12"}}, {"Circuits", {"8", "16", "32"}}});
    query.fluidRise = 12;
    const SearchResult r = selection::Search(query);
    ASSERT_GE(r.ranked.size(), 3u);
    EXPECT_GT(r.rated, r.searched);  // the flow search's trials count
    for (const Candidate& c : r.ranked) {
        EXPECT_NEAR(std::fabs(double(c.rating.LvgFluidTemp) - c.rating.EntFluidTemp), 12.0, 0.05);
        EXPECT_EQ(c.fields.at("Gpm"), selection::FlowText(numfmt::Val(c.fields.at("Gpm"))));
        const kvnrate::RatedCoil again = kvnrate::RateFields(c.fields, kAirFlowAcfm);
        ASSERT_TRUE(again.ok());
        Candidate plain = c;
        plain.coilSpec = again.coilSpec, plain.rating = again.rating;
        EXPECT_EQ(RecordText(plain), RecordText(c));
    }
    // A rise beyond the air-to-water difference is met by no flow.
    query.fluidRise = 40;
    query.choices["RD"] = {"4"}, query.choices["FPI"] = {"10"}, query.choices["Circuits"] = {"16"};
    const SearchResult none = selection::Search(query);
    EXPECT_EQ(none.feasible, 0);
    ASSERT_TRUE(none.closest);
    EXPECT_EQ(none.closest->broken, (Strings{"TotalBtuh", "FluidRise"}));
}

TEST(Selection, NearestCandidateWhenNothingMeetsTheDuty) {
    const SearchSpec query = Query(FastWater(), {{"TotalBtuh", 1e7}},
                                   {{"RD", {"2", "4", "6"}}, {"FPI", {"10"}}, {"Circuits", {"16"}}});
    const SearchResult r = selection::Search(query);
    EXPECT_TRUE(r.ranked.empty());
    ASSERT_TRUE(r.closest);
    EXPECT_EQ(r.closest->fields.at("RD"), "6");  // the largest capacity is nearest
    EXPECT_EQ(r.closest->broken, Strings{"TotalBtuh"});
    EXPECT_LT(r.closest->margins[0].value, 0);
    const kvnrate::Json j = kvnrate::SelectionJson(r, query, 10);
    EXPECT_EQ(j["candidates"].size(), 0u);
    EXPECT_EQ(j["closest"]["breaks"], kvnrate::Json::array({"TotalBtuh"}));

    // No candidate rates at all: the reason, not an empty answer.
    FieldTexts bad = FastWater();
    bad["EatDb"] = "";
    const SearchResult none = selection::Search(Query(bad, {}, {{"RD", {"2"}}, {"FPI", {"8"}}}));
    EXPECT_EQ(none.error, "Please input the EAT (DB) before Proceeding");
}

// Waits for `ready` with a deadline only a hang reaches; true once it holds.
template <class Ready>
bool WaitUntil(Ready ready, std::chrono::seconds deadline = std::chrono::seconds(120)) {
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!ready()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::yield();
    }
    return true;
}

TEST(Selection, CancelStopsTheSearch) {
    SearchSpec query = Query(FastWater(), {{"TotalBtuh", 50000}}, {});
    query.fluidRise = 10;  // 450 candidates, some 2000 ratings
    selection::SearchControl control;
    SearchResult r;
    std::promise<void> finished;
    std::thread worker([&] {
        r = selection::Search(query, &control);
        finished.set_value();
    });
    const bool started = WaitUntil([&] { return control.done >= 3; });
    control.cancel = true;
    // A search that ignores the request runs on to the end (checked below);
    // one that hangs never finishes, and the test stops there.
    if (finished.get_future().wait_for(std::chrono::seconds(120)) != std::future_status::ready) {
        ADD_FAILURE() << "the cancelled search did not finish";
        std::abort();
    }
    worker.join();
    EXPECT_TRUE(started);
    EXPECT_TRUE(r.cancelled);
    EXPECT_LT(control.done.load(), control.total.load());
    EXPECT_EQ(control.total.load(), 450);
}

TEST(SelectionSpec, DefaultsAndRefusals) {
    EXPECT_EQ(selection::DefaultCircuits("16"), (Strings{"32", "16", "12", "8", "4"}));
    EXPECT_EQ(selection::DefaultCircuits("6"), (Strings{"12", "6", "3", "2"}));
    EXPECT_EQ(selection::DefaultCircuits("1"), (Strings{"2", "1"}));
    EXPECT_EQ(selection::FlowText(12.5), "12.5");
    EXPECT_EQ(selection::FlowText(3.00049), "3");

    // Absent construction keys: rows 1-10, FPI 6-14, circuits from TH, the
    // tube's own wall and fin thickness.
    FieldTexts f = FastWater();
    for (const char* k : {"Pattern", "TubeWall", "FinThk", "FinMat"}) f.erase(k);
    const SearchSpec s = Query(f, {}, {{"Pattern", {"3", "5"}}});
    const auto all = selection::EnumerateCandidates(s);
    EXPECT_EQ(all.size(), 2u * 10 * 9 * 5);
    EXPECT_EQ(all.front().at("TubeWall"), "0.014");
    EXPECT_EQ(all.front().at("FinThk"), "0.0045");
    EXPECT_EQ(all.back().at("TubeWall"), "0.02");
    EXPECT_EQ(all.back().at("RD"), "10");

    auto refused = [](FieldTexts fixed, std::map<std::string, double> duty, std::optional<double> rise = {}) {
        SearchSpec query;
        query.fixed = std::move(fixed), query.duty = std::move(duty), query.fluidRise = rise;
        std::string error;
        return !selection::CompleteSpec(query, error) && !error.empty();
    };
    FieldTexts noTh = FastWater(), steam = FastWater(), oddTh = FastWater(), waterOneInch = f;
    noTh.erase("TH");
    steam["Application"] = "S";
    oddTh["TH"] = "16.5";
    waterOneInch["Pattern"] = "1";
    EXPECT_TRUE(refused(noTh, {}));
    EXPECT_TRUE(refused(FastWater(), {{"AirPD", 1}}));
    EXPECT_TRUE(refused(FastWater(), {{"AirPDMax", NAN}}));
    EXPECT_TRUE(refused(steam, {{"TubeVelocityMax", 6}}));
    EXPECT_TRUE(refused(steam, {}, 10.0));
    EXPECT_TRUE(refused(FastWater(), {}, -5.0));
    EXPECT_TRUE(refused(oddTh, {}));         // no whole-number circuits to default to
    EXPECT_TRUE(refused(waterOneInch, {}));  // no default wall for this tube
}

TEST(SelectJson, ContractOfKvnRateSelect) {
    std::string out;
    const std::string coil = R"("Application": "W", "Pattern": "5", "TubeWall": 0.020, "FinMat": "A",
        "FinThk": "0.006", "TH": 16, "FL": 48, "Acfm": 2000, "EatDb": 80, "EatWb": 67, "EntFluidTemp": 45)";
    ASSERT_EQ(kvnrate::RunSelection("{" + coil + R"(, "RD": [3, "4"], "FPI": [10], "Circuits": [16],
        "FluidRise": 10, "Gpm": 99, "Duty": {"TotalBtuh": 40000}, "Top": 1,
        "AllowWarnings": ["tube-velocity-low"]})",
                                    false, 1, out),
              0)
        << out;
    const auto j = nlohmann::json::parse(out);
    EXPECT_EQ(j["searched"], 2);
    EXPECT_EQ(j["candidates"].size(), 1u);
    const auto& c = j["candidates"][0];
    EXPECT_EQ(c["rank"], 1);
    EXPECT_EQ(c["coil"]["TubeWall"], "0.020");
    EXPECT_NE(c["coil"]["Gpm"], "99");
    EXPECT_TRUE(c["margins"].contains("TotalBtuh"));
    // The coil as listed rates to the listed record.
    const kvnrate::RatedCoil again =
        kvnrate::RateFields(c["coil"].get<std::map<std::string, std::string>>(), 1);
    EXPECT_EQ(nlohmann::json::parse(kvnrate::CoilRatingJson(again.rating).dump()), c["CoilRating"]);

    for (const char* bad : {R"("Duty": {"AirPDMax": "0.5"})", R"("Duty": {"Bogus": 1})",
                            R"("AllowWarnings": ["wet-bulb"])", R"("AllowWarnings": "laminar-flow")",
                            R"("EatDb": [80, 90])", R"("Top": -1)", R"("FluidRise": "10")"}) {
        EXPECT_EQ(kvnrate::RunSelection("{" + coil + ", " + bad + "}", false, 1, out), 2) << bad;
        EXPECT_EQ(nlohmann::json::parse(out)["ok"], false) << bad;
    }
    EXPECT_EQ(kvnrate::RunSelection("{" + coil, false, 1, out), 1);
}

// ---- Default limits and units ---------------------------------------------

kvnrate::Json Select(const std::string& input, units::System system = units::System::InchPound,
                     int expectStatus = 0) {
    std::string out;
    EXPECT_EQ(kvnrate::RunSelection(input, false, 1, out, system), expectStatus) << out;
    return kvnrate::Json::parse(out);
}

TEST(Selection, OnlyACapacityLimitKeepsToTheEngineeringLimits) {
    // A small flow through many circuits: slow, laminar tube flow is near.
    const std::string coil = R"({"Application": "W", "Pattern": "5", "TubeWall": "0.02", "FinMat": "A",
        "FinThk": "0.006", "TH": 16, "FL": 48, "Acfm": 2000, "EatDb": 80, "EatWb": 67, "EntFluidTemp": 45,
        "Gpm": 12, "RD": [2, 3, 4, 5, 6], "FPI": [8, 12], "Circuits": [4, 8, 16, 32], "Top": 1000,
        "Duty": {"TotalBtuh": 20000})";
    auto codes = [](const kvnrate::Json& c) {
        Strings out;
        for (const auto& w : c["warnings"]) out.push_back(w["code"]);
        return out;
    };
    auto has = [](const Strings& v, const char* code) {
        return std::find(v.begin(), v.end(), code) != v.end();
    };
    const kvnrate::Json safe = Select(coil + "}");
    EXPECT_EQ(safe["limits"]["TubeVelocityMin"], 1.0);
    EXPECT_EQ(safe["limits"]["FluidPDMax"], 20.0);
    ASSERT_GT(safe["candidates"].size(), 0u);
    for (const auto& c : safe["candidates"]) {
        const double v = c["CoilRating"]["TubeVelocity"];
        EXPECT_TRUE(v >= 1 && v <= 8) << v;
        EXPECT_LE(c["CoilRating"]["FluidPD"].get<double>(), 20);
        for (const char* code : {"face-velocity-wet", "laminar-flow", "freeze-risk", "tube-velocity-low"})
            EXPECT_FALSE(has(codes(c), code)) << code;
    }
    // Letting slow and laminar flow in adds such coils, each with its warning.
    const kvnrate::Json relaxed =
        Select(coil + R"(, "AllowWarnings": ["tube-velocity-low", "laminar-flow"]})");
    EXPECT_FALSE(relaxed["limits"].contains("TubeVelocityMin"));
    EXPECT_GT(relaxed["candidates"].size(), safe["candidates"].size());
    int slow = 0;
    for (const auto& c : relaxed["candidates"]) {
        const bool isSlow = c["CoilRating"]["TubeVelocity"].get<double>() < 1;
        EXPECT_EQ(isSlow, has(codes(c), "tube-velocity-low"));
        slow += isSlow;
    }
    EXPECT_GT(slow, 0);

    // The same relaxed search in SI tells its warnings in SI.
    const std::string siCoil = R"({"Application": "W", "Pattern": "5", "TubeWall": "0.02", "FinMat": "A",
        "FinThk": "0.006", "TH": 16, "FL": 1219.2, "Acfm": 3398, "EatDb": 26.67, "EatWb": 19.44,
        "EntFluidTemp": 7.22, "Gpm": 0.757, "RD": [2, 3], "FPI": [8], "Circuits": [16, 32], "Top": 100,
        "Duty": {"TotalKW": 5.86}, "AllowWarnings": ["tube-velocity-low", "laminar-flow"]})";
    const kvnrate::Json si = Select(siCoil, units::System::SI);
    int told = 0;
    for (const auto& c : si["candidates"])
        for (const auto& w : c["warnings"]) {
            const std::string text = w["text"];
            EXPECT_EQ(text.find("ft/s"), std::string::npos) << text;
            told += text.find("m/s") != std::string::npos;
        }
    EXPECT_GT(told, 0);
}

// The texts a person reads in a selection answer.
std::string ReadableTexts(const kvnrate::Json& j) {
    std::string s = j["limits"].dump();
    auto candidate = [&s](const kvnrate::Json& c) {
        s += c["grid"].dump() + c["warnings"].dump() + c["margins"].dump() + c.value("missed", "");
    };
    for (const auto& c : j["candidates"]) candidate(c);
    if (j.contains("closest")) candidate(j["closest"]);
    return s;
}

TEST(SelectJson, TheSameSearchInSiSelectsTheSameCoils) {
    using units::Quantity;
    struct Case {
        FieldTexts coil;
        std::string alternatives;                   // JSON members
        std::map<std::string, double> duty;         // inch-pound
        std::map<std::string, Quantity> dutyUnits;  // of each key
    };
    const FieldTexts refrigerant = {
        {"FinTreat", "CR"},  {"Rifled", "N"}, {"Pattern", "5"}, {"TubeWall", "0.02"}, {"FinMat", "A"},
        {"FinThk", "0.006"}, {"TH", "16"},    {"FL", "48"},     {"Acfm", "2000"},     {"Refrigerant", "22"}};
    const Case cases[] = {
        {Water(),
         R"("RD": [2, 3, 4], "FPI": [8, 12], "FL": ["36", "48"], "FluidRise": 10)",
         {{"TotalBtuh", 40000}, {"AirPDMax", 0.6}, {"LatDbMax", 60}},
         {{"TotalBtuh", Quantity::Capacity},
          {"AirPDMax", Quantity::AirPD},
          {"LatDbMax", Quantity::Temperature}}},
        {With(Water(), {{"Application", "G"}, {"PercentGlycol", "30"}, {"Gpm", "25"}}),
         R"("RD": [2, 3, 4, 6], "FPI": [8, 12])",
         {{"TotalBtuh", 30000}, {"FluidPDMax", 8}},
         {{"TotalBtuh", Quantity::Capacity}, {"FluidPDMax", Quantity::WaterPD}}},
        {With(refrigerant, {{"Application", "S"},
                            {"Pattern", "1"},
                            {"TubeWall", "0.035"},
                            {"FinThk", "0.010"},
                            {"EatDb", "40"},
                            {"SteamPressure", "5"},
                            {"TH", "8"},
                            {"Acfm", "3000"}}),
         R"("RD": [1, 2], "FPI": [6, 10])",
         {{"SensibleBtuh", 90000}, {"FaceVelocityMax", 900}},
         {{"SensibleBtuh", Quantity::Capacity}, {"FaceVelocityMax", Quantity::AirVelocity}}},
        {With(refrigerant, {{"Application", "E"},
                            {"EatDb", "80"},
                            {"EatWb", "67"},
                            {"EntFluidTemp", "40"},
                            {"EvapSHCode", "10"},
                            {"Circuits", "8"}}),
         R"("RD": [4, 6, 8], "FPI": [10, 12])",
         {{"TotalBtuh", 40000}, {"LatWbMax", 60}},
         {{"TotalBtuh", Quantity::Capacity}, {"LatWbMax", Quantity::Temperature}}},
        {With(refrigerant, {{"Application", "C"},
                            {"Pattern", "4"},
                            {"TubeWall", "0.017"},
                            {"TH", "24"},
                            {"FL", "60"},
                            {"Acfm", "5000"},
                            {"EatDb", "95"},
                            {"EntFluidTemp", "120"},
                            {"Circuits", "6"}}),
         R"("RD": [2, 3], "FPI": [8, 10])",
         {{"TotalBtuh", 100000}},
         {{"TotalBtuh", Quantity::Capacity}}},
    };
    const Strings ipUnits = {"\u00B0F", "ft", "gpm", "in. w.g.", "Btu", "gr/lb", "cfm", "psi"};
    const Strings siUnits = {"\u00B0C", "kW", "kPa", "m\u00B3/h", "L/s", "m/s", " Pa", "mm"};
    for (const Case& k : cases) {
        // The SI input: the same texts converted at 15 digits.
        kvnrate::Json ip = kvnrate::Json::object(), si = kvnrate::Json::object();
        for (const auto& [key, text] : k.coil) {
            units::Quantity q;
            ip[key] = text;
            si[key] = units::FieldQuantity(key, q)
                          ? units::ConvertEntryText(q, units::System::InchPound, text)
                          : text;
        }
        kvnrate::Json ipDuty = kvnrate::Json::object(), siDuty = kvnrate::Json::object();
        for (const auto& [key, value] : k.duty) {
            ipDuty[key] = value;
            const double v = std::stod(units::ConvertEntryText(k.dutyUnits.at(key), units::System::InchPound,
                                                               numfmt::GeneralF64(value)));
            siDuty[key == "TotalBtuh" ? "TotalKW" : key == "SensibleBtuh" ? "SensibleKW" : key] = v;
        }
        ip["Duty"] = ipDuty, si["Duty"] = siDuty;
        std::string alternatives = k.alternatives;
        std::string siAlternatives = alternatives;
        if (const auto at = siAlternatives.find(R"(["36", "48"])"); at != std::string::npos)
            siAlternatives.replace(at, 12, R"(["914.4", "1219.2"])");
        if (const auto at = siAlternatives.find("\"FluidRise\": 10"); at != std::string::npos)
            siAlternatives.replace(at, 15, "\"FluidRise\": " + numfmt::GeneralF64(10 / 1.8));
        auto input = [](const kvnrate::Json& j, const std::string& more) {
            std::string t = j.dump();
            t.pop_back();
            return t + ", " + more + "}";
        };
        const kvnrate::Json a = Select(input(ip, alternatives));
        const kvnrate::Json b = Select(input(si, siAlternatives), units::System::SI);
        const std::string app = k.coil.at("Application");
        EXPECT_FALSE(a.contains("units"));
        EXPECT_EQ(b["units"], "SI");
        EXPECT_EQ(a["feasible"], b["feasible"]) << app;
        ASSERT_EQ(a["candidates"].size(), b["candidates"].size()) << app;
        EXPECT_GT(a["candidates"].size() + a.contains("closest"), 0u) << app;
        for (std::size_t i = 0; i < a["candidates"].size(); ++i) {
            const auto& c = b["candidates"][i];
            EXPECT_EQ(a["candidates"][i]["CoilRating"], c["CoilRating"]) << app << i;
            EXPECT_EQ(a["candidates"][i]["model"], c["model"]) << app << i;
            // The SI coil as listed rates with --units si to the listed record.
            const auto fields = kvnrate::InchPoundFields(c["coil"].get<FieldTexts>(), units::System::SI);
            const kvnrate::RatedCoil again = kvnrate::RateFields(fields, 1);
            EXPECT_EQ(kvnrate::Json::parse(kvnrate::CoilRatingJson(again.rating).dump()), c["CoilRating"])
                << app;
        }
        EXPECT_EQ(a.contains("closest"), b.contains("closest"));
        const std::string ipText = ReadableTexts(a), siText = ReadableTexts(b);
        for (const std::string& u : ipUnits) EXPECT_EQ(siText.find(u), std::string::npos) << app << " " << u;
        for (const std::string& u : siUnits) EXPECT_EQ(ipText.find(u), std::string::npos) << app << " " << u;
    }
}

TEST(SelectJson, ADutyKeyOfTheOtherSystemIsRefused) {
    const std::string coil = R"({"Application": "W", "Pattern": "5", "TubeWall": 0.020, "FinMat": "A",
        "FinThk": "0.006", "TH": 16, "FL": 1219.2, "Acfm": 3398, "EatDb": 26.7, "EatWb": 19.4,
        "EntFluidTemp": 7.2, "Gpm": 1.26, "RD": [4], "FPI": [10], "Circuits": [16], )";
    const kvnrate::Json si = Select(coil + R"("Duty": {"TotalBtuh": 40000}})", units::System::SI, 2);
    EXPECT_NE(si["error"].get<std::string>().find("\"TotalBtuh\""), std::string::npos);
    const kvnrate::Json ip = Select(coil + R"("Duty": {"TotalKW": 12}})", units::System::InchPound, 2);
    EXPECT_NE(ip["error"].get<std::string>().find("\"TotalKW\""), std::string::npos);
    // In SI the same coil reads as SI: 7.2 C water, a finned length of 1.2 m.
    const kvnrate::Json ok = Select(coil + R"("Duty": {"TotalKW": 1}})", units::System::SI);
    ASSERT_GT(ok["candidates"].size(), 0u);
    EXPECT_NEAR(ok["candidates"][0]["CoilRating"]["EntFluidTemp"].get<double>(), 44.96, 0.001);
    EXPECT_EQ(ok["candidates"][0]["coil"]["FL"], "1219.2");
    EXPECT_EQ(ok["limits"]["TotalKW"], 1.0);
}

TEST(SelectDialogModel, TableHeadersNameTheirUnitsInTheSystemShown) {
    for (const char* app : {"W", "E"}) {
        std::string ip, si;
        for (const std::string& t : selection::ResultColumns(units::System::InchPound, app)) ip += t + "|";
        for (const std::string& t : selection::ResultColumns(units::System::SI, app)) si += t + "|";
        for (const char* u : {"\u00B0F", "ft", "gpm", "in. w.g.", "Btu", "cfm", "psi"})
            EXPECT_EQ(si.find(u), std::string::npos) << u;
        for (const char* u : {"\u00B0C", "kW", "kPa", "m/s", " Pa", "m\u00B2"})
            EXPECT_EQ(ip.find(u), std::string::npos) << u;
    }
}

TEST(SelectDialogModel, StartsFromThePanelAndBuildsTheSearch) {
    FieldTexts panel = FastWater();
    selection::DialogInputs in = selection::InputsForPanel(panel, nullptr);
    EXPECT_EQ(in.tubes, Strings{"5"});
    EXPECT_EQ(in.circuits, "32, 16, 12, 8, 4");
    EXPECT_EQ(in.gpm, "30");
    in.rowsFrom = "3", in.rowsTo = "5", in.circuits = "16 8,16";
    in.duty["AirPDMax"] = "0.6";
    in.duty["TotalBtuh"] = " ";
    SearchSpec query;
    std::string error;
    ASSERT_TRUE(selection::SpecFromInputs(panel, kAirFlowAcfm, in, query, error)) << error;
    EXPECT_EQ(query.choices["RD"], (Strings{"3", "4", "5"}));
    EXPECT_EQ(query.choices["Circuits"], (Strings{"16", "8"}));
    // The default limits come filled in.
    EXPECT_EQ(query.duty,
              (std::map<std::string, double>{
                  {"AirPDMax", 0.6}, {"FluidPDMax", 20}, {"TubeVelocityMin", 1}, {"TubeVelocityMax", 8}}));
    EXPECT_EQ(query.refused, (Strings{"face-velocity-wet", "laminar-flow", "freeze-risk"}));
    EXPECT_EQ(query.fixed["TubeWall"], "0.02");  // the panel's tube keeps its wall
    in.tubes = {"3", "5"};
    ASSERT_TRUE(selection::SpecFromInputs(panel, kAirFlowAcfm, in, query, error)) << error;
    EXPECT_EQ(query.fixed.count("TubeWall"), 0u);  // each tube its own default

    // The session's last inputs come back; a steam panel keeps only its tubes.
    panel["Gpm"] = "25";
    const selection::DialogInputs again = selection::InputsForPanel(panel, &in);
    EXPECT_EQ(again.rowsFrom, "3");
    EXPECT_EQ(again.gpm, "25");
    panel["Application"] = "S";
    EXPECT_EQ(selection::InputsForPanel(panel, &in).tubes, Strings{"5"});

    for (auto breakIt : {+[](selection::DialogInputs& i) { i.rowsFrom = "6"; },
                         +[](selection::DialogInputs& i) { i.fpiTo = "17"; },
                         +[](selection::DialogInputs& i) { i.circuits = "8, x"; },
                         +[](selection::DialogInputs& i) { i.duty["LatDbMax"] = "cold"; },
                         +[](selection::DialogInputs& i) { i.useRise = true, i.rise = "0"; }}) {
        selection::DialogInputs b = in;
        breakIt(b);
        EXPECT_FALSE(selection::SpecFromInputs(FastWater(), kAirFlowAcfm, b, query, error));
    }
}

}  // namespace
