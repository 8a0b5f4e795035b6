#include "data/replacement_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "data/file_system.h"
#include "data/file_util.h"
#include "data/logger.h"

namespace zorel {
namespace {

constexpr std::size_t kFlushAt = 64 * 1024;
// A large file goes to the disk in steps of this many bytes while it is written, so that the
// sync before the rename does not wait for all of it at once.
constexpr std::int64_t kWriteBackStep = 8 << 20;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool InGroup(gid_t gid) {
  if (gid == getegid()) return true;
  const int n = getgroups(0, nullptr);
  if (n <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(n));
  const int got = std::max(getgroups(n, groups.data()), 0);
  return std::find(groups.begin(), groups.begin() + got, gid) != groups.begin() + got;
}

// Whether the file's own mode lets this process write it: the bits of the class the process is
// in (owner, group or other). The superuser, to whom the system says yes for every file, acts
// for the owner: a file its owner made read-only stays refused to it too.
bool MayWrite(const struct stat& st) {
  const uid_t user = geteuid();
  if (st.st_uid == user || user == 0) return (st.st_mode & S_IWUSR) != 0;
  if (InGroup(st.st_gid)) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& path, const std::string& fixedTemp,
                                 AtLink atLink) {
  FindTarget(path, atLink == AtLink::Follow);
  CreateTemp(fixedTemp);
}

ReplacementFile::ReplacementFile(const std::string& path, const UserFileRules& rules) {
  FindTarget(path, rules.atLink == AtLink::Follow);
  CheckUserTarget(rules);
  if (Ok()) CreateTemp({});
}

void ReplacementFile::FindTarget(const std::string& path, bool followLink) {
  FileSystem& files = Files();
  target_ = followLink ? FinalPath(path) : path;
  hadEntry_ = (followLink ? files.StatPath(target_, &old_) : files.LinkStat(target_, &old_)) == 0;
  hadTarget_ = hadEntry_ && S_ISREG(old_.st_mode);
  // A link to nothing is replaced itself: following it would create a file wherever it points.
  if (!hadTarget_) target_ = path;
}

void ReplacementFile::CheckUserTarget(const UserFileRules& rules) {
  FileSystem& files = Files();
  if (hadEntry_ && !S_ISREG(old_.st_mode) && !S_ISLNK(old_.st_mode)) {
    return Refuse("не обычный файл");
  }
  const std::string folder = FolderOf(target_);
  for (const KeptOut& kept : rules.keptOut) {
    struct stat st {};
    if (files.StatPath(kept.path, &st) != 0) continue;
    struct stat here {};
    if (S_ISDIR(st.st_mode)) {
      if (files.StatPath(folder.empty() ? "." : folder, &here) == 0 && SameFile(here, st)) {
        return Refuse(kept.reason);
      }
    } else if (hadEntry_ && (SameFile(old_, st) ||
                             (files.LinkStat(kept.path, &here) == 0 && SameFile(old_, here)))) {
      return Refuse(kept.reason);
    }
  }
  if (hadTarget_ && !MayWrite(old_)) Refuse("файл только для чтения");
}

void ReplacementFile::Refuse(std::string reason) {
  error_ = EPERM;
  refusal_ = std::move(reason);
}

void ReplacementFile::CreateTemp(const std::string& fixedTemp) {
  FileSystem& files = Files();
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

std::string ReplacementFile::Reason() const {
  return refusal_.empty() ? std::strerror(error_) : refusal_;
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
  if (written_ - writtenBack_ >= kWriteBackStep) {
    Files().StartWriteBack(fd_, writtenBack_, written_ - writtenBack_);
    writtenBack_ = written_;
  }
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

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacementFile file(path);
  file.Append(bytes);
  if (file.Commit()) return true;
  errno = file.Error();
  return false;
}

std::string ReplaceUserFile(const std::string& path, std::string_view bytes,
                            const UserFileRules& rules) {
  ReplacementFile file(path, rules);
  file.Append(bytes);
  return file.Commit() ? std::string() : path + ": " + file.Reason();
}

}  // namespace zorel
