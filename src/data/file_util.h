// Small file helpers of the data store. Paths are UTF-8 (the platform's own bytes).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorel {

bool FileExists(const std::string& path);
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes the bytes to a temporary file beside path, flushes it to disk and renames it over
// path, so a failure or a crash leaves either the old file or the new one. False on failure,
// with the old file untouched.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// Makes a rename inside path's folder durable.
void SyncFolderOf(const std::string& path);

// "dir/name.dat" with ".idx" gives "dir/name.idx"; a name without extension gains it.
std::string ChangeExtension(const std::string& path, const std::string& ext);
// The name part without folder and extension ("../lists/Вся база.lst" gives "Вся база").
std::string BaseNameWithoutExtension(const std::string& path);
// The folder path with exactly one trailing '/'.
std::string WithTrailingSlash(std::string dir);

}  // namespace zorel
