// kvn-rate --schedule: every row of a coil schedule selected as --select
// selects one duty, one JSON line per row in row order.
#include "tools/schedule_json.h"

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "common/parallel.h"
#include "exchange/schedule_template.h"
#include "tools/select_json.h"

namespace kvnrate {

const char kScheduleHelp[] = R"HELP(
Schedules (--schedule, --schedule-template)
  kvn-rate --schedule FILE [--units si] [--jobs N] [--pretty]
  selects a coil for every row of a coil schedule, as --select selects one
  duty, with the default limits. FILE is a CSV file (comma or semicolon,
  UTF-8 with or without a byte-order mark, fields quoted as spreadsheets
  quote them) or an XLSX workbook (its first sheet). The first row holding
  a value is the header; each later row is one coil. Columns, in any order
  and any letter case:
    the field keys above ("Application", "TH", "Acfm", ...; "AirFlowMode")
    the duty keys of "Duty" (TotalBtuh, LatDbMax, ...; with --units si
                 TotalKW, SensibleKW and the SI limits), each a number
    "FluidRise"  as in --select; "AllowWarnings" codes separated by "|"
    "Tag"        the coil's tag; "Project", "Customer", "Engineer" texts
                 carried with the row
  A construction column (Pattern TubeWall FinMat FinThk FPI RD TH FL
  Circuits) may hold alternatives, "8|10|12", and RD, FPI and Circuits a
  range, "1-8", as --select's arrays do. A blank cell is the default.
  Numbers are those of --units; a duty key of the other unit system is
  refused. Each row is searched as the --select input with the same keys.
  Output, one JSON object per row, in row order:
    {"row": N, "Tag": ..., "ok": true, "selected": {a candidate as --select
     lists it}, "alternatives": [the next 4 candidates], "searched": N,
     "rated": N, "skipped": N, "feasible": N, "limits": {...}}
  with the counts of --select's rank-ordered search for those 5
  where N of "row" is the row's number in the file (the header's is 1 in a
  file that starts with it). "Project", "Customer" and "Engineer" follow
  "Tag" when the row gives them; with --units si "units": "SI" follows
  "ok". A row nothing meets has "selected": null, "alternatives": [] and
  "closest" as --select gives it. A row that cannot be read or searched (a
  column that is none of the above, a text where a number belongs, a duty
  with neither a capacity nor a leaving-air limit, no TH) is
    {"row": N, "Tag": ..., "ok": false, "error": ..., "column": header or
     null}
  and the other rows go on; the exit status is then 2. A file that is no
  schedule (binary, empty, no header naming a column, over 10 000 rows or
  64 MB) is refused with its name and the reason before any row is
  searched (exit status 1). The rows are searched on --jobs threads.
  kvn-rate --schedule FILE --export OUT.csv|OUT.xlsx --submittal OUT.pdf
           [--submittal-charts] [--paper a4] [--kvn OUT.kvn]
  also puts the selected coil of every row, in row order, tagged with the
  row's "Tag" as its "Item", into the spreadsheet, the submittal package
  and the coil file (any of them), as they hold a batch's rated coils. The
  cover takes "Project", "Customer" and "Engineer" from the first row that
  gives each, and today's date; a row's own texts head its sheet. A row
  refused, or with "selected": null, is left out of them and named on
  standard error with its row, its Tag and why (what the closest coil
  misses), and the exit status is 2; the lines are as without them. The
  submittal lists such rows after its schedule, under "Not selected".
  --sheet, --report and --chart do not go with --schedule.
  kvn-rate --schedule-template FILE.csv|FILE.xlsx [--units si]
  writes a schedule template: the header of the columns above and an
  example row for each coil type, in the units of --units.
)HELP";

// The --select input of a schedule row: the same keys with the same texts,
// read by --select into the query the row's search runs.
Json SelectInputOf(const kvn::schedule::ScheduleRequest& r) {
    Json j = Json::object();
    for (const auto& [key, text] : r.fields) j[key] = text;
    for (const auto& [key, list] : r.choices) j[key] = list;
    if (!r.duty.empty()) {
        Json duty = Json::object();
        for (const auto& [key, value] : r.duty) duty[key] = value;
        j["Duty"] = duty;
    }
    if (r.fluidRise) j["FluidRise"] = *r.fluidRise;
    if (!r.allowWarnings.empty()) j["AllowWarnings"] = r.allowWarnings;
    j["Top"] = 1 + kvn::schedule::kAlternatives;
    return j;
}

// The output line of a row.
Json ScheduleRowJson(const kvn::schedule::ScheduleRowResult& r) {
    Json j = Json::object();
    j["row"] = r.request.row;
    j["Tag"] = r.request.tag;
    if (!r.request.project.empty()) j["Project"] = r.request.project;
    if (!r.request.customer.empty()) j["Customer"] = r.request.customer;
    if (!r.request.engineer.empty()) j["Engineer"] = r.request.engineer;
    if (!r.ok) {
        j["ok"] = false;
        j["error"] = r.error;
        j["column"] = r.column.empty() ? Json() : Json(r.column);
        return j;
    }
    Json answer = SelectionJson(r.result, r.query, 1 + kvn::schedule::kAlternatives, r.shown);
    j["ok"] = true;
    if (answer.contains("units")) j["units"] = answer["units"];
    Json& list = answer["candidates"];
    j["selected"] = list.empty() ? Json() : list.front();
    Json alternatives = Json::array();
    for (std::size_t i = 1; i < list.size(); ++i) alternatives.push_back(std::move(list[i]));
    j["alternatives"] = alternatives;
    if (answer.contains("closest")) j["closest"] = answer["closest"];
    for (auto it = answer.begin(); it != answer.end(); ++it)
        if (!j.contains(it.key()) && it.key() != "candidates") j[it.key()] = it.value();
    return j;
}

// Searches every row of `table` and hands each result to `deliver` in row
// order as soon as it and the rows before it are done; rows run on `jobs`
// threads (0: one per core), a lone row's search on all of them. The
// number of rows that could not be read or searched.
std::size_t RunScheduleRows(const kvn::schedule::ScheduleTable& table, units::System system, unsigned jobs,
                            const std::function<void(kvn::schedule::ScheduleRowResult&)>& deliver) {
    const std::size_t n = table.rows.size();
    const int searchJobs = n > 1 ? 1 : static_cast<int>(jobs);
    std::size_t failed = 0;
    OrderedStream<std::size_t, kvn::schedule::ScheduleRowResult> stream(
        n > 1 ? jobs : 1,
        [&](std::size_t& i) { return kvn::schedule::SearchRow(table, i, system, searchJobs); },
        [&](kvn::schedule::ScheduleRowResult& r) {
            if (!r.ok) ++failed;
            deliver(r);
        },
        1);
    for (std::size_t i = 0; i < n; ++i) stream.Put(i);
    stream.Finish();
    return failed;
}

// The table of the schedule file `path`; false, said on standard error,
// when the file is no schedule.
bool ReadScheduleTable(const std::string& path, kvn::schedule::ScheduleTable& table) {
    try {
        table = kvn::schedule::ReadScheduleFile(path);
    } catch (const kvn::schedule::ScheduleFileError& e) {
        std::fprintf(stderr, "kvn-rate: %s\n", e.what());
        return false;
    }
    return true;
}

// Writes the output line of a row to standard output, flushed.
void WriteScheduleLine(const kvn::schedule::ScheduleRowResult& r, bool pretty) {
    std::string line = ScheduleRowJson(r).dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// kvn-rate --schedule FILE: the exit status.
int RunSchedule(const std::string& path, units::System system, unsigned jobs, bool pretty) {
    kvn::schedule::ScheduleTable table;
    if (!ReadScheduleTable(path, table)) return kExitUsage;
    const std::size_t failed = RunScheduleRows(
        table, system, jobs, [&](kvn::schedule::ScheduleRowResult& r) { WriteScheduleLine(r, pretty); });
    return failed > 0 ? kExitValidation : kExitOk;
}

// kvn-rate --schedule-template FILE: the exit status.
int RunScheduleTemplate(const std::string& path, units::System system) {
    std::string error;
    if (kvn::schedule::WriteScheduleTemplate(path, system, error)) return kExitOk;
    std::fprintf(stderr, "kvn-rate: %s\n", error.c_str());
    return kExitUsage;
}

}  // namespace kvnrate
