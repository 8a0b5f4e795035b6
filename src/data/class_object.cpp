#include "data/class_object.h"

#include <cerrno>

#include "data/bytes.h"
#include "data/errors.h"
#include "data/file_system.h"

namespace zorel {

ClassEntry ClassEntry::Decode(const std::uint8_t* p) {
  ClassEntry e;
  e.id = LoadU32(p);
  e.item = LoadU32(p + 4);
  for (int i = 0; i < 5; ++i) e.codes[static_cast<std::size_t>(i)] = LoadU32(p + 8 + 4 * i);
  e.count = LoadU16(p + 28);
  e.kind = p[30];
  return e;
}

TClassObject::TClassObject(const std::string& fileName) {
  auto src = ByteSource::MapFile(fileName);
  if (!src)
    throw DataError("Не могу открыть файл " + fileName + "\n" + ReasonLine(fileName, errno));
  data_ = std::move(*src);
}

TClassObject::TClassObject(ByteSource data) : data_(std::move(data)) {}

const std::uint8_t* TClassObject::Get(std::int32_t position) const {
  if (position < 0 || position >= EntryCount()) return nullptr;
  return data_.data() + static_cast<std::size_t>(position) * kClassEntrySize;
}

}  // namespace zorel
