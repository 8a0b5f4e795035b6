// Argument handling of zorel-cli: splitting a command's arguments into options and operands,
// and turning each kind of operand (record number, condition, product key, classification
// node, text) into the core's form. Every check throws UsageError with a message for the
// user, before the database is opened where the check does not need it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/conditions.h"
#include "data/product_key.h"

namespace zorel::cli {

// Bad usage or a bad argument: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line as its command gets it.
struct Invocation {
  std::string dbDir;              // the folder holding factory.dat
  const char* name;               // the command's
  const char* form;               // the command's forms, as its usage errors show them
  std::vector<std::string> args;  // the words after the command's name
};

// Which options a command knows: those that take the next argument as their value, and
// flags that stand alone.
struct ArgSpec {
  std::vector<std::string> valued;
  std::vector<std::string> flags;
};

// A command's arguments. "--" ends the options; "--name=value" is accepted for a valued
// option; an unknown "--" word is an error; anything else (a single "-" included) is an
// operand.
class ParsedArgs {
 public:
  ParsedArgs(const Invocation& inv, const ArgSpec& spec = {});

  // The value of an option given at most once.
  std::optional<std::string> Single(const std::string& name) const;
  // The values of an option that may repeat, in order.
  std::vector<std::string> All(const std::string& name) const;
  bool Flag(const std::string& name) const;
  const std::vector<std::string>& Operands() const { return operands_; }

  // Exactly n operands, else UsageError naming the command's form.
  void ExpectOperands(std::size_t n) const;
  // At least n operands.
  void ExpectAtLeast(std::size_t n) const;
  // The problem (a line, or nothing) followed by the command's form.
  UsageError Misuse(const std::string& problem = "") const;

 private:
  const char* form_;
  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> flags_;
  std::vector<std::string> operands_;
};

// A decimal integer: an optional '-' and digits, nothing else, within 64 bits.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// UTF-8 text from the command line in Windows-1251; UsageError when a character has no form
// there or the text is not well-formed UTF-8.
std::string ToCodePage(std::string_view utf8);

// A record number: any integer is accepted here (the base decides whether it exists);
// UsageError when the text is not an integer.
std::int64_t ParseRecordNumber(std::string_view text);

// "F:E:O:C:VALUE" as one row of the condition table (the value in Windows-1251, uncut).
ConditionRow ParseConditionSpec(std::string_view spec);

// "KIND:ITEM" with the kind in 0..255 and a non-negative item.
ProductKey ParseKeySpec(std::string_view spec);
std::string KeyText(const ProductKey& key);  // back to "KIND:ITEM"

// "c1.c2.c3.c4.c5": five 32-bit numbers, zeros only after the first zero.
std::array<std::uint32_t, 5> ParseNodeSpec(std::string_view spec);
std::string NodeText(const std::array<std::uint32_t, 5>& codes);

}  // namespace zorel::cli
