// The value layer of the component stream inside a print form file: one tag byte, then the
// value's data, little-endian. FormStreamWriter appends values to a byte string;
// FormStreamReader reads them back from bytes held in memory and never reads past them
// (FormError "Stream read error" when a value runs past the end).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorel {

enum class ValueTag : std::uint8_t {
  Null = 0,
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,
  String = 6,
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LString = 12,
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,
  Date = 17,
  WString = 18,
  Int64 = 19
};

// 80-bit extended numbers: the 10 bytes of a finite double, and back (false for an infinity
// or a NaN).
void EncodeExtended(double value, std::uint8_t out[10]);
bool DecodeExtended(const std::uint8_t in[10], double& value);

// A value as read, whatever its tag.
struct FormValue {
  enum class Kind { Int, Float, Text, Ident, Bool, Set, List, Other };
  Kind kind = Kind::Other;
  std::int64_t integer = 0;
  double number = 0;
  std::string text;  // Text (Windows-1251; wide texts converted) and Ident
  bool boolean = false;
  std::vector<std::string> members;  // Set
  std::vector<FormValue> items;      // List
};

class FormStreamWriter {
 public:
  void Byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
  void U32(std::uint32_t v);
  // 1-byte length, then at most 255 bytes.
  void ShortText(std::string_view bytes);

  void Integer(std::int64_t v);       // the smallest integer tag that holds it
  void Text(std::string_view bytes);  // String up to 255 bytes, LString beyond
  void Ident(std::string_view name);
  void Boolean(bool v) { Byte(static_cast<std::uint8_t>(v ? ValueTag::True : ValueTag::False)); }
  void Set(const std::vector<std::string_view>& members);
  void FloatList(const std::vector<double>& numbers);
  void End() { Byte(0); }

  std::string& bytes() { return out_; }

 private:
  void Tag(ValueTag t) { Byte(static_cast<std::uint8_t>(t)); }
  std::string out_;
};

class FormStreamReader {
 public:
  explicit FormStreamReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::uint8_t Byte();
  std::uint8_t PeekByte() const;
  std::string ShortText();
  // One value with everything it holds; lists nest at most a few levels deep.
  FormValue Value();

 private:
  FormValue ValueAt(int depth);
  std::string_view Take(std::size_t n);
  std::int64_t Signed(std::size_t n);  // n is 1, 2, 4 or 8
  std::uint32_t U32();

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace zorel
