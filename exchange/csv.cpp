#include "exchange/csv.h"

namespace kvn::csv {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view SkipBom(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    return text;
}

}  // namespace

char DetectSeparator(std::string_view text) {
    text = SkipBom(text);
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        if (c == ',') ++commas;
        if (c == ';') ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

std::vector<Row> ParseCsv(std::string_view text) {
    const char sep = DetectSeparator(text);
    text = SkipBom(text);
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false;
    int line = 1, quoteLine = 0;
    auto endRow = [&] {
        row.push_back(std::move(field));
        field.clear();
        rows.push_back(std::move(row));
        row.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n') ++line;
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
            quoteLine = line;
        } else if (c == sep) {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        } else if (c == '\n' || c == '\r') {
            endRow();
            ++line;
        } else {
            field += c;
        }
    }
    if (quoted) throw CsvError(quoteLine, "a quoted field is not closed");
    if (!field.empty() || !row.empty()) endRow();
    return rows;
}

std::string CsvField(std::string_view field, char separator) {
    if (field.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string_view::npos) {
        return std::string(field);
    }
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string CsvLine(const Row& row, char separator) {
    std::string out;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) out += separator;
        out += CsvField(row[i], separator);
    }
    out += "\r\n";
    return out;
}

}  // namespace kvn::csv
