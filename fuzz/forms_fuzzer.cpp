// Fuzz target: print form files. The input's first piece is read as a whole form file; a
// refused file must give the reader's error and nothing else. A form that reads is written,
// read back and written again: the second reading keeps everything, so both writings are
// the same bytes. The writing is also saved to a file and loaded from it.
#include "data/file_util.h"
#include "fuzz_base.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "report/form_error.h"
#include "report/form_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorel;
  fuzz::InputReader in(data, size);
  const std::string file = in.Piece();
  std::unique_ptr<TReport> form;
  try {
    form = ReadFormBytes(file);
  } catch (const FormError&) {
    return 0;
  }
  const std::string written = WriteFormBytes(*form);
  const auto again = ReadFormBytes(written);
  FUZZ_CHECK(WriteFormBytes(*again) == written);

  const fuzz::InputFolder folder(fuzz::MemoryFolder() + "/forms");
  const std::string& dir = folder.dir();
  SaveFormFile(dir + "/form.rpt", *again);
  FUZZ_CHECK(ReadWholeFile(dir + "/form.rpt").value_or("") == written);
  FUZZ_CHECK(WriteFormBytes(*LoadFormFile(dir + "/form.rpt")) == written);
  return 0;
}
