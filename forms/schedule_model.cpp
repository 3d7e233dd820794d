#include "forms/schedule_model.h"

#include <utility>

#include "common/model_designation.h"
#include "common/parallel.h"
#include "common/select_inputs.h"
#include "common/warnings.h"
#include "engine/rterror.h"
#include "files/save_row.h"
#include "files/saved_coil_sheets.h"
#include "files/saved_coil_warnings.h"

namespace schedule_window {
namespace {

// The columns of the "Select to Duty" results the schedule's table shows
// for a chosen coil: rows, FPI, circuits, total and sensible capacity, air
// pressure drop.
constexpr std::size_t kShownResultColumns[] = {3, 4, 5, 6, 7, 10};

std::string Text(const FieldTexts& f, const char* key) {
    const auto it = f.find(key);
    return it == f.end() ? std::string() : it->second;
}

}  // namespace

ScheduleSearch::ScheduleSearch(const kvn::schedule::ScheduleTable& table, units::System system, unsigned jobs)
    : table_(table),
      system_(system),
      jobs_(jobs),
      controls_(std::make_unique<selection::SearchControl[]>(table.rows.size())) {}

std::vector<kvn::schedule::ScheduleRowResult> ScheduleSearch::Run() {
    const std::size_t n = table_.rows.size();
    // Rows in parallel, each on one thread; a lone row on all of them.
    const int searchJobs = n > 1 ? 1 : static_cast<int>(jobs_);
    return ParallelMap(n, n > 1 ? jobs_ : 1, [&](std::size_t i) {
        kvn::schedule::ScheduleRowResult r;
        if (cancel_.load()) {
            r.request.row = table_.rows[i].number;
            r.error = "not searched: the search was cancelled";
        } else {
            r = kvn::schedule::SearchRow(table_, i, system_, searchJobs, &controls_[i]);
        }
        done_.fetch_add(1);
        return r;
    });
}

void ScheduleSearch::Cancel() {
    cancel_.store(true);
    for (std::size_t i = 0; i < table_.rows.size(); ++i) controls_[i].cancel.store(true);
}

ScheduleModel::ScheduleModel(kvn::schedule::ScheduleTable table, units::System system)
    : table_(std::move(table)), system_(system), chosen_(table_.rows.size(), -1) {}

void ScheduleModel::SetResults(std::vector<kvn::schedule::ScheduleRowResult> results) {
    results_ = std::move(results);
    results_.resize(table_.rows.size());
    for (std::size_t i = 0; i < results_.size(); ++i) chosen_[i] = results_[i].Selected() ? 0 : -1;
}

RowStatus ScheduleModel::Status(std::size_t row) const {
    if (row >= results_.size()) return RowStatus::Waiting;
    const kvn::schedule::ScheduleRowResult& r = results_[row];
    if (!r.ok) return RowStatus::Refused;
    return r.Selected() ? RowStatus::Meets : RowStatus::Closest;
}

std::string ScheduleModel::StatusText(std::size_t row) const {
    switch (Status(row)) {
        case RowStatus::Waiting:
            return "waiting";
        case RowStatus::Meets:
            return "meets";
        case RowStatus::Closest: {
            const kvn::schedule::ScheduleRowResult& r = results_[row];
            if (!r.result.closest) return "nothing meets the duty";
            return "closest, misses " +
                   selection::MissedInWords(*r.result.closest, r.query, system_ == units::System::SI);
        }
        case RowStatus::Refused: {
            const kvn::schedule::ScheduleRowResult& r = results_[row];
            return "refused: " + r.error + (r.column.empty() ? "" : " (column " + r.column + ")");
        }
    }
    return {};
}

std::vector<std::string> ScheduleModel::Columns() const {
    std::vector<std::string> columns = {"Row", "Tag", "Status", "Model"};
    const std::vector<std::string> results = selection::ResultColumns(system_, "W");
    for (const std::size_t c : kShownResultColumns) columns.push_back(results[c]);
    return columns;
}

std::vector<std::string> ScheduleModel::Cells(std::size_t row) const {
    const std::string tag = row < results_.size() ? results_[row].request.tag : std::string();
    std::vector<std::string> cells = {std::to_string(table_.rows[row].number), tag, StatusText(row)};
    const selection::Candidate* c = ChosenCandidate(row);
    if (!c) {
        cells.resize(Columns().size());
        return cells;
    }
    cells.push_back(BuildModelDesignation(c->coilSpec, c->rating, Text(c->fields, "Pattern")));
    const selection::ResultRow shown = selection::RowForCandidate(*c, 1, results_[row].query, system_);
    for (const std::size_t k : kShownResultColumns) cells.push_back(shown.cells[k]);
    return cells;
}

std::vector<const selection::Candidate*> ScheduleModel::Choices(std::size_t row) const {
    std::vector<const selection::Candidate*> list;
    if (row >= results_.size() || !results_[row].ok) return list;
    const selection::SearchResult& r = results_[row].result;
    for (const selection::Candidate& c : r.ranked) list.push_back(&c);
    if (list.empty() && r.closest) list.push_back(&*r.closest);
    return list;
}

std::vector<std::string> ScheduleModel::ChoiceColumns(std::size_t row) const {
    const auto choices = Choices(row);
    return selection::ResultColumns(system_,
                                    choices.empty() ? "W" : Text(choices.front()->fields, "Application"));
}

std::vector<std::string> ScheduleModel::ChoiceCells(std::size_t row, std::size_t choice) const {
    const auto choices = Choices(row);
    const bool closest = Status(row) == RowStatus::Closest;
    return selection::RowForCandidate(*choices.at(choice), closest ? 0 : static_cast<int>(choice) + 1,
                                      results_[row].query, system_)
        .cells;
}

int ScheduleModel::Chosen(std::size_t row) const {
    return chosen_.at(row);
}

void ScheduleModel::Choose(std::size_t row, int choice) {
    if (choice >= -1 && choice < static_cast<int>(Choices(row).size())) chosen_.at(row) = choice;
}

int ScheduleModel::ChosenCount() const {
    int n = 0;
    for (std::size_t i = 0; i < chosen_.size(); ++i) n += ChosenCandidate(i) != nullptr;
    return n;
}

const selection::Candidate* ScheduleModel::ChosenCandidate(std::size_t row) const {
    const auto choices = Choices(row);
    const int k = chosen_.at(row);
    return k >= 0 && k < static_cast<int>(choices.size()) ? choices[static_cast<std::size_t>(k)] : nullptr;
}

SaveRowTexts ScheduleModel::RowTexts(std::size_t row) const {
    const selection::Candidate& c = *ChosenCandidate(row);
    SaveRowTexts texts;
    texts.item = StripFileBreaks(results_[row].request.tag);
    texts.model = BuildModelDesignation(c.coilSpec, c.rating, Text(c.fields, "Pattern"));
    texts.coilTypeWord = CoilTypeWord(Text(c.fields, "Application"));
    texts.tubeText = Text(c.fields, "Pattern");
    texts.wallText = Text(c.fields, "TubeWall");
    return texts;
}

bool ScheduleModel::AppendChosen(SavedCoilTable& table, std::string& error) const {
    for (std::size_t i = 0; i < table_.rows.size(); ++i) {
        const selection::Candidate* c = ChosenCandidate(i);
        if (!c) continue;
        try {
            AppendSavedCoil(table, c->coilSpec, c->rating, RowTexts(i));
        } catch (const rt::RtError& e) {
            error = "The coil of row " + std::to_string(table_.rows[i].number) +
                    " was not saved.\nError: " + std::to_string(e.number()) + " " + e.description();
            return false;
        }
    }
    return true;
}

void ScheduleModel::RememberChosen(CoilDocument& doc, int first, const std::string& date) const {
    const kvn::schedule::ScheduleCoverTexts cover = kvn::schedule::CoverTexts(table_, system_);
    auto either = [](const std::string& own, const std::string& schedule) {
        return own.empty() ? schedule : own;
    };
    int at = first;
    for (std::size_t i = 0; i < table_.rows.size() && at < doc.table.CoilCount(); ++i) {
        const selection::Candidate* c = ChosenCandidate(i);
        if (!c) continue;
        const kvn::schedule::ScheduleRequest& request = results_[i].request;
        const SavedCoilTable::Row& row = doc.table.Rows()[at++];
        RememberSavedCoilWarnings(doc, row, WarningsLine(c->result.warnings));
        SavedCoilSheet sheet;
        sheet.coilSpec = c->coilSpec;
        sheet.rating = c->rating;
        const SaveRowTexts texts = RowTexts(i);
        sheet.header = {date, texts.item, texts.model, either(request.customer, cover.customer),
                        either(request.project, cover.project)};
        sheet.engineer = either(request.engineer, cover.engineer);
        sheet.coilType = Text(c->fields, "Application");
        sheet.tubeOD = Text(c->fields, "Pattern");
        for (const CoilWarning& w : c->result.warnings) sheet.warnings.push_back(w.text);
        RememberSavedCoilSheet(doc, row, std::move(sheet));
    }
}

bool ScheduleModel::AddToSavedCoils(CoilDocument& doc, std::string& error, const std::string& date) const {
    SavedCoilTable table = doc.table;
    if (!AppendChosen(table, error)) return false;
    const int first = doc.table.CoilCount();
    doc.table = std::move(table);
    RememberChosen(doc, first, date);
    return true;
}

std::vector<kvn::exchange::ExportCoil> ScheduleModel::ChosenExportCoils() const {
    std::vector<kvn::exchange::ExportCoil> coils;
    for (std::size_t i = 0; i < table_.rows.size(); ++i)
        if (const selection::Candidate* c = ChosenCandidate(i))
            coils.push_back(
                kvn::exchange::ExportCoilOf(c->coilSpec, c->rating, RowTexts(i), c->result.warnings));
    return coils;
}

}  // namespace schedule_window
