// Crash safety of the files the store writes: a forked child writes them, reporting each finished
// operation through a pipe, and is killed with SIGKILL after a random delay, wherever in a write
// it is. Then everything stored for sure must be there, whole, and nothing else changed. Last,
// several processes change one remark file at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "data/bytes.h"
#include "data/file_util.h"
#include "data/list_file.h"
#include "data/remark.h"
#include "data/replacement_file.h"
#include "dbwriter/db_writer.h"
#include "support/run_program.h"
#include "support/sample_base.h"
#include "support/temp_dir.h"

namespace zorel {
namespace {

using test_support::TempDir;
using test_support::W;
using Clock = std::chrono::steady_clock;

// Tells the parent that one more operation is complete.
using Ack = std::function<void()>;

struct Outcome {
  std::size_t acked = 0;  // operations the child finished
  bool finished = false;  // it ran to the end before the kill
};

// Runs work in a child process and kills it after delay. A child that fails on its own (an
// exception, a failed write) fails the test.
Outcome RunAndKill(const std::function<void(const Ack&)>& work, std::chrono::microseconds delay) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(fds[0]);
    const int done = fds[1];
    try {
      work([done] {
        if (write(done, "", 1) != 1) _exit(4);
      });
    } catch (...) {
      _exit(3);
    }
    _exit(0);
  }
  close(fds[1]);
  std::this_thread::sleep_for(delay);
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  Outcome outcome;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    outcome.acked += static_cast<std::size_t>(n);
  }
  close(fds[0]);
  if (WIFEXITED(status)) {
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer failed on its own";
    outcome.finished = true;
  }
  return outcome;
}

// The rounds of one kill test: random delays from a seeded generator, and at the end a tally of
// the kills and of those that fell inside an operation.
class KillRounds {
 public:
  KillRounds(const char* what, unsigned seed) : what_(what), rng_(seed) {}
  ~KillRounds() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
    std::printf("[ crash    ] %s: %d kills (%d inside an operation) in %lld ms\n", what_, kills_,
                inFlight_, static_cast<long long>(ms.count()));
  }
  // A delay of less than `limit` microseconds.
  std::chrono::microseconds Delay(std::int64_t limit) {
    return std::chrono::microseconds(rng_() % static_cast<std::uint64_t>(limit));
  }
  void Count(bool insideAnOperation) {
    ++kills_;
    inFlight_ += insideAnOperation ? 1 : 0;
  }

 private:
  const char* what_;
  std::mt19937 rng_;
  Clock::time_point start_ = Clock::now();
  int kills_ = 0, inFlight_ = 0;
};

// Rounds of one operation killed at a random moment within 1.5 times what it takes here: `reset`
// lays out the files before each round and before the timing, `check` judges what is left.
void KillOneOperation(const char* what, unsigned seed, int rounds,
                      const std::function<void()>& reset, const std::function<void()>& operation,
                      const std::function<void(int round)>& check) {
  reset();
  const auto start = Clock::now();
  operation();
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  KillRounds kills(what, seed);
  for (int round = 0; round < rounds; ++round) {
    reset();
    const Outcome outcome = RunAndKill(
        [&](const Ack& ack) {
          operation();
          ack();
        },
        kills.Delay(span.count() * 3 / 2 + 1));
    kills.Count(outcome.acked == 0);
    check(round);
  }
}

// A remark file read byte by byte: each record's remark (the last live entry counts) and how
// many live entries it has; deleted entries of the base's records are counted too.
struct RemarkImage {
  std::vector<std::string> remarks;
  std::vector<int> live;
  int deleted = 0;
  std::size_t end = 0;  // where the whole entries end
};

RemarkImage ReadRemarkImage(const std::string& bytes, std::int32_t count) {
  RemarkImage image;
  image.remarks.resize(static_cast<std::size_t>(count));
  image.live.resize(static_cast<std::size_t>(count));
  EXPECT_EQ(bytes.substr(4, 8), "REMARK01");
  image.end = kRemarkHeaderSize;
  for (std::size_t& pos = image.end; pos + kRemarkEntryHead <= bytes.size();) {
    const auto* head = AsBytes(bytes.data() + pos);
    const std::uint16_t length = LoadU16(head);
    if (length < kRemarkEntryHead || pos + length > bytes.size()) break;  // cut by the kill
    const std::int32_t record = LoadI32(head + 2);
    EXPECT_TRUE(record >= 0 && record < count) << "an entry no one wrote";
    if (record >= 0 && record < count) {
      const auto r = static_cast<std::size_t>(record);
      if (head[6] != 0) {
        ++image.deleted;
      } else {
        image.remarks[r] = bytes.substr(pos + kRemarkEntryHead, length - kRemarkEntryHead);
        ++image.live[r];
      }
    }
    pos += length;
  }
  return image;
}

// The operations of one child: remark changes, and closings (each compacts the file) followed
// by a new opening.
struct RemarkOp {
  bool reopen = false;
  std::int32_t record = 0;
  std::string text;
};

std::vector<RemarkOp> RemarkOps(unsigned seed, std::int32_t count) {
  const std::vector<std::string> texts = {"",
                                          "a",
                                          W("примечание"),
                                          W("другое примечание"),
                                          std::string(600, 'z'),
                                          W("ёлка") + "\r\n" + W("Ёж"),
                                          "same",
                                          std::string(40, ' ') + "x"};
  std::mt19937 rng(seed);
  std::vector<RemarkOp> ops(64);
  for (RemarkOp& op : ops) {
    op.reopen = rng() % 6 == 0;
    op.record = static_cast<std::int32_t>(rng() % static_cast<unsigned>(count));
    op.text = texts[rng() % texts.size()];
  }
  return ops;
}

TEST(CrashSafety, RemarksSurviveAKillAnywhereInAChangeOrACompaction) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  constexpr std::int32_t kCount = 12;
  // The children change records 0..kCount-1; the test itself changes one more record, since
  // only a store that changed something compacts at closing.
  constexpr std::int32_t kOwn = kCount;
  constexpr std::int32_t kRecords = kCount + 1;
  std::vector<std::string> model(kRecords);
  { TRemark create(name, kRecords); }
  KillRounds kills("remark changes and compaction", 20240607);
  for (int round = 0; round < 200; ++round) {
    const std::vector<RemarkOp> ops = RemarkOps(static_cast<unsigned>(round), kCount);
    const Outcome outcome = RunAndKill(
        [&](const Ack& ack) {
          auto store = std::make_unique<TRemark>(name, kRecords);
          for (const RemarkOp& op : ops) {
            if (op.reopen) {
              store.reset();
              store = std::make_unique<TRemark>(name, kRecords);
            } else {
              store->Set(op.record, op.text);
            }
            ack();
          }
        },
        kills.Delay(25000));
    for (std::size_t i = 0; i < outcome.acked && i < ops.size(); ++i) {
      if (!ops[i].reopen) model[static_cast<std::size_t>(ops[i].record)] = ops[i].text;
    }
    // The one change under way at the kill may or may not have been stored.
    const RemarkOp* pending = outcome.acked < ops.size() ? &ops[outcome.acked] : nullptr;
    kills.Count(pending != nullptr);
    auto acceptable = [&](std::int32_t r, const std::string& found) {
      const std::string& stored = model[static_cast<std::size_t>(r)];
      if (found == stored) return true;
      return pending != nullptr && !pending->reopen && pending->record == r &&
             found == pending->text;
    };

    // Every other round the next child meets the file as the kill left it; in between the
    // file is opened and closed here, which compacts it.
    std::optional<TRemark> store;
    RemarkImage image;
    if (round % 2 == 1) {
      image = ReadRemarkImage(
          ReadWholeFile(FileExists(name) ? name : ChangeExtension(name, ".tmp")).value_or(""),
          kRecords);
    } else {
      store.emplace(name, kRecords);
    }
    for (std::int32_t r = 0; r < kRecords; ++r) {
      const std::string found = store ? store->Get(r) : image.remarks[static_cast<std::size_t>(r)];
      ASSERT_TRUE(acceptable(r, found)) << "round " << round << ", record " << r;
      model[static_cast<std::size_t>(r)] = found;
    }
    if (!store) continue;
    model[kOwn] = "round " + std::to_string(round);
    store->Set(kOwn, model[kOwn]);
    store.reset();
    EXPECT_FALSE(FileExists(ChangeExtension(name, ".tmp")));
    image = ReadRemarkImage(ReadWholeFile(name).value_or(""), kRecords);
    EXPECT_EQ(image.remarks, model) << "round " << round;
    EXPECT_EQ(image.deleted, 0) << "round " << round;
    EXPECT_LE(*std::max_element(image.live.begin(), image.live.end()), 1) << "round " << round;
  }
}

TEST(CrashSafety, AnInterruptedConversionOfTheOlderLayoutLosesNoRemark) {
  TempDir dir;
  const std::string name = dir / "remark.dat";
  constexpr std::int32_t kSlots = 4000;
  std::string old;
  std::vector<std::string> expected(kSlots);
  for (std::int32_t i = 0; i < kSlots; ++i) {
    std::string slot = i % 3 == 0 ? "" : "  " + W("примечание ") + std::to_string(i);
    if (i % 3 != 0) expected[static_cast<std::size_t>(i)] = slot.substr(2);
    slot.resize(kOldRemarkSlot, ' ');
    old += slot;
  }
  KillOneOperation(
      "older layout conversion", 7, 60, [&] { ASSERT_TRUE(WriteFileReplacing(name, old)); },
      [&] { TRemark convert(name, kSlots); },
      [&](int round) {
        // The file is the old one or the whole new one.
        const std::string bytes = ReadWholeFile(name).value_or("<missing>");
        if (bytes != old) {
          EXPECT_EQ(ReadRemarkImage(bytes, kSlots).remarks, expected) << "round " << round;
        }
        TRemark store(name, kSlots);
        for (std::int32_t i = 0; i < kSlots; i += 7) {
          ASSERT_EQ(store.Get(i), expected[static_cast<std::size_t>(i)]) << "round " << round;
        }
      });
}

std::string RemarkText(std::int32_t record) {
  return "remark " + std::to_string(record) + std::string(80, '.');
}

// A current-layout file of `count` remarks, RemarkText(N) for record N.
std::string ManyRemarks(std::int32_t count) {
  std::vector<std::pair<std::int32_t, std::string>> remarks;
  for (std::int32_t i = 0; i < count; ++i) remarks.emplace_back(i, RemarkText(i));
  return EncodeRemarks(remarks);
}

TEST(CrashSafety, AKillWhileADamagedFileIsCopiedAsideLosesNoByte) {
  // The first change to a file with an unreadable tail copies the whole file aside, cuts the
  // tail off and appends. Killed anywhere in that, the file is as it was, or a whole copy of
  // it lies beside the changed file.
  TempDir dir;
  const std::string name = dir / "remark.dat";
  constexpr std::int32_t kCount = 20000;
  const std::string damaged = ManyRemarks(kCount) + std::string("\xff\xff\x01\x00\x00\x00\x00", 7);
  KillOneOperation(
      "damaged file copied aside", 5, 40,
      [&] {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        WriteBytes(name, damaged);
      },
      [&] {
        TRemark store(name, kCount);
        store.Set(0, "changed");
      },
      [&](int round) {
        if (ReadWholeFile(name).value_or("<missing>") != damaged) {
          const auto copies = test_support::KeptCopies(dir.path(), "remark.dat.damaged-");
          ASSERT_TRUE(std::find(copies.begin(), copies.end(), damaged) != copies.end())
              << "round " << round;
        }
        TRemark store(name, kCount);
        const std::string first = store.Get(0);
        EXPECT_TRUE(first == "changed" || first == RemarkText(0)) << round;
        for (std::int32_t i = 1; i < kCount; i += 997)
          ASSERT_EQ(store.Get(i), RemarkText(i)) << round;
      });
}

TEST(CrashSafety, AKillWhileLockedForReadingOrWritingLeavesTheStoreUsable) {
  // Readers catch up under the shared lock, writers append under the exclusive one; a
  // process killed holding either loses it with its open file, so the next one goes on, and
  // a reader's kill changes no byte.
  TempDir dir;
  const std::string name = dir / "remark.dat";
  constexpr std::int32_t kCount = 4000;
  WriteBytes(name, ManyRemarks(kCount));
  KillRounds kills("locks held by readers and writers", 9);
  for (int round = 0; round < 40; ++round) {
    const std::string before = ReadWholeFile(name).value_or("");
    const bool writer = round % 2 == 1;
    const Outcome outcome = RunAndKill(
        [&](const Ack& ack) {
          for (;;) {
            TRemark store(name, kCount);
            for (std::int32_t r = 0; r < kCount; r += 13) {
              if (writer) {
                store.Set(r, "round " + std::to_string(round));
              } else if (store.Get(r).empty()) {
                _exit(5);
              }
            }
            ack();
          }
        },
        kills.Delay(20000));
    kills.Count(!outcome.finished);
    if (!writer) {
      EXPECT_EQ(ReadWholeFile(name).value_or(""), before) << "round " << round;
    }
    TRemark store(name, kCount);
    store.Set(1, "after round " + std::to_string(round));
    EXPECT_EQ(store.Get(1), "after round " + std::to_string(round));
    EXPECT_EQ(store.Get(2), RemarkText(2));
  }
}

TEST(CrashSafety, AListFileIsAlwaysTheOldOrTheNewOneWhole) {
  TempDir dir;
  const std::string path = dir / "list.lst";
  // Three lists saved in turn: after a kill the file must hold the one saved last or the one
  // being saved, never the third, a mixture or a cut file.
  constexpr std::size_t kLists = 3;
  RecordList lists[kLists];
  ListFileHeader heads[kLists];
  std::string images[kLists];
  for (std::size_t k = 0; k < kLists; ++k) {
    for (std::int32_t r = 0; r < 9000; ++r) {
      if (r % static_cast<std::int32_t>(k + 2) != 0) lists[k].push_back(r);
    }
    heads[k].lowerHeight = static_cast<std::int16_t>(100 + k);
    SaveListFile(path, heads[k], lists[k]);
    images[k] = ReadWholeFile(path).value_or("");
  }

  KillRounds kills("list file saves", 11);
  std::size_t last = kLists - 1;  // the list in the file before the child starts
  for (int round = 0; round < 100; ++round) {
    const std::size_t first = last + 1;
    const Outcome outcome = RunAndKill(
        [&](const Ack& ack) {
          for (std::size_t i = first; i < first + 1000; ++i) {
            SaveListFile(path, heads[i % kLists], lists[i % kLists]);
            ack();
          }
        },
        kills.Delay(20000));
    const std::size_t saved = (first + outcome.acked - 1) % kLists;
    const std::size_t underWay = (first + outcome.acked) % kLists;
    kills.Count(!outcome.finished);
    const std::string bytes = ReadWholeFile(path).value_or("<missing>");
    const bool isSaved = bytes == images[saved];
    ASSERT_TRUE(isSaved || (!outcome.finished && bytes == images[underWay])) << "round " << round;
    const std::size_t found = isSaved ? saved : underWay;
    const LoadedList loaded = LoadListFile(path, 9000);
    EXPECT_EQ(loaded.records, lists[found]);
    EXPECT_EQ(loaded.header.lowerHeight, heads[found].lowerHeight);
    last = found;
  }
}

// Several processes on one remark file at once: forked writers open the store, write, update
// and clear remarks of their own records and close it (which compacts when they are alone),
// round after round, while this process keeps a store open as the desktop program does,
// writes its own records through it and reads the others' as they come. Afterwards every
// record holds the last remark written to it and the file reads cleanly.

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

  std::vector<std::string> expected(kRecords), found;
  for (int owner = 0; owner < kOwners; ++owner) {
    for (int change = 0; change < kRounds * kChangesPerRound; ++change) {
      const auto [record, text] = Change(owner, change);
      expected[static_cast<std::size_t>(record)] = text;
    }
  }
  {
    TRemark after(name, kRecords);
    for (std::int32_t r = 0; r < kRecords; ++r) found.push_back(after.Get(r));
  }
  EXPECT_EQ(found, expected);
  // The file reads cleanly: whole entries up to its end.
  const std::string bytes = ReadWholeFile(name).value_or("");
  EXPECT_EQ(ReadRemarkImage(bytes, kRecords).end, bytes.size());
  int lost = 0;
  for (std::size_t r = 0; r < found.size(); ++r) lost += found[r] != expected[r] ? 1 : 0;
  std::printf("[ together ] %d processes, %d rounds, %d changes written, %d remarks lost\n",
              kOwners, kRounds, kOwners * kRounds * kChangesPerRound, lost);
}

}  // namespace
}  // namespace zorel
