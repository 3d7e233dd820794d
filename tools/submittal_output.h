// kvn-rate --submittal: the submittal package of a batch's rated coils (or
// of a coil file's coils, --list) as one PDF: a cover, the schedule of the
// coils, then each coil's performance sheet as --sheet writes it, with its
// chart page after it under --submittal-charts. The cover takes "Project",
// "Customer", "Engineer" and "Date" of the first coil.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "common/units.h"
#include "files/saved_coils.h"
#include "tools/rate_json.h"

namespace kvnrate {

// The choices of the package: units, paper and chart pages.
struct SubmittalChoices {
    units::System units = units::System::InchPound;
    bool a4 = false;      // --paper a4
    bool charts = false;  // --submittal-charts
};

// The package is laid out at the end of the batch: each rated coil keeps
// its records, sheet texts and schedule line (about 3 KB) until then.
class SubmittalStream {
public:
    SubmittalStream(std::string path, const SubmittalChoices& choices);
    ~SubmittalStream();
    SubmittalStream(const SubmittalStream&) = delete;
    SubmittalStream& operator=(const SubmittalStream&) = delete;

    void Add(std::size_t number, const RatedCoil& coil, bool rated);
    // The coils of a coil file: schedule lines without sheets.
    void AddSaved(const SavedCoilTable::Row& row);
    // A schedule's row with no coil in the package, listed after the
    // schedule with the reason.
    void LeaveOut(std::size_t row, const std::string& tag, const std::string& why);
    int Finish();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// --list with --submittal: the cover and the schedule of a coil file's
// coils; a coil file keeps no ratings, so there are no sheets.
int SubmittalOfKvnFile(const std::string& kvnPath, const std::string& path, const SubmittalChoices& choices);

}  // namespace kvnrate
