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
// "mnuFileExit", "mnuHelpAbout", and beside them "mnuFileSaveList",
// "mnuFileSaveListAs", "mnuFileImport", "mnuFileSaveCoil", "mnuEditUndo",
// "mnuEditRedo"; the menus are QMenus named "mnuFile" (with the submenu
// "mnuFileRecent"), "mnuEdit", "mnuTools" and "mnuHelp". The toolbar "Toolbar1" holds QActions named by their
// keys "New", "Open", "Save", "Print". The status bar "StatusBar1" shows the QLabels "StatusPanel(1)" to
// "StatusPanel(4)" (code, meaning, time, date). Units stand in QLabels beside their fields: "lblUnitTubeOD"
// (the tube's outside diameter), "lblUnitWallThk", "lblUnitFinThk", "lblUnitFL" and "lblUnitSteamPres".
//
// The command handlers are split over several files: Form1.cpp (the window
// itself), Form1_layout.cpp (building the menus, toolbar, status bar and
// panels), Form1_files.cpp (saving a coil, the Saved Coils list, the coil
// file commands), Form1_entcond.cpp (the entering conditions' rows and
// toggles), Form1_print.cpp (the performance sheet, printer setup,
// the multi-coil printout), Form1_chart.cpp (the psychrometric chart) and
// Form1_desktop.cpp (Enter, the mouse wheel over choice lists, copying
// results, the unit labels) and Form1_list.cpp (the Saved Coils list's
// commands beside the original ones, undo and redo, the title).
#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <string>

#include "common/units.h"
#include "common/warnings.h"
#include "engine/records.h"
#include "forms/form1_model.h"
#include "forms/widgets.h"
#include "reports/multi_coil_report.h"

class CoilListHistory;
class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class QToolBar;
class QGridLayout;
class QLayout;
struct CoilDocument;
namespace reports {
struct SheetTexts;
}

class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // Shows, prints and saves `document` (the saved coils and their file),
    // which must outlive the window.
    explicit Form1(CoilDocument& document, QWidget* parent = nullptr);
    ~Form1() override;

    // The coil document the window works on.
    CoilDocument& Document() const { return document_; }
    // To be called after every change of the document (a coil saved or
    // deleted, a coil file read, written or begun): emits DocumentChanged,
    // from which the commands take their states.
    void NoteDocumentChanged();

    // The coil on screen: filled by CalcPerform, read by printing and saving.
    CoilSpec coilSpec;
    CoilRating coilRating;
    std::vector<CoilWarning> coilWarnings;  // engineering warnings of the last rating
    // Which air-flow field is in use: 1 actual cfm, 2 standard cfm, 3 face
    // velocity.
    int16_t AirFlowMode = 1;

    // ---- Controls by object name -------------------------------------
    // For callers outside the window (the selection command, tests); the
    // window itself keeps its controls in typed members.
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
    // Any edit of a coil field after a rating empties the warnings line: its
    // warnings were of the coil as it was rated.
    void WatchForStaleWarnings();
    // The panel shown now: 0, 3 or 4.
    int CurrentPanel() const;
    // The coil type chosen and the panel shown.
    const form1::WindowState& State() const { return state_; }

    // ---- Handlers of the window's own controls ------------------------
    void optCoil_Click(int index);
    void Command1_Click(int index);  // 0 Select, 1 Exit
    void cboTubeOD_Click();
    void cboCoilType_Click();
    void cmdAirFlow_Click();
    void cmdSteam_Click();
    void cmdCalc_Click();
    void cmdPrint0_Click();  // "&Print" on the coil panel
    void cmdHdr0_Click();    // "&Cancel" on the header panel
    void cmdClose_Click();   // "&Cancel" on the coil panel
    void mnuFile_Click();    // the File menu opens
    void mnuFileExit_Click();
    void mnuHelpAbout_Click();
    void Toolbar1_ButtonClick(const QString& key);

    // ---- Saving, the Saved Coils list, the coil file (Form1_files.cpp) --
    // Called once at the end of construction, after all controls exist.
    void InitFileCommands();
    void cmdSave_Click();                        // "&Save" on the header panel
    void cmdView_Click();                        // "&View" on the header panel
    void mnuFileOpen_Click();                    // File "&Open..." and toolbar "Open"
    void OpenCoilFile(const std::string& name);  // Open with the file named (kvn FILE)
    void mnuFileNew_Click();                     // File "&New..." and toolbar "New"
    // Before the saved coils are left behind (Exit, New, Open): when they
    // changed since the coil file was last written or read, asks "Save
    // changes to the coil list?"; Yes writes them. False when the command
    // is to stop: Cancel, or a write that did not happen.
    bool OfferToWriteSavedCoils();

    // ---- The list's commands (Form1_list.cpp) -----------------------------
    // File "Save &Coil to List" (Ctrl+L), "Save &List" (Ctrl+S), "Save List
    // &As..." (Ctrl+Shift+S), "&Import Coils...", "&Recent Files"; Edit
    // "&Undo" (Ctrl+Z) and "&Redo" (Ctrl+Shift+Z) of the list's changes; the
    // title naming the coil file. Called once at the end of construction.
    void InitListCommands();
    CoilListHistory* ListHistory() const;
    void SaveCoilToList();  // toolbar "Save" and "Save &Coil to List": as "&Save"
    bool SaveList();
    bool SaveListAs();
    void ImportCoils();  // appends a coil file's coils to the list
    void OpenRecentFile(const std::string& name);
    // Puts saved coil `row` (0-based) back onto the coil panel, in the unit
    // system shown; a message names the fields the row could not give.
    void LoadSavedCoil(int row);

    // ---- Printing (Form1_print.cpp) ------------------------------------
    void cmdFinish_Click();          // "&Finish" on the header panel
    void mnuFilePrintSetup_Click();  // File "Print &Setup..."
    void mnuFilePrint_Click();       // File "&Print..." and toolbar "Print"

    // ---- Units of entry and display (Form1_units.cpp) --------------------
    // Inch-pound (the default) or SI, chosen in the Tools menu and
    // remembered between sessions (the checkable QActions
    // "mnuToolsUnitsIP" and "mnuToolsUnitsSI"). The records, the coil file
    // and the model designation stay inch-pound either way.
    units::System UnitSystem() const { return units_; }
    // The inch-pound texts the driver reads for field texts shown now.
    FieldTexts InchPoundFields(const FieldTexts& shown) const {
        return entryMemory_.InchPoundFields(shown, units_);
    }
    // Converts the values shown in the entry fields and the results grid to
    // `system` and retexts the captions; rates nothing.
    void SetUnitSystem(units::System system);
    // Tools menu items and the remembered choice; once, at construction.
    void InitUnits();

    // ---- The psychrometric chart (Form1_chart.cpp) ----------------------
    void InitChartCommands();
    void mnuToolsChart_Click();  // Tools "Psych&rometric Chart..." and "Ps&ychrometric Chart"

    // The report header panel's job fields for the multi-coil report's page
    // header, with the units in use.
    reports::ReportHeaderTexts ReportHeader() const;

    // The rows of the results grid as tab-separated text, one line a row:
    // the selected rows, or every row when none is selected.
    QString ResultsText() const;
    // Copies ResultsText() to the clipboard (Ctrl+C and "Copy" on the grid).
    void CopyResults();

signals:
    // A coil was rated and listed in the results grid.
    void Rated();
    // The coil document changed (see NoteDocumentChanged).
    void DocumentChanged();

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
    void BuildHiddenConstructionFields(QGroupBox* g, QGridLayout* grid);
    QWidget* BuildEntCondFrame();
    QWidget* BuildCalculationsFrame(QWidget* parent);
    QWidget* BuildHeaderPanel();
    QLayout* BuildHeaderFields(QWidget* box);
    QLayout* BuildCoilsPerSystem(QWidget* box);
    QLayout* BuildHeaderButtons(QWidget* box);
    void EnableCommands();
    void WatchFocus(QWidget* w);
    void OnFocus(QWidget* w);
    void SelectAgainAfterClick(QWidget* w);
    void UpdateClock();
    // Keyboard, mouse wheel, results grid and unit labels
    // (Form1_desktop.cpp); called once at the end of construction.
    void InitDesktop();
    void InitAccessibleNames();
    void UpdateTubeSizeLabel();
    // Shows the air-flow field of `mode` (actual cfm or face velocity).
    void ShowAirFlowField(int mode);
    double FaceAreaFt2() const;
    FieldTexts ShownFields() const;
    // Entering-condition field i: its text box, or the refrigerant list.
    QWidget* EntCondField(int i) const;
    void PlaceEntCondRows(const form1::EntCondLayout& layout);
    reports::SheetTexts CurrentSheetTexts() const;

    CoilDocument& document_;
    form1::WindowState state_;
    QGridLayout* entCondGrid_ = nullptr;
    QTimer* clock_ = nullptr;
    QMenu* mnuTools_ = nullptr;       // "T&ools"
    QWidget* chartWindow_ = nullptr;  // the chart window once opened

    // ---- The controls, by their object names ----------------------------
    QFrame* Frame1_[5] = {};  // 0 start, 1 title block, 3 coil, 4 header (2 unused)
    QRadioButton* optCoil_[6] = {};
    QLabel* Label5_ = nullptr;  // the coil type's word over the coil panel
    QComboBox* cboTubeOD_ = nullptr;
    QComboBox* cboWallThk_ = nullptr;
    QComboBox* cboFinMat_ = nullptr;
    QComboBox* cboFinThk_ = nullptr;
    QComboBox* cboCoilType_ = nullptr;
    QComboBox* cboFinType_ = nullptr;
    QComboBox* cboRifled_ = nullptr;
    QComboBox* cboRefrigerant_ = nullptr;
    QLineEdit* Text1_ = nullptr;  // the fin treatment, read-only
    QLineEdit* txtFPI_ = nullptr;
    QLineEdit* txtRows_ = nullptr;
    QLineEdit* txtTH_ = nullptr;
    QLineEdit* txtFL_ = nullptr;
    QLineEdit* txtCircuits_ = nullptr;
    QLineEdit* txtFoulingFactor_ = nullptr;
    QLabel* lblPhy10_ = nullptr;  // "Circuits:"
    QGroupBox* fraConstruction_ = nullptr;
    QGroupBox* fraEntCond_ = nullptr;
    QGroupBox* fraCalculations_ = nullptr;
    QLineEdit* txtProperty_[form1::kEntCondCount] = {};  // none at 8
    QLabel* lblEntConditions_[form1::kEntCondCount] = {};
    QPushButton* cmdAirFlow_ = nullptr;
    QPushButton* cmdSteam_ = nullptr;
    QTableWidget* SSDBGrid1_ = nullptr;
    QWidget* fraWarnings_ = nullptr;
    QLabel* lblUnitTubeOD_ = nullptr;
    QLabel* lblUnitSteamPres_ = nullptr;
    QLineEdit* txtHdr_[5] = {};
    QLineEdit* txtCPS_[4] = {};
    QPlainTextEdit* txtNotes_ = nullptr;
    QPushButton* cmdPrint_[3] = {};  // 0 "&Print", 1 "&Save", 2 "&View"
    QPushButton* cmdHdr_[2] = {};    // 0 "&Cancel", 1 "&Finish"
    QLabel* StatusPanel_[5] = {};    // 1 to 4
    QAction* mnuFileNew_ = nullptr;
    QAction* mnuFileOpen_ = nullptr;
    QAction* mnuFilePrintSetup_ = nullptr;
    QAction* mnuFilePrint_ = nullptr;
    QAction* toolbarNew_ = nullptr;
    QAction* toolbarOpen_ = nullptr;
    QAction* toolbarSave_ = nullptr;
    QAction* toolbarPrint_ = nullptr;
    QAction* mnuToolsUnitsIP_ = nullptr;
    QAction* mnuToolsUnitsSI_ = nullptr;
    QAction* mnuToolsChartWithSheet_ = nullptr;

    // The list's commands, title and recent files (Form1_list.cpp).
    void SyncListCommands();
    void ReportSavedCoil();
    void NoteFileUsed();
    void FillRecentMenu();
    CoilListHistory* listHistory_ = nullptr;
    QMenu* mnuFileRecent_ = nullptr;
    QAction* mnuFileSaveCoil_ = nullptr;

    void ApplyUnitCaptions();
    void FillGrid(const std::vector<GridRow>& rows);
    units::System units_ = units::System::InchPound;
    units::EntryMemory entryMemory_;
    std::vector<GridRow> ipGrid_;  // the last results as the driver lists them
};
