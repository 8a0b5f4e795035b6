// A file system that makes one chosen step fail: the nth call of its kind, once. A short
// write leaves the disk full afterwards, as a real one does.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "data/file_system.h"

namespace zorel::test_support {

enum class Fault {
  FailedWrite,
  ShortWriteThenFull,
  FailedSync,
  FailedRename,
  FailedTruncate,
  FailedCreate
};

class FaultyFiles : public FileSystem {
 public:
  FaultyFiles(Fault fault, int nth) : fault_(fault), nth_(nth) {}
  bool Fired() const { return fired_; }

  int Open(const std::string& path, int flags, mode_t mode) override {
    if ((flags & O_CREAT) != 0 && Hit(Fault::FailedCreate)) return Fail(ENOSPC);
    return FileSystem::Open(path, flags, mode);
  }
  ssize_t WriteAt(int fd, const void* from, std::size_t n, std::int64_t offset) override {
    if (full_) return Fail(ENOSPC);
    if (Hit(Fault::FailedWrite)) return Fail(EIO);
    if (Hit(Fault::ShortWriteThenFull)) {
      full_ = true;
      if (n / 2 == 0) return Fail(ENOSPC);
      return FileSystem::WriteAt(fd, from, n / 2, offset);
    }
    return FileSystem::WriteAt(fd, from, n, offset);
  }
  int Sync(int fd) override { return Hit(Fault::FailedSync) ? Fail(EIO) : FileSystem::Sync(fd); }
  int Rename(const std::string& from, const std::string& to) override {
    return Hit(Fault::FailedRename) ? Fail(EACCES) : FileSystem::Rename(from, to);
  }
  int Truncate(int fd, std::int64_t size) override {
    return Hit(Fault::FailedTruncate) ? Fail(EIO) : FileSystem::Truncate(fd, size);
  }

 private:
  bool Hit(Fault kind) {
    if (kind != fault_ || fired_ || ++calls_ != nth_) return false;
    fired_ = true;
    return true;
  }
  static int Fail(int error) {
    errno = error;
    return -1;
  }

  Fault fault_;
  int nth_;
  int calls_ = 0;
  bool fired_ = false;
  bool full_ = false;
};

// Fails every creation of the search file's temporary, as a read-only folder or a full disk
// would; the rest of the base opens as usual, reading its records.
class NoSearchFile : public FileSystem {
 public:
  int Open(const std::string& path, int flags, mode_t mode) override {
    if ((flags & O_CREAT) != 0 && path.find("factory.search") != std::string::npos) {
      errno = EROFS;
      return -1;
    }
    return FileSystem::Open(path, flags, mode);
  }
};

}  // namespace zorel::test_support
