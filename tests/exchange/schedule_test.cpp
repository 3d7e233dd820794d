// Schedules as files: the XLSX reader on workbooks as spreadsheets write them
// and on hostile ones, whole files refused with their name and reason, and
// rows read into selection requests or refused with their column.
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "exchange/schedule.h"
#include "exchange/schedule_template.h"
#include "exchange/xlsx_reader.h"

namespace fs = std::filesystem;
using kvn::schedule::ParseSchedule;
using kvn::schedule::RequestForRow;
using kvn::schedule::ScheduleFileError;
using kvn::xlsx::ReadFirstSheet;
using kvn::xlsx::XlsxError;

namespace {

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path TempPath(const std::string& name) {
    return fs::temp_directory_path() / ("kvn_sched_" + std::to_string(::getpid()) + "_" + name);
}

// A zip archive of the given entries, in memory.
std::string Zip(const std::vector<std::pair<std::string, std::string>>& entries) {
    const fs::path p = TempPath("archive.zip");
    int error = 0;
    zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : entries) {
        zip_source_t* s = zip_source_buffer(z, data.data(), data.size(), 0);
        zip_file_add(z, name.c_str(), s, ZIP_FL_OVERWRITE);
    }
    zip_close(z);
    std::string bytes = Slurp(p);
    fs::remove(p);
    return bytes;
}

std::string Sheet(const std::string& rows) {
    return R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
           rows + "</sheetData></worksheet>";
}

std::string SharedStrings(const std::string& items) {
    return R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)" + items + "</sst>";
}

kvn::schedule::ScheduleTable Csv(const std::string& text) {
    return ParseSchedule(text, "s.csv");
}

}  // namespace

TEST(XlsxReader, ReadsTheFirstSheetAsSpreadsheetsWriteIt) {
    const fs::path p = TempPath("written.xlsx");
    lxw_workbook* book = workbook_new(p.c_str());
    lxw_worksheet* first = workbook_add_worksheet(book, "Coils");
    lxw_worksheet* second = workbook_add_worksheet(book, "Other");
    worksheet_write_string(first, 0, 0, "Tag", nullptr);
    worksheet_write_string(first, 0, 2, "Acfm", nullptr);
    worksheet_write_string(first, 2, 0, "CC-1 \xC2\xB0", nullptr);
    worksheet_write_number(first, 2, 2, 0.1 + 0.2, nullptr);
    worksheet_write_number(first, 2, 3, 2000, nullptr);
    worksheet_write_boolean(first, 3, 1, 1, nullptr);
    worksheet_write_string(second, 0, 0, "not read", nullptr);
    workbook_close(book);
    const auto rows = ReadFirstSheet(Slurp(p));
    fs::remove(p);
    ASSERT_EQ(rows.size(), 3u);  // the empty row 2 is left out
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Tag", "", "Acfm"}));
    EXPECT_EQ(rows[1].number, 3);
    EXPECT_EQ(rows[1].cells, (std::vector<std::string>{"CC-1 \xC2\xB0", "", "0.3", "2000"}));
    EXPECT_EQ(rows[2].cells, (std::vector<std::string>{"", "TRUE"}));
}

TEST(XlsxReader, InlineAndRichStringsAndCellsWithoutReferences) {
    const std::string bytes = Zip(
        {{"xl/sharedStrings.xml",
          SharedStrings("<si><r><t>Ta</t></r><r><t>g</t></r><rPh><t>x</t></rPh></si><si><t>FPI</t></si>")},
         {"xl/worksheets/sheet1.xml",
          Sheet(
              R"(<row><c t="s"><v>0</v></c><c r="C1" t="s"><v>1</v></c></row>)"
              R"(<row r="5"><c t="inlineStr"><is><t>HC-2</t></is></c><c r="C5" t="str"><f>A1</f><v>8|10</v></c>)"
              R"(<c r="ZZ5" t="e"><v>#N/A</v></c></row>)")}});
    const auto rows = ReadFirstSheet(bytes);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells, (std::vector<std::string>{"Tag", "", "FPI"}));
    EXPECT_EQ(rows[1].number, 5);
    ASSERT_EQ(rows[1].cells.size(), 702u);
    EXPECT_EQ(rows[1].cells[2], "8|10");
    EXPECT_EQ(rows[1].cells[701], "#N/A");
}

TEST(XlsxReader, HostileWorkbooksAreRefused) {
    kvn::xlsx::ReadLimits small;
    small.maxPartBytes = 1 << 20;
    const std::string zeros(4 << 20, '0');  // compresses to a few kilobytes
    const std::string bad[] = {
        "PK\x03\x04 not really a zip",
        Zip({{"xl/worksheets/sheet1.xml", Sheet("<row><c><v>" + zeros + "</v></c></row>")}}),
        Zip({{"xl/worksheets/sheet1.xml", "<!DOCTYPE x [<!ENTITY a \"aaaa\">]>" + Sheet("")}}),
        Zip({{"xl/worksheets/sheet1.xml", Sheet(R"(<row><c t="s"><v>3</v></c></row>)")}}),
        Zip({{"xl/worksheets/sheet1.xml", Sheet(R"(<row><c r="1A"><v>1</v></c></row>)")}}),
        Zip({{"xl/worksheets/sheet1.xml", Sheet(R"(<row r="3"/><row r="2">)")}}),
        Zip({{"xl/worksheets/sheet1.xml", Sheet("<row><c><v>1</v></c>")}}),
        Zip({{"xl/other.xml", "<a/>"}}),
    };
    for (const std::string& b : bad) EXPECT_THROW(ReadFirstSheet(b, small), XlsxError) << b.substr(0, 40);
    // Rows and cells beyond the caps.
    std::string many;
    for (int r = 0; r < 30; ++r)
        many += "<row><c><v>1</v></c><c r=\"XFD" + std::to_string(r + 1) + "\"><v>1</v></c></row>";
    kvn::xlsx::ReadLimits fewRows, fewCells;
    fewRows.maxRows = 20;
    fewCells.maxCells = 100000;
    const std::string wide = Zip({{"xl/worksheets/sheet1.xml", Sheet(many)}});
    EXPECT_THROW(ReadFirstSheet(wide, fewRows), XlsxError);
    EXPECT_THROW(ReadFirstSheet(wide, fewCells), XlsxError);
}

TEST(XlsxReader, CellReferences) {
    int c = 0, r = 0;
    EXPECT_TRUE(kvn::xlsx::ParseCellRef("C7", c, r));
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 7);
    EXPECT_TRUE(kvn::xlsx::ParseCellRef("XFD1048576", c, r));
    EXPECT_EQ(c, 16383);
    for (const char* bad : {"", "C", "7", "C0", "XFE1", "C1048577", "C7x", "$C$7"})
        EXPECT_FALSE(kvn::xlsx::ParseCellRef(bad, c, r)) << bad;
    for (int col : {0, 25, 26, 701, 702, 16383}) {
        ASSERT_TRUE(kvn::xlsx::ParseCellRef(kvn::xlsx::ColumnName(col) + "1", c, r));
        EXPECT_EQ(c, col);
    }
}

TEST(ScheduleFile, WhatIsNoScheduleIsRefusedWithTheFileAndTheReason) {
    std::string tooMany = "Tag\n";
    for (int i = 0; i <= kvn::schedule::kMaxRows; ++i) tooMany += "C" + std::to_string(i) + "\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "empty"},
        {"\n \n", "empty"},
        {std::string("Tag,TH\x00\x01", 8), "binary"},
        {"Tag,TH\n\xFF\xFE", "binary"},
        {"Colour,Size\nred,2\n", "no header"},
        {"Tag,TH\n", "no rows"},
        {"Tag,TH,tag\n1,2,3\n", "appears twice"},
        {"Tag\n\"open\n", "line 2"},
        {tooMany, "over 10 000 rows"},
    };
    for (const auto& [text, reason] : cases) {
        try {
            Csv(text);
            ADD_FAILURE() << "accepted: " << reason;
        } catch (const ScheduleFileError& e) {
            EXPECT_EQ(e.file, "s.csv");
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("s.csv: ", 0), 0u) << e.what();
        }
    }
    EXPECT_THROW(ParseSchedule("Tag,TH\n1,2\n", "book.xlsx"), ScheduleFileError);
    // Over 64 MB: refused from its size, unread.
    const fs::path big = TempPath("big.csv");
    { std::ofstream(big) << "Tag\n"; }
    fs::resize_file(big, kvn::schedule::kMaxFileBytes + 1);
    try {
        kvn::schedule::ReadScheduleFile(big.string());
        ADD_FAILURE() << "a file over 64 MB was read";
    } catch (const ScheduleFileError& e) {
        EXPECT_NE(std::string(e.what()).find("64 MB"), std::string::npos);
    }
    fs::remove(big);
    EXPECT_THROW(kvn::schedule::ReadScheduleFile(TempPath("absent.csv").string()), ScheduleFileError);
}

TEST(ScheduleRows, AlternativesRangesBlanksAndTheDutyOfEitherSystem) {
    const auto table =
        Csv("\xEF\xBB\xBFtag;Application;RD;FPI;Circuits;TH;FL;Acfm;TotalKW;latdbmax;FluidRise;Project\r\n"
            "CC-1;W;1-3;8|10 | 12;;16;1200;3400;11,5;15;5.5;North wing\r\n"
            ";;;;;;;;;;;\r\n"
            "CC-2;W;4;;2-4;16;1200|1500;3400;12;;;\r\n");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[1].number, 4);
    const auto a = RequestForRow(table, 0, units::System::SI);
    // "11,5" is no number: the row is refused at its column.
    EXPECT_FALSE(a.ok());
    EXPECT_EQ(a.column, "TotalKW");
    EXPECT_EQ(a.row, 2);
    EXPECT_EQ(a.tag, "CC-1");
    const auto b = RequestForRow(table, 1, units::System::SI);
    ASSERT_TRUE(b.ok()) << b.error;
    EXPECT_EQ(b.fields.at("RD"), "4");
    EXPECT_EQ(b.choices.at("Circuits"), (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(b.choices.at("FL"), (std::vector<std::string>{"1200", "1500"}));
    EXPECT_EQ(b.duty.at("TotalKW"), 12);
    EXPECT_FALSE(b.fields.count("FPI"));
    const auto c = RequestForRow(Csv("Tag,RD,FPI,TH,TotalBtuh,LatDbMax,FluidRise,Project\n"
                                     "x,1-3,8|10 | 12,16,40000,60,10,North wing\n"),
                                 0, units::System::InchPound);
    ASSERT_TRUE(c.ok()) << c.error;
    EXPECT_EQ(c.choices.at("RD"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(c.choices.at("FPI"), (std::vector<std::string>{"8", "10", "12"}));
    EXPECT_EQ(*c.fluidRise, 10);
    EXPECT_EQ(c.project, "North wing");
}

TEST(ScheduleRows, ABadRowNamesItsColumnAndTheOthersGoOn) {
    struct Case {
        const char* header;
        const char* row;
        const char* column;
        units::System system = units::System::InchPound;
    };
    const Case cases[] = {
        {"Tag,TH,TotalBtuh,Colour", "a,16,40000,red", "Colour"},
        {"Tag,TH,TotalBtuh,Acfm", "a,16,40000,2 000", "Acfm"},
        {"Tag,TH,TotalBtuh,EatDb", "a,16,40000,80F", "EatDb"},
        {"Tag,TH,TotalBtuh,RD", "a,16,40000,1-", "RD"},
        {"Tag,TH,TotalBtuh,RD", "a,16,40000,4||6", "RD"},
        {"Tag,TH,TotalBtuh,TH2", "a,16,40000,x", "TH2"},
        {"Tag,TH,AirPDMax", "a,16,0.6", "TotalBtuh"},
        {"Tag,TH,TotalKW", "a,16,12", "TotalKW"},
        {"Tag,FL,TotalBtuh", "a,48,40000", "TH"},
        {"Tag,TH,TotalBtuh", "a,16,40000", "TotalKW", units::System::SI},
        {"Tag,TH,TotalBtuh,", "a,16,40000,5", "D"},
        {"Tag,TH,TotalBtuh", "a,16,40000,5", "D"},
    };
    for (const Case& k : cases) {
        const auto table = Csv(std::string(k.header) + "\nok,16,40000\n" + k.row + "\n");
        const auto bad = RequestForRow(table, 1, k.system);
        EXPECT_FALSE(bad.ok()) << k.row;
        EXPECT_EQ(bad.row, 3) << k.row;
        EXPECT_EQ(bad.tag, "a");
        EXPECT_FALSE(bad.error.empty());
        if (k.system == units::System::SI) {
            EXPECT_EQ(bad.column, "TotalBtuh") << bad.error;
            EXPECT_NE(bad.error.find(k.column), std::string::npos) << bad.error;
        } else {
            EXPECT_EQ(bad.column, k.column) << bad.error;
        }
    }
}

TEST(ScheduleTemplate, ReadsBackAsAScheduleOfEveryCoilTypeInEitherSystem) {
    for (const units::System system : {units::System::InchPound, units::System::SI}) {
        for (const char* ext : {".csv", ".xlsx"}) {
            const fs::path p = TempPath(std::string("template") + ext);
            std::string error;
            ASSERT_TRUE(kvn::schedule::WriteScheduleTemplate(p.string(), system, error)) << error;
            const auto table = kvn::schedule::ReadScheduleFile(p.string());
            fs::remove(p);
            EXPECT_EQ(table.header, kvn::schedule::TemplateHeader(system));
            ASSERT_EQ(table.rows.size(), kvn::schedule::TemplateRows(system).size());
            std::string types;
            for (std::size_t i = 0; i < table.rows.size(); ++i) {
                EXPECT_EQ(table.rows[i].cells, kvn::schedule::TemplateRows(system)[i]) << ext;
                const auto r = RequestForRow(table, i, system);
                EXPECT_TRUE(r.ok()) << r.error;
                types += r.fields.at("Application");
            }
            EXPECT_EQ(types, "WGSEC");
        }
    }
    std::string error;
    EXPECT_FALSE(kvn::schedule::WriteScheduleTemplate(TempPath("t.txt").string(), units::System::SI, error));
    EXPECT_NE(error.find("t.txt"), std::string::npos);
}

TEST(ScheduleColumns, OtherHeaderTextsMatchedByNameCaptionOrUsualHeading) {
    using kvn::schedule::MatchColumn;
    const units::System ip = units::System::InchPound, si = units::System::SI;
    const std::pair<const char*, const char*> cases[] = {{"EAT DB", "EatDb"},
                                                         {"eat (wb)", "EatWb"},
                                                         {"CFM", "Acfm"},
                                                         {"Tubes High", "TH"},
                                                         {"Ent. FL. Temp.", "EntFluidTemp"},
                                                         {"Fin Thickness", "FinThk"},
                                                         {"Mark", "Tag"},
                                                         {"lat_db_max", "LatDbMax"},
                                                         {"Colour", ""},
                                                         {"", ""},
                                                         {"Total KW", ""}};
    for (const auto& [header, key] : cases) EXPECT_EQ(MatchColumn(header, ip), key) << header;
    EXPECT_EQ(MatchColumn("Total KW", si), "TotalKW");
    EXPECT_EQ(MatchColumn("TotalBtuh", si), "");
    auto table = ParseSchedule("Mark,EAT DB,Notes,TH,TotalBtuh\nCC-1,80,see me,16,40000\n", "s.csv");
    EXPECT_FALSE(RequestForRow(table, 0, ip).ok());
    kvn::schedule::ApplyColumnMap(table, {{"Mark", "Tag"}, {"EAT DB", "EatDb"}, {"Notes", ""}});
    const auto r = RequestForRow(table, 0, ip);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.tag, "CC-1");
    EXPECT_EQ(r.fields.at("EatDb"), "80");
}
