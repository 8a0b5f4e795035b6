#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace zorel::bench {
namespace {

[[noreturn]] void Fail(const std::string& what, int error) {
  throw std::runtime_error(what + ": " + std::strerror(error));
}

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) Fail("pipe", errno);
    read = fds[0];
    write = fds[1];
  }
};

// Starts argv with the given descriptors as its standard input and output (-1: /dev/null for
// the input, ours for the output); the duplicates lose close-on-exec, the originals keep it.
pid_t Spawn(const std::vector<std::string>& argv, int input, int output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0) {
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) Fail("cannot start " + argv[0], rc);
  return pid;
}

double Ms(const timeval& t) {
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

}  // namespace

Finished RunToEnd(const std::vector<std::string>& argv) {
  Pipe out;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  try {
    pid = Spawn(argv, -1, out.write);
  } catch (...) {
    close(out.read);
    close(out.write);
    throw;
  }
  close(out.write);
  Finished f;
  char buf[65536];
  for (;;) {
    const ssize_t n = read(out.read, buf, sizeof buf);
    if (n > 0) {
      f.output.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(out.read);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  f.wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  f.cpuMs = Ms(usage.ru_utime) + Ms(usage.ru_stime);
  f.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return f;
}

LineChild::LineChild(const std::vector<std::string>& argv) {
  Pipe in, out;
  try {
    pid_ = Spawn(argv, in.read, out.write);
  } catch (...) {
    for (int fd : {in.read, in.write, out.read, out.write}) close(fd);
    throw;
  }
  close(in.read);
  close(out.write);
  in_ = in.write;
  out_ = out.read;
}

LineChild::~LineChild() {
  close(in_);
  close(out_);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
}

void LineChild::WriteLine(const std::string& line) {
  const std::string text = line + '\n';
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(in_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("cannot write to the peer process", errno);
    done += static_cast<std::size_t>(n);
  }
}

bool LineChild::ReadLine(std::string& line) {
  char buf[65536];
  for (;;) {
    const std::size_t end = buffered_.find('\n');
    if (end != std::string::npos) {
      line.assign(buffered_, 0, end);
      buffered_.erase(0, end + 1);
      return true;
    }
    const ssize_t n = read(out_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffered_.append(buf, static_cast<std::size_t>(n));
  }
}

}  // namespace zorel::bench
