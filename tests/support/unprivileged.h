// Runs a piece of a test as a user who may read a base but not write it: in a forked child
// that drops to "nobody" when the tests run as root, or as the same (already unprivileged)
// user otherwise. The work gives the text of its failures, empty when all held; gtest
// assertions do not cross the fork, so the child sends that text back through a pipe.
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zorel::test_support {

// Empty when no unprivileged user can be had (root without a "nobody").
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& work) {
  const passwd* nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
  if (geteuid() == 0 && nobody == nullptr) return std::nullopt;
  const uid_t uid = nobody != nullptr ? nobody->pw_uid : geteuid();
  const gid_t gid = nobody != nullptr ? nobody->pw_gid : getegid();
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  const pid_t pid = fork();
  if (pid < 0) return "fork failed";
  if (pid == 0) {
    close(fds[0]);
    std::string failures;
    if (nobody != nullptr && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) {
      failures = "cannot drop privileges";
    } else {
      try {
        failures = work();
      } catch (const std::exception& e) {
        failures = std::string("exception: ") + e.what();
      }
    }
    for (std::size_t put = 0; put < failures.size();) {
      const ssize_t n = write(fds[1], failures.data() + put, failures.size() - put);
      if (n <= 0) break;
      put += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string failures;
  char buffer[512];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    failures.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failures += "the child did not end normally";
  return failures;
}

// RunUnprivileged with every folder below root (root too) readable and passable by all and every
// file readable by all, nothing writable but by root; all is the owner's again afterwards.
inline std::optional<std::string> RunOnReadOnly(const std::filesystem::path& root,
                                                const std::function<std::string()>& work) {
  namespace fs = std::filesystem;
  const auto setAll = [&root](fs::perms folders, fs::perms files) {
    fs::permissions(root, folders);
    for (const auto& f : fs::recursive_directory_iterator(root)) {
      fs::permissions(f.path(), f.is_directory() ? folders : files);
    }
  };
  setAll(fs::perms(0555), fs::perms(0444));
  auto failures = RunUnprivileged(work);
  setAll(fs::perms(0700), fs::perms(0700));
  return failures;
}

}  // namespace zorel::test_support
