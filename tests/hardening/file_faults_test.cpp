// The coil file under faults: a disk that fills up, a folder that is not
// one, a file that goes away between the dialog and the read, a file that is
// a folder or a pipe, and files far larger than any coil list. Every fault
// is a message naming the file and the reason; the old file and the table
// stay as they were; memory stays bounded.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "engine/msgbox.h"
#include "files/coil_file.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "files/saved_coils.h"
#include "tests/hardening/child_process.h"

namespace fs = std::filesystem;
using hardening::LimitFileSize;
using hardening::PeakGrowthKiB;
using hardening::RunInChild;

namespace {

// AddressSanitizer keeps freed memory in quarantine and pads every block,
// so peak memory is only compared with the text in ordinary builds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryComparable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryComparable = false;
#else
constexpr bool kMemoryComparable = true;
#endif
#else
constexpr bool kMemoryComparable = true;
#endif

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A table of `n` rated water coils as "Save" builds them.
SavedCoilTable Coils(int n) {
    CoilSpec s;
    CoilRating r;
    s.Application = "W", s.Pattern = "5", s.FinMat = "A", s.FinThk = 0.006f, s.FinHeight = 20;
    s.FL = 48, s.RD = 4, s.FPI = 12, s.Circuits = 16;
    r.CoilFaceArea = 6.666667f, r.Scfm = 2000, r.EatDb = 80, r.EatWb = 67, r.LatDb = 55.63f, r.LatWb = 54.9f;
    r.FaceVelocity = 300, r.AirPD = 0.4f, r.EntFluidTemp = 45, r.LvgFluidTemp = 52.1f, r.FluidPD = 3.2f;
    r.Gpm = 20, r.TotalBtuh = 71234.5f, r.SensibleBtuh = 52310.25f, r.Altitude = 1000;
    const SaveRowTexts texts{"1", "58-CWDM-04816-F", "AHU-1", "Water", "5", "0.020"};
    SavedCoilTable table;
    for (int i = 0; i < n; ++i) AppendSavedCoil(table, s, r, texts);
    return table;
}

bool SameCoils(const SavedCoilTable& a, const SavedCoilTable& b) {
    return CoilFileText(a) == CoilFileText(b);
}

// Answers the file dialog with a name, and runs `meanwhile` while it is
// open (as another program would).
class DialogWithSideEffect : public FileDialog {
public:
    DialogWithSideEffect(std::string name, std::function<void()> meanwhile)
        : name_(std::move(name)), meanwhile_(std::move(meanwhile)) {}
    std::string Show() override {
        meanwhile_();
        return name_;
    }

private:
    std::string name_;
    std::function<void()> meanwhile_;
};

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/kvn-faults-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
        doc.table = Coils(3);
    }
    void TearDown() override { fs::remove_all(dir); }
    int FilesInDir() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}));
    }
    // The one message shown since the test began, "" for none or several.
    std::string OnlyMessage() const { return sink.shown.size() == 1 ? sink.shown[0].text : std::string(); }

    std::string dir;
    CoilDocument doc;
    RecordingMessageSink sink;
    ScopedMessageSink scope{sink};
};

// A message that names the file and says why.
void ExpectNamesFileAndReason(const std::string& message, const std::string& path,
                              const std::string& reason) {
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(reason), std::string::npos) << message;
}

TEST_F(FileFaults, WriteIntoAFolderThatIsAFile) {
    Put(dir + "/notafolder", "plain file");
    doc.fileName = dir + "/notafolder/coils.kvn";
    RecordingFileDialog dialog;
    EXPECT_FALSE(FileWrite(doc, dialog));
    EXPECT_EQ(dialog.shown, 0);
    ExpectNamesFileAndReason(OnlyMessage(), doc.fileName, "Not a directory");
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(Slurp(dir + "/notafolder"), "plain file");
    EXPECT_EQ(doc.table.CoilCount(), 3);
}

// A full disk, simulated by a file size limit in a child process: the write
// fails with a message, and the old file and the table are as they were.
TEST_F(FileFaults, FullDiskKeepsTheOldFile) {
    const std::string path = dir + "/coils.kvn";
    const SavedCoilTable old = Coils(2);
    ASSERT_TRUE(WriteCoilFile(path, old).ok);
    const std::string oldText = Slurp(path);
    const SavedCoilTable bigger = Coils(200);
    ASSERT_GT(CoilFileText(bigger).size(), 4096u);

    // Answers: 1 the write failed with the expected message and left the
    // table alone; 0 it did not fail.
    const hardening::ChildOutcome child = RunInChild([&]() -> long {
        if (!LimitFileSize(4096)) return -2;
        RecordingMessageSink childSink;
        ScopedMessageSink childScope(childSink);
        doc.table = bigger;
        doc.fileName = path;
        RecordingFileDialog dialog;
        if (FileWrite(doc, dialog)) return 0;
        if (childSink.shown.size() != 1) return -3;
        const std::string& m = childSink.shown[0].text;
        if (m.find(path) == std::string::npos || m.find("File too large") == std::string::npos) return -4;
        return SameCoils(doc.table, bigger) ? 1 : -5;
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.answer, 1);
    EXPECT_EQ(Slurp(path), oldText);
    EXPECT_EQ(FilesInDir(), 1) << "a temporary file was left behind";
}

// The file goes away while the dialog is open: a message, and the coils of
// this session and the file name stay.
TEST_F(FileFaults, FileRemovedWhileTheDialogIsOpen) {
    const std::string path = dir + "/gone.kvn";
    ASSERT_TRUE(WriteCoilFile(path, Coils(5)).ok);
    doc.fileName = dir + "/mine.kvn";
    const std::string before = CoilFileText(doc.table);
    DialogWithSideEffect dialog(path, [&] { fs::remove(path); });
    EXPECT_FALSE(FileOpen(doc, dialog));
    ExpectNamesFileAndReason(OnlyMessage(), path, "No such file");
    EXPECT_EQ(CoilFileText(doc.table), before);
    EXPECT_EQ(doc.fileName, dir + "/mine.kvn");
}

// A file replaced by a folder or a named pipe while the dialog is open.
// Reading a pipe must not wait for a writer that never comes.
TEST_F(FileFaults, OpenAFolderOrAPipe) {
    const std::string before = CoilFileText(doc.table);
    const std::string folder = dir + "/folder.kvn";
    fs::create_directory(folder);
    RecordingFileDialog dialog;
    dialog.answers = {folder};
    EXPECT_FALSE(FileOpen(doc, dialog));
    ExpectNamesFileAndReason(OnlyMessage(), folder, "directory");

    const std::string pipe = dir + "/pipe.kvn";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    sink.shown.clear();
    // In a child with an alarm, so that a reader that blocks ends the child
    // instead of the test.
    const hardening::ChildOutcome child = RunInChild([&]() -> long {
        ::alarm(5);
        SavedCoilTable table;
        const CoilFileStatus s = ReadCoilFile(pipe, table);
        return s.ok ? 0 : (s.Message(pipe, false).find(pipe) != std::string::npos ? 1 : -1);
    });
    EXPECT_TRUE(child.exited) << "reading a pipe blocked";
    EXPECT_EQ(child.answer, 1);
    EXPECT_EQ(CoilFileText(doc.table), before);
}

// A bad line deep in a long file: the message gives its line, nothing of
// the file reaches the table.
TEST_F(FileFaults, BadLineDeepInALongFile) {
    std::string text = CoilFileText(Coils(5000));
    const std::string before = CoilFileText(doc.table);
    text += "1;2;3\r\n";
    text += CoilFileText(Coils(10));
    const std::string path = dir + "/long.kvn";
    Put(path, text);
    RecordingFileDialog dialog;
    dialog.answers = {path};
    EXPECT_FALSE(FileOpen(doc, dialog));
    ExpectNamesFileAndReason(OnlyMessage(), path, "Line 5001: the line has 3 fields");
    EXPECT_EQ(CoilFileText(doc.table), before);
}

// The extra memory a read needs beyond the table it builds, in KiB; -1
// when it cannot be measured, -2 when the read did not give `tableRows` - 1
// coils (or a refusal when `tableRows` is 0).
long ReadOverheadKiB(const std::string& path, size_t tableRows) {
    const long peak = PeakGrowthKiB([&] {
        SavedCoilTable table;
        const bool ok = ReadCoilFile(path, table).ok;
        return tableRows == 0 ? !ok : ok && table.CoilCount() + 1 == static_cast<int>(tableRows);
    });
    if (peak < 0) return peak;
    const long tableKiB = static_cast<long>(tableRows * sizeof(SavedCoilTable::Row) / 1024);
    return peak - tableKiB;
}

// 100 000 coils: they read, and reading takes the table plus no more than a
// few copies of the text.
TEST_F(FileFaults, HundredThousandLines) {
    const int n = 100000;
    const std::string path = dir + "/huge.kvn";
    {
        const std::string line = CoilFileText(Coils(1));
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < n; ++i) out << line;
    }
    const long textKiB = static_cast<long>(fs::file_size(path) / 1024);
    const long overhead = ReadOverheadKiB(path, n + 1);
    ASSERT_NE(overhead, -2) << "the file did not read as " << n << " coils";
    if (overhead == -1) GTEST_SKIP() << "peak memory cannot be measured here";
    std::printf("[ memory   ] %d lines, %ld KiB of text: %ld KiB beyond the table\n", n, textKiB, overhead);
    if (kMemoryComparable) {
        EXPECT_LT(overhead, 4 * textKiB);
    }
}

// Files that are not coil lists but stay under the size limit: one line of
// nothing but semicolons, and millions of minimal lines. Both are refused
// without building a table many times the size of the file.
TEST_F(FileFaults, HostileLargeFilesAreRefusedWithBoundedMemory) {
    const std::string semicolons = dir + "/semicolons.kvn";
    Put(semicolons, std::string(size_t{32} << 20, ';'));
    const std::string minimal = dir + "/minimal.kvn";
    {
        const std::string line = std::string(28, ';') + "\n";
        std::ofstream out(minimal, std::ios::binary);
        for (size_t bytes = 0; bytes < (size_t{32} << 20); bytes += line.size()) out << line;
    }
    for (const auto& [path, reason] : {std::pair{semicolons, "Line 1: the line has 33554433 fields"},
                                       std::pair{minimal, "more than 200000 lines"}}) {
        const long textKiB = static_cast<long>(fs::file_size(path) / 1024);
        doc.table = Coils(2);
        RecordingFileDialog dialog;
        dialog.answers = {path};
        EXPECT_FALSE(FileOpen(doc, dialog)) << path;
        ExpectNamesFileAndReason(sink.shown.empty() ? "" : sink.shown.back().text, path, reason);
        EXPECT_EQ(doc.table.CoilCount(), 2) << path;
        const long overhead = ReadOverheadKiB(path, 0);
        ASSERT_NE(overhead, -2) << path << " was not refused";
        if (overhead == -1) GTEST_SKIP() << "peak memory cannot be measured here";
        std::printf("[ memory   ] %s, %ld KiB of text: %ld KiB at the peak\n",
                    fs::path(path).filename().c_str(), textKiB, overhead);
        if (kMemoryComparable) {
            EXPECT_LT(overhead, 4 * textKiB) << path;
        }
    }
}

}  // namespace
