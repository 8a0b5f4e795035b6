// The layout of every fuzz input: a sequence of small numbers and pieces, each piece a 16-bit
// little-endian length followed by that many bytes. Any byte string is a valid input: a
// length that runs past the end takes what is left, and reads past the end give zeros and
// empty pieces. The seed writer builds inputs with InputWriter in the same order the targets
// read them with InputReader.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorel::fuzz {

class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size)
      : data_(reinterpret_cast<const char*>(data)), size_(size) {}

  bool empty() const { return pos_ >= size_; }

  std::uint8_t Byte() { return pos_ < size_ ? static_cast<std::uint8_t>(data_[pos_++]) : 0; }
  std::uint16_t U16() {
    const std::uint16_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }

  std::string Piece() {
    const std::size_t want = U16();
    const std::size_t take = std::min(want, size_ - std::min(pos_, size_));
    std::string piece(data_ + pos_, take);
    pos_ += take;
    return piece;
  }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class InputWriter {
 public:
  void Byte(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    Byte(static_cast<std::uint8_t>(v));
    Byte(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  // Pieces longer than a length word can say are cut.
  void Piece(std::string_view bytes) {
    bytes = bytes.substr(0, 0xFFFF);
    U16(static_cast<std::uint16_t>(bytes.size()));
    out_.append(bytes);
  }

  const std::string& bytes() const { return out_; }

 private:
  std::string out_;
};

}  // namespace zorel::fuzz
