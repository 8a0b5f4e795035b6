// Runs a program as the tests need it: stdin empty, both output streams captured, optionally in
// another folder and with extra environment variables; and what tests compare its work with.
#pragma once

#include <map>
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

// The lines, each ended by "\n": a program's expected output.
std::string Lines(const std::vector<std::string>& lines);

// A file's bytes, or "<missing>".
std::string FileBytes(const std::string& path);

// Every file below dir by its relative path, with its bytes: what a program left there.
std::map<std::string, std::string> FolderBytes(const std::string& dir);

// The bytes of each file directly in dir whose name starts with prefix: the copies kept aside.
std::vector<std::string> KeptCopies(const std::string& dir, const std::string& prefix);

}  // namespace zorel::test_support
