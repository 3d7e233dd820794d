// kvn-rate's one-line result, written straight into text.
#include "tools/result_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/json_number.h"

namespace kvnrate {

namespace {

// A string as the JSON dump writes it. Plain printable ASCII is copied;
// anything else (escapes, UTF-8, invalid bytes) goes through the dump.
void AppendString(std::string& out, const std::string& s) {
    for (unsigned char c : s) {
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') {
            out += Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
            return;
        }
    }
    out += '"';
    out += s;
    out += '"';
}

void AppendValue(std::string& out, const std::string& v) {
    AppendString(out, v);
}

void AppendValue(std::string& out, int16_t v) {
    char buf[8];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// A 32-bit value as its double, in the dump's shortest round-trip digits.
void AppendValue(std::string& out, float v) {
    const double x = v;
    if (!std::isfinite(x)) {
        out += "null";
        return;
    }
    char buf[numfmt::kJsonNumberMax];
    out.append(buf, numfmt::WriteJsonNumber(buf, x));
}

template <class Each, class Record>
void AppendRecord(std::string& out, const char* name, Each each, const Record& rec) {
    out += ",\"";
    out += name;
    out += "\":{";
    bool first = true;
    each(rec, [&](const char* key, const auto& v) {
        if (!first) out += ',';
        first = false;
        out += '"';
        out += key;
        out += "\":";
        AppendValue(out, v);
    });
    out += '}';
}

void AppendMessages(std::string& out, const std::vector<std::string>& messages) {
    out += ",\"messages\":[";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (i) out += ',';
        AppendString(out, messages[i]);
    }
    out += ']';
}

}  // namespace

// Appends the compact result line of one coil (without the newline).
void AppendResultLine(std::string& out, const RatedCoil& c) {
    switch (c.result.status) {
        case CalcResult::Validation:
            out += "{\"ok\":false,\"validation\":{\"message\":";
            AppendString(out, c.result.validation.message);
            out += ",\"field\":";
            AppendString(out, c.result.validation.control);
            out += "}}";
            return;
        case CalcResult::EngineFailed:
            out += "{\"ok\":false,\"error\":";
            AppendString(out, c.result.error);
            AppendMessages(out, c.messages);
            out += '}';
            return;
        case CalcResult::Ok:
            out += "{\"ok\":true";
            AppendMessages(out, c.messages);
            AppendRecord(
                out, "CoilSpec", [](const CoilSpec& s, auto&& put) { EachCoilSpecField(s, put); },
                c.coilSpec);
            AppendRecord(
                out, "CoilRating", [](const CoilRating& r, auto&& put) { EachCoilRatingField(r, put); },
                c.rating);
            out += ",\"grid\":[";
            for (std::size_t i = 0; i < c.result.grid.size(); ++i) {
                out += i ? ",[" : "[";
                AppendString(out, c.result.grid[i].label);
                out += ',';
                AppendString(out, c.result.grid[i].value);
                out += ']';
            }
            out += "],\"model\":";
            AppendString(out, c.model);
            out += ",\"warnings\":[";
            for (std::size_t i = 0; i < c.result.warnings.size(); ++i) {
                out += i ? ",{\"code\":" : "{\"code\":";
                AppendString(out, c.result.warnings[i].code);
                out += ",\"text\":";
                AppendString(out, c.result.warnings[i].text);
                out += '}';
            }
            out += ']';
            out += '}';
            return;
    }
}

}  // namespace kvnrate
