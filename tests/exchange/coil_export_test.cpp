// Coil lists written as CSV and XLSX and read back: the numbers are the
// ratings' in the chosen unit system, numbers in XLSX, one row a coil.
#include "exchange/coil_export.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <cstring>
#include <sstream>

#include "common/calc_driver.h"
#include "exchange/csv.h"
#include "sample_coils.h"

using kvn::exchange::ExportCoil;
using units::Quantity;
using units::System;

namespace {

struct Rated {
    ExportCoil coil;
    CoilRating rating;
};

// One rated coil of every type, a heating water coil among them.
std::vector<Rated> RatedCoilsOfEveryType() {
    const auto coils = TaggedCoilsOfEveryType();
    std::vector<Rated> out;
    for (const auto& [tag, fields] : coils) {
        CoilSpec coilSpec;
        CoilRating rating;
        const CalcResult r = CalcPerform(fields, kAirFlowAcfm, coilSpec, rating);
        EXPECT_TRUE(r.ok()) << tag << " " << r.validation.message << r.error;
        SaveRowTexts texts{"1",
                           "M-" + tag,
                           tag,
                           CoilTypeWord(coilSpec.Application),
                           fields.at("Pattern"),
                           fields.at("TubeWall")};
        out.push_back({kvn::exchange::ExportCoilOf(coilSpec, rating, texts, r.warnings), rating});
    }
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The cells of the workbook's sheet: row -> column -> (is number, text).
using Sheet = std::map<int, std::map<int, std::pair<bool, std::string>>>;

std::string Unzip(const std::string& path, const char* member) {
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &err);
    if (!z) return {};
    zip_stat_t st;
    std::string data;
    if (zip_stat(z, member, 0, &st) == 0) {
        data.resize(st.size);
        zip_file_t* f = zip_fopen(z, member, 0);
        if (f && zip_fread(f, data.data(), st.size) != static_cast<zip_int64_t>(st.size)) data.clear();
        if (f) zip_fclose(f);
    }
    zip_close(z);
    return data;
}

int ColumnIndex(const std::string& letters) {
    int n = 0;
    for (char c : letters) n = n * 26 + (c - 'A' + 1);
    return n - 1;
}

// The text between `open` and the next `close` at or after `from`.
std::string Between(const std::string& xml, std::size_t from, const char* open, const char* close) {
    const std::size_t a = xml.find(open, from);
    if (a == std::string::npos) return {};
    const std::size_t b = xml.find(close, a);
    return xml.substr(a + std::strlen(open), b - a - std::strlen(open));
}

Sheet ReadSheet(const std::string& xml) {
    Sheet sheet;
    for (std::size_t at = xml.find("<c r=\""); at != std::string::npos; at = xml.find("<c r=\"", at + 1)) {
        const std::size_t tagEnd = xml.find('>', at);
        const std::string tag = xml.substr(at, tagEnd - at);
        const std::string ref = Between(tag, 0, "r=\"", "\"");
        const std::size_t digit = ref.find_first_of("0123456789");
        const bool inline_ = tag.find("t=\"inlineStr\"") != std::string::npos;
        const std::string text =
            inline_ ? Between(xml, tagEnd, "<t>", "</t>") : Between(xml, tagEnd, "<v>", "</v>");
        sheet[std::stoi(ref.substr(digit)) - 1][ColumnIndex(ref.substr(0, digit))] = {!inline_, text};
    }
    return sheet;
}

int Column(const std::string& name) {
    const auto header = kvn::exchange::ExportHeader();
    return static_cast<int>(std::find(header.begin(), header.end(), name) - header.begin());
}

// What the rating says for a column, in `system`.
struct Expected {
    const char* column;
    Quantity q;
    float CoilRating::*field;
};
const Expected kChecked[] = {
    {"Total Capacity", Quantity::Capacity, &CoilRating::TotalBtuh},
    {"Sensible Capacity", Quantity::Capacity, &CoilRating::SensibleBtuh},
    {"Air PD", Quantity::AirPD, &CoilRating::AirPD},
    {"EAT DB", Quantity::Temperature, &CoilRating::EatDb},
    {"LAT DB", Quantity::Temperature, &CoilRating::LatDb},
    {"Face Area", Quantity::Area, &CoilRating::CoilFaceArea},
    {"Face Velocity", Quantity::AirVelocity, &CoilRating::FaceVelocity},
};

class CoilExport : public ::testing::TestWithParam<System> {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("kvn_export_" + std::to_string(::getpid()) + "_" +
                                                         std::to_string(static_cast<int>(GetParam())));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};

}  // namespace

TEST_P(CoilExport, CsvAndXlsxReadBackAsTheRatings) {
    const System system = GetParam();
    const std::vector<Rated> rated = RatedCoilsOfEveryType();
    std::vector<ExportCoil> coils;
    for (const Rated& r : rated) coils.push_back(r.coil);
    const std::string csvPath = Path("coils.csv"), xlsxPath = Path("coils.xlsx");
    std::string error;
    ASSERT_TRUE(kvn::exchange::WriteCoilExport(csvPath, system, coils, error)) << error;
    ASSERT_TRUE(kvn::exchange::WriteCoilExport(xlsxPath, system, coils, error)) << error;

    const std::string text = ReadFile(csvPath);
    ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    const auto rows = kvn::csv::ParseCsv(text);
    ASSERT_EQ(rows.size(), coils.size() + 2);
    EXPECT_EQ(rows[0], kvn::exchange::ExportHeader());
    EXPECT_EQ(rows[1], kvn::exchange::ExportUnits(system));
    EXPECT_EQ(rows[1][Column("Total Capacity")], system == System::SI ? "kW" : "Btu/h");

    const Sheet sheet = ReadSheet(Unzip(xlsxPath, "xl/worksheets/sheet1.xml"));
    ASSERT_EQ(sheet.size(), coils.size() + 2);
    EXPECT_EQ(sheet.at(1).at(Column("Air PD")).second, system == System::SI ? "Pa" : "in. w.g.");
    for (std::size_t i = 0; i < coils.size(); ++i) {
        const auto& csvRow = rows[i + 2];
        const auto& xlsxRow = sheet.at(static_cast<int>(i) + 2);
        EXPECT_EQ(csvRow[0], coils[i].tag);
        EXPECT_EQ(xlsxRow.at(0).second, coils[i].tag);
        for (const Expected& e : kChecked) {
            const int c = Column(e.column);
            ASSERT_TRUE(xlsxRow.count(c)) << coils[i].tag << " " << e.column;
            EXPECT_TRUE(xlsxRow.at(c).first) << e.column << " is not a number";
            const double x = std::stod(xlsxRow.at(c).second);
            EXPECT_EQ(x, std::stod(csvRow[c])) << e.column;
            const double ip = static_cast<double>(rated[i].rating.*e.field);
            const double want = system == System::SI ? units::ToSI(e.q, ip) : ip;
            const std::size_t point = csvRow[c].find('.');
            const int decimals =
                point == std::string::npos ? 0 : static_cast<int>(csvRow[c].size() - point - 1);
            EXPECT_LE(std::fabs(x - want), 0.5 * std::pow(10.0, -decimals) + 1e-6 * std::fabs(want))
                << coils[i].tag << " " << e.column << " " << csvRow[c];
        }
        // A drop is a liquid's or a refrigerant's, never both; a steam coil has neither.
        const bool refrigerant = coils[i].tag == "DX-5" || coils[i].tag == "CD-6";
        EXPECT_EQ(csvRow[Column("Refrigerant PD")].empty(), !refrigerant) << coils[i].tag;
        EXPECT_EQ(csvRow[Column("Fluid PD")].empty(), refrigerant || coils[i].tag == "SC-4") << coils[i].tag;
        if (system == System::SI) {
            EXPECT_EQ(csvRow.back().find("°F"), std::string::npos) << csvRow.back();
        }
    }
    EXPECT_EQ(rows[3][Column("LAT WB")], "N/A");
    EXPECT_EQ(rows[3][Column("Rows")], "2");
    EXPECT_EQ(rows[4][Column("Glycol")], "30");
}

TEST(CoilExportFile, RefusedNamesAndPlacesNameTheFile) {
    std::string error;
    EXPECT_FALSE(kvn::exchange::WriteCoilExport("/tmp/coils.txt", System::SI, {}, error));
    EXPECT_NE(error.find("/tmp/coils.txt"), std::string::npos);
    for (const char* path : {"/nonexistent/dir/coils.csv", "/nonexistent/dir/coils.xlsx"}) {
        error.clear();
        EXPECT_FALSE(kvn::exchange::WriteCoilExport(path, System::InchPound, {}, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(BothSystems, CoilExport, ::testing::Values(System::InchPound, System::SI));
