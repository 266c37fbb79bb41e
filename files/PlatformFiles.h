#pragma once
// The few file operations that the C++ library does not offer and each
// system does its own way. Failures leave the reason in errno.

#include <cstdio>
#include <filesystem>

namespace pavok {

// Opens `path` with the fopen `mode` ("rb", "wb"), whatever characters the
// name holds.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Waits until the disk holds what was written to `file`.
bool SyncToDisk(std::FILE* file);

// Makes a rename in `directory` last through a power loss. Best effort.
void SyncDirectory(const std::filesystem::path& directory);

// Creates `path` for writing and fails when anything exists there already,
// so a name another program placed (a link, say) is never written through.
// With `like` (an existing file) the new file takes its permissions and,
// where the system allows, its owner; otherwise a new file's usual ones.
std::FILE* CreateExclusive(const std::filesystem::path& path, const std::filesystem::path* like);

// Whether this process may write the existing file `path`: a file the user
// made read-only is not replaced behind their back.
bool MayWrite(const std::filesystem::path& path);

}  // namespace pavok
