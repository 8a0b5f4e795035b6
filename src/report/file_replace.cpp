#include "report/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "data/file_util.h"
#include "report/form_error.h"

namespace zorel {
namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  throw FormError("Cannot create file \"" + path + "\". " + std::strerror(error));
}

// The file a write to path lands in: the end of a symlink chain, or path itself.
std::string Target(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  const auto resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : resolved.string();
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string target = Target(path);
  const auto slash = target.find_last_of('/');
  const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string temp = dir + ".rpt-XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);  // O_CREAT|O_EXCL: never an existing name
  if (fd < 0) Fail(path, errno);
  struct stat old {};
  if (stat(target.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  bool ok = WriteAll(fd, bytes);
  int error = ok ? 0 : errno;
  if (ok && fsync(fd) != 0) {
    ok = false;
    error = errno;
  }
  if (close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    Fail(path, error);
  }
  SyncFolderOf(target);
}

}  // namespace zorel
