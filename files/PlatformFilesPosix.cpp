#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "PlatformFiles.h"

namespace pavok {

namespace {

// Closes and removes a file that could not be made ready, keeping the
// reason it failed.
std::FILE* Abandon(int fd, const std::filesystem::path& path) {
  const int reason = errno;
  ::close(fd);
  ::unlink(path.c_str());
  errno = reason;
  return nullptr;
}

// The model's mode bits, access control list and extended attributes onto
// the new file, by the libraries the system's own tools copy them with. The
// list is copied whole, mask and named entries, so no one gains access
// through the group bits; what cannot be copied fails the copy.
bool CopyPermissions(const std::filesystem::path& model, int fd, const std::filesystem::path& path) {
  const int source = ::open(model.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (source < 0) return false;
  const bool copied = perm_copy_fd(model.c_str(), source, path.c_str(), fd, nullptr) == 0 &&
                      attr_copy_fd(model.c_str(), source, path.c_str(), fd, nullptr, nullptr) == 0;
  const int reason = errno;
  ::close(source);
  errno = reason;
  return copied;
}

}  // namespace

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool SyncToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

void SyncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::FILE* CreateExclusive(const std::filesystem::path& path, const std::filesystem::path* like) {
  struct stat model {};
  const bool copyMode = like != nullptr && ::stat(like->c_str(), &model) == 0;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, copyMode ? 0600 : 0666);
  if (fd < 0) return nullptr;
  if (copyMode) {
    // The owner first: changing it may clear the set-id bits the mode adds.
    // Only root may give a file away; anyone else keeps their own, so the
    // result is of no account (a cast to void does not quiet the warning
    // glibc's fortified headers give for it).
    [[maybe_unused]] const int given = ::fchown(fd, model.st_uid, model.st_gid);
    if (!CopyPermissions(*like, fd, path)) return Abandon(fd, path);
  }
  std::FILE* file = ::fdopen(fd, "wb");
  return file != nullptr ? file : Abandon(fd, path);
}

bool MayWrite(const std::filesystem::path& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace pavok
