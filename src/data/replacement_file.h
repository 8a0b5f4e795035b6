// ReplacementFile: a new image of a file built under a temporary name beside it; Commit flushes
// it to disk and renames it over the file, so a crash leaves the old file or the whole new one.
// The temporary is always created new and exclusive (a planted link is never followed), the
// target is the path's final file (a symbolic link to an existing file stays in place), and the
// new file takes the old one's owner and permission bits. Files derived from others (indexes,
// the search file) are ours to throw away: AtLink::Replace puts the new file at the path itself,
// in place of whatever stands there, a link included, and never writes to another file.
//
// A file written on the user's behalf (a list, a print form, a PDF, an export) keeps the rules
// of UserFileRules as well: a file the user may not write, anything but a regular file or a new
// name, and the files the rules keep out are refused before anything is written.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorel {

enum class AtLink { Follow, Replace };

// A file or folder a user file may not replace or be put in, with the reason a refusal gives.
struct KeptOut {
  std::string path;
  std::string reason;
};

struct UserFileRules {
  // Outputs such as PDFs replace a link at the name rather than follow it.
  AtLink atLink = AtLink::Follow;
  // A folder keeps every name in it out; a file keeps out itself, by whatever name it is met.
  std::vector<KeptOut> keptOut;
};

class ReplacementFile {
 public:
  // fixedTemp names the temporary (a leftover of that name is removed first: the caller holds
  // the lock that makes the name its own); empty gives a fresh unique name.
  explicit ReplacementFile(const std::string& path, const std::string& fixedTemp = {},
                           AtLink atLink = AtLink::Follow);
  // A file written on the user's behalf; a refusal shows as a failure with its Reason.
  ReplacementFile(const std::string& path, const UserFileRules& rules);
  ~ReplacementFile();  // removes an uncommitted temporary
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // False once a step failed; Error() gives the system's error number of the first failure.
  bool Ok() const { return error_ == 0; }
  int Error() const { return error_; }
  // Why the file was not replaced, in words: a refusal's reason or the system's.
  std::string Reason() const;
  const std::string& Target() const { return target_; }

  void Append(const void* p, std::size_t n);
  void Append(std::string_view bytes) { Append(bytes.data(), bytes.size()); }
  // True when the new file stands in place of the old one.
  bool Commit();

 private:
  void FindTarget(const std::string& path, bool followLink);
  void CreateTemp(const std::string& fixedTemp);
  void CheckUserTarget(const UserFileRules& rules);
  void Refuse(std::string reason);
  void Flush();
  void Fail();

  std::string target_, temp_;
  int fd_ = -1;
  int error_ = 0;
  std::string refusal_;
  bool hadEntry_ = false;   // something stands at the target's name
  bool hadTarget_ = false;  // a regular file stands there
  struct stat old_ {};
  std::string buffer_;
  std::int64_t written_ = 0;
  std::int64_t writtenBack_ = 0;  // bytes handed to the disk ahead of the final sync
  bool committed_ = false;
};

// Writes the bytes to a temporary file beside path, flushes it to disk and renames it over
// path, so a failure or a crash leaves either the old file or the new one. The new file keeps
// the old one's owner and mode. False (errno set) on failure, with the old file untouched.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// Writes a whole file on the user's behalf under the rules; empty when the new file stands,
// otherwise the reason ("path: reason", the second line of a message about the file).
std::string ReplaceUserFile(const std::string& path, std::string_view bytes,
                            const UserFileRules& rules = {});

}  // namespace zorel
