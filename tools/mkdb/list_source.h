// The readable form of a list file: UTF-8 text, "key: value" lines for the panel layout, then
// "records:" followed by record numbers separated by blanks or line breaks. "#" starts a
// comment that runs to the end of its line. Keys (each optional, at most once):
//   panels: requisites lower advert    the panels shown (any of the three words, or none)
//   lower-height: 200                  height of the lower panel, pixels
//   advert-width: 250                  width of the advertising panel, pixels
//   window: 700 450                    outer width and height of the list window, pixels
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mkdb/diagnostics.h"
#include "mkdb/sources.h"

namespace zorel::mkdb {

// Empty optional after reporting faults; record numbers must lie in 0..recordCount-1, or be
// any record number when the count is not known.
std::optional<ListSource> ParseListSource(std::string_view text, const std::string& name,
                                          const std::string& file,
                                          std::optional<std::int64_t> recordCount,
                                          Diagnostics& diag);

// The text form of a list, one record a line; `comment` (when set) gives a UTF-8 comment
// written after each number.
std::string FormatListSource(const ListSource& list,
                             const std::function<std::string(std::int32_t)>& comment = {});

}  // namespace zorel::mkdb
