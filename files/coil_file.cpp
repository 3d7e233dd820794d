#include "files/coil_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "files/save_row.h"

namespace {

// A coil file is a few hundred bytes a coil; anything this large is not one.
constexpr size_t kMaxFileBytes = 64u << 20;
// The most lines a coil file may have (each coil read takes about 1.4 KB).
constexpr size_t kMaxLines = 200000;
// The least number of fields of a coil line (columns 0 to 28).
constexpr size_t kMinFields = 29;

CoilFileStatus Fail(std::string reason, int line = 0) {
    CoilFileStatus s;
    s.ok = false;
    s.line = line;
    s.reason = std::move(reason);
    return s;
}

CoilFileStatus FailErrno(const char* what) {
    return Fail(std::string(what) + ": " + std::strerror(errno));
}

bool IsBlankLine(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t semi = line.find(';', start);
        if (semi == std::string::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, semi - start));
        start = semi + 1;
    }
}

}  // namespace

std::string CoilFileStatus::Message(const std::string& fileName, bool writing) const {
    std::string text =
        writing ? "The coil file could not be written:\n" : "The coil file could not be opened:\n";
    text += fileName;
    text += "\n";
    if (line > 0) text += "Line " + std::to_string(line) + ": ";
    text += reason;
    return text;
}

std::string CoilFileLine(const SavedCoilTable::Row& row) {
    std::string line;
    for (int c = 0; c < col::Count; ++c) {
        if (c > 0) line += ';';
        line += CellText(row[c]);
    }
    return line;
}

std::string CoilFileText(const SavedCoilTable& table) {
    std::string text;
    const auto& rows = table.Rows();
    for (int r = 0; r < table.CoilCount(); ++r) {
        text += CoilFileLine(rows[r]);
        text += "\r\n";
    }
    return text;
}

CoilFileStatus ParseCoilFileLine(const std::string& line, SavedCoilTable::Row& row) {
    // Counted before splitting, so that a line of millions of semicolons is
    // refused without building millions of fields.
    const size_t n = static_cast<size_t>(std::count(line.begin(), line.end(), ';')) + 1;
    if (n < kMinFields) return Fail("the line has " + std::to_string(n) + " fields; a coil line has 33");
    if (n > static_cast<size_t>(col::Count))
        return Fail("the line has " + std::to_string(n) +
                    " fields; a coil line has 33 (is there a semicolon in a text?)");
    std::vector<std::string> fields = Split(line);
    row = SavedCoilTable::Row{};
    if (n == static_cast<size_t>(col::Count) - 1) {
        // Older line: percent glycol and altitude glued together in the last
        // field. A non-glycol coil's placeholder space marks the split.
        std::string last = std::move(fields.back());
        fields.pop_back();
        if (!last.empty() && last[0] == ' ') {
            fields.push_back(" ");
            fields.push_back(last.substr(1));
        } else {
            fields.push_back(std::move(last));
        }
    }
    for (size_t c = 0; c < fields.size(); ++c) row[c] = std::move(fields[c]);
    return {};
}

CoilFileStatus ParseCoilFileText(const std::string& text, SavedCoilTable& table) {
    table.Reset();
    // A row of the table takes far more memory than its line of text, so a
    // file of many short lines is refused before any row is built.
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (lines > kMaxLines)
        return Fail("the file has more than " + std::to_string(kMaxLines) +
                    " lines; a coil file holds at most " + std::to_string(kMaxLines) + " coils");
    table.Rows().reserve(lines + 1);
    size_t start = 0;
    int lineNumber = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (IsBlankLine(line)) continue;
        SavedCoilTable::Row row;
        CoilFileStatus s = ParseCoilFileLine(line, row);
        if (!s.ok) {
            s.line = lineNumber;
            return s;
        }
        const int r = table.CoilCount();
        table.Rows()[r] = std::move(row);
        table.Rows().emplace_back();
    }
    return {};
}

CoilFileStatus ReadCoilFile(const std::string& path, SavedCoilTable& table) {
    // Opened without waiting, so that a named pipe or a device does not
    // block the program until a writer turns up; only plain files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FailErrno("cannot open the file");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        CoilFileStatus s = Fail(std::string("cannot read the file: ") +
                                (S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "it is not a plain file"));
        ::close(fd);
        return s;
    }
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        CoilFileStatus s = FailErrno("cannot open the file");
        ::close(fd);
        return s;
    }
    std::string text;
    if (st.st_size > 0) text.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), kMaxFileBytes + 1));
    char buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) {
        text.append(buf, got);
        if (text.size() > kMaxFileBytes) {
            std::fclose(f);
            return Fail("the file is too large to be a coil file");
        }
    }
    if (std::ferror(f)) {
        CoilFileStatus s = FailErrno("cannot read the file");
        std::fclose(f);
        return s;
    }
    std::fclose(f);
    SavedCoilTable read;
    CoilFileStatus s = ParseCoilFileText(text, read);
    if (s.ok) table = std::move(read);
    return s;
}

CoilFileWriter::~CoilFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tmp_.c_str());
    }
}

CoilFileStatus CoilFileWriter::Abandon(const char* what) {
    CoilFileStatus s = FailErrno(what);
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(tmp_.c_str());
        fd_ = -1;
    }
    return s;
}

CoilFileStatus CoilFileWriter::Open(const std::string& path) {
    path_ = path;
    // The new file keeps the permissions of the one it replaces; a new one
    // gets the usual permissions for a new file.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        mode_ = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    std::string tmp = path + ".XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    fd_ = ::mkstemp(name.data());
    if (fd_ < 0) return FailErrno("cannot create a file in its folder");
    tmp_.assign(name.data());
    return {};
}

CoilFileStatus CoilFileWriter::Flush() {
    size_t done = 0;
    while (done < buffer_.size()) {
        ssize_t w = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return Abandon("cannot write the file");
        }
        done += static_cast<size_t>(w);
    }
    buffer_.clear();
    return {};
}

CoilFileStatus CoilFileWriter::Add(const SavedCoilTable::Row& row) {
    if (fd_ < 0) return Fail("the file is not open");
    buffer_ += CoilFileLine(row);
    buffer_ += "\r\n";
    if (buffer_.size() >= (64u << 10)) return Flush();
    return {};
}

CoilFileStatus CoilFileWriter::Commit() {
    if (fd_ < 0) return Fail("the file is not open");
    if (CoilFileStatus s = Flush(); !s.ok) return s;
    if (::fchmod(fd_, mode_) != 0) return Abandon("cannot set the file's permissions");
    if (::fsync(fd_) != 0) return Abandon("cannot write the file to disk");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        CoilFileStatus s = FailErrno("cannot write the file");
        ::unlink(tmp_.c_str());
        return s;
    }
    if (::rename(tmp_.c_str(), path_.c_str()) != 0) {
        CoilFileStatus s = FailErrno("cannot replace the file");
        ::unlink(tmp_.c_str());
        return s;
    }
    return {};
}

CoilFileStatus WriteCoilFile(const std::string& path, const SavedCoilTable& table) {
    CoilFileWriter writer;
    if (CoilFileStatus s = writer.Open(path); !s.ok) return s;
    const auto& rows = table.Rows();
    for (int r = 0; r < table.CoilCount(); ++r)
        if (CoilFileStatus s = writer.Add(rows[r]); !s.ok) return s;
    return writer.Commit();
}
