// The rank-ordered search against the exhaustive one: the same candidates,
// records and order for duties whose limits fall exactly on, just beside
// and between the candidates' ratings, with duplicated candidates (full
// ties), for every coil type, on one thread and two, and through
// kvn-rate --select in both unit systems; pruning against none. And the
// premises: the outside surface and a fixed flow's tube velocity foretold
// from the fields are the rating's.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "common/selection.h"
#include "engine/coilcalc.h"
#include "sample_coils.h"
#include "tools/select_json.h"

namespace {

using selection::Candidate;
using selection::SearchResult;
using selection::SearchSpec;
using Strings = std::vector<std::string>;
using Choices = std::map<std::string, Strings>;

struct Space {
    const char* name;
    FieldTexts fixed;
    Choices choices;
};

FieldTexts Refrigerant(std::vector<std::pair<std::string, std::string>> more) {
    const FieldTexts base = {{"FinTreat", "CR"},    {"Rifled", "N"},  {"Pattern", "5"},
                             {"TubeWall", "0.02"},  {"FinMat", "A"},  {"FinThk", "0.006"},
                             {"TH", "16"},          {"FL", "48"},     {"Acfm", "2000"},
                             {"Refrigerant", "22"}, {"Altitude", "0"}};
    return With(base, more);
}

// A space per coil type; water repeats an FPI, so that two candidates tie
// on every key but the enumeration index.
std::vector<Space> Spaces() {
    FieldTexts water = With(Water(), {{"Acfm", "4000"}, {"Gpm", "30"}});
    FieldTexts glycol = With(water, {{"Application", "G"}, {"PercentGlycol", "30"}, {"Gpm", "25"}});
    for (FieldTexts* f : {&water, &glycol})
        for (const char* key : {"FPI", "RD", "Circuits"}) f->erase(key);
    return {
        {"water",
         water,
         {{"RD", {"1", "2", "3", "4", "5", "6"}},
          {"FPI", {"8", "10", "10", "14"}},
          {"Circuits", {"8", "16", "32"}}}},
        {"glycol",
         glycol,
         {{"RD", {"2", "3", "4", "6"}}, {"FPI", {"6", "9", "12"}}, {"Circuits", {"8", "16"}}}},
        {"steam",
         Refrigerant({{"Application", "S"},
                      {"Pattern", "1"},
                      {"TubeWall", "0.035"},
                      {"FinThk", "0.010"},
                      {"EatDb", "40"},
                      {"SteamPressure", "5"},
                      {"TH", "8"},
                      {"Acfm", "3000"}}),
         {{"RD", {"1", "2", "3"}}, {"FPI", {"6", "8", "10", "12"}}, {"FL", {"36", "48"}}}},
        {"evaporator",
         Refrigerant({{"Application", "E"},
                      {"EatDb", "80"},
                      {"EatWb", "67"},
                      {"EntFluidTemp", "40"},
                      {"EvapSHCode", "10"}}),
         {{"RD", {"3", "4", "6", "8"}}, {"FPI", {"10", "12", "14"}}, {"Circuits", {"8", "16"}}}},
        {"condenser",
         Refrigerant({{"Application", "C"},
                      {"Pattern", "4"},
                      {"TubeWall", "0.017"},
                      {"TH", "24"},
                      {"FL", "60"},
                      {"Acfm", "5000"},
                      {"EatDb", "95"},
                      {"EntFluidTemp", "120"},
                      {"Circuits", "6"}}),
         {{"RD", {"1", "2", "3", "4"}}, {"FPI", {"8", "10", "12"}}, {"Pattern", {"3", "4"}}}},
    };
}

SearchSpec Query(const Space& s, std::map<std::string, double> duty, int top) {
    SearchSpec q;
    q.fixed = s.fixed;
    q.choices = s.choices;
    q.duty = std::move(duty);
    q.top = top;
    std::string error;
    EXPECT_TRUE(selection::CompleteSpec(q, error)) << s.name << ": " << error;
    return q;
}

std::string RecordText(const Candidate& c) {
    return kvnrate::CoilSpecJson(c.coilSpec).dump() + kvnrate::CoilRatingJson(c.rating).dump();
}

// Everything a listed candidate carries that a caller reads.
std::string Listed(const Candidate& c) {
    std::string s = std::to_string(c.index) + RecordText(c);
    for (const auto& [key, text] : c.fields) s += key + "=" + text + ";";
    for (const selection::Margin& m : c.margins) s += m.key + ":" + std::to_string(m.value) + ";";
    for (const std::string& b : c.broken) s += b + ";";
    return s + std::to_string(c.outsideArea) + "/" + std::to_string(c.distance);
}

Strings Outcome(const SearchResult& r) {
    Strings out;
    for (const Candidate& c : r.ranked) out.push_back(Listed(c));
    if (r.closest) out.push_back("closest " + Listed(*r.closest));
    if (!r.error.empty()) out.push_back("error " + r.error);
    return out;
}

// One duty searched both ways; answers the candidates skipped.
int Compare(const Space& s, const std::map<std::string, double>& duty, int top, const std::string& what) {
    SearchSpec q = Query(s, duty, top);
    const SearchResult ranked = selection::Search(q);
    q.jobs = 2;
    const SearchResult threaded = selection::Search(q);
    q.jobs = 1, q.exhaustive = true;
    const SearchResult all = selection::Search(q);
    q.prune = false;
    const SearchResult unpruned = selection::Search(q);
    EXPECT_EQ(Outcome(ranked), Outcome(all)) << what;
    EXPECT_EQ(Outcome(all), Outcome(unpruned)) << what;
    EXPECT_EQ(Outcome(threaded), Outcome(ranked)) << what;
    EXPECT_EQ(std::tie(threaded.rated, threaded.skipped, threaded.pruned, threaded.feasible),
              std::tie(ranked.rated, ranked.skipped, ranked.pruned, ranked.feasible))
        << what;
    EXPECT_EQ(all.skipped, 0) << what;
    EXPECT_LE(ranked.feasible, all.feasible) << what;
    // Only a search that has its best may stop early.
    if (all.feasible < std::max(top, 1)) {
        EXPECT_EQ(ranked.skipped, 0) << what;
    }
    EXPECT_EQ(ranked.ranked.size(), std::min<std::size_t>(all.feasible, std::max(top, 0))) << what;
    return ranked.skipped;
}

TEST(SelectionRankOrder, ListsWhatTheExhaustiveSearchListsOnDutiesAtAndBesideTheRatings) {
    std::mt19937 random(20240611);
    auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    int stopped = 0, searches = 0;
    for (const Space& s : Spaces()) {
        // Every candidate of the space, to put the limits on their values.
        SearchSpec open = Query(s, {}, -1);
        open.defaultLimits = false;
        const SearchResult every = selection::Search(open);
        ASSERT_GT(every.ranked.size(), 10u) << s.name;
        for (int k = 0; k < 10; ++k) {
            const CoilRating& a = every.ranked[pick(every.ranked.size())].rating;
            const CoilRating& b = every.ranked[pick(every.ranked.size())].rating;
            // On a rating, a hair beyond it, or a hair inside it.
            const int side = k % 3;
            auto at = [side](float v, bool min) {
                const float beyond = min ? HUGE_VALF : -HUGE_VALF;
                return double(side == 0 ? v : std::nextafter(v, side == 1 ? beyond : -beyond));
            };
            std::map<std::string, double> duty = {{"TotalBtuh", at(a.TotalBtuh, true)}};
            if (k % 2 == 1) duty["AirPDMax"] = at(b.AirPD, false);
            if (k == 4) duty["TotalBtuh"] = 1e9;  // nothing meets it: the closest
            const int top = static_cast<int>(pick(7));
            stopped += Compare(s, duty, top, std::string(s.name) + " duty " + std::to_string(k)) > 0;
            ++searches;
        }
    }
    EXPECT_GT(stopped, searches / 3);  // the rule did stop searches early
}

TEST(SelectionRankOrder, AClassOfEqualSurfaceRowsAndFinsWiderThanABlockIsRatedWhole) {
    // Circuits change neither the surface nor the rows nor the fins: 29 of
    // them make classes that the ratings' blocks split, and the best of a
    // class (the lowest air drop: the fewest circuits that keep to the
    // tube velocity) comes late in it.
    Space wide = Spaces()[0];
    wide.choices["RD"] = {"3", "4"};
    wide.choices["FPI"] = {"10"};
    wide.choices["Circuits"].clear();
    for (int c = 30; c >= 2; --c) wide.choices["Circuits"].push_back(std::to_string(c));
    for (int top : {1, 2, 5})
        for (double capacity : {10000.0, 80000.0}) {
            const std::string what = "top " + std::to_string(top) + " " + std::to_string(capacity);
            EXPECT_GT(Compare(wide, {{"TotalBtuh", capacity}}, top, what), 0) << what;
        }
}

TEST(SelectionRankOrder, FluidRiseAndDefaultLimitsListWhatTheExhaustiveSearchLists) {
    Space water = Spaces()[0];
    water.choices["RD"] = {"2", "3", "4", "5"};
    SearchSpec q = Query(water, {{"TotalBtuh", 60000}, {"AirPDMax", 0.6}}, 3);
    q.fluidRise = 12;
    const SearchResult ranked = selection::Search(q);
    q.exhaustive = true;
    const SearchResult all = selection::Search(q);
    EXPECT_EQ(Outcome(ranked), Outcome(all));
    EXPECT_GT(ranked.skipped, 0);
    EXPECT_LT(ranked.rated, all.rated);
}

// The answer of kvn-rate --select, and of the same input searched
// exhaustively.
std::pair<kvnrate::Json, kvnrate::Json> BothWays(const std::string& input, units::System system) {
    std::string out;
    EXPECT_EQ(kvnrate::RunSelection(input, false, 1, out, system), 0) << out;
    SearchSpec q;
    kvnrate::SelectInput in;
    in.system = system;
    int top = 0;
    std::string error;
    EXPECT_TRUE(kvnrate::SelectSpecFromJson(input, q, top, in, error)) << error;
    q.exhaustive = true;
    return {kvnrate::Json::parse(out), kvnrate::SelectionJson(selection::Search(q), q, top, in.shown)};
}

TEST(SelectionRankOrder, KvnRateSelectListsWhatTheExhaustiveSearchListsInBothUnitSystems) {
    const std::string ip = R"({"Application": "W", "Pattern": "5", "TubeWall": "0.02", "FinMat": "A",
        "FinThk": "0.006", "TH": 16, "FL": 48, "Acfm": 4000, "EatDb": 80, "EatWb": 67, "EntFluidTemp": 45,
        "Gpm": 30, "Top": 4, "Duty": {"TotalBtuh": 90000, "AirPDMax": 0.8}})";
    const std::string si = R"({"Application": "E", "Pattern": "5", "TubeWall": "0.02", "FinMat": "A",
        "FinThk": "0.006", "FinTreat": "CR", "TH": 16, "FL": 1219.2, "Acfm": 3398, "EatDb": 26.67,
        "EatWb": 19.44, "EntFluidTemp": 4.44, "Refrigerant": "22", "EvapSHCode": 10, "Circuits": 8,
        "RD": [3, 4, 5, 6, 8], "Top": 3, "Duty": {"TotalKW": 12, "LatWbMax": 16}})";
    for (const auto& [input, system] : {std::pair{ip, units::System::InchPound}, {si, units::System::SI}}) {
        const auto [ranked, all] = BothWays(input, system);
        ASSERT_TRUE(ranked["ok"].get<bool>()) << ranked.dump();
        EXPECT_GT(ranked["candidates"].size(), 0u);
        EXPECT_EQ(ranked["candidates"], all["candidates"]);
        EXPECT_EQ(ranked["limits"], all["limits"]);
        EXPECT_EQ(ranked["searched"], all["searched"]);
        EXPECT_GT(ranked["skipped"].get<int>(), 0);
        EXPECT_EQ(all["skipped"], 0);
        EXPECT_LE(ranked["feasible"].get<int>(), all["feasible"].get<int>());
    }
}

TEST(SelectionRankOrder, TheSurfaceForetoldFromTheFieldsIsTheRatingsOwn) {
    int compared = 0;
    for (const Space& s : Spaces()) {
        for (const FieldTexts& f : selection::EnumerateCandidates(Query(s, {}, -1))) {
            const kvnrate::RatedCoil rated = kvnrate::RateFields(f, kAirFlowAcfm);
            if (!rated.ok()) continue;
            CoilSpec coilSpec;
            CoilRating rating;
            ValidationFault fault;
            ASSERT_TRUE(FillCoilRecords(f, kAirFlowAcfm, coilSpec, rating, fault));
            float primary = 0, secondary = 0;
            ASSERT_TRUE(CC_OutsideSurfaces(coilSpec, primary, secondary));
            EXPECT_EQ(primary, rated.rating.PrimaryArea) << s.name;
            EXPECT_EQ(secondary, rated.rating.SecondaryArea) << s.name;
            EXPECT_EQ(coilSpec.RD, rated.coilSpec.RD);
            EXPECT_EQ(coilSpec.FPI, rated.coilSpec.FPI);
            // And a fixed flow's tube velocity.
            float velocity = -1;
            const bool liquid = CC_TubeVelocityBeforeSolving(coilSpec, rating, velocity);
            EXPECT_EQ(liquid, f.at("Application") == "W" || f.at("Application") == "G");
            if (liquid) {
                EXPECT_EQ(velocity, rated.rating.TubeVelocity) << s.name;
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 150);
    CoilSpec none;  // no fins, no tubes: no surface
    float primary = 0, secondary = 0;
    EXPECT_FALSE(CC_OutsideSurfaces(none, primary, secondary));
}

}  // namespace
