// FileSystem: the one door through which the data store touches files. The default object
// calls the system directly; tests install another (ScopedFileSystem) that fails a chosen step
// (a write, a flush, a rename…) to prove that nothing stored is lost whatever step fails.
//
// The calls keep the system's conventions: -1 (or a short count) with errno set on failure.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace zorel {

enum class LockKind { Shared, Exclusive, None };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual int Open(const std::string& path, int flags, mode_t mode = 0);
  virtual int Close(int fd);
  virtual ssize_t ReadAt(int fd, void* to, std::size_t n, std::int64_t offset);
  virtual ssize_t WriteAt(int fd, const void* from, std::size_t n, std::int64_t offset);
  virtual int Sync(int fd);
  // Starts writing a range of the file to disk without waiting for it, so that a later Sync
  // has less left to wait for. A hint: nothing depends on it.
  virtual void StartWriteBack(int fd, std::int64_t offset, std::int64_t n);
  virtual int Truncate(int fd, std::int64_t size);
  virtual int Stat(int fd, struct stat* st);
  // Follows symbolic links.
  virtual int StatPath(const std::string& path, struct stat* st);
  // Does not follow a symbolic link at the end of the path.
  virtual int LinkStat(const std::string& path, struct stat* st);
  // The link's text, or an empty string with errno set.
  virtual std::string ReadLink(const std::string& path);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
  // Gives the file the owner, group and permission bits of `like`.
  virtual int KeepOwnerAndMode(int fd, const struct stat& like);
  // An advisory lock on one byte of the file, held by the open file (not the process), so two
  // stores in one process exclude each other too. Without wait a held lock fails with EAGAIN.
  virtual int Lock(int fd, std::int64_t byte, LockKind kind, bool wait);
};

// The installed file system; the system's own unless a test installed another.
FileSystem& Files();

// Installs a file system for the object's lifetime.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& files);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// "path: system's reason", the second line of a message about a file.
std::string ReasonLine(const std::string& path, int error);

}  // namespace zorel
