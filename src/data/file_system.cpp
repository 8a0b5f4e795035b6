#include "data/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorel {
namespace {

FileSystem*& Installed() {
  static FileSystem system;
  static FileSystem* installed = &system;
  return installed;
}

}  // namespace

int FileSystem::Open(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

int FileSystem::Close(int fd) { return close(fd); }

ssize_t FileSystem::ReadAt(int fd, void* to, std::size_t n, std::int64_t offset) {
  ssize_t r;
  do {
    r = pread(fd, to, n, offset);
  } while (r < 0 && errno == EINTR);
  return r;
}

ssize_t FileSystem::WriteAt(int fd, const void* from, std::size_t n, std::int64_t offset) {
  ssize_t w;
  do {
    w = pwrite(fd, from, n, offset);
  } while (w < 0 && errno == EINTR);
  return w;
}

int FileSystem::Sync(int fd) { return fsync(fd); }

void FileSystem::StartWriteBack(int fd, std::int64_t offset, std::int64_t n) {
  sync_file_range(fd, offset, n, SYNC_FILE_RANGE_WRITE);
}

int FileSystem::Truncate(int fd, std::int64_t size) { return ftruncate(fd, size); }

int FileSystem::Stat(int fd, struct stat* st) { return fstat(fd, st); }

int FileSystem::StatPath(const std::string& path, struct stat* st) {
  return stat(path.c_str(), st);
}

int FileSystem::LinkStat(const std::string& path, struct stat* st) {
  return lstat(path.c_str(), st);
}

std::string FileSystem::ReadLink(const std::string& path) {
  std::string target(4096, '\0');
  const ssize_t n = readlink(path.c_str(), target.data(), target.size());
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) == target.size()) {
    errno = ENAMETOOLONG;
    return {};
  }
  target.resize(static_cast<std::size_t>(n));
  return target;
}

int FileSystem::Rename(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str());
}

int FileSystem::Unlink(const std::string& path) { return unlink(path.c_str()); }

int FileSystem::KeepOwnerAndMode(int fd, const struct stat& like) {
  struct stat own {};
  if (fstat(fd, &own) != 0) return -1;
  mode_t mode = like.st_mode & 07777;
  if ((own.st_uid != like.st_uid || own.st_gid != like.st_gid) &&
      fchown(fd, like.st_uid, like.st_gid) != 0) {
    // Without the old group the file must not open to the group it now has.
    if (fchown(fd, static_cast<uid_t>(-1), like.st_gid) != 0 && own.st_gid != like.st_gid) {
      mode &= ~static_cast<mode_t>(S_IRWXG);
    }
  }
  return fchmod(fd, mode);
}

int FileSystem::Lock(int fd, std::int64_t byte, LockKind kind, bool wait) {
  struct flock lock {};
  lock.l_type = kind == LockKind::Shared      ? F_RDLCK
                : kind == LockKind::Exclusive ? F_WRLCK
                                              : F_UNLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = byte;
  lock.l_len = 1;
  int r;
  do {
    r = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
  } while (r < 0 && errno == EINTR);
  if (r < 0 && errno == EACCES) errno = EAGAIN;
  return r;
}

FileSystem& Files() { return *Installed(); }

ScopedFileSystem::ScopedFileSystem(FileSystem& files) : previous_(Installed()) {
  Installed() = &files;
}

ScopedFileSystem::~ScopedFileSystem() { Installed() = previous_; }

std::string ReasonLine(const std::string& path, int error) {
  return path + ": " + std::strerror(error);
}

}  // namespace zorel
