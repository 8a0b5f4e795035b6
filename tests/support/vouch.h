// A search file that vouches for the index files standing in a base folder, so that the data
// module uses them as they are (offsets out of place included): what a base copied with its
// derived files looks like, or one whose derived files someone forged. An index file that is
// missing is vouched for as the scan would build it.
#pragma once

#include <string>

namespace zorel::test_support {

void VouchForIndexes(const std::string& db);

}  // namespace zorel::test_support
