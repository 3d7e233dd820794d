// kvn-rate's report options: --sheet and --report, drawn with the window's
// report code on a headless GUI application.
#include "tools/report_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/rterror.h"
#include "tools/coil_file_output.h"

#if KVN_WITH_REPORTS
// Last: Qt, whose "slots" keyword macro would rewrite the plain names of
// the headers above.
#include <QGuiApplication>
#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

#include "reports/multi_coil_report.h"
#include "reports/output.h"
#include "reports/performance_sheet.h"
#include "tools/sheet_texts.h"
#endif

namespace kvnrate {

// Keys of a coil object that only the printed sheet and report read.
bool IsSheetKey(const std::string& key) {
    return key == "Date" || key == "Notes" || key == "High" || key == "Wide" || key == "Deep" ||
           key == "Engineer";
}

#if KVN_WITH_REPORTS

namespace {

// The toolkit's own messages ("QStandardPaths: XDG_RUNTIME_DIR not set",
// font and platform notes) are not kvn-rate's: standard error carries only
// kvn-rate's messages, which it writes itself.
void DropToolkitMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

class GuiSession::Impl {
public:
    explicit Impl(bool needed) {
        if (!needed || QGuiApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        previous_ = qInstallMessageHandler(DropToolkitMessage);
        // The same PDF bytes on every run: the toolkit's hashes (which
        // order the fonts written at the end) take a fixed seed.
        QHashSeed::setDeterministicGlobalSeed();
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    ~Impl() {
        if (!app_) return;
        app_.reset();
        qInstallMessageHandler(previous_);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

private:
    int argc_ = 1;
    char name_[9] = "kvn-rate";
    char* argv_[2] = {name_, nullptr};
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QGuiApplication> app_;
};

// The header panel's texts of a coil object; the model defaults to the
// coil's designation.
reports::SheetTexts SheetTextsOf(const RatedCoil& coil) {
    reports::SheetTexts t;
    const Json& in = coil.input;
    t.txtHdr = {HeaderText(in, "Date"), HeaderText(in, "Item"),
                in.is_object() && in.contains("Model") ? HeaderText(in, "Model") : coil.model,
                HeaderText(in, "Customer"), HeaderText(in, "Project")};
    t.txtNotes = HeaderText(in, "Notes");
    t.txtCPS = {HeaderText(in, "CoilsPerSystem"), HeaderText(in, "High"), HeaderText(in, "Wide"),
                HeaderText(in, "Deep")};
    auto field = [&](const char* key) {
        auto it = coil.fields.find(key);
        return it == coil.fields.end() ? std::string() : it->second;
    };
    t.coilType = field("Application");
    t.tubeOD = field("Pattern");
    for (const CoilWarning& w : coil.result.warnings) t.warnings.push_back(w.text);
    return t;
}

// The sheet of the batch's first coil; `count` coils were read, and
// `first` is null when the first was no coil.
int WriteSheetFile(const std::string& path, const RatedCoil* first, std::size_t count, units::System system) {
    if (!first || !first->ok()) {
        std::fprintf(stderr, "kvn-rate: the coil was not rated; no sheet written to %s\n", path.c_str());
        return kExitReport;
    }
    if (count > 1)
        std::fprintf(stderr, "kvn-rate: the sheet in %s shows the first of %zu coils\n", path.c_str(), count);
    GuiSession gui;
    reports::SheetTexts texts = SheetTextsOf(*first);
    texts.units = system;
    for (std::string& w : texts.warnings) w = WarningText(system, w);
    if (!reports::WriteSheetPdf(QString::fromStdString(path), first->coilSpec, first->rating, texts)) {
        std::fprintf(stderr, "kvn-rate: cannot write %s\n", path.c_str());
        return kExitReport;
    }
    return kExitOk;
}

class ReportStream::Impl {
public:
    Impl(std::string path, units::System system) : path_(std::move(path)), system_(system) {}
    ~Impl() {
        pdf_.reset();
        if (!tmp_.empty()) ::unlink(tmp_.c_str());
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void Add(std::size_t number, const RatedCoil& coil, bool rated) {
        if (!rated) {
            SayNotRated(number, path_);
            return;
        }
        if (failed_) return;
        if (!report_) {
            header_ = {HeaderText(coil.input, "Customer"), HeaderText(coil.input, "Project"),
                       HeaderText(coil.input, "Date")};
            header_.units = system_;
            report_.emplace(header_);
        }
        std::vector<std::string> warnings;
        for (const CoilWarning& w : coil.result.warnings) warnings.push_back(w.text);
        try {
            report_->Add(BuildSavedRow(saved_++, coil.coilSpec, coil.rating, SaveRowTextsOf(coil)), warnings);
        } catch (const rt::RtError& e) {
            std::fprintf(stderr, "kvn-rate: coil %zu cannot be saved: %s\n", number, e.description().c_str());
            failed_ = true;
            return;
        }
        Queue(report_->Document().PageCount() - 1);
    }

    // Paints the pages finished so far.
    void PaintPages() {
        std::vector<reports::DocPage> pages;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            pages.swap(finished_);
        }
        if (pages.empty() || failed_) return;
        if (!pdf_) Open();
        for (const reports::DocPage& page : pages)
            if (pdf_ && !pdf_->Paint(page)) Fail();
    }

    int Finish() {
        if (failed_) return kExitReport;
        if (!report_) {
            header_.units = system_;
            report_.emplace(header_);
        }
        report_->Finish();
        Queue(report_->Document().PageCount());
        PaintPages();
        if (failed_ || !pdf_ || !pdf_->Close()) {
            Fail();
            return kExitReport;
        }
        pdf_.reset();
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::chmod(tmp_.c_str(), 0666 & ~mask) != 0 || ::rename(tmp_.c_str(), path_.c_str()) != 0) {
            Fail();
            return kExitReport;
        }
        tmp_.clear();
        return kExitOk;
    }

private:
    void Queue(int pages) {
        if (pages <= 0) return;
        std::vector<reports::DocPage> taken = report_->Document().TakeFirstPages(pages);
        const std::lock_guard<std::mutex> lock(mutex_);
        for (reports::DocPage& page : taken) finished_.push_back(std::move(page));
    }

    // The temporary file the PDF is painted into.
    void Open() {
        std::string name = path_ + ".XXXXXX";
        const int fd = ::mkstemp(name.data());
        if (fd < 0) {
            Fail();
            return;
        }
        ::close(fd);
        tmp_ = name;
        pdf_ =
            std::make_unique<reports::ReportPdfStream>(QString::fromStdString(tmp_), reports::PageGeometry{});
    }

    void Fail() {
        if (!failed_) std::fprintf(stderr, "kvn-rate: cannot write %s\n", path_.c_str());
        failed_ = true;
    }

    std::string path_;
    units::System system_;
    GuiSession gui_;
    reports::ReportHeaderTexts header_;
    std::optional<reports::MultiCoilReportBuilder> report_;
    std::mutex mutex_;
    std::vector<reports::DocPage> finished_;  // laid out, not yet painted
    std::unique_ptr<reports::ReportPdfStream> pdf_;
    std::string tmp_;  // the file being written, until it is renamed
    int saved_ = 0;
    std::atomic<bool> failed_ = false;
};

#else

class GuiSession::Impl {
public:
    explicit Impl(bool) {}
};

int WriteSheetFile(const std::string&, const RatedCoil*, std::size_t, units::System) {
    std::fprintf(stderr, "kvn-rate: built without reports; --sheet is not available\n");
    return kExitReport;
}
class ReportStream::Impl {
public:
    Impl(std::string, units::System) {}
    void Add(std::size_t, const RatedCoil&, bool) {}
    void PaintPages() {}
    int Finish() {
        std::fprintf(stderr, "kvn-rate: built without reports; --report is not available\n");
        return kExitReport;
    }
};

#endif

GuiSession::GuiSession(bool needed) : impl_(std::make_unique<Impl>(needed)) {}
GuiSession::~GuiSession() = default;

ReportStream::ReportStream(std::string path, units::System system)
    : impl_(std::make_unique<Impl>(std::move(path), system)) {}
ReportStream::~ReportStream() = default;

void ReportStream::Add(std::size_t number, const RatedCoil& coil, bool rated) {
    impl_->Add(number, coil, rated);
}

void ReportStream::PaintPages() {
    impl_->PaintPages();
}

int ReportStream::Finish() {
    return impl_->Finish();
}

}  // namespace kvnrate
