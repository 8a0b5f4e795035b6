#include "raw_pass.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "data/bytes.h"
#include "data/record.h"

namespace zorel::bench {
namespace {

constexpr int kOffsetW36 = 36;  // start of the product list; w38 ends it

// The record's bytes [from, to) as its offset words give them, clipped to the record.
template <class Use>
void Between(const std::uint8_t* record, int fromWord, int toWord, Use use) {
  const std::uint32_t length = LoadU16(record + kOffsetLength);
  const std::uint32_t from = fromWord == 0 ? kRecordHeadSize : LoadU16(record + fromWord);
  const std::uint32_t to = std::min<std::uint32_t>(LoadU16(record + toWord), length);
  if (from < to) use(record + from, to - from);
}

}  // namespace

RawPass::RawPass(const std::string& dbDir) {
  auto data = ByteSource::MapFile(dbDir + "factory.dat");
  if (!data) throw std::runtime_error("cannot map " + dbDir + "factory.dat");
  data_ = std::move(*data);
  std::ifstream in(dbDir + "factory.idx", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  offsets_.resize(bytes.size() / 4);
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  for (std::size_t i = 0; i < offsets_.size(); ++i) offsets_[i] = LoadI32(p + 4 * i);
}

std::size_t RawPass::Run(Touch touch) {
  const std::uint8_t* base = data_.data();
  const auto size = static_cast<std::int64_t>(data_.size());
  std::uint64_t sum = 0;
  std::size_t touched = 0;
  for (const std::int32_t offset : offsets_) {
    if (offset < 0 || offset + kRecordHeadSize > size) continue;
    const std::uint8_t* record = base + offset;
    ++touched;
    if (touch == Touch::LengthWord) {
      sum += LoadU16(record + kOffsetLength);
      continue;
    }
    if (offset + LoadU16(record + kOffsetLength) > size) continue;
    if (touch == Touch::NameBytes) {
      Between(record, 0, kOffsetW22, [&](const std::uint8_t* p, std::uint32_t n) {
        for (std::uint32_t i = 0; i < n; ++i) sum += p[i];
      });
    } else {
      Between(record, kOffsetW36, kOffsetW36 + 2, [&](const std::uint8_t* p, std::uint32_t n) {
        for (std::uint32_t i = 0; i + kProductEntrySize <= n; i += kProductEntrySize) {
          sum += LoadU32(p + i + 1);
        }
      });
    }
  }
  sum_ = sum;
  return touched;
}

}  // namespace zorel::bench
