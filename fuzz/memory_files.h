// MemoryFiles: a file system held in memory, installed in place of the system's own so that a
// fuzz target writes, flushes, renames and reads its files without a single system call. It
// keeps the rules the readers and writers rely on: exclusive creation, renames over a name,
// a distinct inode per file, change times that move on every change (from a counter, so a run
// repeats exactly), and advisory byte locks held per open file. A lock that would have to wait
// fails instead (one thread would wait forever). Files are created only in folders made with
// MakeFolder; there are no links or permissions.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "data/file_system.h"

namespace zorel::fuzz {

class MemoryFiles : public FileSystem {
 public:
  // Removes every file whose path begins with prefix.
  void RemoveUnder(const std::string& prefix);
  // Lets files be created in the folder path (without a trailing '/').
  void MakeFolder(const std::string& path) { folders_.insert(path); }
  // Puts a new file with these bytes at path, over whatever stands there, as a replacement
  // renamed into place would (a new inode); false when the folder was not made.
  bool Put(const std::string& path, std::string_view bytes);

  int Open(const std::string& path, int flags, mode_t mode) override;
  int Close(int fd) override;
  ssize_t ReadAt(int fd, void* to, std::size_t n, std::int64_t offset) override;
  ssize_t WriteAt(int fd, const void* from, std::size_t n, std::int64_t offset) override;
  int Sync(int fd) override;
  int Truncate(int fd, std::int64_t size) override;
  int Stat(int fd, struct stat* st) override;
  int StatPath(const std::string& path, struct stat* st) override;
  int LinkStat(const std::string& path, struct stat* st) override;
  std::string ReadLink(const std::string& path) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
  int KeepOwnerAndMode(int fd, const struct stat& like) override;
  int Lock(int fd, std::int64_t byte, LockKind kind, bool wait) override;

 private:
  struct Node {
    std::string bytes;
    mode_t mode = 0644;
    std::uint64_t inode = 0;
    std::int64_t modified = 0, changed = 0;
    std::map<std::int64_t, std::map<int, LockKind>> locks;  // byte -> holder -> kind
  };
  struct Handle {
    std::shared_ptr<Node> node;
    bool write = false;
  };

  Handle* HandleOf(int fd);
  bool InFolder(const std::string& path) const;
  void Touch(Node& node);
  void Fill(const Node& node, struct stat* st) const;

  std::set<std::string> folders_;
  // Hashed: the names of one folder share long prefixes, which a tree would compare over and
  // over through the fuzzer's compare hooks.
  std::unordered_map<std::string, std::shared_ptr<Node>> names_;
  std::map<int, Handle> handles_;
  int nextFd_ = 1 << 20;  // far above the system's own descriptors
  std::uint64_t nextInode_ = 1;
  std::int64_t clock_ = 1700000000LL * 1000000000LL;
  const uid_t owner_ = getuid();  // asked once: a system call on every stat would cost more
  const gid_t group_ = getgid();  // than all the rest of it
};

}  // namespace zorel::fuzz
