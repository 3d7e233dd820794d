// "Select to Duty": searches coils that meet a duty, starting from the coil
// panel's fields, and hands the chosen one back to the panel.
//
// The dialog is a thin layer over selection::DialogInputs (what the user
// enters) and selection::Search, which runs on a worker thread while a
// timer shows its progress; Cancel stops it before its next rating. The
// table lists the best 25 candidates.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <thread>

#include "common/select_inputs.h"
#include "common/selection.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;

class SelectDialog : public QDialog {
    Q_OBJECT

public:
    // `panel` holds the coil panel's field texts, `airFlowMode` its air-flow
    // mode; `use` fills the panel with a chosen candidate's fields and
    // rates it.
    // `panel` holds inch-pound texts (as the driver reads them); the
    // dialog shows, takes and lists `system`, and hands texts of `system`
    // to `use`.
    SelectDialog(const FieldTexts& panel, int airFlowMode, std::function<void(const FieldTexts&)> use,
                 QWidget* parent = nullptr, units::System system = units::System::InchPound);
    ~SelectDialog() override;

    // The inputs as the dialog's fields hold them.
    selection::DialogInputs Inputs() const;
    // Starts a search of the current inputs (a fault is shown in the status line).
    void StartSearch();
    void CancelSearch();
    bool Searching() const { return worker_.joinable(); }
    // Waits for a running search to end (for tests and closing).
    void WaitForSearch();
    // Uses the candidate of the table's current row.
    void UseCurrent();
    QString StatusText() const;

    // The inputs the dialog last closed or searched with in this session.
    static const selection::DialogInputs* LastInputs();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Builds the dialog's widgets from `in`, in the order of the focus chain.
    void Build(const selection::DialogInputs& in);
    QGroupBox* BuildConstruction(const selection::DialogInputs& in, const std::string& app);
    QHBoxLayout* BuildTubeRow(const selection::DialogInputs& in, const std::string& app);
    QHBoxLayout* BuildFinRow(const selection::DialogInputs& in);
    QGroupBox* BuildDuty(const selection::DialogInputs& in, const std::string& app);
    void AddFlowChoice(QGridLayout* grid, int flowRow, const selection::DialogInputs& in, bool liquid);
    QHBoxLayout* BuildSearchRow();
    void BuildCandidateTable();
    QHBoxLayout* BuildEndRow();
    // A line edit named `name`, `width` pixels at the most.
    QLineEdit* Edit(const char* name, const std::string& text, int width = 60);
    // A label whose mnemonic moves to `buddy`.
    QLabel* BuddyLabel(const QString& text, QWidget* buddy);
    void Poll();
    void Finish();
    void ShowResults();

    FieldTexts panel_;
    int airFlowMode_;
    std::function<void(const FieldTexts&)> use_;
    units::System system_;
    std::vector<std::string> tubeCodes_;
    std::vector<std::string> finCodes_;  // of finMats_, in order

    QLineEdit *rowsFrom_, *rowsTo_, *fpiFrom_, *fpiTo_, *circuits_, *gpm_, *rise_;
    std::vector<QCheckBox*> tubes_, finMats_;
    std::vector<std::pair<std::string, QLineEdit*>> duty_;
    std::vector<std::pair<std::string, QCheckBox*>> refuse_;  // warning code, its box
    QRadioButton *byGpm_, *byRise_;
    QPushButton *search_, *cancel_, *use_button_;
    QProgressBar* progress_;
    QLabel* status_;
    QTableWidget* table_;
    QTimer* timer_;

    selection::SearchSpec query_;
    selection::SearchControl control_;
    std::unique_ptr<selection::SearchResult> result_;
    std::atomic<bool> finished_{false};
    std::thread worker_;
};
