// Runs a program as the tests need it: stdin empty, both output streams captured, optionally in
// another folder and with extra environment variables.
#pragma once

#include <string>
#include <vector>

namespace zorel::test_support {

struct RunResult {
  int status = -1;  // exit status; 128 + signal number when killed
  std::string out, err;
};

// words[0] is the program's path. env entries ("NAME=value") come before the inherited ones.
RunResult RunProgram(std::vector<std::string> words, const std::string& cwd = {},
                     const std::vector<std::string>& env = {});

}  // namespace zorel::test_support
