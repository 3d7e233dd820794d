// kvn-rate's report options: --sheet writes the performance sheet of the
// batch's coil as PDF, --report the multi-coil report of every rated coil.
// Both draw with the window's report code on a headless GUI application;
// built without the reports, each says so and fails.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "common/units.h"
#include "tools/rate_json.h"

namespace kvnrate {

// Exit status when the PDF of --sheet or --report cannot be written.
constexpr int kExitReport = 5;

// Keys of a coil object that only the printed sheet and report read.
bool IsSheetKey(const std::string& key);

// Fonts and PDF writing need a GUI application; without a display it runs
// on the offscreen platform. A session creates one when none exists and
// closes it again when it ends (before the program's exit handlers run).
class GuiSession {
public:
    explicit GuiSession(bool needed = true);
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// The sheet of the batch's first coil; `count` coils were read, and
// `first` is null when the first was no coil.
int WriteSheetFile(const std::string& path, const RatedCoil* first, std::size_t count,
                   units::System system = units::System::InchPound);

// The multi-coil report of every rated coil, laid out page by page as the
// coils are rated and painted as each page is finished, so only a page or
// two are held whatever the batch; the page header takes "Customer",
// "Project" and "Date" of the first coil. Coils are added on any thread
// (one at a time); pages are painted by PaintPages and Finish, on the
// thread that made the stream (fonts belong to a thread). The PDF goes to a
// temporary file beside FILE, renamed into place at the end.
class ReportStream {
public:
    ReportStream(std::string path, units::System system);
    ~ReportStream();
    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

    void Add(std::size_t number, const RatedCoil& coil, bool rated);
    // Paints the pages finished so far.
    void PaintPages();
    int Finish();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kvnrate
