#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "coil_fixtures.h"
#include "engine/msgbox.h"
#include "files/coil_file.h"
#include "files/file_commands.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

SavedCoilTable EveryCoilType() {
    SavedCoilTable table;
    for (const char* app : {"W", "G", "S", "E", "C"}) {
        RatedCoil c = MakeRatedCoil(app);
        AppendSavedCoil(table, c.coilSpec, c.rating, c.texts);
    }
    return table;
}

void ExpectSameCoils(const SavedCoilTable& a, const SavedCoilTable& b) {
    ASSERT_EQ(a.CoilCount(), b.CoilCount());
    for (int r = 0; r < a.CoilCount(); ++r)
        for (int c = 0; c < col::Count; ++c)
            EXPECT_EQ(CellText(a.At(c, r)), CellText(b.At(c, r))) << "row " << r << " column " << c;
}

// A steam coil's line from a file written with 31 semicolons a line.
const std::string kOldSteamLine =
    "1;1;58-SSDM-04830-H;AHU-1;Steam;1\";0.035;0.006;Aluminum;Corrugated;30;48.5;4;12;"
    "10.10417;5052;0; ;95.5; ;500;0.6123; ; ; ; ;5;201234.5;150432.2; ; ; 1000";

class CoilFile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kvn-files-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string dir;
    CoilDocument doc;
};

TEST_F(CoilFile, EveryCoilTypeRoundTripsEveryColumn) {
    const std::string path = dir + "/coils.kvn";
    const SavedCoilTable saved = EveryCoilType();
    ASSERT_TRUE(WriteCoilFile(path, saved).ok);
    const std::string text = Slurp(path);
    std::istringstream lines(text);
    int n = 0;
    for (std::string line; std::getline(lines, line); ++n) {
        EXPECT_EQ(line.back(), '\r');
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 32) << line;
    }
    EXPECT_EQ(n, 5);

    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    ExpectSameCoils(read, saved);
    EXPECT_EQ(CellText(read.At(col::PercentGlycol, 1)) + "|" + CellText(read.At(col::Altitude, 1)),
              "30|1000");
    ASSERT_TRUE(WriteCoilFile(path, read).ok);
    EXPECT_EQ(Slurp(path), text);  // read cells are texts that write back alike
}

TEST_F(CoilFile, OlderLinesAndBlankLines) {
    std::string glycol = kOldSteamLine;
    glycol.replace(glycol.size() - 5, 5, "301000");  // percent and altitude glued
    Put(dir + "/old.kvn", "\r\n" + kOldSteamLine + "\r\n\r\n  \r\n" + glycol);
    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(dir + "/old.kvn", read).ok);
    ASSERT_EQ(read.CoilCount(), 2);
    EXPECT_EQ(CellText(read.At(col::PercentGlycol, 0)), " ");
    EXPECT_EQ(CellText(read.At(col::Altitude, 0)), "1000");
    EXPECT_EQ(CellText(read.At(col::SteamPressure, 0)), "5");
    EXPECT_EQ(CellText(read.At(col::PercentGlycol, 1)), "301000");
    EXPECT_EQ(CellText(read.At(col::Altitude, 1)), "");
}

TEST_F(CoilFile, BadFilesLeaveTheTableAndSayWhere) {
    const SavedCoilTable before = EveryCoilType();
    SavedCoilTable table = before;
    Put(dir + "/short.kvn", kOldSteamLine + "\r\n\r\n1;2;3\r\n");
    CoilFileStatus s = ReadCoilFile(dir + "/short.kvn", table);
    EXPECT_FALSE(s.ok);
    const std::string msg = s.Message(dir + "/short.kvn", false);
    EXPECT_NE(msg.find(dir + "/short.kvn"), std::string::npos) << msg;
    EXPECT_NE(msg.find("Line 3: the line has 3 fields"), std::string::npos) << msg;
    Put(dir + "/long.kvn", std::string(34, ';'));
    EXPECT_EQ(ReadCoilFile(dir + "/long.kvn", table).line, 1);
    EXPECT_NE(ReadCoilFile(dir + "/missing.kvn", table).reason.find("No such file"), std::string::npos);
    EXPECT_FALSE(ReadCoilFile(dir, table).ok);  // a folder opens but does not read
    ExpectSameCoils(table, before);
}

TEST_F(CoilFile, FailedWriteKeepsTheOldFileAndLeavesNoLitter) {
    const SavedCoilTable table = EveryCoilType();
    const std::string taken = dir + "/taken.kvn";  // a folder: the final rename fails
    fs::create_directory(taken);
    Put(taken + "/keep", "old");
    EXPECT_FALSE(WriteCoilFile(taken, table).ok);
    EXPECT_EQ(Slurp(taken + "/keep"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);
    EXPECT_FALSE(WriteCoilFile(dir + "/no/such/folder/c.kvn", table).ok);
    EXPECT_FALSE(WriteCoilFile("/proc/kvn-coils.kvn", table).ok);

    const std::string path = dir + "/c.kvn";  // replaced whole, permissions kept
    Put(path, "old contents");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteCoilFile(path, SavedCoilTable{}).ok);
    EXPECT_EQ(Slurp(path), "");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(CoilFile, OpenReplacesTheCoilsOnlyWhenTheWholeFileReads) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    RecordingFileDialog dialog;
    doc.table = EveryCoilType();
    doc.fileName = dir + "/mine.kvn";
    Put(dir + "/bad.kvn", kOldSteamLine + "\r\nnot a coil\r\n");
    dialog.answers = {"*.kvn", "", dir + "/bad.kvn"};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(FileOpen(doc, dialog));
    ASSERT_EQ(sink.shown.size(), 3u);
    EXPECT_EQ(sink.shown[0].text, "You must use a valid file name");
    EXPECT_EQ(sink.shown[1].text, "You must use a valid file name");
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);
    EXPECT_NE(sink.shown[2].text.find("Line 2"), std::string::npos);
    EXPECT_EQ(doc.table.CoilCount(), 5);
    EXPECT_EQ(doc.fileName, dir + "/mine.kvn");

    // New names the file, Write uses it without asking, Open reads it back.
    const std::string path = dir + "/job.kvn";
    dialog.answers = {path};
    dialog.shown = 0;
    FileNew(doc, dialog);
    ASSERT_TRUE(FileWrite(doc, dialog));
    EXPECT_EQ(dialog.shown, 1);
    const SavedCoilTable written = doc.table;
    doc.table.Reset();
    dialog.answers = {path};
    ASSERT_TRUE(FileOpen(doc, dialog));
    ExpectSameCoils(doc.table, written);

    doc.fileName.clear();  // Write cancelled: nothing written, nothing said
    EXPECT_FALSE(FileWrite(doc, dialog));
    EXPECT_EQ(sink.shown.size(), 3u);
}

// Each document keeps its own table, file name and table on file.
TEST_F(CoilFile, DocumentsShareNoState) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    CoilDocument other;
    doc.table = EveryCoilType();
    EXPECT_TRUE(SavedCoilsChanged(doc));
    EXPECT_FALSE(SavedCoilsChanged(other));
    RecordingFileDialog dialog;
    dialog.answers = {dir + "/one.kvn"};
    ASSERT_TRUE(FileWrite(doc, dialog));
    EXPECT_FALSE(SavedCoilsChanged(doc));
    EXPECT_EQ(other.fileName, "");
    EXPECT_EQ(other.table.CoilCount(), 0);

    // The same coils are unwritten in the other document until it is marked.
    other.table = doc.table;
    EXPECT_TRUE(SavedCoilsChanged(other));
    MarkSavedCoilsUnchanged(other);
    doc.table.Reset();
    EXPECT_FALSE(SavedCoilsChanged(other));
    EXPECT_TRUE(SavedCoilsChanged(doc));
    EXPECT_TRUE(sink.shown.empty());
}

}  // namespace
