#pragma once
// Coil schedules: a CSV file or an XLSX workbook (its first sheet) with a
// header row naming the columns and one row per coil; each row read as the
// selection request of one coil, and the result of its search.
//
// The column names are the coil field keys (as kvn-rate reads them), the
// duty keys of a selection in the schedule's unit system, "FluidRise",
// "AllowWarnings", "Tag", and the cover texts "Project", "Customer" and
// "Engineer". A construction column may hold alternatives, "8|10|12", and
// rows, FPI and circuits a range, "1-8". A blank cell is the field's
// default. A file that is no schedule is refused whole before any row is
// read; a row that cannot be read is refused alone.
#include <cstddef>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/calc_driver.h"
#include "common/select_inputs.h"
#include "common/selection.h"
#include "common/units.h"

namespace kvn::schedule {

inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
inline constexpr int kMaxRows = 10000;
// How many candidates a row lists after the selected one.
inline constexpr int kAlternatives = 4;

// A file refused as a whole: the file's name and why.
struct ScheduleFileError : std::runtime_error {
    ScheduleFileError(const std::string& fileName, const std::string& why)
        : std::runtime_error(fileName + ": " + why), file(fileName), reason(why) {}
    std::string file, reason;
};

struct ScheduleRow {
    int number = 0;                  // the row's number in the file (the header's is 1 or more)
    std::vector<std::string> cells;  // one per header column, trimmed
    int beyond = -1;                 // the first column past the header holding a value (-1: none)
};

struct ScheduleTable {
    std::vector<std::string> header;  // trimmed, as written
    std::vector<ScheduleRow> rows;    // rows holding a value, in file order
};

// The table of a schedule's bytes; `fileName` names the file in a refusal
// and its extension (.xlsx) tells a workbook that is not a zip archive.
// Throws ScheduleFileError.
ScheduleTable ParseSchedule(std::string_view bytes, const std::string& fileName);
// Reads and parses a file, refused unread when it is larger than 64 MB.
ScheduleTable ReadScheduleFile(const std::string& path);

// The key a header text stands for ("eatdb" -> "EatDb"), or "" when it
// is no schedule column in `system` (a duty key of the other system is no
// column there).
std::string ColumnKey(const std::string& header, units::System system);

// The column a header text most likely means when it is no column name:
// the column whose name, or whose field's caption on the coil form ("EAT
// (DB)", "Tubes High"), it spells, blanks, punctuation and case aside, or a
// usual schedule heading ("CFM", "EWT", "Mark"); "" when none.
std::string MatchColumn(const std::string& header, units::System system);

// Renames the header texts of `table` by `columns` (header text -> column;
// "" leaves the column out: its cells are emptied and it is no longer read).
void ApplyColumnMap(ScheduleTable& table, const std::map<std::string, std::string>& columns);

// Every column name of `system`, in the order a list offers them.
std::vector<std::string> ColumnNames(units::System system);

// One row as a selection request, the texts and limits in the schedule's
// units, as kvn-rate --select reads them.
struct ScheduleRequest {
    int row = 0;
    std::string tag, project, customer, engineer;
    FieldTexts fields;                                        // single texts, blank cells left out
    std::map<std::string, std::vector<std::string>> choices;  // construction alternatives
    std::map<std::string, double> duty;                       // duty key as given -> limit
    std::optional<double> fluidRise;                          // K in SI, F in inch-pound
    std::vector<std::string> allowWarnings;                   // warning codes let in
    std::string error, column;  // a row that cannot be read: why, and the column's header
    bool ok() const { return error.empty(); }
};

ScheduleRequest RequestForRow(const ScheduleTable& table, std::size_t index, units::System system);

// The texts of a submittal's cover a schedule gives: for each of
// "Project", "Customer" and "Engineer", the first row's text that is not
// blank ("" when no row gives one).
struct ScheduleCoverTexts {
    std::string project, customer, engineer;
};
ScheduleCoverTexts CoverTexts(const ScheduleTable& table, units::System system);

// The search of a readable request, read as kvn-rate --select reads the
// same keys (the rating's defaults of FinTreat, Rifled and FoulingFactor,
// texts and limits converted to inch-pound, the default limits, the
// construction defaults, the selected candidate and kAlternatives more as
// its "Top"): the completed query and the texts as given.
// False with a message when it cannot be searched.
bool SpecForRequest(const ScheduleRequest& request, units::System system, selection::SearchSpec& query,
                    selection::ShownTexts& shown, std::string& error);

// The selection of one row, for the outputs that list a schedule's coils:
// the request, and when it could be searched, the completed query (inch-
// pound), the texts as the row gave them, and the search's answer with its
// ranked list cut to the selected candidate and kAlternatives more.
struct ScheduleRowResult {
    ScheduleRequest request;
    bool ok = false;            // searched (whether or not a candidate meets the duty)
    std::string error, column;  // when not: why, and the column at fault ("" unknown)
    selection::SearchSpec query;
    selection::ShownTexts shown;
    selection::SearchResult result;

    // The chosen candidate: the best one that meets the duty; nullptr when
    // none does (result.closest then tells what the nearest one misses).
    const selection::Candidate* Selected() const {
        return ok && !result.ranked.empty() ? &result.ranked.front() : nullptr;
    }
};

// The search of row `index` of `table` on `jobs` threads (0: one per core),
// stopped early through `control` when given: the row refused with its
// column, or searched.
ScheduleRowResult SearchRow(const ScheduleTable& table, std::size_t index, units::System system, int jobs,
                            selection::SearchControl* control = nullptr);

}  // namespace kvn::schedule
