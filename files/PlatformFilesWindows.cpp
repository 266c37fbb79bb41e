#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "PlatformFiles.h"

namespace pavok {

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  const std::string_view narrow(mode);  // plain ASCII
  const std::wstring wide(narrow.begin(), narrow.end());
  return ::_wfopen(path.c_str(), wide.c_str());
}

bool SyncToDisk(std::FILE* file) { return ::_commit(::_fileno(file)) == 0; }

// Windows orders a rename with the data it renames.
void SyncDirectory(const std::filesystem::path&) {}

// Windows keeps no owner or mode bits apart from read-only, and a read-only
// file is never replaced (MayWrite), so a new file is as good as a copy.
std::FILE* CreateExclusive(const std::filesystem::path& path, const std::filesystem::path*) {
  int fd = -1;
  if (::_wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW,
                  _S_IREAD | _S_IWRITE) != 0) {
    return nullptr;
  }
  std::FILE* file = ::_fdopen(fd, "wb");
  if (file == nullptr) {
    ::_close(fd);
    ::_wremove(path.c_str());
  }
  return file;
}

bool MayWrite(const std::filesystem::path& path) {
  std::error_code ec;
  const auto permissions = std::filesystem::status(path, ec).permissions();
  if (ec) return false;
  if ((permissions & std::filesystem::perms::owner_write) != std::filesystem::perms::none) return true;
  errno = EACCES;
  return false;
}

}  // namespace pavok
