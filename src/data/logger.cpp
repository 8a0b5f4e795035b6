// The diagnostic logger and the program-wide slot that holds it. Single-threaded: callers log
// from the interface thread only.
#include "data/logger.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "data/file_system.h"

namespace zorel {
namespace {

// "dd.MM.yyyy HH:mm:ss": the Russian short date and long time.
std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
  return std::string(text, n);
}

std::unique_ptr<TDummyLogger>& Installed() {
  static std::unique_ptr<TDummyLogger> logger = std::make_unique<TDummyLogger>();
  return logger;
}

}  // namespace

void TDummyLogger::Log(std::string_view) {}

void TDummyLogger::LogException(std::string_view, std::string_view, std::string_view,
                                std::string_view) {}

TLogger::TLogger(const std::string& fileName) {
  unlink(fileName.c_str());
  fd_ = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
  Log("Logging started at " + NowText());
}

TLogger::~TLogger() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TLogger::Log(std::string_view text) {
  if (fd_ < 0) return;
  // One write per line, so a crash leaves every line logged so far in the file.
  std::string line;
  line.reserve(text.size() + 2);
  line.append(text);
  line += "\r\n";
  std::size_t put = 0;
  while (put < line.size()) {
    const ssize_t n = write(fd_, line.data() + put, line.size() - put);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // a log that cannot be written stays silent
    put += static_cast<std::size_t>(n);
  }
}

void TLogger::LogException(std::string_view prefix, std::string_view senderClass,
                           std::string_view exceptionClass, std::string_view message) {
  const std::string p(prefix);
  Log(p + "Sender exception information");
  Log(p + " - raised by " + std::string(senderClass));
  Log(p + " - exception class is " + std::string(exceptionClass));
  Log(p + " - message is " + std::string(message));
}

bool DebugSwitch(int argc, const char* const* argv) {
  return argc >= 2 && argv[1] != nullptr && std::strcmp(argv[1], "/debug") == 0;
}

std::string LogFileNameFor(const std::string& executable) {
  const std::string name = executable.substr(executable.find_last_of('/') + 1);
  return name.substr(0, name.find_last_of('.')) + ".log";
}

TDummyLogger& Logger() { return *Installed(); }

void StartLogging(int argc, const char* const* argv) {
  if (DebugSwitch(argc, argv)) SetLogger(std::make_unique<TLogger>(LogFileNameFor(argv[0])));
}

void SetLogger(std::unique_ptr<TDummyLogger> logger) {
  Installed() = logger ? std::move(logger) : std::make_unique<TDummyLogger>();
}

void LogIgnoredError(std::string_view what, const std::string& path, int error) {
  Logger().Log("EE: " + std::string(what) + " " + ReasonLine(path, error));
}

}  // namespace zorel
