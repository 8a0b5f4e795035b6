// Parsing and writing the readable form of list files.
#include "mkdb/list_source.h"

#include <charconv>
#include <limits>
#include <set>

#include "mkdb/field_values.h"

namespace zorel::mkdb {
namespace {

int ColumnOf(std::string_view line, std::size_t offset) {
  int column = 1;
  for (std::size_t i = 0; i < offset && i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ++column;
  }
  return column;
}

// Blank-separated words of s with their offsets in s.
std::vector<std::pair<std::string_view, std::size_t>> Words(std::string_view s) {
  std::vector<std::pair<std::string_view, std::size_t>> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.emplace_back(s.substr(start, i - start), start);
  }
  return words;
}

class ListParser {
 public:
  ListParser(const std::string& file, std::int64_t recordCount, Diagnostics& diag)
      : file_(file), recordCount_(recordCount), diag_(diag) {}

  void Line(std::string_view raw, int lineNo, ListSource& list) {
    line_ = raw;
    lineNo_ = lineNo;
    std::string_view s = raw.substr(0, raw.find('#'));
    if (inRecords_) return Records(s, 0, list);
    const std::string_view trimmed = TrimField(s);
    if (trimmed.empty()) return;
    const std::size_t colon = s.find(':');
    if (colon == std::string_view::npos) {
      return Fault(Offset(trimmed), "a line \"key: value\" or \"records:\" is expected");
    }
    const std::string key(TrimField(s.substr(0, colon)));
    const std::size_t valueAt = colon + 1;
    const auto words = Words(s.substr(valueAt));
    if (!seen_.insert(key).second) return Fault(Offset(trimmed), "\"" + key + "\" is given twice");
    if (key == "records") {
      inRecords_ = true;
      return Records(s.substr(valueAt), valueAt, list);
    }
    if (key == "panels") {
      list.header.requisitesShown = list.header.lowerShown = list.header.advertShown = false;
      for (const auto& [w, at] : words) {
        if (w == "requisites") {
          list.header.requisitesShown = true;
        } else if (w == "lower") {
          list.header.lowerShown = true;
        } else if (w == "advert") {
          list.header.advertShown = true;
        } else {
          Fault(valueAt + at, "unknown panel \"" + std::string(w) +
                                  "\" (the panels are: requisites, lower, advert)");
        }
      }
    } else if (key == "lower-height" || key == "advert-width" || key == "window") {
      const std::size_t wanted = key == "window" ? 2 : 1;
      if (words.size() != wanted) {
        return Fault(valueAt, key == "window" ? "two sizes, width and height, are expected"
                                              : "one size is expected");
      }
      std::int16_t sizes[2] = {0, 0};
      for (std::size_t k = 0; k < wanted; ++k) {
        const auto n = Number(words[k].first, valueAt + words[k].second, 0, 32767);
        if (!n) return;
        sizes[k] = static_cast<std::int16_t>(*n);
      }
      if (key == "lower-height") list.header.lowerHeight = sizes[0];
      if (key == "advert-width") list.header.advertWidth = sizes[0];
      if (key == "window") {
        list.header.windowWidth = sizes[0];
        list.header.windowHeight = sizes[1];
      }
    } else {
      Fault(Offset(trimmed), "unknown key \"" + key +
                                 "\" (the keys are: panels, lower-height, advert-width, "
                                 "window, records)");
    }
  }

  bool ok() const { return ok_; }
  bool sawRecords() const { return inRecords_; }

 private:
  void Records(std::string_view s, std::size_t base, ListSource& list) {
    for (const auto& [w, at] : Words(s)) {
      const auto n = Number(w, base + at, 0, recordCount_ - 1);
      if (n) list.records.push_back(static_cast<std::int32_t>(*n));
    }
  }

  std::optional<std::int64_t> Number(std::string_view w, std::size_t at, std::int64_t lo,
                                     std::int64_t hi) {
    std::int64_t n = 0;
    const auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
    if (ec == std::errc() && p == w.data() + w.size() && n >= lo && n <= hi) return n;
    if (hi < lo) {
      Fault(at, "the base has no records, so \"" + std::string(w) + "\" names none");
    } else {
      Fault(at, "\"" + std::string(w) + "\" is not a whole number from " + std::to_string(lo) +
                    " to " + std::to_string(hi));
    }
    return std::nullopt;
  }

  std::size_t Offset(std::string_view part) const {
    return static_cast<std::size_t>(part.data() - line_.data());
  }

  void Fault(std::size_t offset, const std::string& message) {
    diag_.Error({file_, lineNo_, ColumnOf(line_, offset)}, message);
    ok_ = false;
  }

  const std::string& file_;
  std::int64_t recordCount_;
  Diagnostics& diag_;
  std::string_view line_;
  int lineNo_ = 0;
  std::set<std::string> seen_;
  bool inRecords_ = false;
  bool ok_ = true;
};

}  // namespace

std::optional<ListSource> ParseListSource(std::string_view text, const std::string& name,
                                          const std::string& file,
                                          std::optional<std::int64_t> recordCount,
                                          Diagnostics& diag) {
  ListSource list;
  list.name = name;
  list.header = DefaultListHeader();
  ListParser parser(file, recordCount.value_or(std::numeric_limits<std::int32_t>::max()), diag);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    parser.Line(line, ++lineNo, list);
    pos = end + 1;
  }
  if (!parser.sawRecords()) {
    diag.Error({file, lineNo + 1, 1}, "the line \"records:\" is missing");
    return std::nullopt;
  }
  if (!parser.ok()) return std::nullopt;
  return list;
}

std::string FormatListSource(const ListSource& list,
                             const std::function<std::string(std::int32_t)>& comment) {
  const ListFileHeader& h = list.header;
  std::string out = "panels:";
  if (h.requisitesShown) out += " requisites";
  if (h.lowerShown) out += " lower";
  if (h.advertShown) out += " advert";
  out += "\nlower-height: " + std::to_string(h.lowerHeight);
  out += "\nadvert-width: " + std::to_string(h.advertWidth);
  out += "\nwindow: " + std::to_string(h.windowWidth) + " " + std::to_string(h.windowHeight);
  out += "\nrecords:\n";
  for (const std::int32_t r : list.records) {
    out += std::to_string(r);
    if (comment) out += "  # " + comment(r);
    out += '\n';
  }
  return out;
}

}  // namespace zorel::mkdb
