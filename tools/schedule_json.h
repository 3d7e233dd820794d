// kvn-rate --schedule: every row of a coil schedule selected as --select
// selects one duty, one JSON line per row in row order.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "common/units.h"
#include "exchange/schedule.h"
#include "tools/rate_json.h"

namespace kvnrate {

// The --schedule part of kvn-rate's help.
extern const char kScheduleHelp[];

// The --select input of a schedule row: the same keys with the same texts,
// read by --select into the query the row's search runs.
Json SelectInputOf(const kvn::schedule::ScheduleRequest& r);

// The output line of a row.
Json ScheduleRowJson(const kvn::schedule::ScheduleRowResult& r);

// Searches every row of `table` and hands each result to `deliver` in row
// order as soon as it and the rows before it are done; rows run on `jobs`
// threads (0: one per core), a lone row's search on all of them. The
// number of rows that could not be read or searched.
std::size_t RunScheduleRows(const kvn::schedule::ScheduleTable& table, units::System system, unsigned jobs,
                            const std::function<void(kvn::schedule::ScheduleRowResult&)>& deliver);

// The table of the schedule file `path`; false, said on standard error,
// when the file is no schedule.
bool ReadScheduleTable(const std::string& path, kvn::schedule::ScheduleTable& table);

// Writes the output line of a row to standard output, flushed.
void WriteScheduleLine(const kvn::schedule::ScheduleRowResult& r, bool pretty);

// kvn-rate --schedule FILE: the exit status.
int RunSchedule(const std::string& path, units::System system, unsigned jobs, bool pretty);

// kvn-rate --schedule-template FILE: the exit status.
int RunScheduleTemplate(const std::string& path, units::System system);

}  // namespace kvnrate
