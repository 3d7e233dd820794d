// Form1 "Korvan": the coil selection window, the program's main window.
//
// The window holds the start panel (coil type options), the title block, the
// coil panel (construction fields, entering conditions, results grid) and the
// report header panel, with menus, toolbar and status bar. It owns the
// program-wide CoilSpec and CoilRating for the life of the program.
//
// Every control carries its program name as its Qt object name; control
// arrays are named with their index in brackets: "txtProperty(4)",
// "txtHdr(1)", "txtCPS(0)", "optCoil(2)", "cmdPrint(1)", "Frame1(3)",
// "lblEntConditions(6)", "lblPhy(10)". Menu commands are QActions named
// "mnuFileNew", "mnuFileOpen", "mnuFilePrintSetup", "mnuFilePrint",
// "mnuFileExit", "mnuHelpAbout"; the menus are QMenus named "mnuFile",
// "mnuTools" and "mnuHelp". The toolbar "Toolbar1" holds QActions named by their keys
// "New", "Open", "Save", "Print". The status bar "StatusBar1" shows the
// QLabels "StatusPanel(1)" to "StatusPanel(4)" (code, meaning, time, date).
// Units stand in QLabels beside their fields: "lblUnitTubeOD" (the tube's
// outside diameter), "lblUnitWallThk", "lblUnitFinThk", "lblUnitFL" and
// "lblUnitSteamPres".
//
// The command handlers are split over several files: Form1.cpp (the window
// itself), Form1_files.cpp (saving a coil, the Saved Coils list, the coil
// file commands), Form1_print.cpp (the performance sheet, printer setup,
// the multi-coil printout), Form1_chart.cpp (the psychrometric chart) and
// Form1_desktop.cpp (Enter, the mouse wheel over choice lists, copying
// results, the unit labels).
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <string>

#include "common/units.h"
#include "common/warnings.h"
#include "engine/records.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolBar;
class QGridLayout;

class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The coil on screen: filled by CalcPerform, read by printing and saving.
    CoilSpec coilSpec;
    CoilRating coilRating;
    std::vector<CoilWarning> coilWarnings;  // engineering warnings of the last rating
    // Which air-flow field is in use: 1 actual cfm, 2 standard cfm, 3 face
    // velocity.
    int16_t AirFlowMode = 1;

    // ---- Controls by object name -------------------------------------
    // Any child widget of the window (nullptr when there is none).
    QWidget* Control(const QString& name) const;
    QLineEdit* Text(const QString& name) const;
    QComboBox* Combo(const QString& name) const;
    QPushButton* Button(const QString& name) const;
    QAction* Action(const QString& name) const;
    QLabel* Label(const QString& name) const;
    // The text of a text box, multi-line box, choice list or label by name
    // ("" when there is no such control).
    std::string FieldText(const QString& name) const;
    // Sets the text of a text box, multi-line box, choice list or label.
    void SetFieldText(const QString& name, const std::string& text);

    // ---- Procedures of the window ------------------------------------
    // Validates the fields, rates the coil and lists the results. True when
    // the coil was rated and listed.
    bool CalcPerform();
    // Refills the wall and fin-thickness lists for the coil type and tube.
    void PopulateBoxes();
    // Lays out the entering-conditions frame for the coil type.
    void AdjustEntCond();
    // Tube size hint in the status bar.
    void ODStatus();
    // The two text panels of the status bar (panel 1 first, then panel 2).
    void SetStatus(const QString& code, const QString& meaning);
    QString StatusText(int panel) const;
    // Shows exactly one of the panels 0 (start), 3 (coil), 4 (report header).
    void ShowPanel(int index);
    // The panel shown now: 0, 3 or 4.
    int CurrentPanel() const;

    // ---- Handlers of the window's own controls ------------------------
    void optCoil_Click(int index);
    void Command1_Click(int index);      // 0 Select, 1 Exit
    void cboTubeOD_Click();
    void cboCoilType_Click();
    void cmdAirFlow_Click();
    void cmdSteam_Click();
    void cmdCalc_Click();
    void cmdPrint0_Click();              // "&Print" on the coil panel
    void cmdHdr0_Click();                // "&Cancel" on the header panel
    void cmdClose_Click();               // "&Cancel" on the coil panel
    void mnuFile_Click();                // the File menu opens
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void Toolbar1_ButtonClick(const QString& key);

    // ---- Saving, the Saved Coils list, the coil file (Form1_files.cpp) --
    // True when these commands are in place; otherwise their controls stay
    // disabled.
    bool FileCommandsAvailable() const;
    // Called once at the end of construction, after all controls exist.
    void InitFileCommands();
    void cmdSave_Click();                // "&Save" on the header panel
    void cmdView_Click();                // "&View" on the header panel
    void mnuFileOpen_Click();            // File "&Open..." and toolbar "Open"
    void OpenCoilFile(const std::string& name);  // Open with the file named (kvn FILE)
    void mnuFileNew_Click();             // File "&New..." and toolbar "New"
    // Before the saved coils are left behind (Exit, New, Open): when they
    // changed since the coil file was last written or read, asks "Save
    // changes to the coil list?"; Yes writes them. False when the command
    // is to stop: Cancel, or a write that did not happen.
    bool OfferToWriteSavedCoils();

    // ---- Printing (Form1_print.cpp) ------------------------------------
    bool PrintCommandsAvailable() const;
    void InitPrintCommands();
    void cmdFinish_Click();              // "&Finish" on the header panel
    void mnuFilePrintSetup_Click();      // File "Print &Setup..."
    void mnuFilePrint_Click();           // File "&Print..." and toolbar "Print"

    // ---- Units of entry and display (Form1_units.cpp) --------------------
    // Inch-pound (the default) or SI, chosen in the Tools menu and
    // remembered between sessions (the checkable QActions
    // "mnuToolsUnitsIP" and "mnuToolsUnitsSI"). The records, the coil file
    // and the model designation stay inch-pound either way.
    units::System UnitSystem() const { return units_; }
    // Converts the values shown in the entry fields and the results grid to
    // `system` and retexts the captions; rates nothing.
    void SetUnitSystem(units::System system);
    // Tools menu items and the remembered choice; once, at construction.
    void InitUnits();

    // ---- The psychrometric chart (Form1_chart.cpp) ----------------------
    void InitChartCommands();
    void mnuToolsChart_Click();          // Tools "Psych&rometric Chart..." and "Ps&ychrometric Chart"

    // The rows of the results grid as tab-separated text, one line a row:
    // the selected rows, or every row when none is selected.
    QString ResultsText() const;
    // Copies ResultsText() to the clipboard (Ctrl+C and "Copy" on the grid).
    void CopyResults();

signals:
    // A coil was rated and listed in the results grid.
    void Rated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    QWidget* BuildStartPanel();
    QWidget* BuildTitleBlock();
    QWidget* BuildCoilPanel();
    QWidget* BuildConstructionFrame();
    QWidget* BuildEntCondFrame();
    QWidget* BuildHeaderPanel();
    void WatchFocus(QWidget* w);
    void OnFocus(QWidget* w);
    void UpdateClock();
    // Keyboard, mouse wheel, results grid and unit labels
    // (Form1_desktop.cpp); called once at the end of construction.
    void InitDesktop();
    void UpdateTubeSizeLabel();

    QGridLayout* entCondGrid_ = nullptr;
    QTimer* clock_ = nullptr;
    QMenu* mnuTools_ = nullptr;          // "T&ools"
    QWidget* chartWindow_ = nullptr;     // the chart window once opened

    void ApplyUnitCaptions();
    void FillGrid(const std::vector<GridRow>& rows);
    units::System units_ = units::System::InchPound;
    units::EntryMemory entryMemory_;
    std::vector<GridRow> ipGrid_;  // the last results as the driver lists them
};

// The window of the running program (nullptr when there is none); the other
// windows and the reports read the header fields through it.
Form1* TheForm1();

// Puts the caret at the start of a text box and selects all of its text.
void SelectAllText(QLineEdit* box);
void SelectAllText(QPlainTextEdit* box);
