// A database written from sources into its own temporary folder and opened there. The folder
// outlives the data module, which closes first.
#pragma once

#include <memory>

#include "data/data_module.h"
#include "dbwriter/db_writer.h"
#include "support/temp_dir.h"

namespace zorel::test_support {

class OpenBase {
 public:
  explicit OpenBase(const BaseSource& base) {
    WriteDatabase(dir_ / "db", base);
    dm_ = std::make_unique<Tdm>(dir_ / "db");
  }
  Tdm& dm() { return *dm_; }

 private:
  TempDir dir_;
  std::unique_ptr<Tdm> dm_;
};

}  // namespace zorel::test_support
