#include "InPlaceFile.h"

#include <cerrno>

#include "PlatformFiles.h"
#include "RawFile.h"

namespace pavok {

std::optional<InPlaceFile> InPlaceFile::Open(const std::filesystem::path& path, std::error_code& error) {
  errno = 0;
  std::FILE* file = OpenFile(path, "r+b");
  if (file == nullptr) {
    error = LastSystemError();
    return std::nullopt;
  }
  // Unbuffered: every write reaches the system whole, at once.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return InPlaceFile(file);
}

std::optional<std::vector<std::uint8_t>> InPlaceFile::ReadAll(std::error_code& error) {
  std::vector<std::uint8_t> data;
  std::uint8_t chunk[4096];
  errno = 0;
  std::rewind(file_.get());
  while (const std::size_t count = std::fread(chunk, 1, sizeof chunk, file_.get())) {
    data.insert(data.end(), chunk, chunk + count);
  }
  if (!std::ferror(file_.get())) return data;
  error = LastSystemError();
  return std::nullopt;
}

std::error_code InPlaceFile::WriteAt(std::size_t offset, std::span<const std::uint8_t> data) {
  errno = 0;
  if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0 ||
      std::fwrite(data.data(), 1, data.size(), file_.get()) != data.size()) {
    const std::error_code error = LastSystemError();
    std::clearerr(file_.get());
    return error ? error : std::make_error_code(std::errc::io_error);
  }
  return {};
}

}  // namespace pavok
