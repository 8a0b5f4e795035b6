// print: a list of records (or a range of it, or one record) through a saved print form into a
// PDF file, without a window, on Qt's offscreen platform; sample-forms: writes the two print
// forms shipped with the program.
#include <QGuiApplication>
#include <filesystem>

#include "cli_args.h"
#include "cli_commands.h"
#include "report/form_file.h"
#include "report/page_generator.h"
#include "report/print_loop.h"
#include "report/printer_output.h"
#include "report/sample_forms.h"

namespace zorel::cli {
namespace {

std::int64_t Position(std::string_view text, const char* option) {
  const auto n = ParseInteger(text);
  if (!n || *n < 1)
    throw UsageError(std::string(option) + ": номер записи от 1: " + std::string(text));
  return *n;
}

// Painting needs a QGuiApplication; without a display the offscreen platform does.
class PaintingApp {
 public:
  PaintingApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

 private:
  int argc_ = 1;
  char name_[10] = "zorel-cli";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

void RunPrint(const Invocation& inv) {
  ParsedArgs args(inv, {{"--in", "--range", "--record", "--pdf"}, {}});
  args.ExpectOperands(1);
  const auto pdf = args.Single("--pdf");
  if (!pdf || pdf->empty()) throw args.Misuse("не задан файл --pdf\n");
  const auto range = args.Single("--range");
  const auto record = args.Single("--record");
  if (range && record) throw UsageError("--range и --record вместе не задаются");
  std::int64_t from = 0, to = 0, single = 0;
  if (range) {
    const auto colon = range->find(':');
    if (colon == std::string::npos) throw UsageError("--range FROM:TO, а не " + *range);
    from = Position(std::string_view(*range).substr(0, colon), "--range");
    to = Position(std::string_view(*range).substr(colon + 1), "--range");
    if (from > to) throw UsageError("--range: FROM больше TO");
  }
  if (record) single = Position(*record, "--record");

  // The form first: a form that cannot be read leaves no output behind.
  const auto form = LoadFormFile(args.Operands()[0]);
  Tdm dm(inv.dbDir);
  const RecordList list = SourceRecords(dm, args.Single("--in"));
  ListPrintLoop loop(dm, list);
  if (record) {
    loop.Mode = PrintMode::Single;
    loop.CurrentIndex = single - 1;
  } else if (range) {
    loop.SetRange(from, to);
  } else {
    loop.SetAllRecords();
  }
  loop.Check();
  CheckBandSize(*form);

  PaintingApp app;
  loop.Attach(*form);
  PageGenerator pages(*form, loop.ExpectedBands());
  WritePdf(*pdf, PdfRules(dm.DbDir(), args.Operands()[0]), *form, pages);
}

void RunSampleForms(const Invocation& inv) {
  ParsedArgs args(inv);
  args.ExpectOperands(1);
  std::error_code ec;
  std::filesystem::create_directories(args.Operands()[0], ec);
  WriteSampleForms(args.Operands()[0]);
}

}  // namespace zorel::cli
