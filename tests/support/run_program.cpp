#include "support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "data/file_util.h"
#include "support/temp_dir.h"

namespace zorel::test_support {

RunResult RunProgram(std::vector<std::string> words, const std::string& cwd,
                     const std::vector<std::string>& env) {
  TempDir io;
  const std::string outPath = io / "out", errPath = io / "err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<char*> argv, envp;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::vector<std::string> envCopy = env;
  for (auto& e : envCopy) envp.push_back(e.data());
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  envp.push_back(nullptr);
  pid_t pid = 0;
  RunResult r;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  }
  posix_spawn_file_actions_destroy(&actions);
  r.out = ReadWholeFile(outPath).value_or("");
  r.err = ReadWholeFile(errPath).value_or("");
  return r;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

std::string FileBytes(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

std::map<std::string, std::string> FolderBytes(const std::string& dir) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) {
      files[fs::relative(e.path(), dir).string()] = ReadWholeFile(e.path()).value_or("");
    }
  }
  return files;
}

std::vector<std::string> KeptCopies(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> copies;
  for (const auto& f : std::filesystem::directory_iterator(dir)) {
    if (f.path().filename().string().starts_with(prefix)) {
      copies.push_back(ReadWholeFile(f.path()).value_or(""));
    }
  }
  return copies;
}

}  // namespace zorel::test_support
