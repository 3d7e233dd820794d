// The coil form's open-file dialog (CommonDialog1) on screen.
#pragma once

#include <QString>

#include "files/file_commands.h"

class QWidget;

// The toolkit's file dialog with the coil file settings: title "Korvan",
// filter "KVN File (*.kvn)", default extension "kvn", initial name "*.kvn".
// Names that need not exist yet are accepted, so New can name a new file.
// ShowSave shows it as a save dialog titled "Save Coil List", proposing
// "coils.kvn" (ShowSaveAs the current file), which asks before replacing a
// file.
class QtFileDialog : public FileDialog {
public:
    // Without a parent the dialog sits over the active window.
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::string Show() override { return Run(false, {}); }
    std::string ShowSave() override { return Run(true, {}); }
    std::string ShowSaveAs(const std::string& current) override { return Run(true, current); }

private:
    std::string Run(bool save, const std::string& proposal = {});

    QWidget* parent_;
    QString folder_;  // the folder of the last chosen file
};

// The dialog the coil file commands use: the installed one, or else one
// dialog on screen shared by all windows, so that it remembers its folder.
FileDialog& CoilFileDialog();
// Installs a dialog (a recorder in tests); nullptr goes back to the screen.
void SetCoilFileDialog(FileDialog* dialog);
