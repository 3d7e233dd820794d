// The schedule window: the rows of a coil schedule, searched on every core
// with progress and Cancel, a status per row, the alternatives of a row on a
// double-click (or "Alternatives..."), "Add to Saved Coils" for the chosen
// coils and "Export..." for them as a spreadsheet.
//
// A thin layer over schedule_window::ScheduleModel; the search runs on a
// worker thread while a timer shows its progress.
#pragma once

#include <QDialog>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "forms/schedule_model.h"

class CoilListHistory;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

class ScheduleWindow : public QDialog {
    Q_OBJECT

public:
    // `table` is the schedule as read from `fileName`; its numbers are in
    // `system`. The search starts when the window is shown.
    // "Add to Saved Coils" adds to the saved coils of `document`.
    ScheduleWindow(kvn::schedule::ScheduleTable table, units::System system, const QString& fileName,
                   CoilDocument& document, QWidget* parent = nullptr);
    ~ScheduleWindow() override;

    schedule_window::ScheduleModel& Model() { return model_; }
    void StartSearch();
    void CancelSearch();
    // Waits for the search and shows its results (tests).
    void WaitForSearch();
    bool Searching() const { return worker_.joinable(); }
    // The alternatives of a table row, to choose another (double-click).
    void ShowAlternatives(int row);
    // Adds the chosen coils to the Saved Coils list, as one step of
    // `history` when one is set; false when none was added.
    bool AddToSavedCoils();
    void SetListHistory(CoilListHistory* history) { history_ = history; }
    // Writes the chosen coils to `path` (.csv or .xlsx) in the window's
    // units, rows without a chosen coil left out; false when not written,
    // said in a message. "Export..." asks for the file.
    bool ExportResults(const std::string& path);

signals:
    void coilsAdded(int count);

protected:
    void showEvent(QShowEvent* event) override;
    // Enter on a row of the table shows its alternatives.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void Poll();
    void Finish();
    void Fill();
    void StopWorker();

    schedule_window::ScheduleModel model_;
    CoilDocument& document_;
    CoilListHistory* history_ = nullptr;
    std::unique_ptr<schedule_window::ScheduleSearch> search_;
    std::vector<kvn::schedule::ScheduleRowResult> results_;
    std::atomic<bool> finished_{false};
    std::thread worker_;
    bool started_ = false;
    QTableWidget* grid_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* alternatives_ = nullptr;
    QPushButton* export_ = nullptr;
    QTimer* timer_ = nullptr;
};
