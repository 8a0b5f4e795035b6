// Runs a scenario once for every step of a write that can fail (the nth write, flush, rename…
// of each kind in turn), and lists what a failure left behind in a folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "support/faulty_files.h"

namespace zorel::test_support {

// Names in the folder other than the expected ones: temporaries a failure left behind.
inline std::set<std::string> Strays(const std::filesystem::path& dir,
                                    const std::set<std::string>& expected) {
  std::set<std::string> strays;
  for (const auto& f : std::filesystem::recursive_directory_iterator(dir)) {
    const std::string name = f.path().filename().string();
    if (f.is_regular_file() && !expected.count(name)) strays.insert(name);
  }
  return strays;
}

// Runs a scenario with the nth step of each kind failing, until no such step is left.
template <typename Scenario>
void ForEveryFailingStep(Scenario scenario) {
  const std::pair<Fault, const char*> faults[] = {
      {Fault::FailedWrite, "failed write"},
      {Fault::ShortWriteThenFull, "short write, then a full disk"},
      {Fault::FailedSync, "failed flush"},
      {Fault::FailedRename, "failed rename"},
      {Fault::FailedTruncate, "failed truncation"},
      {Fault::FailedCreate, "failed creation"}};
  for (const auto& [fault, name] : faults) {
    for (int nth = 1;; ++nth) {
      SCOPED_TRACE(std::string(name) + ", step " + std::to_string(nth));
      FaultyFiles faulty(fault, nth);
      scenario(faulty);
      if (!faulty.Fired() || nth > 200) break;
    }
  }
}

}  // namespace zorel::test_support
