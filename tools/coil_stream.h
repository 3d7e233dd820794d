// kvn-rate's input as a stream: coils are handed on one at a time as they
// are read, so that a batch of any length is never held whole and a pipe
// gets each answer before it writes the next coil.
//
// A JSON array is read with the streaming parser, element by element. Any
// other input is one coil object per line; the first coil may span several
// lines (one object written over many lines is a batch of one). A line that
// is not a coil object is handed on as a fault and the stream goes on; a
// line over kMaxCoilBytes is skipped to its end without being held whole.
#pragma once

#include <cstddef>
#include <functional>
#include <streambuf>
#include <string>

#include "tools/rate_json.h"

namespace kvnrate {

// The longest coil a line or an array element may take.
constexpr std::size_t kMaxCoilBytes = 1u << 20;

// One coil of the input as read: its object, or why it is not one. Its
// implicit move may allocate, as BatchItem's.
struct InputCoil {      // NOLINT(bugprone-exception-escape)
    std::string where;  // "line 3" or "item 3": where it was read
    Json coil;
    std::string fault;  // not empty: the input was not a coil object
};

// Reads a file descriptor without waiting for more than what is there, so a
// line is seen as soon as it arrives.
class FdStreamBuf : public std::streambuf {
public:
    explicit FdStreamBuf(int fd) : fd_(fd) {}
    // Bytes taken out of the buffer so far.
    std::size_t Consumed() const { return read_ - static_cast<std::size_t>(egptr() - gptr()); }
    bool Failed() const { return failed_; }

    // The next line, without its line feed; false at the end of the input.
    // A line longer than `limit` is read to its end but not kept: `line` is
    // left empty and `overLong` set.
    bool NextLine(std::string& line, std::size_t limit, bool& overLong);

protected:
    int_type underflow() override;

private:
    int fd_;
    char buf_[1 << 16];
    std::size_t read_ = 0;
    bool failed_ = false;
};

// Reads the coils of `in` and calls each(coil) for every one, in order.
// Returns false with `error` when the input cannot be read on (a read
// failure, or a malformed array after its good elements were handed on);
// `count` is the number of coils handed on.
bool ReadCoilStream(FdStreamBuf& in, const std::function<void(InputCoil&)>& each, std::size_t& count,
                    std::string& error);

// Opens the input FILE ("-": standard input) as a file descriptor.
int OpenInput(const std::string& name, std::string& error);

}  // namespace kvnrate
