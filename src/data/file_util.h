// Small file helpers of the data store. Paths are UTF-8 (the platform's own bytes). Every
// call goes through the installed FileSystem.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace zorel {

bool FileExists(const std::string& path);
// The whole of a regular file; empty optional (errno set) for anything else or a failure.
// Never waits on a pipe or a device.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Reads up to n bytes at offset, fewer only at the end of the file; -1 on a read error.
std::int64_t ReadFully(int fd, std::int64_t offset, void* to, std::size_t n);
// Writes all n bytes at offset; false (errno set) when the system takes fewer.
bool WriteFully(int fd, std::int64_t offset, const void* from, std::size_t n);

// The file a path finally names once every symbolic link on its last part is followed (the
// path itself when it is no link). A rewrite goes there, so a link stays a link.
std::string FinalPath(const std::string& path);

// Opens path as a new file, never through an existing name (no link is followed); tries
// path + "-N" suffixes while the name is taken. Gives the descriptor and sets *name, or -1.
int CreateExclusive(const std::string& path, std::string* name, int mode = 0644);

// Copies what fd holds to a new file called name (or name + "-…" when that is taken), as
// private as the file; gives the copy's name, or an empty string (errno set) on failure.
std::string KeepCopy(int fd, const std::string& name);

// The folder part of a path with its trailing '/', empty for a bare name.
std::string FolderOf(const std::string& path);

// Makes a rename inside path's folder durable.
void SyncFolderOf(const std::string& path);

// "dir/name.dat" with ".idx" gives "dir/name.idx"; a name without extension gains it.
std::string ChangeExtension(const std::string& path, const std::string& ext);
// The name part without folder and extension ("../lists/Вся база.lst" gives "Вся база").
std::string BaseNameWithoutExtension(const std::string& path);
// The folder path with exactly one trailing '/'.
std::string WithTrailingSlash(std::string dir);

}  // namespace zorel
