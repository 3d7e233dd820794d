// The coil file commands of the program: New, Open and Write.
//
// They work on the CoilDocument they are given, ask for a file name through
// a FileDialog and report failures through the current MessageSink, so that
// the window and the tests share them.
#pragma once

#include <deque>
#include <string>

#include "files/saved_coils.h"

// The coil form's open-file dialog: title "Korvan", filter
// "KVN File (*.kvn)", default extension "kvn", initial name "*.kvn". Named
// to write a file, it is titled "Save Coil List" and proposes "coils.kvn".
class FileDialog {
public:
    static constexpr const char* kTitle = "Korvan";
    static constexpr const char* kFilter = "KVN File (*.kvn)";
    static constexpr const char* kDefaultExt = "kvn";
    static constexpr const char* kInitialName = "*.kvn";
    static constexpr const char* kSaveTitle = "Save Coil List";
    static constexpr const char* kProposedName = "coils.kvn";

    virtual ~FileDialog() = default;
    // Shows the dialog and returns the chosen file name, "" when cancelled.
    virtual std::string Show() = 0;
    // The same dialog for naming a file to write: it asks before a file
    // that exists is replaced.
    virtual std::string ShowSave() { return Show(); }
    // Naming a new file for the list now in `current` ("" for none), which
    // it proposes.
    virtual std::string ShowSaveAs(const std::string& current) {
        (void)current;
        return ShowSave();
    }
};

// Answers with prepared names in order ("" once they run out) and counts
// how often it was shown.
class RecordingFileDialog : public FileDialog {
public:
    std::string Show() override {
        ++shown;
        if (answers.empty()) return {};
        std::string name = answers.front();
        answers.pop_front();
        return name;
    }
    std::string ShowSave() override {
        ++saveShown;
        return Show();
    }
    std::deque<std::string> answers;
    int shown = 0;
    int saveShown = 0;  // of `shown`, how often to name a file to write
};

// True for a name that names no file: empty, or the dialog's initial pattern.
bool IsUnusableFileName(const std::string& name);

// True when the document's table differs from its table on file: as it was
// last written to or read from its coil file, or as it was when marked
// unchanged.
bool SavedCoilsChanged(const CoilDocument& doc);
// Takes the document's table as it is now as its table on file.
void MarkSavedCoilsUnchanged(CoilDocument& doc);

// New: asks for a name and makes it the document's file name. Nothing is
// created or read. Cancelling keeps the current name.
void FileNew(CoilDocument& doc, FileDialog& dialog);

// Open: asks for a name and reads that coil file into a new table, which
// replaces the document's table (and its file name) only when the whole
// file was read. Shows "You must use a valid file name" for the initial
// pattern or no name, and a message naming the file, the line and the
// reason for a file that cannot be read. Returns true when the table was
// replaced and the Saved Coils list is to be shown.
bool FileOpen(CoilDocument& doc, FileDialog& dialog);

// Open with the file already named (the program's command line): the same
// checks, messages and result as FileOpen when the dialog answers `name`.
bool FileOpenNamed(CoilDocument& doc, const std::string& name);

// Write: writes the document's table to its file, asking for a name first
// when there is none; does nothing when none is given. A failure shows a
// message and leaves the old file as it was. Returns true when the file was
// written.
bool FileWrite(CoilDocument& doc, FileDialog& dialog);
