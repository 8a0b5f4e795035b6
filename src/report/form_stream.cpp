#include "report/form_stream.h"

#include <QString>
#include <cmath>
#include <cstring>

#include "data/bytes.h"
#include "report/form_error.h"
#include "textconv/text_convert.h"

namespace zorel {
namespace {

constexpr int kMaxDepth = 16;

}  // namespace

void EncodeExtended(double value, std::uint8_t out[10]) {
  std::memset(out, 0, 10);
  const bool negative = std::signbit(value);
  std::uint16_t signExp = negative ? 0x8000 : 0;
  if (value != 0) {
    int exp = 0;
    const double fraction = std::frexp(std::fabs(value), &exp);  // [0.5, 1) * 2^exp
    StoreU64(out, static_cast<std::uint64_t>(std::ldexp(fraction, 64)));
    signExp = static_cast<std::uint16_t>(signExp | ((exp + 16382) & 0x7FFF));
  }
  StoreU16(out + 8, signExp);
}

bool DecodeExtended(const std::uint8_t in[10], double& value) {
  const std::uint64_t mantissa = LoadU64(in);
  const int signExp = LoadU16(in + 8);
  const int exp = signExp & 0x7FFF;
  if (exp == 0x7FFF) return false;
  value = std::ldexp(static_cast<double>(mantissa), exp - 16383 - 63);
  if (signExp & 0x8000) value = -value;
  return std::isfinite(value);
}

void FormStreamWriter::U32(std::uint32_t v) { PutU32(out_, v); }

void FormStreamWriter::ShortText(std::string_view bytes) {
  bytes = bytes.substr(0, 255);
  Byte(static_cast<std::uint8_t>(bytes.size()));
  out_.append(bytes);
}

void FormStreamWriter::Integer(std::int64_t v) {
  if (v >= INT8_MIN && v <= INT8_MAX) {
    Tag(ValueTag::Int8);
    Byte(static_cast<std::uint8_t>(v));
  } else if (v >= INT16_MIN && v <= INT16_MAX) {
    Tag(ValueTag::Int16);
    PutU16(out_, static_cast<std::uint16_t>(v));
  } else if (v >= INT32_MIN && v <= INT32_MAX) {
    Tag(ValueTag::Int32);
    U32(static_cast<std::uint32_t>(v));
  } else {
    Tag(ValueTag::Int64);
    U32(static_cast<std::uint32_t>(v));
    U32(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32));
  }
}

void FormStreamWriter::Text(std::string_view bytes) {
  if (bytes.size() <= 255) {
    Tag(ValueTag::String);
    ShortText(bytes);
  } else {
    Tag(ValueTag::LString);
    U32(static_cast<std::uint32_t>(bytes.size()));
    out_.append(bytes);
  }
}

void FormStreamWriter::Ident(std::string_view name) {
  Tag(ValueTag::Ident);
  ShortText(name);
}

void FormStreamWriter::Set(const std::vector<std::string_view>& members) {
  Tag(ValueTag::Set);
  for (const std::string_view m : members) ShortText(m);
  ShortText({});
}

void FormStreamWriter::FloatList(const std::vector<double>& numbers) {
  Tag(ValueTag::List);
  for (const double n : numbers) {
    Tag(ValueTag::Extended);
    std::uint8_t ext[10];
    EncodeExtended(n, ext);
    out_.append(reinterpret_cast<const char*>(ext), 10);
  }
  End();
}

std::string_view FormStreamReader::Take(std::size_t n) {
  if (n > bytes_.size() - pos_) throw FormError(kStreamReadError);
  const std::string_view piece = bytes_.substr(pos_, n);
  pos_ += n;
  return piece;
}

std::uint8_t FormStreamReader::Byte() { return static_cast<std::uint8_t>(Take(1)[0]); }

std::uint8_t FormStreamReader::PeekByte() const {
  if (AtEnd()) throw FormError(kStreamReadError);
  return static_cast<std::uint8_t>(bytes_[pos_]);
}

std::string FormStreamReader::ShortText() { return std::string(Take(Byte())); }

std::int64_t FormStreamReader::Signed(std::size_t n) {
  const std::uint8_t* p = AsBytes(Take(n).data());
  switch (n) {
    case 1:
      return static_cast<std::int8_t>(p[0]);
    case 2:
      return LoadI16(p);
    case 4:
      return LoadI32(p);
    default:
      return static_cast<std::int64_t>(LoadU64(p));
  }
}

std::uint32_t FormStreamReader::U32() { return LoadU32(AsBytes(Take(4).data())); }

FormValue FormStreamReader::Value() { return ValueAt(0); }

FormValue FormStreamReader::ValueAt(int depth) {
  if (depth > kMaxDepth) throw FormError(kInvalidStreamFormat);
  FormValue v;
  const auto tag = static_cast<ValueTag>(Byte());
  switch (tag) {
    case ValueTag::Int8:
      v.kind = FormValue::Kind::Int;
      v.integer = Signed(1);
      break;
    case ValueTag::Int16:
      v.kind = FormValue::Kind::Int;
      v.integer = Signed(2);
      break;
    case ValueTag::Int32:
      v.kind = FormValue::Kind::Int;
      v.integer = Signed(4);
      break;
    case ValueTag::Int64:
      v.kind = FormValue::Kind::Int;
      v.integer = Signed(8);
      break;
    case ValueTag::Extended: {
      const std::string_view raw = Take(10);
      if (!DecodeExtended(reinterpret_cast<const std::uint8_t*>(raw.data()), v.number)) {
        throw FormError(kInvalidPropertyValue);
      }
      v.kind = FormValue::Kind::Float;
      break;
    }
    case ValueTag::String:
      v.kind = FormValue::Kind::Text;
      v.text = ShortText();
      break;
    case ValueTag::LString:
      v.kind = FormValue::Kind::Text;
      v.text = std::string(Take(static_cast<std::size_t>(U32())));
      break;
    case ValueTag::WString: {
      const auto count = static_cast<std::size_t>(U32());
      if (count > (bytes_.size() - pos_) / 2) throw FormError(kStreamReadError);
      const std::string_view raw = Take(count * 2);
      QString wide(static_cast<qsizetype>(count), QChar());
      for (std::size_t i = 0; i < count; ++i) {
        wide[static_cast<qsizetype>(i)] =
            QChar(static_cast<char16_t>(LoadU16(AsBytes(&raw[2 * i]))));
      }
      v.kind = FormValue::Kind::Text;
      v.text = ToCp(wide);
      break;
    }
    case ValueTag::Ident:
      v.kind = FormValue::Kind::Ident;
      v.text = ShortText();
      break;
    case ValueTag::False:
      v.kind = FormValue::Kind::Bool;
      v.boolean = false;
      break;
    case ValueTag::True:
      v.kind = FormValue::Kind::Bool;
      v.boolean = true;
      break;
    case ValueTag::Set:
      v.kind = FormValue::Kind::Set;
      for (std::string m = ShortText(); !m.empty(); m = ShortText()) v.members.push_back(m);
      break;
    case ValueTag::List:
      v.kind = FormValue::Kind::List;
      while (PeekByte() != 0) v.items.push_back(ValueAt(depth + 1));
      Byte();
      break;
    case ValueTag::Nil:
      break;
    case ValueTag::Binary:
      Take(static_cast<std::size_t>(U32()));
      break;
    case ValueTag::Single:
      Take(4);
      break;
    case ValueTag::Currency:
    case ValueTag::Date:
      Take(8);
      break;
    case ValueTag::Collection:
      // Items, each an optional index value and a list of properties, until a zero.
      while (PeekByte() != 0) {
        const auto lead = static_cast<ValueTag>(PeekByte());
        if (lead == ValueTag::Int8 || lead == ValueTag::Int16 || lead == ValueTag::Int32) {
          ValueAt(depth + 1);
        }
        if (Byte() != static_cast<std::uint8_t>(ValueTag::List))
          throw FormError(kInvalidStreamFormat);
        while (PeekByte() != 0) {
          ShortText();
          ValueAt(depth + 1);
        }
        Byte();
      }
      Byte();
      break;
    default:
      throw FormError(kInvalidStreamFormat);
  }
  return v;
}

}  // namespace zorel
