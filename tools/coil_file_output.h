// kvn-rate's coil file options: --kvn writes the rated coils of a batch as
// a coil file, --list prints a coil file's table. Both use the coil file
// reader and writer of the window.
#pragma once

#include <cstdio>
#include <string>
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

// Saves every rated coil of the batch, in order, and writes the coil file.
// Coils that were not rated are left out with a note on standard error.
inline int WriteKvnFile(const std::string& path, const std::vector<RatedCoil>& coils) {
    SavedCoilTable table;
    for (std::size_t i = 0; i < coils.size(); ++i) {
        if (!coils[i].ok()) {
            std::fprintf(stderr, "kvn-rate: coil %zu was not rated and is not in %s\n", i + 1, path.c_str());
            continue;
        }
        try {
            AppendSavedCoil(table, coils[i].coilSpec, coils[i].rating, SaveRowTextsOf(coils[i]));
        } catch (const rt::RtError& e) {
            std::fprintf(stderr, "kvn-rate: coil %zu cannot be saved: %s\n", i + 1, e.description().c_str());
            return kExitCoilFile;
        }
    }
    CoilFileStatus status = WriteCoilFile(path, table);
    if (!status.ok) {
        std::fprintf(stderr, "kvn-rate: %s\n", status.Message(path, true).c_str());
        return kExitCoilFile;
    }
    return kExitOk;
}

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
