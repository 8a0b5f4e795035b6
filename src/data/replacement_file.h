// ReplacementFile: a new image of a file built under a temporary name beside it; Commit flushes
// it to disk and renames it over the file, so a crash leaves the old file or the whole new one.
// The temporary is always created new and exclusive (a planted link is never followed), the
// target is the path's final file (a symbolic link to an existing file stays in place), and the
// new file takes the old one's owner and permission bits. Files derived from others (indexes,
// the search file) are ours to throw away: AtLink::Replace puts the new file at the path itself,
// in place of whatever stands there, a link included, and never writes to another file.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace zorel {

enum class AtLink { Follow, Replace };

class ReplacementFile {
 public:
  // fixedTemp names the temporary (a leftover of that name is removed first: the caller holds
  // the lock that makes the name its own); empty gives a fresh unique name.
  explicit ReplacementFile(const std::string& path, const std::string& fixedTemp = {},
                           AtLink atLink = AtLink::Follow);
  ~ReplacementFile();  // removes an uncommitted temporary
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // False once a step failed; Error() gives the system's error number of the first failure.
  bool Ok() const { return error_ == 0; }
  int Error() const { return error_; }
  const std::string& Target() const { return target_; }

  void Append(const void* p, std::size_t n);
  void Append(std::string_view bytes) { Append(bytes.data(), bytes.size()); }
  // True when the new file stands in place of the old one.
  bool Commit();

 private:
  void Flush();
  void Fail();

  std::string target_, temp_;
  int fd_ = -1;
  int error_ = 0;
  bool hadTarget_ = false;
  struct stat old_ {};
  std::string buffer_;
  std::int64_t written_ = 0;
  bool committed_ = false;
};

}  // namespace zorel
