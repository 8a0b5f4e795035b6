// The commands about the base itself and single records: info, show, remark.
#include <cstdio>

#include "cli_args.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "data/errors.h"
#include "data/remark.h"
#include "data/text1251.h"

namespace zorel::cli {
namespace {

// Days between the base date's day 0 (1899-12-30) and 1970-01-01.
constexpr std::int64_t kDaysBeforeUnixEpoch = 25569;

// "YYYY-MM-DD" of a day number of the base date's count (proleptic Gregorian calendar).
std::string DayText(std::int64_t day) {
  const std::int64_t z = day - kDaysBeforeUnixEpoch + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  char buf[80];
  std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d));
  return buf;
}

// Says once on stderr what the base cannot serve and which copies the remark store kept.
void WarnNotices(Tdm& dm) {
  for (const std::string& notice : dm.TakeNotices()) std::fprintf(stderr, "%s\n", notice.c_str());
}

std::int32_t ClassEntryCount(const Tdm& dm) {
  std::int32_t n = 0;
  while (dm.GetClassEntry(n) != nullptr) ++n;
  return n;
}

}  // namespace

std::int32_t ExistingRecord(const Tdm& dm, std::int64_t number) {
  if (number < 0 || number >= dm.RecordCount() ||
      dm.GetRecord(static_cast<std::int32_t>(number)) == nullptr) {
    throw DataError("Проблемы на записи (" + std::to_string(number) + ")");
  }
  return static_cast<std::int32_t>(number);
}

void RunInfo(const Invocation& inv) {
  ParsedArgs args(inv);
  args.ExpectOperands(0);
  Tdm dm(inv.dbDir);
  WarnNotices(dm);
  const FactoryHeader& h = dm.Header();
  std::string out;
  out += "records: " + std::to_string(dm.RecordCount()) + "\n";
  out += "items: " + std::to_string(dm.ItemCount()) + "\n";
  out += "classes: " + std::to_string(ClassEntryCount(dm)) + "\n";
  out += "edition: " + ToUtf8(h.edition) + "\n";
  out += "base-date: " + (h.baseDay == 0 || h.baseDay == 1 ? "none" : DayText(h.baseDay)) + "\n";
  out += "kind-separator: " + ToUtf8(h.kindSeparator) + "\n";
  for (const auto& label : h.kindLabels) out += "kind-label: " + ToUtf8(label) + "\n";
  Emit(out);
}

void RunShow(const Invocation& inv) {
  ParsedArgs args(inv);
  args.ExpectOperands(1);
  const std::int64_t number = ParseRecordNumber(args.Operands()[0]);
  Tdm dm(inv.dbDir);
  WarnNotices(dm);
  std::string out;
  AppendDetailsJson(out, GetDetails(dm, ExistingRecord(dm, number)));
  out += '\n';
  Emit(out);
}

void RunRemark(const Invocation& inv) {
  ParsedArgs args(inv, {{"--set"}, {}});
  args.ExpectOperands(1);
  const std::int64_t number = ParseRecordNumber(args.Operands()[0]);
  std::optional<std::string> text;
  if (const auto utf8 = args.Single("--set")) {
    text = ToCodePage(*utf8);
    if (text->size() > kMaxRemarkLength) {
      throw UsageError("примечание длиннее " + std::to_string(kMaxRemarkLength) + " символов");
    }
  }
  Tdm dm(inv.dbDir);
  const std::int32_t record = ExistingRecord(dm, number);
  WarnNotices(dm);
  if (text) {
    dm.Remarks().Set(record, *text);
    WarnNotices(dm);
  } else {
    Emit(ToUtf8(Strip(dm.Remarks().Get(record))) + "\n");
  }
}

}  // namespace zorel::cli
