// Calendar dates and the day numbers of factory.dat's base date: days counted from
// 30 December 1899 (day 0), proleptic Gregorian calendar.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorel::mkdb {

std::int64_t DayNumber(int year, int month, int day);
// "YYYY-MM-DD"; empty optional when the text is not a valid date of years 1 to 9999.
std::optional<std::int64_t> ParseIsoDate(std::string_view text);
std::string FormatIsoDate(std::int64_t dayNumber);

}  // namespace zorel::mkdb
