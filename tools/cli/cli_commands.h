// The commands of zorel-cli and what they share. Each command checks its arguments (throwing
// UsageError) before it opens the base where it can, then prints its result on standard
// output. Failures to use the base or a named file are thrown as the core's DataError or
// EChildError carrying the system's message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/data_module.h"
#include "data/record_list.h"

namespace zorel::cli {

struct Invocation {
  std::string dbDir;              // the folder holding factory.dat
  std::vector<std::string> args;  // the words after the command's name
};

using CommandFn = void (*)(const Invocation&);

struct CommandInfo {
  const char* name;
  CommandFn run;
};

// In cmd_base.cpp.
void RunInfo(const Invocation& inv);
void RunShow(const Invocation& inv);
void RunRemark(const Invocation& inv);
// In cmd_search.cpp.
void RunSearch(const Invocation& inv);
void RunProducts(const Invocation& inv);
void RunMatchProducts(const Invocation& inv);
// In cmd_branches.cpp.
void RunTree(const Invocation& inv);
void RunBranchKeys(const Invocation& inv);
void RunBranchSearch(const Invocation& inv);
// In cmd_lists.cpp.
void RunListShow(const Invocation& inv);
void RunListMerge(const Invocation& inv);
// In cmd_export.cpp.
void RunExport(const Invocation& inv);
// In cmd_summary.cpp.
void RunSummary(const Invocation& inv);
// In cmd_mail.cpp.
void RunMail(const Invocation& inv);
// In cmd_print.cpp.
void RunPrint(const Invocation& inv);
void RunSampleForms(const Invocation& inv);

// The record number when the base has that record; DataError "Проблемы на записи (N)"
// otherwise (a number outside the base, or a record that cannot be read whole).
std::int32_t ExistingRecord(const Tdm& dm, std::int64_t number);

// A list file's records as loading gives them; EChildError for a missing or unreadable file
// and for one of the wrong format.
RecordList LoadList(const Tdm& dm, const std::string& path);
// The records of the list file when one is named, else the whole base.
RecordList SourceRecords(const Tdm& dm, const std::optional<std::string>& listFile);

}  // namespace zorel::cli
