// Form2 "Saved Coils": the list of saved coils, with printing, preview,
// deletion and writing the coil file.
//
// The grid "SSDBGrid1" shows columns 0 to 32 of the document's saved coils,
// one grid row a coil. The buttons are named "cmdPrint(0)" to "cmdPrint(4)": "&Print",
// "Pre&view...", "&Delete...", "&Close", "&File". On the grid, Delete deletes
// the current coil (as "&Delete..."), and Enter or a double-click chooses it
// to load back onto the coil panel. The columns open sized to their
// contents, the window to show them as far as the screen allows.
#pragma once

#include <QDialog>

#include "reports/multi_coil_report.h"

struct CoilDocument;
class CoilListHistory;
class FileDialog;
class QPushButton;
class QTableWidget;

class Form2 : public QDialog {
    Q_OBJECT

public:
    enum Button { Print = 0, Preview = 1, Delete = 2, Close = 3, File = 4, ButtonCount = 5 };

    // Shows and changes `document`, which must outlive the window.
    // `dialog` names the coil file when there is no current file name;
    // nullptr uses the coil form's dialog.
    explicit Form2(CoilDocument& document, QWidget* parent = nullptr, FileDialog* dialog = nullptr);

    QTableWidget* SSDBGrid1() const { return grid_; }
    QPushButton* cmdPrint(int index) const;

    // The job fields for the page header of the report printed or previewed
    // from the list (none until set). Their unit system is the list's too:
    // in SI the quantities are shown in SI (the coils are not changed).
    void SetReportHeader(const reports::ReportHeaderTexts& header);

    // Deletions go through `history` (the document's), so that they can be
    // undone, here too (Ctrl+Z, Ctrl+Shift+Z); without one they are final.
    void SetHistory(CoilListHistory* history);

    // Rebuilds the grid from the document's saved coils.
    void FillGrid();
    // The button actions by index; a run-time error ends an action silently.
    void cmdPrint_Click(int index);

signals:
    // The last coil was deleted: the list closes and there is nothing left
    // to view.
    void noCoilsLeft();
    // The coil of grid row `row` was chosen (Enter, double-click); the list
    // closes.
    void coilChosen(int row);
    // "&File" wrote the coil file.
    void fileWritten();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DeleteCurrentCoil();
    void ChooseCurrentCoil();
    void FitToColumns();
    void SetCaptions();

    CoilDocument& document_;
    FileDialog* dialog_;
    CoilListHistory* history_ = nullptr;
    reports::ReportHeaderTexts header_;
    QTableWidget* grid_ = nullptr;
    QPushButton* buttons_[ButtonCount] = {};
};
