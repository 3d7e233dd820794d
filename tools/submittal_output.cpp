// kvn-rate --submittal: the submittal package of a batch's rated coils or
// of a coil file's coils as one PDF.
#include "tools/submittal_output.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/rterror.h"
#include "files/coil_file.h"
#include "tools/coil_file_output.h"
#include "tools/export_output.h"
#include "tools/report_output.h"

#if KVN_WITH_REPORTS
// Last: Qt, whose "slots" keyword macro would rewrite the plain names of
// the headers above.
#include "reports/submittal.h"
#include "tools/sheet_texts.h"
#endif

namespace kvnrate {

#if KVN_WITH_REPORTS

class SubmittalStream::Impl {
public:
    Impl(std::string path, const SubmittalChoices& choices) : path_(std::move(path)) {
        header_.units = choices.units;
        header_.a4 = choices.a4;
        header_.charts = choices.charts;
    }

    void Add(std::size_t number, const RatedCoil& coil, bool rated) {
        if (!rated) {
            SayNotRated(number, path_);
            return;
        }
        if (failed_) return;
        if (coils_.empty()) {
            header_.project = HeaderText(coil.input, "Project");
            header_.customer = HeaderText(coil.input, "Customer");
            header_.engineer = HeaderText(coil.input, "Engineer");
            header_.date = HeaderText(coil.input, "Date");
        }
        try {
            coils_.push_back({ExportCoilOf(coil), coil.coilSpec, coil.rating, SheetTextsOf(coil), true});
        } catch (const rt::RtError& e) {
            std::fprintf(stderr, "kvn-rate: coil %zu cannot be saved: %s\n", number, e.description().c_str());
            failed_ = true;
        }
    }

    // The coils of a coil file: schedule lines without sheets.
    void AddSaved(const SavedCoilTable::Row& row) {
        reports::SubmittalCoil c;
        c.line = kvn::exchange::ExportCoilOfSaved(row);
        c.hasSheet = false;
        coils_.push_back(std::move(c));
    }

    void LeaveOut(std::size_t row, const std::string& tag, const std::string& why) {
        auto cell = [](std::string text) {
            std::replace(text.begin(), text.end(), '|', '/');
            return text;
        };
        header_.leftOut.push_back(std::to_string(row) + "|" + cell(tag) + "|" + cell(why));
    }

    int Finish() {
        if (failed_) return kExitReport;
        GuiSession gui;
        if (!reports::WriteSubmittalPdf(QString::fromStdString(path_), header_, coils_)) {
            std::fprintf(stderr, "kvn-rate: cannot write %s\n", path_.c_str());
            return kExitReport;
        }
        return kExitOk;
    }

private:
    std::string path_;
    reports::SubmittalHeader header_;
    std::vector<reports::SubmittalCoil> coils_;
    bool failed_ = false;
};

#else

class SubmittalStream::Impl {
public:
    Impl(std::string, const SubmittalChoices&) {}
    void Add(std::size_t, const RatedCoil&, bool) {}
    void AddSaved(const SavedCoilTable::Row&) {}
    void LeaveOut(std::size_t, const std::string&, const std::string&) {}
    int Finish() {
        std::fprintf(stderr, "kvn-rate: built without reports; --submittal is not available\n");
        return kExitReport;
    }
};

#endif

SubmittalStream::SubmittalStream(std::string path, const SubmittalChoices& choices)
    : impl_(std::make_unique<Impl>(std::move(path), choices)) {}
SubmittalStream::~SubmittalStream() = default;

void SubmittalStream::Add(std::size_t number, const RatedCoil& coil, bool rated) {
    impl_->Add(number, coil, rated);
}

void SubmittalStream::AddSaved(const SavedCoilTable::Row& row) {
    impl_->AddSaved(row);
}

void SubmittalStream::LeaveOut(std::size_t row, const std::string& tag, const std::string& why) {
    impl_->LeaveOut(row, tag, why);
}

int SubmittalStream::Finish() {
    return impl_->Finish();
}

// --list with --submittal: the cover and the schedule of a coil file's
// coils; a coil file keeps no ratings, so there are no sheets.
int SubmittalOfKvnFile(const std::string& kvnPath, const std::string& path, const SubmittalChoices& choices) {
    SavedCoilTable table;
    const CoilFileStatus status = ReadCoilFile(kvnPath, table);
    if (!status.ok) {
        std::fprintf(stderr, "kvn-rate: %s\n", status.Message(kvnPath, false).c_str());
        return kExitCoilFile;
    }
    SubmittalStream out(path, choices);
    for (int r = 0; r < table.CoilCount(); ++r) out.AddSaved(table.Rows()[r]);
    std::fprintf(stderr, "kvn-rate: a coil file keeps no ratings: %s has the schedule without sheets\n",
                 path.c_str());
    return out.Finish();
}

}  // namespace kvnrate
