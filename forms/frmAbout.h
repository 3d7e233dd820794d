// frmAbout: the modal about box with the program's title and version.
#pragma once

#include <QDialog>
#include <string>

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "System Info...": shows the operating system, the Qt version and the
    // Hygrel32 library in use.
    void cmdSysInfo_Click();
    // The text that "System Info..." shows.
    static std::string SystemInfoText();
};
