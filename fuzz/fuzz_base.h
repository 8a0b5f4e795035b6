// A database folder cut from a fuzz input, as the database and matching targets use it, and
// the per-process scratch folder it is written to. The order of the pieces is the input
// format: the seed writer produces it from bases written by the project's database writer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dbwriter/db_writer.h"
#include "fuzz_input.h"

namespace zorel {
class Tdm;
}

namespace zorel::fuzz {

// Which optional files the input supplies; an index left out is built by the reader, a remark
// file left out is created by it. Supplied indexes are used as they stand.
enum DatabaseFlags : std::uint8_t {
  kSupplyFactoryIdx = 1,
  kSupplyItemIdx = 2,
  kSupplyRemarks = 4,
  kSupplyRemarkTemp = 8,  // a "remark.tmp" beside the remark file, as a crash may leave it
};

struct DatabaseFiles {
  std::uint8_t flags = 0;
  std::string factoryHeader, factoryRecords, items, classes, regions, orgForms, countries, remarks,
      remarkTemp, factoryIdx, itemIdx;

  static DatabaseFiles Read(InputReader& in);
  void Write(InputWriter& out) const;
  // The files the project's writer makes of base; the index files are the ones a reader
  // would build, supplied only when flags ask for them.
  static DatabaseFiles FromBase(const BaseSource& base, std::uint8_t flags);
  // Writes the files into dir (created when missing), removing whatever else is there; supplied
  // index files come with a search file that vouches for them.
  void Place(const std::string& dir) const;
};

// The offsets an index file holds (a trailing fragment dropped).
std::vector<std::int32_t> OffsetsOf(const std::string& index);
// Where the first record of factory.dat starts, by its header.
std::int32_t FactoryHeaderSize(const std::string& factory);

// A folder held in memory: the first call installs a MemoryFiles for the rest of the process,
// so the files of the data store never reach the disk and each input costs no system call.
const std::string& MemoryFolder();

// Removes every file in dir, a folder of MemoryFolder(), and lets files be made in it.
void EmptyFolder(const std::string& dir);

// Empties a folder now and again when the input is done, so that an input leaves no block
// behind: the fuzzer runs an input a second time, looking for a leak, whenever it ends holding
// more blocks than it began with.
class InputFolder {
 public:
  explicit InputFolder(std::string dir) : dir_(std::move(dir)) { EmptyFolder(dir_); }
  ~InputFolder() { EmptyFolder(dir_); }
  InputFolder(const InputFolder&) = delete;
  InputFolder& operator=(const InputFolder&) = delete;
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

// Puts a file into a folder of the installed memory files, as a replacement renamed into place.
void PutFile(const std::string& path, std::string_view bytes);

// The memory folder's "db", where PlaceAndOpen writes the files.
const std::string& DatabaseFolder();
// The sound base the search file target places its inputs beside: the sample base with more
// records, so that columns and posting lists have some length.
BaseSource SearchFileBase();
// The search file the data module builds for that base, made in memory of its own.
std::string SoundSearchFile();

// Writes the files into DatabaseFolder() and opens a data module on them; null when the module
// refuses the folder with the system's message, a sound answer to a broken folder.
std::unique_ptr<Tdm> PlaceAndOpen(const DatabaseFiles& files);

}  // namespace zorel::fuzz
