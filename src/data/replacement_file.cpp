#include "data/replacement_file.h"

#include <fcntl.h>

#include <cerrno>

#include "data/file_system.h"
#include "data/file_util.h"

namespace zorel {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;

}  // namespace

ReplacementFile::ReplacementFile(const std::string& path, const std::string& fixedTemp,
                                 AtLink atLink)
    : target_(atLink == AtLink::Follow ? FinalPath(path) : path) {
  FileSystem& files = Files();
  hadTarget_ =
      atLink == AtLink::Follow && files.StatPath(target_, &old_) == 0 && S_ISREG(old_.st_mode);
  // A link to nothing is replaced itself: following it would create a file wherever it points.
  if (!hadTarget_) target_ = path;
  // A file with an owner to keep starts private and opens up to the old mode at the end.
  const int mode = hadTarget_ ? 0600 : 0644;
  if (fixedTemp.empty()) {
    fd_ = CreateExclusive(target_ + ".new", &temp_, mode);
  } else {
    temp_ = fixedTemp;
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
    fd_ = files.Open(temp_, flags, mode);
    if (fd_ < 0 && errno == EEXIST) {
      if (files.Unlink(temp_) != 0) LogIgnoredError("cannot remove", temp_, errno);
      fd_ = files.Open(temp_, flags, mode);
    }
  }
  if (fd_ < 0) {
    error_ = errno;
    temp_.clear();
  }
}

ReplacementFile::~ReplacementFile() {
  if (fd_ >= 0) Files().Close(fd_);
  if (!committed_ && !temp_.empty() && Files().Unlink(temp_) != 0) {
    LogIgnoredError("cannot remove", temp_, errno);
  }
}

void ReplacementFile::Fail() {
  if (error_ == 0) error_ = errno != 0 ? errno : EIO;
}

void ReplacementFile::Append(const void* p, std::size_t n) {
  if (!Ok()) return;
  buffer_.append(static_cast<const char*>(p), n);
  if (buffer_.size() >= kFlushAt) Flush();
}

void ReplacementFile::Flush() {
  if (!Ok()) return;
  if (!WriteFully(fd_, written_, buffer_.data(), buffer_.size())) return Fail();
  written_ += static_cast<std::int64_t>(buffer_.size());
  buffer_.clear();
}

bool ReplacementFile::Commit() {
  Flush();
  FileSystem& files = Files();
  if (Ok() && hadTarget_ && files.KeepOwnerAndMode(fd_, old_) != 0) Fail();
  if (Ok() && files.Sync(fd_) != 0) Fail();
  if (fd_ >= 0 && files.Close(fd_) != 0) Fail();
  fd_ = -1;
  if (Ok() && files.Rename(temp_, target_) != 0) Fail();
  if (!Ok()) return false;
  committed_ = true;
  SyncFolderOf(target_);
  return true;
}

}  // namespace zorel
