// The multi-coil report document: pages, tables, formats and the page header.
#include <gtest/gtest.h>

#include "files/save_row.h"
#include "reports/multi_coil_report.h"
#include "reports/sheet_fixtures.h"

using reports::PlacedTable;

namespace {

SavedCoilTable Table(const std::vector<std::string>& types, int16_t altitude = 0) {
    SavedCoilTable t;
    for (const std::string& type : types) {
        auto c = fixtures::Rated(type);
        c.rating.Altitude = altitude;
        SaveRowTexts texts;
        texts.coilsPerSystem = "2";
        texts.model = "58-XX-04830-H";
        texts.item = "AHU-" + std::to_string(t.CoilCount() + 1);
        texts.coilTypeWord = CoilTypeWord(type);
        texts.tubeText = "5";
        texts.wallText = ".020";
        AppendSavedCoil(t, c.coilSpec, c.rating, texts);
    }
    return t;
}

const reports::ReportHeaderTexts kHeader{"Northwind Mall", "Phase 2", "12/08/2026"};

// Tables of a page after the page header.
std::vector<PlacedTable> Body(const reports::PrintDocument& doc, int page) {
    const auto& t = doc.PageAt(page).tables;
    return {t.begin() + 1, t.end()};
}

}  // namespace

TEST(MultiCoilReport, FourCoilsToAPage) {
    for (int n : {1, 4, 5, 8, 9}) {
        const auto doc = reports::BuildMultiCoilReport(Table(std::vector<std::string>(n, "W")), kHeader);
        const int pages = (n + 3) / 4;
        ASSERT_EQ(doc->PageCount(), pages) << n;
        EXPECT_TRUE(doc->Ended());
        for (int p = 0; p < pages; ++p) {
            const int coils = std::min(4, n - 4 * p);
            EXPECT_EQ(Body(*doc, p).size(), 4u * coils) << n << " page " << p;
            EXPECT_EQ(doc->PageAt(p).pictures.size(), 1u);
            // Everything stays inside the page's margins.
            for (const auto& t : doc->PageAt(p).tables)
                EXPECT_LE(t.rowTop.back() + t.rowHeight.back(),
                          doc->Page().height - doc->Page().marginBottom);
        }
    }
    // The second page starts with coil 5.
    const auto doc = reports::BuildMultiCoilReport(Table(std::vector<std::string>(5, "W")), kHeader);
    EXPECT_EQ(Body(*doc, 1)[0].rows[1][0], "5");
    EXPECT_EQ(Body(*doc, 1)[2].rows[0][1], "Item: AHU-5");
}

TEST(MultiCoilReport, NoCoilsGivesOneHeaderPage) {
    SavedCoilTable empty;
    const auto doc = reports::BuildMultiCoilReport(empty, kHeader);
    ASSERT_EQ(doc->PageCount(), 1);
    EXPECT_EQ(doc->PageAt(0).tables.size(), 1u);
}

TEST(MultiCoilReport, WaterTablesTextsAndFormats) {
    const auto doc = reports::BuildMultiCoilReport(Table({"W"}), kHeader);
    const auto body = Body(*doc, 0);
    ASSERT_EQ(body.size(), 4u);
    // Printable width 10800: w = 1080, columns 3 and 7 at 0.85 w, 8 and 9 at 1.15 w.
    const std::string ten = "1080^_|1080^_|1080^_|918^_|1080^_|1080^_|1080^_|918^_|1242^_|1242^_";
    EXPECT_EQ(body[0].format, ten);
    EXPECT_EQ(body[1].format, ten);
    EXPECT_EQ(body[0].rows[0],
              reports::SplitCells("No.|Fin HGT|Fin LTH|ROWS|FPI|CIRCT|FACE (SQ FT)|SCFM|EAT DB|EAT WB"));
    EXPECT_EQ(body[0].rows[1], reports::SplitCells("1|30.00|48.00|4|12|12|10.00|4987|80.00|67.00"));
    EXPECT_EQ(
        body[1].rows[0],
        reports::SplitCells(
            "LVG DB|LVG WB|FACE VEL|AIR PD IN|ENT H2O|LVG H2O|H2O PD (FT)|GPM|TOTAL BTUH|SENSIBLE BTUH"));
    EXPECT_EQ(body[1].rows[1],
              reports::SplitCells("55.20|54.80|500|0.55|45.00|55.50|8.40|31.25|162346|121001"));
    for (int i : {0, 1}) {
        EXPECT_EQ(body[i].headerRows, 1);
        ASSERT_TRUE(body[i].headerShade);
        EXPECT_EQ(*body[i].headerShade, QColor(249, 243, 204));
    }
    EXPECT_EQ(body[2].format, "1350<|2700<|4050<|2700<");
    EXPECT_EQ(body[2].rows[0], reports::SplitCells("Qty: 2|Item: AHU-1|Model: 58-XX-04830-H|Type: Water"));
    EXPECT_EQ(body[3].format, "2160<|2160<|2160<|2160^|2160^");
    EXPECT_EQ(body[3].rows[0],
              reports::SplitCells("Tube OD: 5/8\"|Wall Thk: .020|Fin Thk: 0.006|Aluminum|Corrugated"));
    EXPECT_EQ(body[2].headerRows, 0);
    // Each coil starts 500 below what came before it.
    EXPECT_DOUBLE_EQ(body[1].rowTop[0], body[0].rowTop[1] + body[0].rowHeight[1]);
}

TEST(MultiCoilReport, LayoutsByCoilType) {
    const auto doc = reports::BuildMultiCoilReport(Table({"S", "C", "E", "G"}), kHeader);
    const auto body = Body(*doc, 0);
    ASSERT_EQ(body.size(), 16u);
    // Steam: 7 columns of 10800 / 7 = 1542.86 -> 1543. A steam row holds the
    // placeholder for the entering steam temperature; the report takes it
    // from the pressure: 212 + 3.2 p - 0.046 p^2 at 5 psig.
    EXPECT_EQ(body[0].format, "1543^_|1543^_|1543^_|1543^_|1543^_|1543^_|1543^_");
    EXPECT_EQ(
        body[1].rows[0],
        reports::SplitCells("FACE VEL|EAT DB|LVG DB|AIR PD (INCHES)|PSI|ENT STEAM TEMP.|SENSIBLE BTUH"));
    EXPECT_EQ(body[1].rows[1], reports::SplitCells("500.00|40.00|95.00|0.55|5.00|226.85|121001"));
    // Condenser: 8 columns of 1350.
    EXPECT_EQ(body[4].format, "1350^_|1350^_|1350^_|1350^_|1350^_|1350^_|1350^_|1350^_");
    EXPECT_EQ(body[4].rows[1], reports::SplitCells("2|30.00|48.00|4|12|12|10.00|4987"));
    EXPECT_EQ(body[5].rows[1], reports::SplitCells("80.00|105.00|500|0.55|120.00|2.50|22|162346"));
    // Evaporator: an empty heading and an empty cell between RFRG and TOTAL BTUH.
    EXPECT_EQ(body[9].rows[0],
              reports::SplitCells(
                  "LVG DB|LVG WB|FACE VEL|AIR PD|EVAP TEMP|REF PD (PSI)|RFRG||TOTAL BTUH|SENSIBLE BTUH"));
    EXPECT_EQ(body[9].rows[1], reports::SplitCells("55.20|54.80|500|0.55|45.00|8.40|22||162346|121001"));
    // Glycol: its percent in the type cell.
    EXPECT_EQ(body[13].rows[0][0], "LVG DB");
    EXPECT_EQ(body[13].rows[0][4], "ENT GLY");
    EXPECT_EQ(body[14].rows[0][3], "Type: Glycol - 30%");
    EXPECT_EQ(body[2].rows[0][3], "Type: Steam");
}

TEST(MultiCoilReport, CellsReadFromACoilFile) {
    // A row read back from a file holds texts; numbers among them are
    // formatted, the placeholder and other texts print unchanged.
    SavedCoilTable t;
    auto& row = t.Rows()[0];
    const char* cells[] = {"1",      "1",          "M",    "I",        "Mystery", "5/8\"", ".020", "0.006",
                           "Copper", "Corrugated", "30",   "48",       "4",       "12",    "10",   "4987.4",
                           "80",     "67",         "55.2", "54.8",     "500",     ".5",    "45",   "55.5",
                           "8.4",    "31.25",      " ",    "162345.7", "121000.5"};
    for (int c = 0; c < 29; ++c) row[c] = std::string(cells[c]);
    t.Rows().emplace_back();
    const auto doc = reports::BuildMultiCoilReport(t, kHeader);
    const auto body = Body(*doc, 0);
    // An unknown coil word is laid out as water.
    EXPECT_EQ(body[1].rows[0][4], "ENT H2O");
    EXPECT_EQ(body[0].rows[1], reports::SplitCells("1|30.00|48.00|4|12||10.00|4987|80.00|67.00"));
    EXPECT_EQ(body[1].rows[1],
              reports::SplitCells("55.20|54.80|500|0.50|45.00|55.50|8.40|31.25|162346|121001"));
    // The altitude (column 32) is not in a file: no altitude in the header.
    EXPECT_EQ(doc->PageAt(0).tables[0].rows[3].size(), 1u);
}

TEST(MultiCoilReport, SteamTemperatureFromThePressureAndNoWetBulbWhenHeating) {
    // Rows as read from a file: texts, the placeholder where a value is not
    // kept.
    SavedCoilTable t;
    auto row = [&t](const char* word, const char* eatDb, const char* entFluid, const char* pressure) {
        auto& r = t.Rows().back();
        for (int c = 0; c < 29; ++c) r[c] = std::string("1");
        r[4] = std::string(word);
        r[16] = std::string(eatDb);
        r[22] = std::string(entFluid);
        r[26] = std::string(pressure);
        t.Rows().emplace_back();
    };
    row("Steam", "40", " ", "15");   // 212 + 48 - 10.35
    row("Steam", "40", " ", "0");    // no pressure: atmospheric
    row("Water", "60", "180", " ");  // hot water
    row("Glycol", "60", "60", " ");  // equal counts as heating, as on the sheet
    const auto doc = reports::BuildMultiCoilReport(t, kHeader);
    const auto body = Body(*doc, 0);
    EXPECT_EQ(body[1].rows[1][5], "249.65");
    EXPECT_EQ(body[5].rows[1][5], "212.00");
    EXPECT_EQ(body[9].rows[1][1], "N/A");
    EXPECT_EQ(body[13].rows[1][1], "N/A");
    // Cooling and evaporator coils keep their leaving wet bulb.
    const auto rated = reports::BuildMultiCoilReport(Table({"W", "E"}), kHeader);
    EXPECT_EQ(Body(*rated, 0)[1].rows[1][1], "54.80");
    EXPECT_EQ(Body(*rated, 0)[5].rows[1][1], "54.80");
}

TEST(MultiCoilReport, HeaderTextsFitOnOneLineOnLetterAndA4) {
    reports::PageGeometry a4;
    a4.width = 11906;
    a4.height = 16838;
    for (const auto& page : {reports::PageGeometry{}, a4}) {
        const auto doc = reports::BuildMultiCoilReport(Table({"S", "C", "E", "G", "W"}), kHeader, page);
        int smaller = 0;
        for (int p = 0; p < doc->PageCount(); ++p) {
            for (const PlacedTable& t : Body(*doc, p)) {
                if (t.headerRows == 0) continue;
                EXPECT_GE(t.headerFontPoints, 6);
                EXPECT_EQ(t.fontPoints, 8);  // the values keep their size
                if (t.headerFontPoints < t.fontPoints) ++smaller;
                for (size_t c = 0; c < t.columns.size(); ++c)
                    EXPECT_EQ(reports::WrapCellText(QString::fromStdString(t.rows[0][c]),
                                                    t.columns[c].width - 80, t.headerFontPoints, t.bold)
                                  .size(),
                              1u)
                        << t.rows[0][c];
            }
        }
        EXPECT_GT(smaller, 0);
    }
}

TEST(MultiCoilReport, PageHeader) {
    const auto doc = reports::BuildMultiCoilReport(Table({"W", "W", "W", "W", "W"}, 2000), kHeader);
    for (int p = 0; p < 2; ++p) {
        const auto& header = doc->PageAt(p).tables[0];
        // Page-header unit: 2 x (10800 / 10).
        EXPECT_EQ(header.format, "4320<|2160<|2160<|2160<");
        ASSERT_EQ(header.rows.size(), 5u);
        EXPECT_EQ(header.rows[0][2], "Customer:");
        EXPECT_EQ(header.rows[0][3], "Northwind Mall");
        EXPECT_EQ(header.rows[1][3], "Phase 2");
        EXPECT_EQ(header.rows[2][2], "Date:");
        EXPECT_EQ(header.rows[2][3], "12/08/2026");
        EXPECT_EQ(header.rows[3][2], "Altitude:");
        EXPECT_EQ(header.rows[3][3], "2000'");
        EXPECT_EQ(header.rows[4].size(), 1u);
        EXPECT_DOUBLE_EQ(header.rowTop[0], doc->Page().marginTop);
        // The logo: 1440 x 720, centred, 220 from the top edge.
        const QRectF logo = doc->PageAt(p).pictures[0].box;
        EXPECT_EQ(logo, QRectF((12240 - 1440) / 2.0, 220, 1440, 720));
        // The first coil starts 1000 + 500 below the header.
        const auto& first = doc->PageAt(p).tables[1];
        EXPECT_DOUBLE_EQ(first.rowTop[0], header.rowTop.back() + header.rowHeight.back() + 1500);
    }
    for (int16_t alt : {1999, 0}) {
        const auto low = reports::BuildMultiCoilReport(Table({"W"}, alt), kHeader);
        EXPECT_EQ(low->PageAt(0).tables[0].rows[3].size(), 1u) << alt;
    }
}

TEST(MultiCoilReport, FormatCell) {
    EXPECT_EQ(reports::FormatCell(Cell{std::string("162345.5")}, "0"), "162346");
    EXPECT_EQ(reports::FormatCell(Cell{std::string(" ")}, "0.00"), " ");
    EXPECT_EQ(reports::FormatCell(Cell{std::string("R22")}, "0.00"), "R22");
    EXPECT_EQ(reports::FormatCell(Cell{}, "0.00"), "");
}

TEST(PrintDocument, TableThatDoesNotFitMovesToANewPage) {
    reports::PrintDocument doc;
    int starts = 0;
    doc.onNewPage = [&](reports::PrintDocument&) { ++starts; };
    doc.StartDoc();
    doc.SetCurrentY(doc.Page().height - doc.Page().marginBottom - 100);
    doc.AddTable("2000^_|2000^_", "A|B", {"1|2"});
    EXPECT_EQ(doc.PageCount(), 2);
    EXPECT_EQ(starts, 2);
    EXPECT_DOUBLE_EQ(doc.PageAt(1).tables[0].rowTop[0], doc.Page().marginTop);
    // Long cell text wraps and makes the row taller.
    const auto cols = reports::ParseTableFormat("600^");
    EXPECT_GT(doc.RowHeight(cols, {"FACE AREA (SQ FT) AND MORE WORDS"}), 1.5 * doc.RowHeight(cols, {"X"}));
}

// The SI report converts the inch-pound table as it prints it; counts,
// codes and placeholders print as they are.
TEST(MultiCoilReport, SiHeadingsAndCells) {
    reports::ReportHeaderTexts si = kHeader;
    si.units = units::System::SI;
    const auto doc = reports::BuildMultiCoilReport(Table({"W", "S", "C", "E", "G"}, 2500), si);
    EXPECT_EQ(doc->PageAt(0).tables[0].rows[3][3], "762 m");
    const auto body = Body(*doc, 0);
    EXPECT_EQ(body[0].rows[0],
              reports::SplitCells("No.|Fin HGT (mm)|Fin LTH (mm)|ROWS|FPI|CIRCT|FACE (m²)|STD m³/h|"
                                  "EAT DB (°C)|EAT WB (°C)"));
    EXPECT_EQ(body[0].rows[1], reports::SplitCells("1|762|1219|4|12|12|0.929|8473|26.7|19.4"));
    EXPECT_EQ(body[1].rows[0],
              reports::SplitCells("LVG DB (°C)|LVG WB (°C)|FACE VEL (m/s)|AIR PD (Pa)|ENT H2O (°C)|"
                                  "LVG H2O (°C)|H2O PD (kPa)|L/s|TOTAL kW|SENSIBLE kW"));
    EXPECT_EQ(body[1].rows[1], reports::SplitCells("12.9|12.7|2.54|137|7.2|13.1|25.1|1.97|47.58|35.46"));
    // Steam: gauge pressure in kPa.
    EXPECT_EQ(body[5].rows[1], reports::SplitCells("2.54|4.4|35.0|137|34.5|108.3|35.46"));
    // Refrigerant drops are psi, not feet of water.
    EXPECT_EQ(body[9].rows[1][5], "17.2");
    for (const auto& t : body)
        for (const std::string& cell : t.rows[0])
            for (const char* ip : {"SQ FT", "SCFM", "BTUH", "PSI", "(FT)", "GPM", "INCHES", "AIR PD IN"})
                EXPECT_EQ(cell.find(ip), std::string::npos) << cell;
}
