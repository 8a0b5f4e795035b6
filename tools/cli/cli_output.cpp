// Output of zorel-cli; see cli_output.h.
#include "cli_output.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "data/text1251.h"
#include "export/csv_sink.h"

namespace zorel::cli {
namespace {

constexpr std::size_t kOutputBuffer = 1 << 16;

// The text fields of a record in output order, between "record" and "has_advert".
struct TextField {
  const char* key;
  std::string RecordDetails::*member;
};
constexpr TextField kTextFields[] = {
    {"name", &RecordDetails::name},         {"orgform", &RecordDetails::orgform},
    {"year", &RecordDetails::year},         {"staff", &RecordDetails::staff},
    {"index", &RecordDetails::index},       {"location", &RecordDetails::location},
    {"address", &RecordDetails::address},   {"head", &RecordDetails::head},
    {"code", &RecordDetails::code},         {"fax", &RecordDetails::fax},
    {"phones", &RecordDetails::phones},     {"email", &RecordDetails::email},
    {"url", &RecordDetails::url},           {"advert", &RecordDetails::advert},
    {"products", &RecordDetails::products}, {"remark", &RecordDetails::remark},
};

void AppendNumber(std::string& out, std::int64_t n) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, n);
  out.append(buf, res.ptr);
}

const char* BoolText(bool b) { return b ? "true" : "false"; }

[[noreturn]] void WriteFailed() {
  throw OutputError(std::string("ошибка записи в стандартный вывод: ") + std::strerror(errno));
}

}  // namespace

void StartOutput() { std::setvbuf(stdout, nullptr, _IOFBF, kOutputBuffer); }

void Emit(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) WriteFailed();
}

void EmitRecords(const RecordList& records) {
  std::string chunk;
  for (const auto r : records) {
    AppendNumber(chunk, r);
    chunk += '\n';
    if (chunk.size() >= kOutputBuffer) {
      Emit(chunk);
      chunk.clear();
    }
  }
  Emit(chunk);
}

void FinishOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) WriteFailed();
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
}

void AppendDetailsJson(std::string& out, const RecordDetails& details) {
  out += "{\"record\":";
  AppendNumber(out, details.record);
  for (const auto& f : kTextFields) {
    out += ",\"";
    out += f.key;
    out += "\":";
    AppendJsonString(out, ToUtf8(details.*f.member));
  }
  out += ",\"has_advert\":";
  out += BoolText(details.hasAdvert);
  out += '}';
}

void AppendCsvHeader(std::string& out) {
  out += "record";
  for (const auto& f : kTextFields) {
    out += ',';
    out += f.key;
  }
  out += ",has_advert\r\n";
}

void AppendDetailsCsv(std::string& out, const RecordDetails& details) {
  AppendNumber(out, details.record);
  for (const auto& f : kTextFields) {
    out += ',';
    AppendCsvCell(out, ToUtf8(details.*f.member), ',');
  }
  out += ',';
  out += BoolText(details.hasAdvert);
  out += "\r\n";
}

}  // namespace zorel::cli
