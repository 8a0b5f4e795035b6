#include "data/record_list.h"

#include <algorithm>
#include <charconv>

namespace zorel {

RecordList WholeBaseList(std::int32_t count) {
  RecordList list(static_cast<std::size_t>(std::max(count, 0)));
  for (std::int32_t i = 0; i < count; ++i) list[static_cast<std::size_t>(i)] = i;
  return list;
}

std::string RecordListText(const RecordList& list) {
  std::string text;
  text.reserve(list.size() * 9);
  char buf[16];
  for (auto r : list) {
    const auto res = std::to_chars(buf, buf + sizeof buf, r);
    text.append(buf, res.ptr);
    text += "\r\n";
  }
  return text;
}

RecordList ParseRecordListText(std::string_view text) {
  RecordList list;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto eol = text.find('\n', pos);
    if (eol == std::string_view::npos) eol = text.size();
    std::string_view line = text.substr(pos, eol - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::int32_t value = 0;
    const auto res = std::from_chars(line.data(), line.data() + line.size(), value);
    if (!line.empty() && res.ec == std::errc() && res.ptr == line.data() + line.size()) {
      list.push_back(value);
    }
    pos = eol + 1;
  }
  return list;
}

void InsertRecord(RecordList& list, std::int32_t r) {
  const auto it = std::find_if(list.begin(), list.end(), [r](std::int32_t v) { return v >= r; });
  if (it == list.end()) {
    list.push_back(r);
  } else if (*it != r) {
    list.insert(it, r);
  }
}

}  // namespace zorel
