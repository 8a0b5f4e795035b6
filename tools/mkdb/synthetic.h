// A large, realistic, deterministic base: the same count and seed always give the same
// records, byte for byte. Everything but the enterprises is ready after construction; the
// enterprises come one at a time (so that a million of them never sit in memory together),
// and the sample lists are complete once the last one has come.
#pragma once

#include <cstdint>
#include <vector>

#include "dbwriter/db_writer.h"
#include "mkdb/catalog.h"
#include "mkdb/enterprise_maker.h"
#include "mkdb/sources.h"
#include "mkdb/vocabulary.h"

namespace zorel::mkdb {

class SyntheticBase {
 public:
  SyntheticBase(std::int64_t count, std::uint64_t seed);

  // The header fields, dictionaries, items and classification; no enterprises.
  const BaseSource& Side() const { return side_; }
  // Fills e with the next enterprise; false once all `count` have come.
  bool Next(EnterpriseSource& e);
  std::int32_t Produced() const { return produced_; }
  // "Предприятия Минска" (the enterprises of Minsk) and "Машиностроение" (those of the
  // machine-building branch), in record order.
  const std::vector<ListSource>& Lists() const { return lists_; }

 private:
  std::int64_t count_;
  std::int32_t produced_ = 0;
  Vocabulary words_;
  Catalog catalog_;
  BaseSource side_;
  EnterpriseMaker maker_;
  std::size_t capital_ = 0;
  std::vector<ListSource> lists_;
};

}  // namespace zorel::mkdb
