#include "exchange/schedule_template.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>

#include "common/numfmt.h"
#include "common/select_inputs.h"
#include "exchange/csv.h"

namespace kvn::schedule {
namespace {

const char* const kColumns[] = {"Tag",
                                "Application",
                                "Pattern",
                                "TubeWall",
                                "FinMat",
                                "FinThk",
                                "RD",
                                "FPI",
                                "TH",
                                "FL",
                                "Circuits",
                                "Altitude",
                                "Acfm",
                                "EatDb",
                                "EatWb",
                                "EntFluidTemp",
                                "Gpm",
                                "FluidRise",
                                "PercentGlycol",
                                "Refrigerant",
                                "SteamPressure",
                                "EvapSHCode",
                                "TotalBtuh",
                                "SensibleBtuh",
                                "LatDbMax",
                                "LatWbMax",
                                "AirPDMax",
                                "FluidPDMax",
                                "FaceVelocityMax",
                                "Project",
                                "Customer",
                                "Engineer"};

using Example = std::map<std::string, std::string>;

// The examples in inch-pound units, "key=text" separated by semicolons.
const char* const kExamples[] = {
    "Tag=CC-1;Application=W;Pattern=5;RD=2-6;FPI=8|10|12;TH=16;FL=48;Altitude=0;Acfm=2000;EatDb=80;"
    "EatWb=67;EntFluidTemp=45;FluidRise=10;TotalBtuh=40000;LatDbMax=60;AirPDMax=0.6;"
    "Project=Example project;Customer=Example customer;Engineer=Example engineer",
    "Tag=CC-2;Application=G;Pattern=5;RD=2|3|4|6;FPI=8|12;TH=16;FL=48;Altitude=0;Acfm=2000;EatDb=80;"
    "EatWb=67;EntFluidTemp=45;Gpm=25;PercentGlycol=30;TotalBtuh=30000;FluidPDMax=8",
    "Tag=HC-1;Application=S;Pattern=1;TubeWall=0.035;FinThk=0.010;RD=1-2;FPI=6|10;TH=8;FL=48;Altitude=0;"
    "Acfm=3000;EatDb=40;SteamPressure=5;SensibleBtuh=90000;FaceVelocityMax=900",
    "Tag=DX-1;Application=E;Pattern=5;RD=4|6|8;FPI=10|12;TH=16;FL=48;Circuits=8;Altitude=0;Acfm=2000;"
    "EatDb=80;EatWb=67;EntFluidTemp=40;Refrigerant=22;EvapSHCode=10;TotalBtuh=40000;LatWbMax=60",
    "Tag=CD-1;Application=C;Pattern=4;TubeWall=0.017;RD=2|3;FPI=8|10;TH=24;FL=60;Circuits=6;Altitude=0;"
    "Acfm=5000;EatDb=95;EntFluidTemp=120;Refrigerant=22;TotalBtuh=100000",
};

Example ExampleOf(const std::string& text) {
    Example e;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string pair = text.substr(start, end - start);
        const std::size_t eq = pair.find('=');
        e[pair.substr(0, eq)] = pair.substr(eq + 1);
        start = end + 1;
    }
    return e;
}

// Four significant digits: what a schedule would give.
std::string Rounded(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", v);
    return text;
}

// An example text in SI: quantities converted, designations and counts kept.
std::string SiText(const std::string& key, const std::string& text, const std::string& application) {
    units::Quantity q;
    if (text.empty() || !numfmt::IsNumeric(text)) return text;
    const double v = numfmt::Val(text);
    if (key == "FluidRise") return Rounded(v / 1.8);
    if (selection::IsDutyKey(key))
        return Rounded(selection::DutyFromInchPound(units::System::SI, application, key, v));
    if (units::FieldQuantity(key, q)) return Rounded(units::ToSI(q, v));
    return text;
}

bool WriteCsv(const std::string& path, const std::vector<std::vector<std::string>>& rows,
              std::string& error) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& row : rows) out << csv::CsvLine(row);
    out.close();
    if (!out) error = path + ": cannot be written";
    return static_cast<bool>(out);
}

// Columns whose texts are designations, kept as texts ("0.010" is not 0.01).
bool IsDesignation(const std::string& column) {
    for (const char* key : {"Pattern", "TubeWall", "FinThk", "Refrigerant"})
        if (column == key) return true;
    return false;
}

bool WriteXlsx(const std::string& path, const std::vector<std::vector<std::string>>& rows,
               std::string& error) {
    lxw_workbook* book = workbook_new(path.c_str());
    if (!book) {
        error = path + ": cannot be written";
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Schedule");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& t = rows[r][c];
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (t.empty()) continue;
            if (r > 0 && !IsDesignation(rows[0][c]) && numfmt::IsNumeric(t))
                worksheet_write_number(sheet, row, col, numfmt::Val(t), nullptr);
            else
                worksheet_write_string(sheet, row, col, t.c_str(), r == 0 ? bold : nullptr);
        }
    }
    worksheet_set_column(sheet, 0, static_cast<lxw_col_t>(rows.front().size() - 1), 14, nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
    if (workbook_close(book) != LXW_NO_ERROR) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

bool EndsWith(const std::string& s, const char* tail) {
    const std::string t = tail;
    if (s.size() < t.size()) return false;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - t.size() + i])) != t[i]) return false;
    return true;
}

}  // namespace

std::vector<std::string> TemplateHeader(units::System system) {
    std::vector<std::string> header;
    for (const char* c : kColumns)
        header.push_back(selection::IsDutyKey(c) ? selection::DutyKeyIn(system, c) : std::string(c));
    return header;
}

std::vector<std::vector<std::string>> TemplateRows(units::System system) {
    std::vector<std::vector<std::string>> rows;
    for (const char* example : kExamples) {
        const Example e = ExampleOf(example);
        std::vector<std::string> row;
        const std::string app = e.at("Application");
        for (const char* c : kColumns) {
            const auto it = e.find(c);
            const std::string text = it == e.end() ? std::string() : it->second;
            row.push_back(system == units::System::SI ? SiText(c, text, app) : text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool WriteScheduleTemplate(const std::string& path, units::System system, std::string& error) {
    std::vector<std::vector<std::string>> rows = TemplateRows(system);
    rows.insert(rows.begin(), TemplateHeader(system));
    if (EndsWith(path, ".csv")) return WriteCsv(path, rows, error);
    if (EndsWith(path, ".xlsx")) return WriteXlsx(path, rows, error);
    error = path + ": a schedule template is written as .csv or .xlsx";
    return false;
}

}  // namespace kvn::schedule
