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
#include "files/save_row.h"

namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "kvn-files-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string File(const std::string& name) const { return (fs::path(path_) / name).string(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

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
        AppendSavedCoil(table, c.spec, c.rating, c.texts);
    }
    return table;
}

// A line of an older file: percent glycol and altitude without a semicolon.
const char* kOldSteamLine =
    "1;1;58-SSDM-04830-H;AHU-1;Steam;1\";0.035;0.006;Aluminum;Corrugated;30;48.5;4;12;"
    "10.10417;5052;0; ;95.5; ;500;0.6123; ; ; ; ;5;201234.5;150432.2; ; ; 1000";

TEST(CoilFile, EveryCoilTypeRoundTripsEveryColumn) {
    TempDir dir;
    const std::string path = dir.File("coils.kvn");
    SavedCoilTable saved = EveryCoilType();
    ASSERT_TRUE(WriteCoilFile(path, saved).ok);

    const std::string text = Slurp(path);
    int lines = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line); ++lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r');
        EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 32) << line;
    }
    EXPECT_EQ(lines, 5);

    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    ASSERT_EQ(read.CoilCount(), 5);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < col::Count; ++c) {
            EXPECT_EQ(CellText(read.At(c, r)), CellText(saved.At(c, r))) << "row " << r << " col " << c;
            EXPECT_TRUE(std::holds_alternative<std::string>(read.At(c, r)));
        }
        EXPECT_TRUE(std::holds_alternative<std::monostate>(read.At(33, r)));
    }
    // The glycol coil keeps its percent and its altitude apart.
    EXPECT_EQ(CellText(read.At(col::PercentGlycol, 1)), "30");
    EXPECT_EQ(CellText(read.At(col::Altitude, 1)), "1000");
    // Written again, the file is the same.
    ASSERT_TRUE(WriteCoilFile(path, read).ok);
    EXPECT_EQ(Slurp(path), text);
}

TEST(CoilFile, SteamLineEndsWithPlaceholderSemicolons) {
    SavedCoilTable table;
    RatedCoil c = MakeRatedCoil("S");
    AppendSavedCoil(table, c.spec, c.rating, c.texts);
    const std::string line = CoilFileLine(table.Rows()[0]);
    EXPECT_EQ(line.substr(line.size() - 11), "; ; ; ;1000");
}

TEST(CoilFile, EmptyTableGivesEmptyFile) {
    TempDir dir;
    const std::string path = dir.File("none.kvn");
    ASSERT_TRUE(WriteCoilFile(path, SavedCoilTable{}).ok);
    EXPECT_EQ(Slurp(path), "");
    SavedCoilTable read = EveryCoilType();
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    EXPECT_EQ(read.CoilCount(), 0);
}

TEST(CoilFile, OlderLinesSplitAtThePlaceholder) {
    SavedCoilTable::Row row;
    ASSERT_TRUE(ParseCoilFileLine(kOldSteamLine, row).ok);
    EXPECT_EQ(CellText(row[col::Refrigerant]), " ");
    EXPECT_EQ(CellText(row[col::PercentGlycol]), " ");
    EXPECT_EQ(CellText(row[col::Altitude]), "1000");
    EXPECT_EQ(CellText(row[col::SteamPressure]), "5");

    // A glycol coil's percent and altitude cannot be told apart: kept whole.
    std::string glycol = kOldSteamLine;
    glycol.replace(glycol.size() - 5, 5, "301000");
    ASSERT_TRUE(ParseCoilFileLine(glycol, row).ok);
    EXPECT_EQ(CellText(row[col::PercentGlycol]), "301000");
    EXPECT_EQ(CellText(row[col::Altitude]), "");

    // 29 to 31 fields fill the columns they have.
    ASSERT_TRUE(ParseCoilFileLine(std::string(28, ';'), row).ok);
    EXPECT_EQ(CellText(row[col::Circuits]), "");
}

TEST(CoilFile, BlankLinesAreSkipped) {
    TempDir dir;
    const std::string path = dir.File("blank.kvn");
    std::string line = kOldSteamLine;
    Put(path, "\r\n" + line + "\r\n\r\n  \r\n" + line + "\r\n\r\n");
    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    EXPECT_EQ(read.CoilCount(), 2);
    // A last line without its line break still counts.
    Put(path, line + "\n" + line);
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    EXPECT_EQ(read.CoilCount(), 2);
}

TEST(CoilFile, MalformedAndUnreadableFilesLeaveTheTable) {
    TempDir dir;
    const SavedCoilTable before = EveryCoilType();
    auto expectUntouched = [&](const SavedCoilTable& t) {
        ASSERT_EQ(t.CoilCount(), before.CoilCount());
        for (int r = 0; r < t.CoilCount(); ++r)
            for (int c = 0; c < col::Count; ++c) EXPECT_EQ(CellText(t.At(c, r)), CellText(before.At(c, r)));
    };

    const std::string shortFile = dir.File("short.kvn");
    Put(shortFile, std::string(kOldSteamLine) + "\r\n\r\n1;2;3\r\n");
    SavedCoilTable table = before;
    CoilFileStatus s = ReadCoilFile(shortFile, table);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.line, 3);
    expectUntouched(table);
    const std::string msg = s.Message(shortFile, false);
    EXPECT_NE(msg.find(shortFile), std::string::npos);
    EXPECT_NE(msg.find("Line 3: "), std::string::npos);
    EXPECT_NE(msg.find("3 fields"), std::string::npos);

    const std::string longFile = dir.File("long.kvn");
    Put(longFile, std::string(34, ';') + "\r\n");
    s = ReadCoilFile(longFile, table);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.line, 1);
    expectUntouched(table);

    s = ReadCoilFile(dir.File("missing.kvn"), table);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.line, 0);
    EXPECT_NE(s.reason.find("No such file"), std::string::npos);
    expectUntouched(table);

    // A folder opens but cannot be read.
    s = ReadCoilFile(dir.path(), table);
    EXPECT_FALSE(s.ok);
    expectUntouched(table);
}

TEST(CoilFile, FailedWriteKeepsTheOldFileAndLeavesNoLitter) {
    TempDir dir;
    const SavedCoilTable table = EveryCoilType();

    // The target is a folder: the rename fails after the temporary file was
    // written; the folder and its contents stay, the temporary file goes.
    const std::string folder = dir.File("taken.kvn");
    fs::create_directory(folder);
    Put(folder + "/keep", "old");
    CoilFileStatus s = WriteCoilFile(folder, table);
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.Message(folder, true).find(folder), std::string::npos);
    EXPECT_EQ(Slurp(folder + "/keep"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);

    EXPECT_FALSE(WriteCoilFile(dir.File("no/such/folder/c.kvn"), table).ok);
    EXPECT_FALSE(WriteCoilFile("/proc/kvn-coils.kvn", table).ok);

    // A good write replaces the old file whole and keeps its permissions.
    const std::string path = dir.File("c.kvn");
    Put(path, "old contents that are longer than nothing");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteCoilFile(path, SavedCoilTable{}).ok);
    EXPECT_EQ(Slurp(path), "");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 2);
}

// The commands on the program-wide table.
class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        SavedCoils = EveryCoilType();
        CurrentFileName.clear();
    }
    void TearDown() override {
        SavedCoils.Reset();
        CurrentFileName.clear();
    }
    TempDir dir;
    RecordingMessageSink sink;
    ScopedMessageSink scoped{sink};
    RecordingFileDialog dialog;
};

TEST_F(FileCommands, OpenWithoutAUsableNameKeepsTheCoils) {
    dialog.answers = {"*.kvn", ""};
    EXPECT_FALSE(FileOpen(dialog));
    EXPECT_FALSE(FileOpen(dialog));   // cancelled
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.shown[0].text, "You must use a valid file name");
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(sink.shown[0].title, "Korvan");
    EXPECT_EQ(SavedCoils.CoilCount(), 5);
    EXPECT_EQ(CurrentFileName, "");
}

TEST_F(FileCommands, FailedOpenKeepsTheCoilsTheNameAndTheFile) {
    CurrentFileName = dir.File("mine.kvn");
    const std::string bad = dir.File("bad.kvn");
    Put(bad, std::string(kOldSteamLine) + "\r\nnot a coil\r\n");
    dialog.answers = {bad};
    EXPECT_FALSE(FileOpen(dialog));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find(bad), std::string::npos);
    EXPECT_NE(sink.shown[0].text.find("Line 2"), std::string::npos);
    EXPECT_EQ(SavedCoils.CoilCount(), 5);
    EXPECT_EQ(CurrentFileName, dir.File("mine.kvn"));
    EXPECT_EQ(Slurp(bad), std::string(kOldSteamLine) + "\r\nnot a coil\r\n");
}

TEST_F(FileCommands, NewThenWriteThenOpenReplacesTheCoils) {
    const std::string path = dir.File("job.kvn");
    dialog.answers = {path};
    FileNew(dialog);
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(FileWrite(dialog));   // no second question
    EXPECT_EQ(dialog.shown, 1);

    SavedCoils.Reset();
    RatedCoil c = MakeRatedCoil("W");
    AppendSavedCoil(SavedCoils, c.spec, c.rating, c.texts);
    CurrentFileName.clear();
    dialog.answers = {path};
    ASSERT_TRUE(FileOpen(dialog));    // the coil saved this run is discarded
    EXPECT_EQ(SavedCoils.CoilCount(), 5);
    EXPECT_EQ(CellText(SavedCoils.At(col::CoilType, 4)), "Condenser");
    EXPECT_EQ(CurrentFileName, path);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(FileCommands, WriteAsksForANameAndCancelWritesNothing) {
    EXPECT_FALSE(FileWrite(dialog));   // cancelled
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(CurrentFileName, "");

    dialog.answers = {dir.File("no/such/folder/c.kvn")};
    EXPECT_FALSE(FileWrite(dialog));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find("could not be written"), std::string::npos);
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);

    // New cancelled keeps the name.
    CurrentFileName = dir.File("kept.kvn");
    FileNew(dialog);
    EXPECT_EQ(CurrentFileName, dir.File("kept.kvn"));
}

}  // namespace
