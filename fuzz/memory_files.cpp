#include "memory_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorel::fuzz {
namespace {

int Fail(int error) {
  errno = error;
  return -1;
}

struct timespec Time(std::int64_t ns) {
  return {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

}  // namespace

void MemoryFiles::RemoveUnder(const std::string& prefix) {
  std::erase_if(names_, [&](const auto& entry) { return entry.first.starts_with(prefix); });
}

bool MemoryFiles::InFolder(const std::string& path) const {
  const auto slash = path.find_last_of('/');
  return slash != std::string::npos && folders_.count(path.substr(0, slash)) != 0;
}

MemoryFiles::Handle* MemoryFiles::HandleOf(int fd) {
  const auto it = handles_.find(fd);
  return it == handles_.end() ? nullptr : &it->second;
}

void MemoryFiles::Touch(Node& node) {
  clock_ += 1000;
  node.modified = node.changed = clock_;
}

void MemoryFiles::Fill(const Node& node, struct stat* st) const {
  *st = {};
  st->st_dev = 1;
  st->st_ino = node.inode;
  st->st_mode = S_IFREG | node.mode;
  st->st_nlink = 1;
  st->st_uid = owner_;
  st->st_gid = group_;
  st->st_size = static_cast<off_t>(node.bytes.size());
  st->st_mtim = Time(node.modified);
  st->st_ctim = Time(node.changed);
  st->st_atim = st->st_mtim;
}

bool MemoryFiles::Put(const std::string& path, std::string_view bytes) {
  if (!InFolder(path)) return false;
  auto node = std::make_shared<Node>();
  node->bytes = bytes;
  node->inode = nextInode_++;
  Touch(*node);
  names_[path] = std::move(node);
  return true;
}

int MemoryFiles::Open(const std::string& path, int flags, mode_t mode) {
  if ((flags & O_DIRECTORY) != 0) return Fail(ENOENT);
  auto it = names_.find(path);
  if (it != names_.end() && (flags & O_CREAT) != 0 && (flags & O_EXCL) != 0) return Fail(EEXIST);
  if (it == names_.end()) {
    if ((flags & O_CREAT) == 0 || !InFolder(path)) return Fail(ENOENT);
    auto node = std::make_shared<Node>();
    node->mode = mode & 07777;
    node->inode = nextInode_++;
    Touch(*node);
    it = names_.emplace(path, std::move(node)).first;
  }
  const bool write = (flags & O_ACCMODE) != O_RDONLY;
  if (write && (flags & O_TRUNC) != 0) {
    it->second->bytes.clear();
    Touch(*it->second);
  }
  const int fd = nextFd_++;
  handles_[fd] = Handle{it->second, write};
  return fd;
}

int MemoryFiles::Close(int fd) {
  Handle* h = HandleOf(fd);
  if (h == nullptr) return Fail(EBADF);
  for (auto& [byte, holders] : h->node->locks) holders.erase(fd);
  handles_.erase(fd);
  return 0;
}

ssize_t MemoryFiles::ReadAt(int fd, void* to, std::size_t n, std::int64_t offset) {
  Handle* h = HandleOf(fd);
  if (h == nullptr) return Fail(EBADF);
  if (offset < 0) return Fail(EINVAL);
  const std::string& bytes = h->node->bytes;
  if (static_cast<std::size_t>(offset) >= bytes.size()) return 0;
  const std::size_t take = std::min(n, bytes.size() - static_cast<std::size_t>(offset));
  std::memcpy(to, bytes.data() + offset, take);
  return static_cast<ssize_t>(take);
}

ssize_t MemoryFiles::WriteAt(int fd, const void* from, std::size_t n, std::int64_t offset) {
  Handle* h = HandleOf(fd);
  if (h == nullptr || !h->write) return Fail(EBADF);
  if (offset < 0) return Fail(EINVAL);
  std::string& bytes = h->node->bytes;
  const auto end = static_cast<std::size_t>(offset) + n;
  if (end > bytes.size()) bytes.resize(end, '\0');
  std::memcpy(bytes.data() + offset, from, n);
  Touch(*h->node);
  return static_cast<ssize_t>(n);
}

int MemoryFiles::Sync(int fd) { return HandleOf(fd) == nullptr ? Fail(EBADF) : 0; }

int MemoryFiles::Truncate(int fd, std::int64_t size) {
  Handle* h = HandleOf(fd);
  if (h == nullptr || !h->write) return Fail(EBADF);
  if (size < 0) return Fail(EINVAL);
  h->node->bytes.resize(static_cast<std::size_t>(size), '\0');
  Touch(*h->node);
  return 0;
}

int MemoryFiles::Stat(int fd, struct stat* st) {
  Handle* h = HandleOf(fd);
  if (h == nullptr) return Fail(EBADF);
  Fill(*h->node, st);
  return 0;
}

int MemoryFiles::StatPath(const std::string& path, struct stat* st) {
  const auto it = names_.find(path);
  if (it == names_.end()) return Fail(ENOENT);
  Fill(*it->second, st);
  return 0;
}

int MemoryFiles::LinkStat(const std::string& path, struct stat* st) { return StatPath(path, st); }

std::string MemoryFiles::ReadLink(const std::string&) {
  errno = EINVAL;
  return {};
}

int MemoryFiles::Rename(const std::string& from, const std::string& to) {
  const auto it = names_.find(from);
  if (it == names_.end() || !InFolder(to)) return Fail(ENOENT);
  std::shared_ptr<Node> node = it->second;
  names_.erase(it);
  clock_ += 1000;
  node->changed = clock_;
  names_[to] = std::move(node);
  return 0;
}

int MemoryFiles::Unlink(const std::string& path) {
  return names_.erase(path) == 0 ? Fail(ENOENT) : 0;
}

int MemoryFiles::KeepOwnerAndMode(int fd, const struct stat& like) {
  Handle* h = HandleOf(fd);
  if (h == nullptr) return Fail(EBADF);
  h->node->mode = like.st_mode & 07777;
  return 0;
}

int MemoryFiles::Lock(int fd, std::int64_t byte, LockKind kind, bool) {
  Handle* h = HandleOf(fd);
  if (h == nullptr) return Fail(EBADF);
  auto& holders = h->node->locks[byte];
  if (kind == LockKind::None) {
    holders.erase(fd);
    return 0;
  }
  for (const auto& [holder, held] : holders) {
    if (holder != fd && (held == LockKind::Exclusive || kind == LockKind::Exclusive)) {
      return Fail(EAGAIN);
    }
  }
  holders[fd] = kind;
  return 0;
}

}  // namespace zorel::fuzz
