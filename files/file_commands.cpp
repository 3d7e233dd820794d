#include "files/file_commands.h"

#include "engine/msgbox.h"
#include "files/coil_file.h"
#include "files/saved_coils.h"

namespace {
// SavedCoils as last written or read.
SavedCoilTable& TableOnFile() {
    static SavedCoilTable table;
    return table;
}
}  // namespace

bool SavedCoilsChanged() { return SavedCoils.Rows() != TableOnFile().Rows(); }

void MarkSavedCoilsUnchanged() { TableOnFile() = SavedCoils; }

bool IsUnusableFileName(const std::string& name) {
    return name.empty() || name == FileDialog::kInitialName;
}

void FileNew(FileDialog& dialog) {
    std::string name = dialog.ShowSave();
    if (!IsUnusableFileName(name)) CurrentFileName = name;
}

bool FileOpen(FileDialog& dialog) { return FileOpenNamed(dialog.Show()); }

bool FileOpenNamed(const std::string& name) {
    if (IsUnusableFileName(name)) {
        ShowMessage("You must use a valid file name", MsgIcon::Error);
        return false;
    }
    SavedCoilTable read;
    CoilFileStatus status = ReadCoilFile(name, read);
    if (!status.ok) {
        ShowMessage(status.Message(name, false), MsgIcon::Error);
        return false;
    }
    SavedCoils = std::move(read);
    CurrentFileName = name;
    MarkSavedCoilsUnchanged();
    return true;
}

bool FileWrite(FileDialog& dialog) {
    if (IsUnusableFileName(CurrentFileName)) {
        std::string name = dialog.ShowSave();
        if (IsUnusableFileName(name)) return false;
        CurrentFileName = name;
    }
    CoilFileStatus status = WriteCoilFile(CurrentFileName, SavedCoils);
    if (!status.ok) {
        ShowMessage(status.Message(CurrentFileName, true), MsgIcon::Error);
        return false;
    }
    MarkSavedCoilsUnchanged();
    return true;
}
