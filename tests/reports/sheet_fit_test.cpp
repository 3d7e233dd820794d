// The sheet with texts longer than their room: header values shrink and
// wrap in their own column, never cut; warnings that do not fit leave a mark.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "reports/maker.h"
#include "reports/performance_sheet.h"
#include "reports/sheet_fixtures.h"

using reports::RecordingSurface;
using Item = RecordingSurface::Item;

namespace {

constexpr double kValueX = 6500;  // the header values' column
constexpr const char* kMore = "More warnings: see the coil list";

struct Box {
    double x0, y0, x1, y1;
};

Box BoxOf(const Item& i) {
    RecordingSurface m;
    m.SetFont(i.font, i.points);
    return {i.x, i.y, i.x + m.TextWidth(i.text), i.y + m.TextHeight()};
}

bool Overlap(const Box& a, const Box& b) {
    constexpr double eps = 1e-6;
    return a.x0 < b.x1 - eps && b.x0 < a.x1 - eps && a.y0 < b.y1 - eps && b.y0 < a.y1 - eps;
}

std::string NoBlanks(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

// Words of 1 to 14 letters, now and then one far longer than a line.
std::string RandomText(std::mt19937& rng, size_t maxChars) {
    std::uniform_int_distribution<size_t> length(0, maxChars);
    std::uniform_int_distribution<int> wordLength(1, 14), letter(0, 25), rare(0, 20);
    const size_t target = length(rng);
    std::string text;
    while (text.size() < target) {
        if (!text.empty()) text += ' ';
        const int n = rare(rng) == 0 ? 90 : wordLength(rng);
        for (int i = 0; i < n; ++i) text += static_cast<char>('A' + letter(rng));
    }
    return text;
}

std::vector<Item> Print(const fixtures::Coil& c, RecordingSurface& s) {
    reports::PrintPerformance(s, c.coilSpec, c.rating, c.texts);
    return s.Items();
}

}  // namespace

TEST(SheetFit, LongHeaderValuesShrinkAndWrapInTheirColumn) {
    std::mt19937 rng(20261209);
    const char* types[] = {"W", "G", "S", "E", "C"};
    for (int round = 0; round < 300; ++round) {
        auto c = fixtures::Rated(types[round % 5]);
        c.texts.units = round % 2 ? units::System::SI : units::System::InchPound;
        c.rating.Altitude = round % 3 ? 0 : 9000;
        for (std::string& t : c.texts.txtHdr) t = RandomText(rng, round < 150 ? 60 : 130);
        RecordingSurface s;
        const auto items = Print(c, s);
        const auto cps = std::find_if(items.begin(), items.end(),
                                      [](const Item& i) { return i.text == "NO. OF COILS PER SYSTEM:"; });
        ASSERT_NE(cps, items.end());
        std::string values;
        for (const Item& v : items) {
            if (v.x != kValueX) continue;
            values += v.text;
            const Box b = BoxOf(v);
            EXPECT_GE(v.points, 7) << v.text;
            EXPECT_LE(b.x1, s.PageWidth()) << v.text;
            EXPECT_LE(b.y1, cps->y) << v.text;
            for (const Item& o : items) {
                if (&o != &v) {
                    EXPECT_FALSE(Overlap(b, BoxOf(o))) << "'" << v.text << "' on '" << o.text << "'";
                }
            }
        }
        // Every character of every value, in order: Version, Customer,
        // Project, Date, Item, then the model.
        const auto& h = c.texts.txtHdr;
        EXPECT_EQ(NoBlanks(values),
                  NoBlanks(std::string(reports::kProgramVersion) + h[3] + h[4] + h[0] + h[1] + h[2]));
        // A value that fits is printed as it is, in the sheet's size.
        for (const std::string& t : h) {
            if (s.TextWidth(t) > s.PageWidth() - kValueX) continue;
            EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const Item& i) {
                return i.x == kValueX && i.text == t && i.points == 12;
            })) << t;
        }
    }
}

TEST(SheetFit, NoWarningDisappearsUnmarked) {
    std::mt19937 rng(7);
    const std::vector<std::string> pool = {
        "Circuits left blank: rated with one circuit",
        "Fluid velocity below 1 ft/s: laminar flow, the rating may be optimistic and the coil may foul",
        "Face velocity over 500 ft/min on a wet coil: condensate may be carried off the fins",
        "Entering air below 35 °F on a water coil: freeze risk", "Rated at the mean of the last two trials"};
    for (units::System system : {units::System::InchPound, units::System::SI}) {
        for (int notes = 0; notes <= 10; ++notes) {
            for (size_t n = 0; n <= 8; ++n) {
                auto c = fixtures::Rated(notes % 2 ? "E" : "G");
                c.texts.units = system;
                for (int l = 0; l < notes; ++l) c.texts.txtNotes += (l ? "\n" : "") + RandomText(rng, 60);
                for (size_t w = 0; w < n; ++w)
                    c.texts.warnings.push_back(pool[(w + notes) % pool.size()] + " #" + std::to_string(w));
                RecordingSurface s;
                const auto items = Print(c, s);
                std::vector<Item> above;
                for (const Item& i : items)
                    if (i.y < reports::kCoilsPerSystemY) above.push_back(i);
                for (const Item& i : above) EXPECT_LE(BoxOf(i).y1, reports::kCoilsPerSystemY) << i.text;
                std::string printed;
                for (const Item& i : above) printed += i.text;
                printed = NoBlanks(printed);
                // Warnings are printed whole, in order, from the first; any
                // left off are marked on the last line above the row.
                size_t shown = 0;
                while (shown < n &&
                       printed.find(NoBlanks("Warning: " + c.texts.warnings[shown])) != std::string::npos)
                    ++shown;
                const bool marked = !above.empty() && above.back().text == kMore;
                EXPECT_EQ(marked, shown < n)
                    << notes << " notes, " << n << " warnings, " << shown << " shown";
                for (size_t w = shown + 1; w < n; ++w)
                    EXPECT_EQ(printed.find(NoBlanks("Warning: " + c.texts.warnings[w])), std::string::npos);
                if (n == 0) {
                    EXPECT_EQ(printed.find("Morewarnings"), std::string::npos);
                }
            }
        }
    }
}
