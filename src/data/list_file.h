// List files (.lst): a 13-byte head ("ISLA", panel flags, four 16-bit sizes) followed by signed
// 32-bit record numbers, little-endian. Loading, saving and merging as the list windows do.
// Saving goes through a temporary file renamed over the target.
#pragma once

#include <cstdint>
#include <string>

#include "data/record_list.h"

namespace zorel {

inline constexpr int kListHeaderSize = 13;

struct ListFileHeader {
  bool requisitesShown = true;  // flag bit 0
  bool lowerShown = true;       // flag bit 1
  bool advertShown = true;      // flag bit 2
  std::int16_t lowerHeight = 0;
  std::int16_t advertWidth = 0;
  std::int16_t windowWidth = 0;
  std::int16_t windowHeight = 0;

  std::uint8_t Flags() const;
};

// A file whose head is short or lacks "ISLA" is reported, not thrown: the window layer shows
// the information box "Файл списка неверного формата" and leaves the window unchanged.
enum class ListFileStatus { Ok, WrongFormat };

struct LoadedList {
  ListFileStatus status = ListFileStatus::WrongFormat;
  ListFileHeader header;
  RecordList records;  // numbers outside 0..recordCount-1 skipped, file order kept
};

enum class MergeMode { Append = 0, Subtract = 1 };

inline constexpr const char* kWrongListFormat = "Файл списка неверного формата";

// Throws EChildError "Не могу найти файл со списком " + path when no such file exists, and
// "Не могу отурыть файл со списком " + path when it cannot be opened.
LoadedList LoadListFile(const std::string& path, std::int32_t recordCount);

// Writes head and records; throws EChildError "Не могу сохранить список в файле " + path and a
// line with the reason when the file cannot be written (a read-only file is not replaced),
// leaving any old file of that name as it was.
void SaveListFile(const std::string& path, const ListFileHeader& header, const RecordList& records);

// Appends or subtracts the file's records (those inside 0..recordCount-1); afterwards the list
// is ascending and free of duplicates. Errors as LoadListFile; on WrongFormat or an exception
// the list is unchanged.
ListFileStatus MergeListFile(RecordList& list, const std::string& path, MergeMode mode,
                             std::int32_t recordCount);

}  // namespace zorel
