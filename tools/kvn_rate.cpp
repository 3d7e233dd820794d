// kvn-rate: rates coils without the window, for scripts, batch work and
// checks. Reads coils as JSON, runs each through the calculation driver and
// prints one JSON result per coil. The options and the run; main is in
// main.cpp.
#include "tools/kvn_rate.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/form_fields.h"
#include "common/version.h"
#include "tools/chart_output.h"
#include "tools/coil_file_output.h"
#include "tools/coil_stream.h"
#include "tools/export_output.h"
#include "tools/rate_batch.h"
#include "tools/rate_json.h"
#include "tools/report_output.h"
#include "tools/schedule_json.h"
#include "tools/schedule_package.h"
#include "tools/select_json.h"
#include "tools/submittal_output.h"
#include "tools/units_output.h"

using kvnrate::Json;
using kvnrate::RatedCoil;

namespace {

const char kHelpHead[] = R"HELP(Usage: kvn-rate [OPTIONS] [FILE]

Rates finned-tube coils the way the coil form's "Calculate" does, without the
window. Reads FILE, or standard input when FILE is absent or "-".

Input
  One coil is a JSON object whose keys are the field keys of the coil form:
)HELP";

// The rest of the help, after the field keys.
const char kHelpTail[] = R"HELP(  plus "AirFlowMode": 1 actual cfm (the default, reads "Acfm"), 2 standard
  cfm, 3 face velocity (reads "AirVel"; the air flow is velocity x FL x fin
  height / 144).
  Each value is the field's text; a JSON number is taken as its text as
  written, null as an empty field. A numeric field's text, blanks before
  and after aside, is one number or nothing: "2,000", "12x" or "45F" is
  refused (exit status 2), never read as its leading number. An absent key
  is an empty field, except FinTreat ("CR"), Rifled ("N") and FoulingFactor
  ("0"). Other keys are ignored with a warning on standard error.
  "Pattern" is the tube size choice: "1", "3", "4" (1/2 in, stored as "P"),
  "5" or "6". "Application" is the coil type: W water, G glycol, S steam,
  E evaporator, C condenser.
  A JSON array of such objects, or one object per line, is a batch: the
  coils are rated in turn, each on fresh records. A batch is a stream: each
  coil is rated as it is read and its result written as soon as it and the
  ones before it are done (on one thread, before the next line is read), so
  a batch of any length takes the same memory. An array is read element by
  element. A line or array item that is not a coil object, or is over 1 MB,
  is answered on its own line and the batch goes on.

Output (standard output, one JSON object per coil, one per line)
  rated:            {"ok": true, "messages": [...], "CoilSpec": {...},
                     "CoilRating": {...}, "grid": [[label, value], ...],
                     "model": "58-CWDM-04824-F", "warnings": [...]}
  validation fault: {"ok": false, "validation": {"message": ..., "field": ...}}
                    where "field" is the control the form would focus, such
                    as "txtFPI", "cboTubeOD" or "txtProperty(4)"
  engine failure:   {"ok": false, "error": ..., "messages": [...]}
  no coil:          {"ok": false, "input": ...}, the line or item and why
  "messages" are the message-box texts shown while the coil was rated, in
  order. "CoilSpec" and "CoilRating" hold every field by name (the reserved
  fields of CoilRating are left out); numbers are written with enough digits
  to read back the exact 32-bit value. "grid" is the results grid exactly as
  the form lists it; "model" is the model designation. "warnings" are the
  engineering warnings on the rating, each {"code": ..., "text": ...}
  (an empty array when there is none); they never stop a rating.

  "Item", "Model", "Customer", "Project" and "CoilsPerSystem" fill the
  report header, as on the coil form; they go into the coil file of --kvn.
  "Date", "Notes", "High", "Wide" and "Deep" fill the rest of it for the
  printed sheet (--sheet); the report (--report) takes "Customer",
  "Project" and "Date" of the first coil for its page header, the
  submittal's cover (--submittal) those and "Engineer".

Options
  --pretty     indent each result over several lines
  --kvn FILE   also write the rated coils, in order, as a coil file FILE
               (.kvn), as "Save" and "File" do on the coil form; "Model"
               defaults to the model designation
  --sheet FILE.pdf   also write the performance sheet of the (first) coil
               as PDF, as "Finish" prints it on the coil form
  --report FILE.pdf  also write the multi-coil report of the rated coils as
               PDF, four coils to a page, as the Saved Coils list prints it,
               with each coil's warnings under it; written page by page as
               the coils are rated, so it holds one page whatever the batch
  --export FILE.csv|FILE.xlsx  also write the rated coils (or with --list
               the coil file's coils) as a spreadsheet, one row a coil: tag
               ("Item"), type, model, construction, entering and leaving
               air, capacities, pressure drops, fluid data and warnings,
               with a units row under the header, in the units of --units;
               the format follows the extension. Rows are written as coils
               are rated (an XLSX workbook in constant memory), numbers as
               numbers in XLSX, the header and tag column frozen
  --submittal FILE.pdf  also write the submittal package as one PDF: a
               cover ("Project", "Customer", "Engineer", "Date" of the first
               coil), the schedule of the coils, then each coil's sheet as
               --sheet writes it, tagged with its "Item"; the cover and
               schedule pages say "Page x of y" of the package. On the paper
               of --paper, in the units of --units; laid out at the end of
               the batch from each rated coil's records (about 3 KB a coil).
               With --list: the cover and the schedule only (a coil file
               keeps no ratings); with --schedule: each row's selected coil
               (see "Schedules" below)
  --submittal-charts  follow each sheet of --submittal with its
               psychrometric chart page
  --chart FILE  also write the psychrometric chart of the (first) coil's
               air-side process; the format follows the extension: .png,
               .svg or .pdf, sized for a landscape page within half-inch
               margins; in the units of --units
  --chart-range process|full  the chart around the process (the default)
               or the whole chart of fixed ranges: 30 to 120 F and 0 to 200
               grains/lb, or -10 to 50 C and 0 to 30 g/kg (wider only where
               the process lies beyond them)
  --dpi N      resolution of a PNG chart, 50 to 1200 (default 300)
  --paper letter|a4  the page the chart and the submittal are sized for
               (default letter)
  --list FILE  print the table of the coil file FILE instead of rating: a
               JSON array with one array of 33 cell texts (columns 0 to 32)
               per coil (in SI with --units si; the file is unchanged)
  --jobs N     rate the coils on N threads (default 1; 0: one per core);
               the output is the same, in input order, whatever N; a few
               coils a thread are in flight at a time
  --select     search for the coils that meet a duty instead of rating
               (see "Selection" below)
  --schedule FILE  select a coil for every row of a coil schedule, CSV or
               XLSX, instead of rating (see "Schedules" below)
  --schedule-template FILE  write a schedule template, FILE.csv or
               FILE.xlsx, in the units of --units
  --units ip|si  units of the input texts, the grid and the printed sheet
               and report: ip, inch-pound (the default), or si: FL in mm,
               Acfm and Scfm in m3/h, AirVel in m/s, Gpm in L/s,
               SteamPressure in kPa gauge, Altitude in m, temperatures in C;
               the output then has "units": "SI", and the grid and the
               warnings' texts are in SI. The construction keeps its
               designations (TubeWall and FinThk in inches), and
               "CoilSpec", "CoilRating", "model" and the coil file of --kvn
               stay inch-pound. A placeholder is never converted into a
               quantity: the leaving wet bulb of a heating water or glycol
               coil ("N/A" on the sheet) is null in the SI grid.
  -h, --help   show this text
  --version    show the version

Exit status
  0  every coil was rated
  2  a coil failed validation (the first coil not rated decides), or a row
     of --schedule could not be read or searched (or, with the files
     of --export, --submittal or --kvn, had no coil and was left out)
  3  the engine failed on a coil (the first coil not rated decides)
  1  usage or input error: unreadable file or no coil in it (nothing
     rated), or input that is no coil (the first coil not rated decides);
     a --schedule file that is no schedule, or an unwritable template
  4  the coil file of --kvn could not be written, or that of --list read,
     or the spreadsheet of --export could not be written
  5  the PDF of --sheet, --report or --submittal, or the chart of --chart,
     could not be written (or the sheet's or chart's coil was not rated)
)HELP";

// The help text: the field keys of the coil form four spaces in, wrapped
// before column 78.
std::string HelpText() {
    std::string text = kHelpHead, line = "   ";
    for (const form_fields::Field& f : form_fields::Fields()) {
        if (line.size() + 1 + f.key.size() > 78) {
            text += line + '\n';
            line = "   ";
        }
        line += ' ';
        line += f.key;
    }
    return text + line + '\n' + kHelpTail;
}

// Command-line options. An output option is one field here, one row in
// kOptions and one step in WriteBatchOutputs.
struct Options {
    std::string input = "-";
    bool pretty = false;
    bool help = false;
    bool version = false;
    std::string kvnFile;                             // --kvn: write the rated coils as a coil file
    std::string listFile;                            // --list: print a coil file's table
    std::string sheetFile;                           // --sheet: the performance sheet as PDF
    std::string reportFile;                          // --report: the multi-coil report as PDF
    std::string exportFile;                          // --export: the coils as CSV or XLSX
    std::string submittalFile;                       // --submittal: the submittal package as PDF
    bool submittalCharts = false;                    // --submittal-charts: a chart page after each sheet
    unsigned jobs = 1;                               // --jobs: threads that rate the batch
    std::string chartFile;                           // --chart: the psychrometric chart, PNG, SVG or PDF
    bool select = false;                             // --select: search for coils meeting a duty
    std::string scheduleFile;                        // --schedule: select every row of a schedule
    std::string scheduleTemplate;                    // --schedule-template: write a schedule template
    units::System units = units::System::InchPound;  // --units
    kvnrate::ChartChoices chart;                     // --chart-range, --dpi, --paper
};

// Takes an option's value into `opt`; false with a message when the value
// is not one the option accepts.
using TakeValue = bool (*)(const std::string& value, Options& opt, std::string& error);

bool TakeUnits(const std::string& v, Options& opt, std::string& error) {
    if (units::ParseSystem(v, opt.units)) return true;
    error = "--units takes ip or si, not " + v;
    return false;
}

bool TakeChartRange(const std::string& v, Options& opt, std::string& error) {
    if (v != "full" && v != "process") {
        error = "--chart-range takes full or process, not " + v;
        return false;
    }
    opt.chart.whole = v == "full";
    return true;
}

bool TakeDpi(const std::string& n, Options& opt, std::string& error) {
    const bool digits = !n.empty() && n.size() <= 4 && n.find_first_not_of("0123456789") == std::string::npos;
    const int dpi = digits ? std::stoi(n) : 0;
    if (dpi < 50 || dpi > 1200) {
        error = "--dpi needs a whole number from 50 to 1200, not \"" + n + "\"";
        return false;
    }
    opt.chart.dpi = dpi;
    return true;
}

bool TakePaper(const std::string& v, Options& opt, std::string& error) {
    if (v != "letter" && v != "a4") {
        error = "--paper takes letter or a4, not " + v;
        return false;
    }
    opt.chart.a4 = v == "a4";
    return true;
}

bool TakeJobs(const std::string& n, Options& opt, std::string& error) {
    if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) {
        error = "--jobs needs a whole number from 0 to 9999, not \"" + n + "\"";
        return false;
    }
    opt.jobs = static_cast<unsigned>(std::stoul(n));
    return true;
}

// An option: a switch sets `flag`; an option with a value stores it in
// `text`, or hands it to `take`.
struct OptionDef {
    const char* name;
    bool Options::*flag;
    std::string Options::*text;
    TakeValue take;
};

const OptionDef kOptions[] = {
    {"-h", &Options::help, nullptr, nullptr},
    {"--help", &Options::help, nullptr, nullptr},
    {"--version", &Options::version, nullptr, nullptr},
    {"--pretty", &Options::pretty, nullptr, nullptr},
    {"--kvn", nullptr, &Options::kvnFile, nullptr},
    {"--sheet", nullptr, &Options::sheetFile, nullptr},
    {"--report", nullptr, &Options::reportFile, nullptr},
    {"--export", nullptr, &Options::exportFile, nullptr},
    {"--submittal", nullptr, &Options::submittalFile, nullptr},
    {"--submittal-charts", &Options::submittalCharts, nullptr, nullptr},
    {"--chart", nullptr, &Options::chartFile, nullptr},
    {"--units", nullptr, nullptr, TakeUnits},
    {"--chart-range", nullptr, nullptr, TakeChartRange},
    {"--dpi", nullptr, nullptr, TakeDpi},
    {"--paper", nullptr, nullptr, TakePaper},
    {"--list", nullptr, &Options::listFile, nullptr},
    {"--jobs", nullptr, nullptr, TakeJobs},
    {"--select", &Options::select, nullptr, nullptr},
    {"--schedule", nullptr, &Options::scheduleFile, nullptr},
    {"--schedule-template", nullptr, &Options::scheduleTemplate, nullptr},
};

const OptionDef* FindOption(const std::string& name) {
    for (const OptionDef& def : kOptions)
        if (name == def.name) return &def;
    return nullptr;
}

// Applies the option `def` found at argv[i], taking its value from the
// next argument (and moving `i` past it) when it has one.
bool ApplyOption(const OptionDef& def, int argc, char** argv, int& i, Options& opt, std::string& error) {
    if (def.flag) {
        opt.*def.flag = true;
        return true;
    }
    if (i + 1 >= argc) {
        error = std::string(def.name) + " needs a value";
        return false;
    }
    const std::string value = argv[++i];
    if (def.take) return def.take(value, opt, error);
    opt.*def.text = value;
    return true;
}

bool ParseOptions(int argc, char** argv, Options& opt, std::string& error) {
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (const OptionDef* def = FindOption(a)) {
            if (!ApplyOption(*def, argc, argv, i, opt, error)) return false;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (!haveInput) {
            opt.input = a;
            haveInput = true;
        } else {
            error = "only one input file may be given";
            return false;
        }
    }
    return true;
}

bool ReadInput(const std::string& name, std::string& text, std::string& error) {
    if (name == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        error = "cannot open " + name;
        return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int UsageError(const std::string& error) {
    std::fprintf(stderr, "kvn-rate: %s\n", error.c_str());
    return kvnrate::kExitUsage;
}

kvnrate::SubmittalChoices SubmittalChoicesOf(const Options& opt) {
    return {opt.units, opt.chart.a4, opt.submittalCharts};
}

// --list: the table of a coil file, and the files asked for from it.
int RunList(const Options& opt) {
    int status = kvnrate::ListKvnFile(opt.listFile, opt.pretty, opt.units);
    if (status == kvnrate::kExitOk && !opt.exportFile.empty())
        status = kvnrate::ExportKvnFile(opt.listFile, opt.exportFile, opt.units);
    if (status == kvnrate::kExitOk && !opt.submittalFile.empty()) {
        const kvnrate::GuiSession gui;
        status = kvnrate::SubmittalOfKvnFile(opt.listFile, opt.submittalFile, SubmittalChoicesOf(opt));
    }
    return status;
}

// --select: the search for the coils that meet the duty of the input.
int RunSelect(const Options& opt) {
    std::string text, error;
    if (!ReadInput(opt.input, text, error)) return UsageError(error);
    std::string out;
    const int status = kvnrate::RunSelection(text, opt.pretty, opt.jobs, out, opt.units);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return status;
}

// --schedule: the rows' lines, and the selected coils into the files asked
// for.
int RunScheduleFile(const Options& opt) {
    if (!opt.sheetFile.empty() || !opt.reportFile.empty() || !opt.chartFile.empty())
        return UsageError(
            "--sheet, --report and --chart do not go with --schedule (--submittal holds the "
            "selected coils' sheets and charts)");
    const kvnrate::SchedulePackageFiles files{opt.exportFile, opt.submittalFile, opt.kvnFile,
                                              SubmittalChoicesOf(opt)};
    if (!files.Any()) return kvnrate::RunSchedule(opt.scheduleFile, opt.units, opt.jobs, opt.pretty);
    return kvnrate::RunSchedulePackage(opt.scheduleFile, opt.units, opt.jobs, opt.pretty, files);
}

// The outputs of a rating run, fed one result at a time in input order:
// standard output, the exit status, and the files asked for. Only the
// first coil is kept whole (for --sheet and --chart).
class BatchOutputs {
public:
    explicit BatchOutputs(const Options& opt) : opt_(opt) {
        struct stat st {};
        // A pipe gets each line as it is done; a file is written in blocks.
        flushEach_ = ::fstat(STDOUT_FILENO, &st) != 0 || !S_ISREG(st.st_mode);
        if (!opt.kvnFile.empty()) kvn_.emplace(opt.kvnFile);
        if (!opt.reportFile.empty()) report_.emplace(opt.reportFile, opt.units);
        if (!opt.exportFile.empty()) export_.emplace(opt.exportFile, opt.units);
        if (!opt.submittalFile.empty()) submittal_.emplace(opt.submittalFile, SubmittalChoicesOf(opt));
    }

    void Add(kvnrate::BatchResult& r) {
        ++count_;
        r.line += '\n';
        std::fwrite(r.line.data(), 1, r.line.size(), stdout);
        if (flushEach_) std::fflush(stdout);
        if (status_ == kvnrate::kExitOk) status_ = r.exitStatus();
        if (kvn_) kvn_->Add(count_, r.coil, r.rated());
        if (report_) report_->Add(count_, r.coil, r.rated());
        if (export_) export_->Add(count_, r.coil, r.rated());
        if (submittal_) submittal_->Add(count_, r.coil, r.rated());
        if (count_ == 1 && !r.fault && (!opt_.sheetFile.empty() || !opt_.chartFile.empty()))
            first_ = std::move(r.coil);
    }

    // Paints the report's pages finished so far (on this, the main, thread).
    void PaintPages() {
        if (report_) report_->PaintPages();
    }

    // Writes the files that wait for the end of the batch; the exit status
    // of the run.
    int Finish() {
        std::fflush(stdout);
        const kvnrate::GuiSession gui(!opt_.sheetFile.empty() || !opt_.reportFile.empty() ||
                                      !opt_.chartFile.empty() || !opt_.submittalFile.empty());
        int post = kvnrate::kExitOk;
        auto step = [&](int s) {
            if (post == kvnrate::kExitOk) post = s;
        };
        const RatedCoil* first = first_ ? &*first_ : nullptr;
        if (kvn_) step(kvn_->Finish());
        if (export_) step(export_->Finish());
        if (!opt_.sheetFile.empty()) step(kvnrate::WriteSheetFile(opt_.sheetFile, first, count_, opt_.units));
        if (report_) step(report_->Finish());
        if (submittal_) step(submittal_->Finish());
        if (!opt_.chartFile.empty()) {
            kvnrate::ChartChoices chart = opt_.chart;
            chart.units = opt_.units;
            step(kvnrate::WriteChartFile(opt_.chartFile, first, count_, chart));
        }
        return status_ == kvnrate::kExitOk ? post : status_;
    }

private:
    const Options& opt_;
    bool flushEach_ = true;
    std::size_t count_ = 0;
    int status_ = kvnrate::kExitOk;
    std::optional<kvnrate::KvnStream> kvn_;
    std::optional<kvnrate::ReportStream> report_;
    std::optional<kvnrate::ExportStream> export_;
    std::optional<kvnrate::SubmittalStream> submittal_;
    std::optional<RatedCoil> first_;
};

// The batch item of a coil as read: its field texts in inch-pound, or its
// fault. Keys that are neither fields nor header or sheet texts are noted
// on standard error.
kvnrate::BatchItem ItemOf(const Options& opt, kvnrate::InputCoil& in, std::size_t number) {
    kvnrate::BatchItem p;
    if (!in.fault.empty()) {
        p.fault = in.fault;
        std::fprintf(stderr, "kvn-rate: %s\n", p.fault.c_str());
        return p;
    }
    std::vector<std::string> ignored;
    std::string error;
    if (!kvnrate::FieldsFromJson(in.coil, p.fields, p.airFlowMode, error, &ignored)) {
        p.fault = "coil " + std::to_string(number) + ": " + error;
        std::fprintf(stderr, "kvn-rate: %s\n", p.fault.c_str());
        return p;
    }
    for (const std::string& key : ignored)
        if (!kvnrate::IsHeaderKey(key) && !kvnrate::IsSheetKey(key))
            std::fprintf(stderr, "kvn-rate: coil %zu: unknown key \"%s\" ignored\n", number, key.c_str());
    p.fields = kvnrate::InchPoundFields(p.fields, opt.units);
    p.input = std::move(in.coil);
    return p;
}

// Rates the coils of the input as they are read, prints one result line
// per coil in input order as soon as it is ready, and writes the outputs
// asked for. Input that is no coil is answered on its own line and the
// stream goes on; the exit status is that of the first coil not rated.
int RunRating(const Options& opt) {
    std::string error;
    const int fd = kvnrate::OpenInput(opt.input, error);
    if (fd < 0) return UsageError(error);
    kvnrate::FdStreamBuf in(fd);
    BatchOutputs outputs(opt);
    OrderedStream<kvnrate::BatchItem, kvnrate::BatchResult> stream(
        opt.jobs, [&](kvnrate::BatchItem& item) { return kvnrate::RateItem(item, opt.pretty, opt.units); },
        [&](kvnrate::BatchResult& r) { outputs.Add(r); });
    std::size_t read = 0, number = 0;
    const bool ok = kvnrate::ReadCoilStream(
        in,
        [&](kvnrate::InputCoil& c) {
            stream.Put(ItemOf(opt, c, ++number));
            outputs.PaintPages();
        },
        read, error);
    if (!ok && read > 0) {
        kvnrate::InputCoil fault;
        fault.fault = error;
        stream.Put(ItemOf(opt, fault, read + 1));
    }
    stream.Finish();
    if (fd != 0) ::close(fd);
    if (!ok && read == 0) return UsageError(error);
    return outputs.Finish();
}

int RunOptions(int argc, char** argv) {
    Options opt;
    std::string error;
    if (!ParseOptions(argc, argv, opt, error)) {
        std::fprintf(stderr, "kvn-rate: %s (try --help)\n", error.c_str());
        return kvnrate::kExitUsage;
    }
    if (opt.help) {
        std::fputs(HelpText().c_str(), stdout);
        std::fputs(kvnrate::kSelectHelp, stdout);
        std::fputs(kvnrate::kScheduleHelp, stdout);
        return kvnrate::kExitOk;
    }
    if (opt.version) {
        std::printf("kvn-rate %s\n", kvn::kVersion);
        return kvnrate::kExitOk;
    }
    if (!opt.listFile.empty()) return RunList(opt);
    if (opt.select) return RunSelect(opt);
    if (!opt.scheduleTemplate.empty()) return kvnrate::RunScheduleTemplate(opt.scheduleTemplate, opt.units);
    if (!opt.scheduleFile.empty()) return RunScheduleFile(opt);
    return RunRating(opt);
}

}  // namespace

// Anything that escapes the rater (memory exhausted, a failure of the
// standard library) ends it with a message and exit status 1, never with an
// uncaught exception.
int kvnrate::Run(int argc, char** argv) {
    try {
        return RunOptions(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kvn-rate: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "kvn-rate: unexpected failure\n");
    }
    return 1;
}
