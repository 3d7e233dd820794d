// kvn-rate's coil file options: --kvn writes the rated coils of a batch as
// a coil file, --list prints a coil file's table. Both use the coil file
// reader and writer of the window.
#pragma once

#include <cstddef>
#include <string>

#include "common/units.h"
#include "files/coil_file.h"
#include "files/save_row.h"
#include "files/saved_coils.h"
#include "tools/rate_json.h"

namespace kvnrate {

// Exit status when the coil file of --kvn or --list cannot be written or read.
constexpr int kExitCoilFile = 4;

// Keys of a coil object that fill the report header rather than a field.
bool IsHeaderKey(const std::string& key);

// The text of a header key of the coil object, "" when absent or not text.
std::string HeaderText(const Json& input, const char* key);

// The form texts of a saved row for a rated coil: what the header panel
// would hold, with the designation as the model unless "Model" is given.
SaveRowTexts SaveRowTextsOf(const RatedCoil& coil);

// The note on standard error for a coil of a batch left out of the file
// `path` because it was not rated (number from 1).
void SayNotRated(std::size_t number, const std::string& path);

// --kvn: the rated coils of a batch go to the coil file as they are rated,
// in order, each as one line (the file is renamed into place by Finish, so
// the old file stays until the batch is done). Coils that were not rated
// are left out with a note on standard error.
class KvnStream {
public:
    explicit KvnStream(std::string path);

    // The `number`th coil of the batch (from 1), rated or not.
    void Add(std::size_t number, const RatedCoil& coil, bool rated);

    // Renames the file into place; the exit status (0 when written).
    int Finish();

private:
    std::string path_;
    CoilFileWriter writer_;
    int saved_ = 0;
    std::string failure_;  // why the file cannot be written ("-": already said)
};

// Prints the table of a coil file as JSON: an array with one array of the
// 33 cell texts (columns 0 to 32) per coil, in `system` as the Saved Coils
// list shows them.
int ListKvnFile(const std::string& path, bool pretty, units::System system = units::System::InchPound);

}  // namespace kvnrate
