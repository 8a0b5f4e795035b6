#include "data/source_stamp.h"

#include "data/file_system.h"

namespace zorel {
namespace {

std::int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

FileStamp FileStamp::Of(const struct stat& st) {
  return FileStamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                   static_cast<std::uint64_t>(st.st_size), Nanoseconds(st.st_mtim),
                   Nanoseconds(st.st_ctim)};
}

std::optional<SourceStamp> SourceStamp::Take(const std::string& factoryName,
                                             const std::string& itemName) {
  struct stat factory {};
  struct stat items {};
  if (Files().StatPath(factoryName, &factory) != 0 || Files().StatPath(itemName, &items) != 0) {
    return std::nullopt;
  }
  return SourceStamp{FileStamp::Of(factory), FileStamp::Of(items)};
}

}  // namespace zorel
