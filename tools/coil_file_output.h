// kvn-rate's coil file options: --kvn writes the rated coils of a batch as
// a coil file, --list prints a coil file's table. Both use the coil file
// reader and writer of the window.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/units.h"
#include "engine/rterror.h"
#include "files/coil_file.h"
#include "files/save_row.h"
#include "files/saved_coil_units.h"
#include "files/saved_coils.h"
#include "tools/rate_json.h"

namespace kvnrate {

// Exit status when the coil file of --kvn or --list cannot be written or read.
constexpr int kExitCoilFile = 4;

// Keys of a coil object that fill the report header rather than a field.
inline bool IsHeaderKey(const std::string& key) {
    return key == "Item" || key == "Model" || key == "Customer" || key == "Project" ||
           key == "CoilsPerSystem";
}

// The text of a header key of the coil object, "" when absent or not text.
inline std::string HeaderText(const Json& input, const char* key) {
    std::string text;
    if (!input.is_object() || !input.contains(key) || !ValueText(input[key], text)) return {};
    return text;
}

// The form texts of a saved row for a rated coil: what the header panel
// would hold, with the designation as the model unless "Model" is given.
inline SaveRowTexts SaveRowTextsOf(const RatedCoil& coil) {
    SaveRowTexts t;
    t.coilsPerSystem = HeaderText(coil.input, "CoilsPerSystem");
    t.item = HeaderText(coil.input, "Item");
    t.model =
        coil.input.is_object() && coil.input.contains("Model") ? HeaderText(coil.input, "Model") : coil.model;
    t.coilTypeWord = CoilTypeWord(coil.coilSpec.Application);
    auto field = [&](const char* key) {
        auto it = coil.fields.find(key);
        return it == coil.fields.end() ? std::string() : it->second;
    };
    t.tubeText = field("Pattern");
    t.wallText = field("TubeWall");
    return t;
}

// --kvn: the rated coils of a batch go to the coil file as they are rated,
// in order, each as one line (the file is renamed into place by Finish, so
// the old file stays until the batch is done). Coils that were not rated
// are left out with a note on standard error.
class KvnStream {
public:
    explicit KvnStream(std::string path) : path_(std::move(path)) {
        const CoilFileStatus s = writer_.Open(path_);
        if (!s.ok) failure_ = s.Message(path_, true);
    }

    // The `number`th coil of the batch (from 1), rated or not.
    void Add(std::size_t number, const RatedCoil& coil, bool rated) {
        if (!rated) {
            std::fprintf(stderr, "kvn-rate: coil %zu was not rated and is not in %s\n", number,
                         path_.c_str());
            return;
        }
        if (!failure_.empty()) return;
        try {
            ++saved_;
            const SavedCoilTable::Row row =
                BuildSavedRow(saved_ - 1, coil.coilSpec, coil.rating, SaveRowTextsOf(coil));
            const CoilFileStatus s = writer_.Add(row);
            if (!s.ok) failure_ = s.Message(path_, true);
        } catch (const rt::RtError& e) {
            std::fprintf(stderr, "kvn-rate: coil %zu cannot be saved: %s\n", number, e.description().c_str());
            failure_ = "-";
        }
    }

    // Renames the file into place; the exit status (0 when written).
    int Finish() {
        if (failure_.empty()) {
            const CoilFileStatus s = writer_.Commit();
            if (s.ok) return kExitOk;
            failure_ = s.Message(path_, true);
        }
        if (failure_ != "-") std::fprintf(stderr, "kvn-rate: %s\n", failure_.c_str());
        return kExitCoilFile;
    }

private:
    std::string path_;
    CoilFileWriter writer_;
    int saved_ = 0;
    std::string failure_;  // why the file cannot be written ("-": already said)
};

// Prints the table of a coil file as JSON: an array with one array of the
// 33 cell texts (columns 0 to 32) per coil, in `system` as the Saved Coils
// list shows them.
inline int ListKvnFile(const std::string& path, bool pretty,
                       units::System system = units::System::InchPound) {
    SavedCoilTable table;
    CoilFileStatus status = ReadCoilFile(path, table);
    if (!status.ok) {
        std::fprintf(stderr, "kvn-rate: %s\n", status.Message(path, false).c_str());
        return kExitCoilFile;
    }
    Json list = Json::array();
    for (int r = 0; r < table.CoilCount(); ++r) {
        Json row = Json::array();
        for (int c = 0; c < col::Count; ++c) row.push_back(SavedCellText(system, table.Rows()[r], c));
        list.push_back(std::move(row));
    }
    const std::string out = list.dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fputc('\n', stdout);
    return kExitOk;
}

}  // namespace kvnrate
