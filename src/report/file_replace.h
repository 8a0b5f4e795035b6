// Replacing a file's contents safely: the bytes go to a temporary file created new and
// exclusive in the target's folder, are flushed to disk and renamed over the target, so a
// failure or a crash leaves the old file or the new one, never a mixture. A symlinked target
// is rewritten at the file it points to; an existing file's mode is kept.
#pragma once

#include <string>
#include <string_view>

namespace zorel {

// Throws FormError naming the path when the file cannot be written; the old file is then
// untouched and no temporary file is left behind.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace zorel
