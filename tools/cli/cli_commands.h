// The commands of zorel-cli and what they share. Each command checks its arguments (throwing
// UsageError) before it opens the base where it can, then prints its result on standard
// output. Failures to use the base or a named file are thrown as the core's DataError or
// EChildError carrying the system's message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli_args.h"
#include "data/data_module.h"
#include "data/record_list.h"

namespace zorel::cli {

using CommandFn = void (*)(const Invocation&);

// One row of the tool's table of commands, from which the usage text and the dispatch come.
struct CommandInfo {
  const char* name;
  CommandFn run;           // nullptr for a command this program does not run
  const char* form;        // a line per form; continuation lines indented under the words
  const char* notes = "";  // further lines of the usage text, indented alike
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
