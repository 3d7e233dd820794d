// The multi-coil report with long job texts and with warnings: values shrink
// and wrap in their column without moving the maker's lines; every warning
// is listed under its coil; laid out page by page it is the same report.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <algorithm>
#include <random>

#include "files/save_row.h"
#include "reports/maker.h"
#include "reports/multi_coil_report.h"
#include "reports/sheet_fixtures.h"

using reports::PlacedTable;

namespace {

SavedCoilTable Table(int n, int16_t altitude) {
    SavedCoilTable t;
    const char* types[] = {"W", "G", "S", "E", "C"};
    for (int i = 0; i < n; ++i) {
        auto c = fixtures::Rated(types[i % 5]);
        c.rating.Altitude = altitude;
        SaveRowTexts texts;
        texts.model = "58-XX-04830-H";
        texts.item = "AHU-" + std::to_string(i + 1);
        texts.coilTypeWord = CoilTypeWord(types[i % 5]);
        AppendSavedCoil(t, c.coilSpec, c.rating, texts);
    }
    return t;
}

std::string RandomText(std::mt19937& rng, size_t maxChars) {
    std::uniform_int_distribution<size_t> length(0, maxChars);
    std::uniform_int_distribution<int> wordLength(1, 12), letter(0, 25), rare(0, 15);
    const size_t target = length(rng);
    std::string text;
    while (text.size() < target) {
        if (!text.empty()) text += ' ';
        const int n = rare(rng) == 0 ? 40 : wordLength(rng);
        for (int i = 0; i < n; ++i) text += static_cast<char>('a' + letter(rng));
    }
    return text;
}

std::string NoBlanks(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

QRectF RowBox(const PlacedTable& t, size_t r) {
    double w = 0;
    for (const auto& c : t.columns) w += c.width;
    return QRectF(t.left, t.rowTop[r], w, t.rowHeight[r]);
}

// The top of the row that holds `text` in any table of the page.
double TopOf(const reports::DocPage& page, const std::string& text) {
    for (const PlacedTable& t : page.tables)
        for (size_t r = 0; r < t.rows.size(); ++r)
            if (!t.rows[r].empty() && t.rows[r][0] == text) return t.rowTop[r];
    return -1;
}

bool SamePage(const reports::DocPage& a, const reports::DocPage& b) {
    if (a.tables.size() != b.tables.size()) return false;
    for (size_t i = 0; i < a.tables.size(); ++i)
        if (a.tables[i].rows != b.tables[i].rows || a.tables[i].rowTop != b.tables[i].rowTop ||
            a.tables[i].format != b.tables[i].format || a.tables[i].left != b.tables[i].left)
            return false;
    return true;
}

}  // namespace

TEST(ReportFit, LongJobTextsShrinkAndWrapBesideTheMakersLines) {
    std::mt19937 rng(25);
    const auto shortDoc = reports::BuildMultiCoilReport(Table(1, 2500), {"Mall", "Phase 2", "12/08/2026"});
    const reports::DocPage& ref = shortDoc->PageAt(0);
    for (int round = 0; round < 60; ++round) {
        reports::ReportHeaderTexts h{RandomText(rng, 150), RandomText(rng, 150), RandomText(rng, 40)};
        h.units = round % 2 ? units::System::SI : units::System::InchPound;
        const auto doc = reports::BuildMultiCoilReport(Table(5, round % 3 ? 2500 : 0), h);
        const reports::PageGeometry& g = doc->Page();
        for (int p = 0; p < doc->PageCount(); ++p) {
            const reports::DocPage& page = doc->PageAt(p);
            for (const char* line : {reports::kMakerAddress, reports::kMakerTown, reports::kMakerPhone,
                                     reports::kMakerPhone2, reports::kMakerFax})
                EXPECT_EQ(TopOf(page, line), TopOf(ref, line)) << line;
            std::vector<QRectF> boxes;
            for (const PlacedTable& t : page.tables)
                for (size_t r = 0; r < t.rows.size(); ++r) boxes.push_back(RowBox(t, r));
            for (size_t a = 0; a < boxes.size(); ++a) {
                EXPECT_GE(boxes[a].left(), g.marginLeft - 1e-6);
                // Ten columns of rounded widths reach one twip past the margin.
                EXPECT_LE(boxes[a].right(), g.width - g.marginRight + 1);
                EXPECT_LE(boxes[a].bottom(), g.height - g.marginBottom + 1e-6);
                for (size_t b = a + 1; b < boxes.size(); ++b) {
                    const QRectF both = boxes[a].intersected(boxes[b]);
                    EXPECT_FALSE(both.width() > 1e-6 && both.height() > 1e-6) << p << ": " << a << " " << b;
                }
            }
            // Each value whole in one cell, its wrapped lines inside the
            // cell, in a size of at least 7 points.
            for (const std::string& value : {h.customer, h.project, h.date}) {
                bool found = false;
                for (const PlacedTable& t : page.tables) {
                    for (size_t r = 0; r < t.rows.size(); ++r) {
                        const auto& cells = t.rows[r];
                        for (size_t c = 0; c < cells.size() && c < t.columns.size(); ++c) {
                            if (cells[c] != value) continue;
                            found = true;
                            EXPECT_GE(t.fontPoints, 7);
                            const double width = t.columns[c].width - 80;
                            const auto lines =
                                reports::WrapCellText(QString::fromStdString(value), width, t.fontPoints,
                                                      t.bold, t.columns[c].breakWords);
                            QFont f("Arial");
                            f.setPixelSize(static_cast<int>(t.fontPoints * 20));
                            const QFontMetricsF fm(f);
                            QString joined;
                            for (const QString& l : lines) {
                                EXPECT_LE(fm.horizontalAdvance(l), width + 1e-6) << l.toStdString();
                                joined += l;
                            }
                            EXPECT_EQ(NoBlanks(joined.toStdString()), NoBlanks(value));
                            EXPECT_LE(lines.size() * fm.height(), t.rowHeight[r] + 1e-6);
                        }
                    }
                }
                EXPECT_TRUE(found) << value;
            }
        }
    }
}

TEST(ReportFit, EveryWarningUnderItsCoilAndPagesWithoutWarningsUnchanged) {
    for (units::System system : {units::System::InchPound, units::System::SI}) {
        reports::ReportHeaderTexts h{"Northwind Mall", "Phase 2", "12/08/2026", system};
        const SavedCoilTable table = Table(13, 0);
        std::vector<std::vector<std::string>> warnings(13);
        warnings[1] = {
            "Fluid velocity below 1 ft/s: poor heat transfer; air and dirt may settle in the tubes",
            "Circuits left blank: rated with one circuit"};
        warnings[3] = {
            "Entering air below 35 \xC2\xB0"
            "F on a water coil: the coil may freeze"};
        for (int i = 0; i < 40; ++i) warnings[9].push_back("Warning text number " + std::to_string(i));
        const auto plain = reports::BuildMultiCoilReport(table, h);
        const auto warned = reports::BuildMultiCoilReport(table, h, {}, warnings);
        // Coils 5 to 8 have none: their page is as it was.
        ASSERT_GE(warned->PageCount(), 3);
        EXPECT_TRUE(SamePage(plain->PageAt(1), warned->PageAt(1)));
        std::vector<std::string> listed;
        for (int p = 0; p < warned->PageCount(); ++p) {
            for (const PlacedTable& t : warned->PageAt(p).tables) {
                EXPECT_LE(t.rowTop.back() + t.rowHeight.back(),
                          warned->Page().height - warned->Page().marginBottom);
                if (t.rows[0][0].rfind("Warning, coil ", 0) == 0) listed.push_back(t.rows[0][0]);
            }
        }
        std::vector<std::string> expected;
        for (size_t i = 0; i < warnings.size(); ++i)
            for (const std::string& w : warnings[i])
                expected.push_back("Warning, coil " + std::to_string(i + 1) + ": " + WarningText(system, w));
        EXPECT_EQ(listed, expected);
        if (system == units::System::SI) {
            EXPECT_NE(listed[0].find("m/s"), std::string::npos) << listed[0];
            EXPECT_EQ(listed[2].find("\xC2\xB0"
                                     "F"),
                      std::string::npos);
        }
    }
}

TEST(ReportFit, LaidOutPageByPageItIsTheSameReport) {
    const SavedCoilTable table = Table(11, 2500);
    std::vector<std::vector<std::string>> warnings(11);
    warnings[6] = {"Circuits left blank: rated with one circuit"};
    const reports::ReportHeaderTexts h{std::string(90, 'c'), "Phase 2", "12/08/2026"};
    const auto whole = reports::BuildMultiCoilReport(table, h, {}, warnings);
    reports::MultiCoilReportBuilder builder(h);
    std::vector<reports::DocPage> pages;
    auto take = [&](int n) {
        for (auto& page : builder.Document().TakeFirstPages(n)) pages.push_back(std::move(page));
    };
    for (int i = 0; i < table.CoilCount(); ++i) {
        builder.Add(table.Rows()[i], warnings[i]);
        EXPECT_LE(builder.Document().PageCount(), 2);
        take(builder.Document().PageCount() - 1);
    }
    builder.Finish();
    take(builder.Document().PageCount());
    ASSERT_EQ(static_cast<int>(pages.size()), whole->PageCount());
    for (size_t p = 0; p < pages.size(); ++p)
        EXPECT_TRUE(SamePage(pages[p], whole->PageAt(static_cast<int>(p)))) << p;
}
