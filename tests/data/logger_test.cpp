// The diagnostic log: the "/debug" switch, the log file's name, its lines and a fresh start
// on each run.
#include "data/logger.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <vector>

#include "data/file_util.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::FileBytes;
using test_support::TempDir;

TEST(LoggerSwitch, OnlyAnExactFirstArgumentTurnsLoggingOn) {
  const struct {
    std::vector<const char*> args;
    bool on;
  } cases[] = {
      {{"zorel"}, false},
      {{"zorel", "/debug"}, true},
      {{"zorel", "/debug", "more"}, true},
      {{"zorel", "/DEBUG"}, false},
      {{"zorel", "/debug "}, false},
      {{"zorel", "other", "/debug"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DebugSwitch(static_cast<int>(c.args.size()), c.args.data()), c.on)
        << c.args.size() << " arguments, last " << c.args.back();
  }
  EXPECT_FALSE(DebugSwitch(0, nullptr));
}

TEST(LoggerSwitch, NamesTheLogAfterTheExecutableWithoutItsFolder) {
  for (const char* path : {"/usr/local/bin/zorel", "zorel", "./build/zorel.exe", "/opt/v1.2/zorel"})
    EXPECT_EQ(LogFileNameFor(path), "zorel.log") << path;
}

TEST(LoggerFile, StartsAfreshAndWritesOneCrLfLinePerCall) {
  TempDir dir;
  const std::string name = dir / "zorel.log";
  WriteBytes(name, "a previous run\r\n");
  {
    TLogger logger(name);
    logger.Log("AE: Action information of FileNew1");
    logger.LogException("EE:", "TMainForm", "EChildError", "Не могу найти файл со списком x");
  }
  const std::string log = FileBytes(name);
  const std::string started = "Logging started at ";
  ASSERT_GT(log.size(), started.size() + 21) << log;
  EXPECT_EQ(log.substr(0, started.size()), started);
  const std::string stamp = log.substr(started.size(), 21);
  EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\r\n)")))
      << stamp;  // dd.MM.yyyy HH:mm:ss
  EXPECT_EQ(log.substr(started.size() + 21),
            "AE: Action information of FileNew1\r\n"
            "EE:Sender exception information\r\n"
            "EE: - raised by TMainForm\r\n"
            "EE: - exception class is EChildError\r\n"
            "EE: - message is Не могу найти файл со списком x\r\n");
}

TEST(LoggerFile, StaysSilentWhenTheFileCannotBeCreated) {
  TempDir dir;
  TLogger logger(dir / "missing/zorel.log");
  logger.Log("nothing");
  logger.LogException("EE:", "a", "b", "c");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

// The log goes to the current folder: a temporary one here, left again at the end.
TEST(ProgramLogger, IsSilentUnlessStartedWithTheSwitch) {
  TempDir dir;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const char* plain[] = {"/opt/zorel/zorel", "/Debug"};
  StartLogging(2, plain);
  Logger().Log("not written");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

  const char* debug[] = {"/opt/zorel/zorel", "/debug"};
  StartLogging(2, debug);
  Logger().Log("MFTT: tick");
  SetLogger(nullptr);  // closes the log
  const std::string log = FileBytes(dir / "zorel.log");
  EXPECT_EQ(log.rfind("Logging started at ", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nMFTT: tick\r\n"), std::string::npos) << log;
  Logger().Log("after");  // the dummy again
  EXPECT_EQ(FileBytes(dir / "zorel.log"), log);
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace zorel
