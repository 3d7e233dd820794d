#pragma once
// CSV text as spreadsheets write it: comma- or semicolon-separated fields,
// quoted with '"' where they hold a separator, a quote or a line break, a
// quote inside doubled; UTF-8 with or without a byte-order mark; lines ended
// by LF or CRLF.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kvn::csv {

using Row = std::vector<std::string>;

// A malformed text: the 1-based line where it goes wrong and why.
struct CsvError : std::runtime_error {
    CsvError(int atLine, const std::string& what) : std::runtime_error(what), line(atLine) {}
    int line;
};

// The separator of a text: ';' when its first line holds more semicolons
// outside quotes than commas, else ','.
char DetectSeparator(std::string_view text);

// Every row of `text` (byte-order mark skipped, separator detected). Blank
// lines are rows of one empty field; a last line ending is optional. An
// unterminated quote throws CsvError.
std::vector<Row> ParseCsv(std::string_view text);

// One field as written: quoted only when it must be.
std::string CsvField(std::string_view field, char separator = ',');

// One row as a line, CRLF-terminated as spreadsheets expect.
std::string CsvLine(const Row& row, char separator = ',');

}  // namespace kvn::csv
