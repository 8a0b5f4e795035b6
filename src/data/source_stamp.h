// SourceStamp: the state of factory.dat and item.dat that derived files (the index files, the
// search file) were built from. Beside size and modification time it holds what a copy that keeps
// the files' times cannot keep (the device, the inode and the change time), so a base rebuilt or
// copied in over the old one never passes for it. Taken before a build and again after it: a build
// that saw its sources change is not saved.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zorel {

struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modified = 0, changed = 0;  // nanoseconds since 1970

  static FileStamp Of(const struct stat& st);
  bool operator==(const FileStamp&) const = default;
};

struct SourceStamp {
  FileStamp factory, items;

  // The stamp of the two files as they stand now; empty when either cannot be looked at.
  static std::optional<SourceStamp> Take(const std::string& factoryName,
                                         const std::string& itemName);
  bool operator==(const SourceStamp&) const = default;
};

}  // namespace zorel
