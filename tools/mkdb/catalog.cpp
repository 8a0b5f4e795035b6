// Parsing CatalogText into items and classification entries.
#include "mkdb/catalog.h"

#include <map>
#include <stdexcept>

#include "mkdb/class_counts.h"
#include "mkdb/gen_text.h"
#include "mkdb/gen_words.h"
#include "mkdb/rng.h"

namespace zorel::mkdb {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = s.find(sep, start);
    const std::string_view part = Trim(s.substr(start, end - start));
    if (!part.empty()) parts.push_back(part);
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

class Builder {
 public:
  void Line(std::string_view line) {
    line = Trim(line);
    if (line.empty()) return;
    if (line[0] == '@') {
      const std::size_t colon = line.find(':');
      details_[std::string(line.substr(0, colon))] = Converted(Split(line.substr(colon + 1), ';'));
      return;
    }
    const char tag = line[0];
    const auto fields = Split(line.substr(1), '|');
    if (tag == 'B') {
      codes_ = {static_cast<std::uint32_t>(++branchCount_), 0, 0, 0, 0};
      subCount_ = 0;
      catalog_.branches.push_back(Cp(fields.at(0)));
      Add(catalog_.branches.back(), 1, false);
    } else if (tag == 'S') {
      codes_[1] = static_cast<std::uint32_t>(++subCount_);
      codes_[2] = codes_[3] = codes_[4] = 0;
      groupCount_ = 0;
      SubBranch sub;
      sub.branch = static_cast<std::size_t>(branchCount_ - 1);
      for (const auto phrase : Split(fields.at(1), ';')) {
        sub.phrases.emplace_back(Cp(phrase.substr(2)), phrase[0]);
      }
      sub.stems = Converted(Split(fields.at(2), ';'));
      catalog_.subBranches.push_back(std::move(sub));
      Add(Cp(fields.at(0)), 2, false);
    } else if (tag == 'G') {
      Group(Cp(fields.at(0)), Converted(Split(fields.at(1), ';')), std::string(fields.at(2)));
    } else {
      throw std::logic_error("catalog line: " + std::string(line));
    }
  }

  Catalog Finish() {
    DeriveCounts(catalog_.classes, hidden_);
    return std::move(catalog_);
  }

 private:
  static std::vector<std::string> Converted(const std::vector<std::string_view>& parts) {
    std::vector<std::string> out;
    for (const auto p : parts) out.push_back(Cp(p));
    return out;
  }

  void Group(const std::string& name, const std::vector<std::string>& variants,
             const std::string& detailName) {
    codes_[2] = static_cast<std::uint32_t>(++groupCount_);
    codes_[3] = codes_[4] = 0;
    SubBranch& sub = catalog_.subBranches.back();
    sub.groups.push_back(name);
    sub.products.push_back(Add(name, 3, false));
    const std::size_t blank = name.find(' ');
    if (++groups_ % 5 == 3 && blank != std::string::npos &&
        name.find(' ', blank + 1) == std::string::npos) {
      Add(name.substr(blank + 1) + " " + name.substr(0, blank), 3, true);
    }
    const std::vector<std::string> details = Details(detailName);
    for (std::size_t v = 0; v < variants.size(); ++v) {
      codes_[3] = static_cast<std::uint32_t>(v + 1);
      codes_[4] = 0;
      const std::string variant = name + " " + variants[v];
      sub.products.push_back(Add(variant, 4, false));
      for (std::size_t s = 0; s < details.size(); ++s) {
        codes_[4] = static_cast<std::uint32_t>(s + 1);
        sub.products.push_back(Add(variant + " " + details[s], 5, false));
      }
    }
  }

  // The named list, or four generated model codes or series names.
  std::vector<std::string> Details(const std::string& name) {
    std::vector<std::string> out;
    if (name == "@model") {
      static const char* const kLetters[] = {"А", "Б", "В", "Г", "Д", "К",
                                             "М", "Н", "П", "Р", "С", "Т"};
      for (int i = 0; i < 4; ++i) {
        std::string code = std::to_string(rng_.Between(1, 9)) + kLetters[rng_.Below(12)] +
                           std::to_string(rng_.Between(10, 999));
        out.push_back(Cp("мод. " + code));
      }
    } else if (name == "@series") {
      for (int i = 0; i < 4; ++i) {
        out.push_back(Cp(std::string("серии «") + rng_.Pick(BrandTable()) + "»"));
      }
    } else {
      out = details_.at(name);
    }
    return out;
  }

  std::uint32_t Add(const std::string& name, int level, bool hidden) {
    ClassSource c;
    c.id = static_cast<std::uint32_t>(catalog_.classes.size() + 1);
    catalog_.items.push_back(name);
    c.item = static_cast<std::uint32_t>(catalog_.items.size());
    for (int l = 0; l < level; ++l) {
      c.codes[static_cast<std::size_t>(l)] = codes_[static_cast<std::size_t>(l)];
    }
    c.kind = 1;
    catalog_.classes.push_back(c);
    hidden_.push_back(hidden);
    return c.item;
  }

  Catalog catalog_;
  std::vector<bool> hidden_;
  std::map<std::string, std::vector<std::string>> details_;
  std::array<std::uint32_t, 5> codes_{};
  int branchCount_ = 0, subCount_ = 0, groupCount_ = 0, groups_ = 0;
  Rng rng_{20030515};  // the catalog is the same for every seed
};

}  // namespace

Catalog BuildCatalog() {
  Builder b;
  const std::string_view text = CatalogText();
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    b.Line(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return b.Finish();
}

}  // namespace zorel::mkdb
