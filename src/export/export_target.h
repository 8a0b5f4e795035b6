// Where an export may go: never onto a file of the base nor into its folder, whatever links or
// second names lead there.
#pragma once

#include <string>

namespace zorel {

// Throws ExportError when path resolves into the folder dbDir or names (through a symbolic or
// a hard link) one of its files.
void CheckExportTarget(const std::string& dbDir, const std::string& path);

}  // namespace zorel
