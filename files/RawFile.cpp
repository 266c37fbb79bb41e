#include "RawFile.h"

#include <cerrno>

#include "PlatformFiles.h"

namespace pavok {

namespace {

std::optional<RawFile> Opened(std::FILE* file, std::error_code* error) {
  if (file == nullptr && error != nullptr) *error = LastSystemError();
  return RawFile::Adopt(file);
}

}  // namespace

std::error_code LastSystemError() {
  // Some failures (a short write to a full device) leave errno at 0; they
  // still failed, so they keep a reason.
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

std::optional<RawFile> RawFile::Create(const std::filesystem::path& path, std::error_code* error) {
  errno = 0;
  return Opened(OpenFile(path, "wb"), error);
}

std::optional<RawFile> RawFile::OpenForReading(const std::filesystem::path& path, std::error_code* error) {
  errno = 0;
  return Opened(OpenFile(path, "rb"), error);
}

std::optional<RawFile> RawFile::Adopt(std::FILE* file) {
  if (file == nullptr) return std::nullopt;
  return RawFile(file);
}

bool RawFile::Failed() {
  if (!error_) error_ = LastSystemError();
  return false;
}

std::size_t RawFile::Read(std::span<std::uint8_t> destination) {
  if (!file_) return 0;
  errno = 0;
  const std::size_t count = std::fread(destination.data(), 1, destination.size(), file_.get());
  if (std::ferror(file_.get()) != 0) Failed();
  return count;
}

bool RawFile::ReadFailed() const { return file_ && std::ferror(file_.get()) != 0; }

bool RawFile::WriteAll(std::span<const std::uint8_t> data) {
  if (!file_) return false;
  errno = 0;
  if (std::fwrite(data.data(), 1, data.size(), file_.get()) != data.size()) return Failed();
  return true;
}

bool RawFile::Flush(bool toDisk) {
  if (!file_) return false;
  errno = 0;
  if (std::fflush(file_.get()) != 0) return Failed();
  if (toDisk && !SyncToDisk(file_.get())) return Failed();
  return true;
}

bool RawFile::Close() {
  if (!file_) return true;
  errno = 0;
  const bool flushed = std::fflush(file_.get()) == 0 || Failed();
  const bool closed = std::fclose(file_.release()) == 0 || Failed();
  return flushed && closed;
}

}  // namespace pavok
