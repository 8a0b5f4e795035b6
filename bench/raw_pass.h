// The floor of every whole-base search: a sequential pass over factory.dat that only touches
// each record, reading its length word through the record index and summing it. Two wider
// passes show the floor of reading a given field: every byte of the name, or every product
// entry's item. They map the files themselves and check nothing beyond staying inside the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/byte_source.h"

namespace zorel::bench {

enum class Touch { LengthWord, NameBytes, ProductItems };

class RawPass {
 public:
  // dbDir holds factory.dat and its factory.idx.
  explicit RawPass(const std::string& dbDir);

  // Gives the number of records touched; what it summed goes to Sum().
  std::size_t Run(Touch touch = Touch::LengthWord);
  std::uint64_t Sum() const { return sum_; }

 private:
  ByteSource data_;
  std::vector<std::int32_t> offsets_;
  std::uint64_t sum_ = 0;
};

}  // namespace zorel::bench
