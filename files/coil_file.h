// The .kvn coil file: the text form of the saved-coil table.
//
// One line per saved coil, ended by carriage return and line feed; the text
// of columns 0 to 32 separated by semicolons (32 to a line). Files written
// before the percent glycol and the altitude had a semicolon between them
// have 31 semicolons a line and still read.
#pragma once

#include <sys/types.h>

#include <string>

#include "files/saved_coils.h"

// The outcome of reading or writing a coil file.
struct CoilFileStatus {
    bool ok = true;
    int line = 0;        // 1-based line of a malformed line, 0 for none
    std::string reason;  // why it failed
    // The message for the user: names the file, the line where there is one,
    // and the reason.
    std::string Message(const std::string& fileName, bool writing) const;
};

// The line of one row, without the line break.
std::string CoilFileLine(const SavedCoilTable::Row& row);
// The whole file text of a table: one line per coil, CR LF after each.
std::string CoilFileText(const SavedCoilTable& table);

// Splits one line into a row of text cells. Takes 33 fields as columns 0 to
// 32; in a line of 32 fields (an older file) the last field holds column 31
// glued to column 32 and is split after its leading placeholder space where
// there is one, else kept whole in column 31. Lines of 29 to 31 fields fill
// the columns they have. Fewer than 29 or more than 33 fields fail.
CoilFileStatus ParseCoilFileLine(const std::string& line, SavedCoilTable::Row& row);

// Reads a whole file text into `table` (reset first). Blank lines are
// skipped. On failure `table` holds what was read so far; callers read into
// a table of their own.
CoilFileStatus ParseCoilFileText(const std::string& text, SavedCoilTable& table);

// Reads the coil file `path` into `table`. On any failure (missing or
// unreadable file, malformed line) `table` is left as it was.
CoilFileStatus ReadCoilFile(const std::string& path, SavedCoilTable& table);

// Writes `table` to `path` through a temporary file beside it that is
// flushed to disk and renamed over the old file, so that a failure leaves
// the old file as it was.
CoilFileStatus WriteCoilFile(const std::string& path, const SavedCoilTable& table);

// Writes a coil file line by line, for batches too large to hold as a
// table: the lines go to a temporary file beside `path`, which Commit
// flushes to disk and renames over the old file, as WriteCoilFile does. A
// writer that is not committed removes its temporary file; after a failure
// it is closed and every further call fails.
class CoilFileWriter {
public:
    CoilFileWriter() = default;
    CoilFileWriter(const CoilFileWriter&) = delete;
    CoilFileWriter& operator=(const CoilFileWriter&) = delete;
    ~CoilFileWriter();

    CoilFileStatus Open(const std::string& path);
    CoilFileStatus Add(const SavedCoilTable::Row& row);
    CoilFileStatus Commit();

private:
    CoilFileStatus Flush();
    CoilFileStatus Abandon(const char* what);

    std::string path_, tmp_, buffer_;
    int fd_ = -1;
    mode_t mode_ = 0;
};
