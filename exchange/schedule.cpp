#include "exchange/schedule.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "common/form_fields.h"
#include "common/numfmt.h"
#include "exchange/csv.h"
#include "exchange/xlsx_reader.h"

namespace kvn::schedule {
namespace {

const char kCoverKeys[][9] = {"Project", "Customer", "Engineer"};

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool SameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Every name a column may have, in either unit system.
const std::vector<std::string>& AllColumnNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const form_fields::Field& f : form_fields::Fields()) n.emplace_back(f.key);
        n.emplace_back("AirFlowMode");
        for (const std::string& key : selection::DutyKeys()) {
            n.push_back(key);
            const std::string si = selection::DutyKeyIn(units::System::SI, key);
            if (si != key) n.push_back(si);
        }
        for (const char* k : {"FluidRise", "AllowWarnings", "Tag"}) n.emplace_back(k);
        for (const char* k : kCoverKeys) n.emplace_back(k);
        return n;
    }();
    return names;
}

// The name as spelled in the list, whatever its case; "" when none.
std::string CanonicalName(const std::string& header) {
    const std::string h = Trim(header);
    for (const std::string& name : AllColumnNames())
        if (SameLetters(name, h)) return name;
    return {};
}

bool IsTextField(const std::string& key) {
    for (const char* k : {"Application", "Pattern", "FinMat", "FinTreat", "Rifled", "Refrigerant"})
        if (key == k) return true;
    return false;
}

// A duty key of either unit system.
bool IsAnyDutyKey(const std::string& key) {
    for (const std::string& ip : selection::DutyKeys())
        if (key == ip || selection::DutyKeyIn(units::System::SI, ip) == key) return true;
    return false;
}

bool IsConstruction(const std::string& key) {
    const auto& keys = selection::ConstructionKeys();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

bool AllDigits(const std::string& s) {
    return !s.empty() && s.size() <= 4 && s.find_first_not_of("0123456789") == std::string::npos;
}

// "1-8" in a rows, FPI or circuits column: the whole numbers from 1 to 8.
bool Range(const std::string& key, const std::string& text, std::vector<std::string>& out) {
    if (key != "RD" && key != "FPI" && key != "Circuits") return false;
    const auto dash = text.find('-');
    if (dash == std::string::npos) return false;
    const std::string from = Trim(text.substr(0, dash)), to = Trim(text.substr(dash + 1));
    if (!AllDigits(from) || !AllDigits(to)) return false;
    const int a = std::stoi(from), b = std::stoi(to);
    if (a > b) return false;
    for (int i = a; i <= b; ++i) out.push_back(std::to_string(i));
    return true;
}

// Reads one cell of a row into the request; false with the request's error
// set when the cell cannot be read.
class RowReader {
public:
    RowReader(ScheduleRequest& r, units::System system) : r_(r), system_(system) {}

    bool Cell(const std::string& header, const std::string& text) {
        const std::string key = CanonicalName(header);
        if (key.empty()) return Fail(header, "\"" + header + "\" is no schedule column");
        if (key == "Tag") return Set(r_.tag, text);
        if (key == "Project") return Set(r_.project, text);
        if (key == "Customer") return Set(r_.customer, text);
        if (key == "Engineer") return Set(r_.engineer, text);
        if (key == "AllowWarnings") {
            r_.allowWarnings = Split(text, '|');
            return true;
        }
        if (key == "FluidRise") {
            double rise = 0;
            if (!Number(header, text, rise)) return false;
            r_.fluidRise = rise;
            return true;
        }
        if (IsAnyDutyKey(key)) return Duty(header, key, text);
        return Field(header, key, text);
    }

    bool Fail(const std::string& column, const std::string& error) {
        r_.column = column;
        r_.error = error;
        return false;
    }

private:
    static bool Set(std::string& slot, const std::string& text) {
        slot = text;
        return true;
    }

    bool Number(const std::string& header, const std::string& text, double& value) {
        if (!numfmt::IsNumeric(text))
            return Fail(header, "\"" + header + "\" holds \"" + text + "\", which is not a number");
        value = numfmt::Val(text);
        if (!std::isfinite(value)) return Fail(header, "\"" + header + "\" is out of range");
        return true;
    }

    bool Duty(const std::string& header, const std::string& key, const std::string& text) {
        std::string ipKey, error;
        if (!selection::DutyKeyFrom(system_, key, ipKey, error)) return Fail(header, error);
        double value = 0;
        if (!Number(header, text, value)) return false;
        r_.duty[key] = value;
        return true;
    }

    bool Field(const std::string& header, const std::string& key, const std::string& text) {
        std::vector<std::string> values;
        const bool construction = IsConstruction(key);
        if (construction && text.find('|') != std::string::npos)
            values = Split(text, '|');
        else if (!(construction && Range(key, text, values)))
            values = {text};
        if (values.empty() || values.size() > 1000)
            return Fail(header, "\"" + header + "\" holds too many alternatives");
        for (const std::string& v : values) {
            if (v.empty())
                return Fail(header, "\"" + header + "\" has an empty alternative in \"" + text + "\"");
            if (!IsTextField(key) && !numfmt::IsNumeric(v))
                return Fail(header, "\"" + header + "\" holds \"" + v + "\", which is not a number");
        }
        if (values.size() == 1 && values[0] == text)
            r_.fields[key] = text;
        else
            r_.choices[key] = values;
        return true;
    }

    ScheduleRequest& r_;
    units::System system_;
};

// What a row must give besides what the search checks: a tube height and a
// duty with a capacity or a leaving-air limit.
bool CheckRequest(RowReader& reader, const ScheduleRequest& r, units::System system) {
    if (!r.fields.count("TH") && !r.choices.count("TH"))
        return reader.Fail("TH", "\"TH\" must be given: it has no default");
    for (const auto& [key, value] : r.duty) {
        std::string ip, unused;
        selection::DutyKeyFrom(system, key, ip, unused);
        for (const char* needed : {"TotalBtuh", "SensibleBtuh", "LatDbMax", "LatDbMin", "LatWbMax"})
            if (ip == needed) return true;
    }
    return reader.Fail(selection::DutyKeyIn(system, "TotalBtuh"),
                       "the duty sets neither a capacity nor a leaving-air limit");
}

bool IsBinary(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return true;
    // Well-formed UTF-8 only.
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + static_cast<std::size_t>(more) >= bytes.size()) return true;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]) >> 6) != 2) return true;
        i += static_cast<std::size_t>(more) + 1;
    }
    return false;
}

// Lines and fields a CSV text would make, counted before it is parsed so
// that a text of millions of empty lines or fields is refused cheaply.
void CheckCsvSize(std::string_view text, const std::string& file) {
    const char separator = csv::DetectSeparator(text);
    std::size_t lines = 1, fields = 1;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') ++lines, ++fields;
        if (c == separator) ++fields;
    }
    if (lines > std::size_t{10} * kMaxRows) throw ScheduleFileError(file, "over 10 000 rows");
    if (fields > (std::size_t{4} << 20)) throw ScheduleFileError(file, "too many cells for a schedule");
}

std::vector<xlsx::SheetRow> CsvRows(std::string_view bytes, const std::string& file) {
    if (IsBinary(bytes)) throw ScheduleFileError(file, "binary data, not CSV text");
    CheckCsvSize(bytes, file);
    std::vector<csv::Row> parsed;
    try {
        parsed = csv::ParseCsv(bytes);
    } catch (const csv::CsvError& e) {
        throw ScheduleFileError(file, "line " + std::to_string(e.line) + ": " + e.what());
    }
    std::vector<xlsx::SheetRow> rows;
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        csv::Row& cells = parsed[i];
        while (!cells.empty() && Trim(cells.back()).empty()) cells.pop_back();
        if (!cells.empty()) rows.push_back({static_cast<int>(i) + 1, std::move(cells)});
    }
    return rows;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && SameLetters(s.substr(s.size() - tail.size()), tail);
}

ScheduleTable TableOf(std::vector<xlsx::SheetRow>& rows, const std::string& file) {
    if (rows.empty()) throw ScheduleFileError(file, "empty: no header and no rows");
    ScheduleTable table;
    for (const std::string& h : rows.front().cells) table.header.push_back(Trim(h));
    bool named = false;
    for (std::size_t i = 0; i < table.header.size(); ++i) {
        const std::string& h = table.header[i];
        if (!CanonicalName(h).empty()) named = true;
        for (std::size_t j = 0; j < i && !h.empty(); ++j)
            if (SameLetters(table.header[j], h))
                throw ScheduleFileError(file, "the column \"" + h + "\" appears twice in the header");
    }
    if (!named) throw ScheduleFileError(file, "no header row naming the columns (Tag, Application, TH, ...)");
    if (rows.size() == 1) throw ScheduleFileError(file, "no rows under the header");
    if (rows.size() > static_cast<std::size_t>(kMaxRows) + 1)
        throw ScheduleFileError(file, "over 10 000 rows");
    const std::size_t width = table.header.size();
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ScheduleRow row;
        row.number = rows[r].number;
        std::vector<std::string>& cells = rows[r].cells;
        for (std::size_t c = width; c < cells.size() && row.beyond < 0; ++c)
            if (!Trim(cells[c]).empty()) row.beyond = static_cast<int>(c);
        cells.resize(width);
        for (std::string& c : cells) row.cells.push_back(Trim(c));
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace

ScheduleTable ParseSchedule(std::string_view bytes, const std::string& fileName) {
    if (bytes.size() > kMaxFileBytes) throw ScheduleFileError(fileName, "larger than 64 MB");
    if (bytes.empty()) throw ScheduleFileError(fileName, "empty file");
    std::vector<xlsx::SheetRow> rows;
    if (bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)) {
        xlsx::ReadLimits limits;
        limits.maxRows = kMaxRows + 2;
        try {
            rows = xlsx::ReadFirstSheet(bytes, limits);
        } catch (const xlsx::XlsxError& e) {
            throw ScheduleFileError(fileName, std::string("not a readable XLSX workbook: ") + e.what());
        }
    } else if (EndsWith(fileName, ".xlsx")) {
        throw ScheduleFileError(fileName, "not an XLSX workbook (no zip archive)");
    } else {
        rows = CsvRows(bytes, fileName);
    }
    return TableOf(rows, fileName);
}

ScheduleTable ReadScheduleFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) throw ScheduleFileError(path, "cannot be opened");
    if (S_ISDIR(st.st_mode)) throw ScheduleFileError(path, "is a folder, not a file");
    if (static_cast<std::size_t>(st.st_size) > kMaxFileBytes)
        throw ScheduleFileError(path, "larger than 64 MB");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScheduleFileError(path, "cannot be opened");
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    // A file that grew past the cap meanwhile is refused too.
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > kMaxFileBytes) throw ScheduleFileError(path, "larger than 64 MB");
    }
    return ParseSchedule(bytes, path);
}

std::string ColumnKey(const std::string& header, units::System system) {
    const std::string key = CanonicalName(header);
    std::string ip, unused;
    if (IsAnyDutyKey(key) && !selection::DutyKeyFrom(system, key, ip, unused)) return {};
    return key;
}

namespace {

std::string Squeezed(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::vector<std::string> ColumnNames(units::System system) {
    std::vector<std::string> names;
    for (const std::string& name : AllColumnNames())
        if (!ColumnKey(name, system).empty()) names.push_back(name);
    return names;
}

std::string MatchColumn(const std::string& header, units::System system) {
    if (const std::string key = ColumnKey(header, system); !key.empty()) return key;
    const std::string h = Squeezed(header);
    if (h.empty()) return {};
    for (const std::string& name : ColumnNames(system))
        if (Squeezed(name) == h) return name;
    for (const form_fields::Field& f : form_fields::Fields())
        if (!f.name.empty() && Squeezed(std::string(f.name)) == h) return std::string(f.key);
    static const std::pair<const char*, const char*> kUsual[] = {{"CFM", "Acfm"},
                                                                 {"SCFM", "Scfm"},
                                                                 {"EWT", "EntFluidTemp"},
                                                                 {"EFT", "EntFluidTemp"},
                                                                 {"EATDB", "EatDb"},
                                                                 {"EATWB", "EatWb"},
                                                                 {"MARK", "Tag"},
                                                                 {"COILTAG", "Tag"},
                                                                 {"TYPE", "Application"},
                                                                 {"COILTYPE", "Application"},
                                                                 {"ROWS", "RD"},
                                                                 {"FINSPERINCH", "FPI"},
                                                                 {"GLYCOL", "PercentGlycol"},
                                                                 {"REFRIGERANT", "Refrigerant"}};
    for (const auto& [usual, key] : kUsual)
        if (h == usual) return key;
    return {};
}

void ApplyColumnMap(ScheduleTable& table, const std::map<std::string, std::string>& columns) {
    for (std::size_t c = 0; c < table.header.size(); ++c) {
        const auto it = columns.find(table.header[c]);
        if (it == columns.end()) continue;
        table.header[c] = it->second;
        if (!it->second.empty()) continue;
        for (ScheduleRow& row : table.rows) row.cells[c].clear();
    }
}

ScheduleRequest RequestForRow(const ScheduleTable& table, std::size_t index, units::System system) {
    const ScheduleRow& row = table.rows.at(index);
    ScheduleRequest r;
    r.row = row.number;
    RowReader reader(r, system);
    const auto tag = std::find_if(table.header.begin(), table.header.end(),
                                  [](const std::string& h) { return SameLetters(h, "Tag"); });
    if (tag != table.header.end()) r.tag = row.cells[static_cast<std::size_t>(tag - table.header.begin())];
    if (row.beyond >= 0) {
        reader.Fail(xlsx::ColumnName(row.beyond),
                    "column " + xlsx::ColumnName(row.beyond) + " holds a value but has no header");
        return r;
    }
    for (std::size_t c = 0; c < table.header.size(); ++c) {
        const std::string& text = row.cells[c];
        if (text.empty()) continue;
        if (table.header[c].empty()) {
            reader.Fail(
                xlsx::ColumnName(static_cast<int>(c)),
                "column " + xlsx::ColumnName(static_cast<int>(c)) + " holds a value but has no header");
            return r;
        }
        if (!reader.Cell(table.header[c], text)) return r;
    }
    CheckRequest(reader, r, system);
    return r;
}

ScheduleCoverTexts CoverTexts(const ScheduleTable& table, units::System system) {
    ScheduleCoverTexts cover;
    for (std::size_t c = 0; c < table.header.size(); ++c) {
        const std::string key = ColumnKey(table.header[c], system);
        std::string* text = key == "Project"    ? &cover.project
                            : key == "Customer" ? &cover.customer
                            : key == "Engineer" ? &cover.engineer
                                                : nullptr;
        for (std::size_t r = 0; text && text->empty() && r < table.rows.size(); ++r)
            *text = table.rows[r].cells[c];
    }
    return cover;
}

bool SpecForRequest(const ScheduleRequest& request, units::System system, selection::SearchSpec& query,
                    selection::ShownTexts& shown, std::string& error) {
    query = selection::SearchSpec();
    shown = selection::ShownTexts(system);
    for (const auto& [key, list] : request.choices) {
        if (!IsConstruction(key)) {
            error = "\"" + key + "\" is not a construction field and cannot be a list of alternatives";
            return false;
        }
        for (const std::string& t : list) query.choices[key].push_back(shown.ToInchPound(key, t));
    }
    query.fixed = {{"FinTreat", "CR"}, {"Rifled", "N"}, {"FoulingFactor", "0"}};
    for (const auto& [key, text] : request.fields) {
        if (key != "AirFlowMode") {
            query.fixed[key] = text;
            continue;
        }
        const double mode = numfmt::Val(text);
        if (!numfmt::IsNumeric(text) || (mode != 1 && mode != 2 && mode != 3)) {
            error = "\"AirFlowMode\" must be 1, 2 or 3, not " + text;
            return false;
        }
        query.airFlowMode = static_cast<int>(mode);
    }
    for (auto& [key, t] : query.fixed) t = shown.ToInchPound(key, t);
    const std::string application = query.fixed.count("Application") ? query.fixed.at("Application") : "";
    for (const auto& [key, value] : request.duty) {
        std::string ipKey;
        if (!selection::DutyKeyFrom(system, key, ipKey, error)) return false;
        query.duty[ipKey] = selection::DutyToInchPound(system, application, ipKey, value);
    }
    if (request.fluidRise) query.fluidRise = selection::RiseToInchPound(system, *request.fluidRise);
    query.allowWarnings = request.allowWarnings;
    // The candidates a row lists, as the "Top" of its --select input: the
    // search rates in rank order and stops once they are certain.
    query.top = 1 + kAlternatives;
    return selection::CompleteSpec(query, error);
}

namespace {

// The column a search's message names: its first quoted key.
std::string ColumnOfMessage(const std::string& message) {
    const auto open = message.find('"');
    const auto close = open == std::string::npos ? open : message.find('"', open + 1);
    if (close == std::string::npos) return {};
    const std::string key = message.substr(open + 1, close - open - 1);
    const auto& names = AllColumnNames();
    return std::find(names.begin(), names.end(), key) != names.end() ? key : std::string();
}

}  // namespace

ScheduleRowResult SearchRow(const ScheduleTable& table, std::size_t index, units::System system, int jobs,
                            selection::SearchControl* control) {
    ScheduleRowResult out;
    out.request = RequestForRow(table, index, system);
    if (!out.request.ok()) {
        out.error = out.request.error;
        out.column = out.request.column;
        return out;
    }
    if (!SpecForRequest(out.request, system, out.query, out.shown, out.error)) {
        out.column = ColumnOfMessage(out.error);
        return out;
    }
    out.query.jobs = jobs;
    out.result = selection::Search(out.query, control);
    if (out.result.cancelled) {
        out.error = "not searched: the search was cancelled";
        return out;
    }
    if (!out.result.error.empty()) {
        out.error = out.result.error;
        return out;
    }
    const auto listed = static_cast<std::size_t>(out.query.top);
    if (out.result.ranked.size() > listed) out.result.ranked.resize(listed);
    out.ok = true;
    return out;
}

}  // namespace kvn::schedule
