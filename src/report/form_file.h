// Print form files (.rpt): a resource header (0xFF, type 10, the name "TREPORT", memory flags,
// the stream's size) followed by the component stream "RPF0" holding the report, its detail
// band and the band's labels by class name, name and properties. docs/formats.md gives the
// bytes.
//
// Reading is whole or nothing: a fresh report is built and handed over only when the whole
// file was read, so a failed read leaves the caller's report as it was. Writing goes to a new
// temporary file beside the target, flushed and renamed over it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "report/report.h"

namespace zorel {

// The bytes of the whole file.
std::string WriteFormBytes(const TReport& report);
// Throws FormError with the reader's message ("Invalid stream format" for a wrong header).
std::unique_ptr<TReport> ReadFormBytes(std::string_view bytes);

// Files. Both throw FormError; a path that cannot be opened or written gives a message naming
// it.
std::unique_ptr<TReport> LoadFormFile(const std::string& path);
void SaveFormFile(const std::string& path, const TReport& report);

}  // namespace zorel
