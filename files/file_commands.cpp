#include "files/file_commands.h"

#include "engine/msgbox.h"
#include "files/coil_file.h"

bool SavedCoilsChanged(const CoilDocument& doc) {
    return doc.table.Rows() != doc.onFile.Rows();
}

void MarkSavedCoilsUnchanged(CoilDocument& doc) {
    doc.onFile = doc.table;
}

bool IsUnusableFileName(const std::string& name) {
    return name.empty() || name == FileDialog::kInitialName;
}

void FileNew(CoilDocument& doc, FileDialog& dialog) {
    std::string name = dialog.ShowSave();
    if (!IsUnusableFileName(name)) doc.fileName = name;
}

bool FileOpen(CoilDocument& doc, FileDialog& dialog) {
    return FileOpenNamed(doc, dialog.Show());
}

bool FileOpenNamed(CoilDocument& doc, const std::string& name) {
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
    doc.table = std::move(read);
    doc.fileName = name;
    MarkSavedCoilsUnchanged(doc);
    return true;
}

bool FileWrite(CoilDocument& doc, FileDialog& dialog) {
    if (IsUnusableFileName(doc.fileName)) {
        std::string name = dialog.ShowSave();
        if (IsUnusableFileName(name)) return false;
        doc.fileName = name;
    }
    CoilFileStatus status = WriteCoilFile(doc.fileName, doc.table);
    if (!status.ok) {
        ShowMessage(status.Message(doc.fileName, true), MsgIcon::Error);
        return false;
    }
    MarkSavedCoilsUnchanged(doc);
    return true;
}
