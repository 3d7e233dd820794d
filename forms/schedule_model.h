// The schedule window without its widgets: the rows of a coil schedule,
// each row's search and status, the candidate chosen for it, and the chosen
// coils added to the Saved Coils list on request. Plain C++: tests reach it
// without a QApplication.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/selection.h"
#include "common/units.h"
#include "exchange/coil_export.h"
#include "exchange/schedule.h"
#include "files/save_row.h"
#include "files/saved_coils.h"

namespace schedule_window {

enum class RowStatus { Waiting, Meets, Closest, Refused };

// Every row of a table searched on `jobs` threads (0: one per core), with
// progress and cancellation shared with the thread that watches it.
class ScheduleSearch {
public:
    ScheduleSearch(const kvn::schedule::ScheduleTable& table, units::System system, unsigned jobs);
    // Runs the search (on the calling thread and its helpers) and returns the
    // rows' results in row order; cancelled rows are refused as not searched.
    std::vector<kvn::schedule::ScheduleRowResult> Run();
    // Stops the rows in flight before their next rating; rows not started
    // are not searched. Safe from any thread.
    void Cancel();
    int Done() const { return done_.load(); }
    int Total() const { return static_cast<int>(table_.rows.size()); }

private:
    const kvn::schedule::ScheduleTable& table_;
    units::System system_;
    unsigned jobs_;
    std::unique_ptr<selection::SearchControl[]> controls_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> done_{0};
};

class ScheduleModel {
public:
    ScheduleModel(kvn::schedule::ScheduleTable table, units::System system);

    const kvn::schedule::ScheduleTable& Table() const { return table_; }
    units::System System() const { return system_; }
    std::size_t RowCount() const { return table_.rows.size(); }

    // Takes the results of a search, in row order; the chosen candidate of a
    // row is its best, none for a row that nothing meets.
    void SetResults(std::vector<kvn::schedule::ScheduleRowResult> results);

    RowStatus Status(std::size_t row) const;
    // "meets", "closest, misses total capacity 3.2 % short",
    // "refused: <why> (column <header>)", "waiting".
    std::string StatusText(std::size_t row) const;

    // The table's columns and a row's cells: the schedule's row number, the
    // tag, the status, and the chosen coil (model, rows, FPI, circuits,
    // total capacity, air pressure drop) in the model's units.
    std::vector<std::string> Columns() const;
    std::vector<std::string> Cells(std::size_t row) const;

    // The candidates of a row to choose from: the best and the next ones,
    // or the closest when nothing meets the duty.
    std::vector<const selection::Candidate*> Choices(std::size_t row) const;
    // The choice's table: the columns and cells of the "Select to Duty"
    // results, the closest ranked 0.
    std::vector<std::string> ChoiceColumns(std::size_t row) const;
    std::vector<std::string> ChoiceCells(std::size_t row, std::size_t choice) const;
    int Chosen(std::size_t row) const;  // index into Choices, -1 none
    void Choose(std::size_t row, int choice);
    int ChosenCount() const;

    // Adds the chosen coils, in row order, to the saved coils of `doc`, each
    // with its tag as the item, its warnings and its sheet (dated `date`):
    // all of them, or none and false with a message.
    bool AddToSavedCoils(CoilDocument& doc, std::string& error, const std::string& date = {}) const;
    // The same in two steps, for a change made through the list's history:
    // the chosen coils appended to `table` (false with a message, `table`
    // then partly changed), then their warnings and sheets remembered in
    // `doc`, whose coils from `first` on are those appended.
    bool AppendChosen(SavedCoilTable& table, std::string& error) const;
    void RememberChosen(CoilDocument& doc, int first, const std::string& date) const;

    // The chosen coils as a spreadsheet lists them, in row order, each with
    // its tag and warnings. Raises run-time error 6 as BuildSavedRow does.
    std::vector<kvn::exchange::ExportCoil> ChosenExportCoils() const;

private:
    const selection::Candidate* ChosenCandidate(std::size_t row) const;
    SaveRowTexts RowTexts(std::size_t row) const;

    kvn::schedule::ScheduleTable table_;
    units::System system_;
    std::vector<kvn::schedule::ScheduleRowResult> results_;
    std::vector<int> chosen_;
};

}  // namespace schedule_window
