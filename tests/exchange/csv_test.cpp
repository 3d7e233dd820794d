#include "exchange/csv.h"

#include <gtest/gtest.h>

using kvn::csv::CsvLine;
using kvn::csv::ParseCsv;
using kvn::csv::Row;

TEST(Csv, ReadsWhatSpreadsheetsWrite) {
    // Byte-order mark, CRLF, quotes with a doubled quote and a line break,
    // an empty field, and no final line ending.
    const auto rows =
        ParseCsv("\xEF\xBB\xBFTag,Acfm,Note\r\nCC-1,2000,\"say \"\"hi\"\",\nthere\"\r\nHC-2,,x");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (Row{"Tag", "Acfm", "Note"}));
    EXPECT_EQ(rows[1], (Row{"CC-1", "2000", "say \"hi\",\nthere"}));
    EXPECT_EQ(rows[2], (Row{"HC-2", "", "x"}));
}

TEST(Csv, SemicolonsWhereCommasAreDecimalMarks) {
    const auto rows = ParseCsv("Tag;Note\n\"a;b\";1,5\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (Row{"a;b", "1,5"}));
}

TEST(Csv, UnclosedQuoteNamesItsLine) {
    try {
        ParseCsv("Tag\nok\n\"open\nstill");
        FAIL() << "no error";
    } catch (const kvn::csv::CsvError& e) {
        EXPECT_EQ(e.line, 3);
    }
}

TEST(Csv, WrittenRowsReadBackTheSame) {
    const std::vector<Row> rows = {{"Tag", "Note", ""}, {"CC-1", "a,\"b\"\r\nc", "x;y"}};
    for (char sep : {',', ';'}) {
        std::string text;
        for (const auto& r : rows) text += CsvLine(r, sep);
        EXPECT_EQ(ParseCsv(text), rows) << sep;
    }
}
