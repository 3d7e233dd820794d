// kvn-rate, the headless command-line rater: the whole program behind its
// main (tools/main.cpp).
#pragma once

namespace kvnrate {

// Runs kvn-rate on its command line: reads the options and the input,
// writes the output and the files asked for; the exit status. Nothing
// escapes it: a failure (memory exhausted, a failure of the standard
// library) is said on standard error and gives exit status 1.
int Run(int argc, char** argv);

}  // namespace kvnrate
