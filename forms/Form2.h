// Form2 "Saved Coils": the list of saved coils, with printing, preview,
// deletion and writing the coil file.
//
// The grid "SSDBGrid1" shows columns 0 to 32 of the document's saved coils,
// one grid row a coil. The buttons are named "cmdPrint(0)" to "cmdPrint(4)": "&Print",
// "Pre&view...", "&Delete...", "&Close", "&File".
#pragma once

#include <QDialog>

#include "reports/multi_coil_report.h"

struct CoilDocument;
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

    // Rebuilds the grid from the document's saved coils.
    void FillGrid();
    // The button actions by index; a run-time error ends an action silently.
    void cmdPrint_Click(int index);

signals:
    // The last coil was deleted: the list closes and there is nothing left
    // to view.
    void noCoilsLeft();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void DeleteCurrentCoil();
    void SetCaptions();

    CoilDocument& document_;
    FileDialog* dialog_;
    reports::ReportHeaderTexts header_;
    QTableWidget* grid_ = nullptr;
    QPushButton* buttons_[ButtonCount] = {};
};
