// kvn-rate's coil file options: --kvn and --list.
#include "tools/coil_file_output.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/rterror.h"
#include "files/saved_coil_units.h"

namespace kvnrate {

// Keys of a coil object that fill the report header rather than a field.
bool IsHeaderKey(const std::string& key) {
    return key == "Item" || key == "Model" || key == "Customer" || key == "Project" ||
           key == "CoilsPerSystem";
}

// The text of a header key of the coil object, "" when absent or not text.
std::string HeaderText(const Json& input, const char* key) {
    std::string text;
    if (!input.is_object() || !input.contains(key) || !ValueText(input[key], text)) return {};
    return text;
}

// The form texts of a saved row for a rated coil: what the header panel
// would hold, with the designation as the model unless "Model" is given.
SaveRowTexts SaveRowTextsOf(const RatedCoil& coil) {
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

void SayNotRated(std::size_t number, const std::string& path) {
    std::fprintf(stderr, "kvn-rate: coil %zu was not rated and is not in %s\n", number, path.c_str());
}

KvnStream::KvnStream(std::string path) : path_(std::move(path)) {
    const CoilFileStatus s = writer_.Open(path_);
    if (!s.ok) failure_ = s.Message(path_, true);
}

void KvnStream::Add(std::size_t number, const RatedCoil& coil, bool rated) {
    if (!rated) {
        SayNotRated(number, path_);
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
        failure_.assign(1, '-');  // not = "-": g++ 12 warns falsely (-Wrestrict) on that
    }
}

int KvnStream::Finish() {
    if (failure_.empty()) {
        const CoilFileStatus s = writer_.Commit();
        if (s.ok) return kExitOk;
        failure_ = s.Message(path_, true);
    }
    if (failure_ != "-") std::fprintf(stderr, "kvn-rate: %s\n", failure_.c_str());
    return kExitCoilFile;
}

// Prints the table of a coil file as JSON: an array with one array of the
// 33 cell texts (columns 0 to 32) per coil, in `system` as the Saved Coils
// list shows them.
int ListKvnFile(const std::string& path, bool pretty, units::System system) {
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
