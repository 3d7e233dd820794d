// kvn-rate's input as a stream: coils handed on one at a time as they are
// read.
#include "tools/coil_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "tools/number_text_sax.h"

namespace kvnrate {

// The next line, without its line feed; false at the end of the input.
// A line longer than `limit` is read to its end but not kept: `line` is
// left empty and `overLong` set.
bool FdStreamBuf::NextLine(std::string& line, std::size_t limit, bool& overLong) {
    line.clear();
    overLong = false;
    bool any = false;
    for (;;) {
        if (gptr() == egptr() && underflow() == traits_type::eof()) return any;
        any = true;
        const char* begin = gptr();
        const std::size_t avail = static_cast<std::size_t>(egptr() - begin);
        const void* nl = std::memchr(begin, '\n', avail);
        const std::size_t take = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - begin) : avail;
        if (!overLong && line.size() + take <= limit) {
            line.append(begin, take);
        } else {
            overLong = true;
            line.clear();
        }
        gbump(static_cast<int>(nl ? take + 1 : take));
        if (nl) return true;
    }
}

FdStreamBuf::int_type FdStreamBuf::underflow() {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    for (;;) {
        const ssize_t got = ::read(fd_, buf_, sizeof buf_);
        if (got > 0) {
            read_ += static_cast<std::size_t>(got);
            setg(buf_, buf_, buf_ + got);
            return traits_type::to_int_type(*gptr());
        }
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failed_ = true;
        return traits_type::eof();
    }
}

namespace {

// Hands on each element of a top-level array as it completes; elements are
// built with NumberTextSax, so numbers keep their texts. An element that
// grows past kMaxCoilBytes is dropped as it is read.
class ArrayItemSax : public nlohmann::json_sax<Json> {
public:
    ArrayItemSax(const FdStreamBuf& in, const std::function<void(InputCoil&)>& each) : in_(in), each_(each) {}

    bool null() override {
        return scalar([&](NumberTextSax& s) { return s.null(); });
    }
    bool boolean(bool v) override {
        return scalar([&](NumberTextSax& s) { return s.boolean(v); });
    }
    bool number_integer(number_integer_t v) override {
        return scalar([&](NumberTextSax& s) { return s.number_integer(v); });
    }
    bool number_unsigned(number_unsigned_t v) override {
        return scalar([&](NumberTextSax& s) { return s.number_unsigned(v); });
    }
    bool number_float(number_float_t v, const string_t& text) override {
        return scalar([&](NumberTextSax& s) { return s.number_float(v, text); });
    }
    bool string(string_t& v) override {
        return scalar([&](NumberTextSax& s) { return s.string(v); });
    }
    bool binary(binary_t&) override { return false; }
    bool key(string_t& k) override {
        return forward([&](NumberTextSax& s) { return s.key(k); });
    }
    bool start_object(std::size_t n) override {
        return open([&](NumberTextSax& s) { return s.start_object(n); });
    }
    bool start_array(std::size_t n) override {
        if (depth_ == 0) {
            depth_ = 1;
            return true;
        }
        return open([&](NumberTextSax& s) { return s.start_array(n); });
    }
    bool end_object() override {
        return close([&](NumberTextSax& s) { return s.end_object(); });
    }
    bool end_array() override {
        if (depth_ == 1) {
            depth_ = 0;
            return true;
        }
        return close([&](NumberTextSax& s) { return s.end_array(); });
    }
    bool parse_error(std::size_t, const std::string&, const Json::exception& ex) override {
        error = element_ && !element_->error.empty() ? element_->error : ex.what();
        return false;
    }

    std::string error;
    std::size_t items = 0;

private:
    template <class F>
    bool forward(F f) {
        if (!element_) return true;  // dropped: over the limit
        if (in_.Consumed() - start_ > kMaxCoilBytes) {
            element_.reset();
            coil_ = Json();
            return true;
        }
        if (f(*element_)) return true;
        error = element_->error;
        return false;
    }
    template <class F>
    bool begin(F f) {
        ++items;
        start_ = in_.Consumed();
        coil_ = Json();
        element_.emplace(coil_);
        return f(*element_);
    }
    template <class F>
    bool scalar(F f) {
        if (depth_ > 1) return forward(f);
        if (!begin(f)) return false;
        return deliver();
    }
    template <class F>
    bool open(F f) {
        ++depth_;
        if (depth_ > 2) return forward(f);
        if (begin(f)) return true;
        error = element_->error;
        return false;
    }
    template <class F>
    bool close(F f) {
        --depth_;
        if (!forward(f)) return false;
        return depth_ > 1 || deliver();
    }
    bool deliver() {
        InputCoil in;
        in.where = "item " + std::to_string(items);
        if (!element_)
            in.fault = in.where + " is over 1 MB";
        else if (!coil_.is_object())
            in.fault = in.where + " of the array is not a JSON object";
        else
            in.coil = std::move(coil_);
        element_.reset();
        coil_ = Json();
        each_(in);
        return true;
    }

    const FdStreamBuf& in_;
    const std::function<void(InputCoil&)>& each_;
    std::size_t depth_ = 0;
    std::size_t start_ = 0;
    Json coil_;
    std::optional<NumberTextSax> element_;
};

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

// Whether a parse failed only because the text ended inside the value.
bool EndedEarly(const std::string& error) {
    return error.find("unexpected end of input") != std::string::npos;
}

// The elements of a top-level array, `in` at its "[".
bool ReadArray(FdStreamBuf& in, const std::function<void(InputCoil&)>& each, std::size_t& count,
               std::string& error) {
    std::istream stream(&in);
    ArrayItemSax sax(in, each);
    const bool ok = Json::sax_parse(stream, &sax, Json::input_format_t::json, false, false);
    count = sax.items;
    if (!ok) {
        error = "in the array: " + sax.error;
        return false;
    }
    std::string rest;
    bool overLong = false;
    while (in.NextLine(rest, 64, overLong))
        if (overLong || !IsBlank(rest)) {
            error = "the input goes on after the array";
            return false;
        }
    if (in.Failed()) error = "cannot read the input";
    return !in.Failed();
}

// The most lines the first coil may span.
constexpr std::size_t kMaxFirstCoilLines = 200;

// Reads the coil of `line` (line `lineNo`) into `c`. The first coil may go
// on over the next lines, which moves `lineNo` on.
void ReadLineCoil(FdStreamBuf& in, std::string& line, bool first, std::size_t& lineNo, InputCoil& c) {
    std::string lineError;
    bool parsed = ParseJsonText(line, c.coil, lineError);
    if (first && !parsed && EndedEarly(lineError)) {
        std::string text = line;
        bool overLong = false;
        for (std::size_t n = 1;
             !parsed && EndedEarly(lineError) && n < kMaxFirstCoilLines && text.size() < kMaxCoilBytes &&
             in.NextLine(line, kMaxCoilBytes, overLong) && !overLong;
             ++n) {
            ++lineNo;
            text += '\n';
            text += line;
            // Only a closing brace can end the object.
            if (line.find('}') != std::string::npos) parsed = ParseJsonText(text, c.coil, lineError);
        }
    }
    if (!parsed)
        c.fault = c.where + ": " + lineError;
    else if (!c.coil.is_object())
        c.fault = c.where + " is not a JSON object";
}

// One coil a line; `lineNo` lines were read before.
bool ReadLines(FdStreamBuf& in, const std::function<void(InputCoil&)>& each, std::size_t lineNo,
               std::size_t& count, std::string& error) {
    std::string line;
    bool overLong = false;
    while (in.NextLine(line, kMaxCoilBytes, overLong)) {
        ++lineNo;
        if (!overLong && IsBlank(line)) continue;
        InputCoil c;
        c.where = "line " + std::to_string(lineNo);
        if (overLong)
            c.fault = c.where + " is over 1 MB";
        else
            ReadLineCoil(in, line, count == 0, lineNo, c);
        ++count;
        each(c);
    }
    if (in.Failed()) {
        error = "cannot read the input";
        return false;
    }
    if (count == 0) {
        error = "no coil in the input";
        return false;
    }
    return true;
}

}  // namespace

// Reads the coils of `in` and calls each(coil) for every one, in order.
// Returns false with `error` when the input cannot be read on (a read
// failure, or a malformed array after its good elements were handed on);
// `count` is the number of coils handed on.
bool ReadCoilStream(FdStreamBuf& in, const std::function<void(InputCoil&)>& each, std::size_t& count,
                    std::string& error) {
    count = 0;
    // Leading white space; the first character decides array or lines.
    std::size_t lineNo = 0;
    for (int c = in.sgetc(); c != FdStreamBuf::traits_type::eof() && std::isspace(c); c = in.snextc())
        if (c == '\n') ++lineNo;
    if (in.sgetc() == '[') return ReadArray(in, each, count, error);
    return ReadLines(in, each, lineNo, count, error);
}

// Opens the input FILE ("-": standard input) as a file descriptor.
int OpenInput(const std::string& name, std::string& error) {
    if (name == "-") return 0;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) error = "cannot open " + name;
    return fd;
}

}  // namespace kvnrate
