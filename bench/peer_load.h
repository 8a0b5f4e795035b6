// The SQLite peer's database: the same enterprises, products, items and classification as the
// base, read through the core and loaded once into a file beside the base. Texts are stored
// as the base's own Windows-1251 bytes (blobs), so both sides scan the same number of bytes;
// the case-insensitive searches use pre-lower-cased copies.
#pragma once

#include <string>

namespace zorel {
class Tdm;
}

namespace zorel::bench {

// Identifies the base a peer database was built from, so a regenerated base is noticed.
std::string BaseStamp(const Tdm& dm);

// True when path holds a complete peer database built from the base with that stamp.
bool PeerDatabaseCurrent(const std::string& path, const std::string& stamp);

// Builds the peer database into a temporary file beside path and renames it over path when
// complete, so an interrupted build is never taken for a finished one. Gives the seconds it
// took.
double BuildPeerDatabase(const Tdm& dm, const std::string& path, const std::string& stamp);

}  // namespace zorel::bench
