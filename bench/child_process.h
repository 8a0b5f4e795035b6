// Programs the benchmark starts: whole programs timed from start to end (the command-line
// tool and the sqlite3 shell), and a peer that lives in another process and is spoken to line
// by line (the DuckDB script). A program name without a slash is looked up in PATH.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zorel::bench {

struct Finished {
  double wallMs = 0;   // from before the start to after the end
  double cpuMs = 0;    // the program's user and system time
  std::string output;  // all of its standard output
  int exitCode = -1;   // -1 when it was killed by a signal
};

// Runs the program to its end with its input from /dev/null and its error output shared with
// ours. Throws std::runtime_error when it cannot be started.
Finished RunToEnd(const std::vector<std::string>& argv);

class LineChild {
 public:
  // Throws std::runtime_error when the program cannot be started.
  explicit LineChild(const std::vector<std::string>& argv);
  // Closes its input, which asks it to end, and waits for it.
  ~LineChild();
  LineChild(const LineChild&) = delete;
  LineChild& operator=(const LineChild&) = delete;

  // Throws std::runtime_error when the program no longer reads.
  void WriteLine(const std::string& line);
  // False at the end of its output.
  bool ReadLine(std::string& line);

 private:
  pid_t pid_ = -1;
  int in_ = -1;   // its standard input
  int out_ = -1;  // its standard output
  std::string buffered_;
};

}  // namespace zorel::bench
