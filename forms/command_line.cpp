#include "forms/command_line.h"

#include "common/version.h"

const char kKvnHelp[] = R"HELP(Usage: kvn [OPTIONS] [FILE]

Rates finned-tube air-handling coils in a window: chilled and hot water,
glycol, steam, direct-expansion evaporator and refrigerant condenser coils.
Prints the performance sheet of a coil, collects coils into a list that
prints as a multi-coil report, and saves the list as a coil file (.kvn).

With FILE, opens that coil file at start as the File menu's "Open..." does
and shows its Saved Coils list; a file that cannot be read is named in a
message, with the line and the reason, and the window stays empty.

Options
  -h, --help   show this text and exit
  --version    show the version and exit
  --           take the next argument as FILE even if it starts with "-"
  The toolkit's own options, such as "-platform offscreen", are accepted
  too.

Exit status
  0  the window was closed, or --help or --version was given
  1  usage error: an unknown option or more than one FILE
)HELP";

std::string KvnVersionText() {
    return std::string("kvn ") + kvn::kVersion + "\n";
}

KvnCommandLine ParseKvnCommandLine(const std::vector<std::string>& args) {
    KvnCommandLine cl;
    bool help = false, version = false, filesOnly = false;
    for (const std::string& a : args) {
        if (!filesOnly && a == "--") {
            filesOnly = true;
        } else if (!filesOnly && (a == "-h" || a == "--help")) {
            help = true;
        } else if (!filesOnly && a == "--version") {
            version = true;
        } else if (!filesOnly && a.size() > 1 && a[0] == '-') {
            if (cl.error.empty()) cl.error = "unknown option " + a;
        } else if (cl.hasFile) {
            if (cl.error.empty()) cl.error = "only one coil file may be given";
        } else {
            cl.hasFile = true;
            cl.file = a;
        }
    }
    if (help)
        cl.action = KvnCommandLine::kHelp;
    else if (version)
        cl.action = KvnCommandLine::kVersion;
    else if (!cl.error.empty())
        cl.action = KvnCommandLine::kError;
    return cl;
}
