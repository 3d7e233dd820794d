// kvn-rate --schedule with --export, --submittal or --kvn: the selected
// coil of every row into the files.
#include "tools/schedule_package.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

#include "common/model_designation.h"
#include "exchange/schedule.h"
#include "tools/coil_file_output.h"
#include "tools/export_output.h"
#include "tools/schedule_json.h"
#include "tools/submittal_output.h"

namespace kvnrate {

namespace {

// The cover texts of a schedule (the first row's that is not blank, for
// each) and today's date, as the window dates a sheet.
Json ScheduleCover(const kvn::schedule::ScheduleTable& table, units::System system) {
    const kvn::schedule::ScheduleCoverTexts texts = kvn::schedule::CoverTexts(table, system);
    Json cover = Json::object();
    if (!texts.project.empty()) cover["Project"] = texts.project;
    if (!texts.customer.empty()) cover["Customer"] = texts.customer;
    if (!texts.engineer.empty()) cover["Engineer"] = texts.engineer;
    char date[16] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local)) std::strftime(date, sizeof date, "%m/%d/%Y", &local);
    cover["Date"] = date;
    return cover;
}

// The selected coil of a row as a rated coil: the candidate's records as
// the search rated them (the same, bit for bit, as rating its fields
// alone), its tag as the item, the row's cover texts, else the schedule's.
RatedCoil ScheduleRowCoil(const kvn::schedule::ScheduleRowResult& r, const Json& cover) {
    const selection::Candidate& c = *r.Selected();
    RatedCoil coil;
    coil.input = cover;
    coil.input["Item"] = r.request.tag;
    if (!r.request.project.empty()) coil.input["Project"] = r.request.project;
    if (!r.request.customer.empty()) coil.input["Customer"] = r.request.customer;
    if (!r.request.engineer.empty()) coil.input["Engineer"] = r.request.engineer;
    coil.fields = c.fields;
    coil.airFlowMode = r.query.airFlowMode;
    coil.coilSpec = c.coilSpec;
    coil.rating = c.rating;
    coil.result = c.result;
    const auto tube = c.fields.find("Pattern");
    coil.model =
        BuildModelDesignation(c.coilSpec, c.rating, tube == c.fields.end() ? std::string() : tube->second);
    return coil;
}

// Why a row has no coil in the package, in words.
std::string LeftOutWhy(const kvn::schedule::ScheduleRowResult& r, units::System system) {
    if (!r.ok)
        return r.column.empty() || r.error.find(r.column) != std::string::npos
                   ? r.error
                   : r.error + " (column \"" + r.column + "\")";
    if (!r.result.closest) return "no coil meets the duty";
    return "no coil meets the duty (the closest: " +
           selection::MissedInWords(*r.result.closest, r.query, system == units::System::SI) + ")";
}

// The files of a schedule run, fed each row in row order.
class SchedulePackage {
public:
    SchedulePackage(const SchedulePackageFiles& files, const kvn::schedule::ScheduleTable& table,
                    units::System system)
        : cover_(ScheduleCover(table, system)), system_(system) {
        if (!files.kvnFile.empty()) kvn_.emplace(files.kvnFile);
        if (!files.exportFile.empty()) export_.emplace(files.exportFile, system);
        if (!files.submittalFile.empty()) submittal_.emplace(files.submittalFile, files.submittal);
        for (const std::string* f : {&files.exportFile, &files.submittalFile, &files.kvnFile})
            if (!f->empty()) names_ += (names_.empty() ? "" : ", ") + *f;
    }

    void Add(const kvn::schedule::ScheduleRowResult& r) {
        const auto row = static_cast<std::size_t>(r.request.row);
        if (!r.Selected()) {
            ++leftOut_;
            const std::string why = LeftOutWhy(r, system_);
            std::fprintf(stderr, "kvn-rate: row %zu, Tag \"%s\": %s; not in %s\n", row, r.request.tag.c_str(),
                         why.c_str(), names_.c_str());
            if (submittal_) submittal_->LeaveOut(row, r.request.tag, why);
            return;
        }
        const RatedCoil coil = ScheduleRowCoil(r, cover_);
        if (kvn_) kvn_->Add(row, coil, true);
        if (export_) export_->Add(row, coil, true);
        if (submittal_) submittal_->Add(row, coil, true);
    }

    // Completes the files; the exit status of writing them.
    int Finish() {
        int status = kExitOk;
        auto step = [&](int s) {
            if (status == kExitOk) status = s;
        };
        if (kvn_) step(kvn_->Finish());
        if (export_) step(export_->Finish());
        if (submittal_) step(submittal_->Finish());
        return status;
    }

    // Rows with no coil in the files.
    std::size_t LeftOut() const { return leftOut_; }

private:
    Json cover_;
    units::System system_;
    std::string names_;
    std::size_t leftOut_ = 0;
    std::optional<KvnStream> kvn_;
    std::optional<ExportStream> export_;
    std::optional<SubmittalStream> submittal_;
};

}  // namespace

// kvn-rate --schedule FILE with the files of `files`: the rows' lines as
// RunSchedule writes them, and the files. The exit status: 1 for a file
// that is no schedule, 2 when a row is left out of the files (as a batch's
// first coil not rated decides before the files), else that of writing
// them.
int RunSchedulePackage(const std::string& path, units::System system, unsigned jobs, bool pretty,
                       const SchedulePackageFiles& files) {
    kvn::schedule::ScheduleTable table;
    if (!ReadScheduleTable(path, table)) return kExitUsage;
    SchedulePackage package(files, table, system);
    RunScheduleRows(table, system, jobs, [&](kvn::schedule::ScheduleRowResult& r) {
        WriteScheduleLine(r, pretty);
        package.Add(r);
    });
    const int written = package.Finish();
    return package.LeftOut() > 0 ? kExitValidation : written;
}

}  // namespace kvnrate
