#include "data/file_util.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "data/file_system.h"
#include "data/logger.h"

namespace zorel {
namespace {

// Link chains longer than this are loops to the system too.
constexpr int kMaxLinks = 40;

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return Files().StatPath(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileSystem& files = Files();
  const int fd = files.Open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  int error = 0;
  if (files.Stat(fd, &st) != 0) {
    error = errno;
  } else if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  }
  if (error != 0) {
    files.Close(fd);
    errno = error;
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  const std::int64_t got = ReadFully(fd, 0, bytes.data(), bytes.size());
  error = errno;
  files.Close(fd);
  if (got < 0) {
    errno = error;
    return std::nullopt;
  }
  bytes.resize(static_cast<std::size_t>(got));  // a file that shrank under us ends there
  return bytes;
}

std::int64_t ReadFully(int fd, std::int64_t offset, void* to, std::size_t n) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = Files().ReadAt(fd, static_cast<char*>(to) + got, n - got,
                                     offset + static_cast<std::int64_t>(got));
    if (r < 0) return -1;
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  return static_cast<std::int64_t>(got);
}

bool WriteFully(int fd, std::int64_t offset, const void* from, std::size_t n) {
  std::size_t put = 0;
  while (put < n) {
    const ssize_t w = Files().WriteAt(fd, static_cast<const char*>(from) + put, n - put,
                                      offset + static_cast<std::int64_t>(put));
    if (w < 0) return false;
    if (w == 0) {
      errno = ENOSPC;
      return false;
    }
    put += static_cast<std::size_t>(w);
  }
  return true;
}

std::string FinalPath(const std::string& path) {
  std::string current = path;
  FileSystem& files = Files();
  for (int i = 0; i < kMaxLinks; ++i) {
    struct stat st {};
    if (files.LinkStat(current, &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    const std::string target = files.ReadLink(current);
    if (target.empty()) return current;
    current = target.front() == '/' ? target : FolderOf(current) + target;
  }
  return current;
}

int CreateExclusive(const std::string& path, std::string* name, int mode) {
  FileSystem& files = Files();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate =
        attempt == 0 ? path : path + "-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    const int fd =
        files.Open(candidate, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, static_cast<mode_t>(mode));
    if (fd >= 0) {
      *name = candidate;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

std::string KeepCopy(int fd, const std::string& wanted) {
  FileSystem& files = Files();
  std::string name;
  const int copy = CreateExclusive(wanted, &name, 0600);
  if (copy < 0) return {};
  struct stat st {};
  bool ok = files.Stat(fd, &st) == 0;
  std::string chunk(64 * 1024, '\0');
  for (std::int64_t offset = 0; ok;) {
    const std::int64_t got = ReadFully(fd, offset, chunk.data(), chunk.size());
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = WriteFully(copy, offset, chunk.data(), static_cast<std::size_t>(got));
    offset += got;
  }
  // The copy is no more readable than the file it keeps.
  ok = ok && files.KeepOwnerAndMode(copy, st) == 0 && files.Sync(copy) == 0;
  const int error = errno;
  ok = files.Close(copy) == 0 && ok;
  if (!ok) {
    files.Unlink(name);
    errno = error;
    return {};
  }
  SyncFolderOf(name);
  return name;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string dir = folder.empty() ? "." : folder;
  FileSystem& files = Files();
  const int fd = files.Open(dir, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  if (files.Sync(fd) != 0) LogIgnoredError("cannot flush folder", dir, errno);
  files.Close(fd);
}

std::string ChangeExtension(const std::string& path, const std::string& ext) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
  return path.substr(0, dot) + ext;
}

std::string BaseNameWithoutExtension(const std::string& path) {
  const auto slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string WithTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (dir.empty()) return "./";
  if (dir.back() != '/') dir.push_back('/');
  return dir;
}

}  // namespace zorel
