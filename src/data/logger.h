// The diagnostic log: a no-op TDummyLogger unless the program was started with "/debug" as
// its first argument, then a TLogger writing UTF-8 lines ended by CR LF to a file named after
// the executable with ".log", in the current directory, started afresh on each run.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zorel {

class TDummyLogger {
 public:
  virtual ~TDummyLogger() = default;
  virtual void Log(std::string_view text);
  // Four lines: prefix + "Sender exception information", then prefix + " - raised by " +
  // senderClass, prefix + " - exception class is " + exceptionClass, prefix + " - message is "
  // + message.
  virtual void LogException(std::string_view prefix, std::string_view senderClass,
                            std::string_view exceptionClass, std::string_view message);
};

class TLogger : public TDummyLogger {
 public:
  // Deletes any file of that name, creates it and logs "Logging started at " + date and time.
  // A file that cannot be created leaves the logger silent.
  explicit TLogger(const std::string& fileName);
  ~TLogger() override;
  void Log(std::string_view text) override;
  void LogException(std::string_view prefix, std::string_view senderClass,
                    std::string_view exceptionClass, std::string_view message) override;

 private:
  int fd_ = -1;
};

// True when there is a first argument and it is exactly "/debug".
bool DebugSwitch(int argc, const char* const* argv);
// "/path/to/zorel" gives "zorel.log".
std::string LogFileNameFor(const std::string& executable);

// The program-wide logger: a TDummyLogger until StartLogging installs another.
TDummyLogger& Logger();
// Installs a TLogger when DebugSwitch holds for the arguments; otherwise keeps the dummy.
void StartLogging(int argc, const char* const* argv);
void SetLogger(std::unique_ptr<TDummyLogger> logger);

// Logs an error the store deliberately goes on after: "EE: what path: system's reason".
void LogIgnoredError(std::string_view what, const std::string& path, int error);

}  // namespace zorel
