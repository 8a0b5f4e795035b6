// Several processes on one remark file at once: forked writers open the store, write, update
// and clear remarks of their own records and close it (which compacts when they are alone),
// round after round, while this process keeps a store open as the desktop program does,
// writes its own records through it and reads the others' as they come. Afterwards every
// record holds the last remark written to it and the file reads cleanly.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>

#include "data/bytes.h"
#include "data/file_util.h"
#include "data/remark.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::TempDir;

constexpr int kWriters = 4;
constexpr int kRounds = 40;
constexpr int kChangesPerRound = 8;
constexpr std::int32_t kRecords = 60;
constexpr int kOwners = kWriters + 1;  // owner 0 is this process

// The change number `change` of an owner: one of its records and the text it gets; every
// fifth change clears the remark.
std::pair<std::int32_t, std::string> Change(int owner, int change) {
  std::mt19937 rng(static_cast<unsigned>(owner * 100003 + change));
  const auto slot = static_cast<std::int32_t>(rng() % (kRecords / kOwners));
  const std::int32_t record = slot * kOwners + owner;
  std::string text;
  if (change % 5 != 4) {
    text = "owner " + std::to_string(owner) + " change " + std::to_string(change);
    text.append(rng() % 300, 'x');
  }
  return {record, text};
}

TEST(RemarkConcurrency, WritersAtOnceLoseNoRemark) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  { TRemark create(name, kRecords); }

  std::vector<pid_t> writers;
  for (int owner = 1; owner <= kWriters; ++owner) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        for (int round = 0; round < kRounds; ++round) {
          TRemark store(name, kRecords);
          for (int k = 0; k < kChangesPerRound; ++k) {
            const auto [record, text] = Change(owner, round * kChangesPerRound + k);
            store.Set(record, text);
            if (store.Get(record) != text) status = 2;
          }
        }
      } catch (...) {
        status = 3;
      }
      _exit(status);
    }
    writers.push_back(pid);
  }

  // This process: one store open through many changes, reopened now and then.
  auto desktop = std::make_unique<TRemark>(name, kRecords);
  for (int change = 0; change < kRounds * kChangesPerRound; ++change) {
    const auto [record, text] = Change(0, change);
    desktop->Set(record, text);
    ASSERT_EQ(desktop->Get(record), text);
    desktop->Get((record + 1) % kRecords);  // catches up with the others
    if (change % 50 == 49) desktop = std::make_unique<TRemark>(name, kRecords);
  }
  desktop.reset();
  for (const pid_t pid : writers) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
  }

  std::vector<std::string> expected(kRecords);
  std::vector<bool> written(kRecords, false);
  for (int owner = 0; owner < kOwners; ++owner) {
    for (int change = 0; change < kRounds * kChangesPerRound; ++change) {
      const auto [record, text] = Change(owner, change);
      expected[static_cast<std::size_t>(record)] = text;
      written[static_cast<std::size_t>(record)] = true;
    }
  }
  int lost = 0, remarks = 0;
  {
    TRemark after(name, kRecords);
    for (std::int32_t r = 0; r < kRecords; ++r) {
      if (!written[static_cast<std::size_t>(r)]) continue;
      ++remarks;
      if (after.Get(r) != expected[static_cast<std::size_t>(r)]) ++lost;
    }
  }
  // The file reads cleanly: whole entries up to its end.
  const std::string bytes = ReadWholeFile(name).value_or("");
  std::size_t pos = kRemarkHeaderSize;
  while (pos + kRemarkEntryHead <= bytes.size()) {
    const std::uint16_t length = LoadU16(AsBytes(bytes.data() + pos));
    if (length < kRemarkEntryHead || pos + length > bytes.size()) break;
    pos += length;
  }
  EXPECT_EQ(pos, bytes.size());
  EXPECT_EQ(lost, 0);
  std::printf(
      "[ together ] %d processes, %d rounds, %d changes written, %d records checked, "
      "%d remarks lost\n",
      kOwners, kRounds, kOwners * kRounds * kChangesPerRound, remarks, lost);
}

}  // namespace
}  // namespace zorel
