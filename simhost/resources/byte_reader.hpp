#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/host_error.hpp"

namespace simhost::resources_detail {

// Reads little-endian numbers and UTF-16 text from bytes that may be hostile: every read is checked against
// the end, and running past it throws HostError naming what was being read.
class ByteReader {
  public:
    ByteReader(std::span<const uint8_t> bytes, std::string what) : bytes_(bytes), what_(std::move(what)) {}

    size_t position() const { return position_; }
    size_t size() const { return bytes_.size(); }
    size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ >= bytes_.size(); }
    const std::string& what() const { return what_; }

    void seek(size_t position) {
        if (position > bytes_.size())
            fail("an offset points past its end");
        position_ = position;
    }
    void skip(size_t count) {
        need(count);
        position_ += count;
    }
    // Moves to the next multiple of four from the start (past the end is allowed to mean "nothing left").
    void alignTo4() { position_ = std::min(bytes_.size(), (position_ + 3) & ~size_t(3)); }

    uint8_t u8() {
        need(1);
        return bytes_[position_++];
    }
    uint16_t u16() {
        need(2);
        uint16_t value = uint16_t(bytes_[position_] | (bytes_[position_ + 1] << 8));
        position_ += 2;
        return value;
    }
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32() {
        need(4);
        uint32_t value = uint32_t(bytes_[position_]) | (uint32_t(bytes_[position_ + 1]) << 8) |
                         (uint32_t(bytes_[position_ + 2]) << 16) | (uint32_t(bytes_[position_ + 3]) << 24);
        position_ += 4;
        return value;
    }
    int32_t i32() { return int32_t(u32()); }
    std::span<const uint8_t> bytes(size_t count) {
        need(count);
        auto view = bytes_.subspan(position_, count);
        position_ += count;
        return view;
    }
    // A zero-terminated UTF-16 string, as UTF-8.
    std::string zeroTerminatedUtf16();

    [[noreturn]] void fail(const std::string& reason) const { throw HostError(what_ + ": " + reason + "."); }

  private:
    void need(size_t count) const {
        if (count > remaining())
            fail("it ends early (" + std::to_string(count) + " more bytes needed at offset " +
                 std::to_string(position_) + " of " + std::to_string(bytes_.size()) + ")");
    }

    std::span<const uint8_t> bytes_;
    std::string what_;
    size_t position_ = 0;
};

// UTF-16 code units to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(const std::u16string& text);

}  // namespace simhost::resources_detail
