// kvn-rate --schedule with --export, --submittal or --kvn: the selected coil
// of every row, tagged with the row's Tag as its item, in row order, into
// the spreadsheet, the submittal package and the coil file, in the same run
// that writes the rows' lines. A row that is refused, or that nothing meets,
// is left out of them and named on standard error.
#pragma once

#include <string>

#include "common/units.h"
#include "tools/submittal_output.h"

namespace kvnrate {

// The files a schedule run writes besides its lines ("" for none).
struct SchedulePackageFiles {
    std::string exportFile;     // --export
    std::string submittalFile;  // --submittal
    std::string kvnFile;        // --kvn
    SubmittalChoices submittal;

    bool Any() const { return !exportFile.empty() || !submittalFile.empty() || !kvnFile.empty(); }
};

// kvn-rate --schedule FILE with the files of `files`: the rows' lines as
// RunSchedule writes them, and the files. The exit status: 1 for a file
// that is no schedule, 2 when a row is left out of the files (as a batch's
// first coil not rated decides before the files), else that of writing
// them.
int RunSchedulePackage(const std::string& path, units::System system, unsigned jobs, bool pretty,
                       const SchedulePackageFiles& files);

}  // namespace kvnrate
