// The JSON reader behind kvn-rate's input: builds a tree like the ordinary
// parser, except that a number that is not a plain integer is kept as a
// string holding its text as written, so that "0.020" reaches the field as
// "0.020". Used by the whole-text reader (ParseJsonText) and the stream
// reader of arrays (coil_stream).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "tools/rate_json.h"

namespace kvnrate {

class NumberTextSax : public nlohmann::json_sax<Json> {
public:
    explicit NumberTextSax(Json& root) : root_(root) {}

    bool null() override { return put(nullptr); }
    bool boolean(bool v) override { return put(v); }
    bool number_integer(number_integer_t v) override { return put(v); }
    bool number_unsigned(number_unsigned_t v) override { return put(v); }
    bool number_float(number_float_t, const string_t& text) override { return put(text); }
    bool string(string_t& v) override { return put(v); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& k) override {
        key_ = k;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const Json::exception& ex) override;

    static constexpr std::size_t kMaxDepth = 100;
    std::string error;
    std::size_t errorPosition = 0;

private:
    template <class V>
    Json* place(V&& v) {
        if (stack_.empty()) {
            root_ = Json(std::forward<V>(v));
            return &root_;
        }
        Json* top = stack_.back();
        if (top->is_array()) {
            top->push_back(Json(std::forward<V>(v)));
            return &top->back();
        }
        Json& slot = (*top)[key_];
        slot = Json(std::forward<V>(v));
        return &slot;
    }
    template <class V>
    bool put(V&& v) {
        place(std::forward<V>(v));
        return true;
    }
    bool open(Json&& container);
    bool close() {
        stack_.pop_back();
        return true;
    }

    Json& root_;
    std::vector<Json*> stack_;
    std::string key_;
};

}  // namespace kvnrate
