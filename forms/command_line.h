// The command line of the kvn program: an optional coil file to open at
// start, --help and --version. Plain C++, so that it is read before the
// toolkit starts (--help and --version need no display).
#pragma once

#include <string>
#include <vector>

struct KvnCommandLine {
    enum Action { kRun, kHelp, kVersion, kError };
    Action action = kRun;
    bool hasFile = false;
    std::string file;   // the coil file to open at start, when hasFile
    std::string error;  // what is wrong, for kError
};

// Reads the arguments after the program name. --help wins over --version,
// and both over a usage error, wherever they stand before "--"; everything
// after "--" is a file name.
KvnCommandLine ParseKvnCommandLine(const std::vector<std::string>& args);

// The text of --help, and the first line of --version ("kvn 9.00").
extern const char kKvnHelp[];
std::string KvnVersionText();
