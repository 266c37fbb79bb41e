#include "RawFile.h"

namespace pavok {

std::optional<RawFile> RawFile::Create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return std::nullopt;
  return RawFile(file);
}

std::optional<RawFile> RawFile::OpenForReading(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  return RawFile(file);
}

std::size_t RawFile::Read(std::span<std::uint8_t> destination) {
  if (!file_) return 0;
  return std::fread(destination.data(), 1, destination.size(), file_.get());
}

bool RawFile::ReadFailed() const { return file_ && std::ferror(file_.get()) != 0; }

bool RawFile::WriteAll(std::span<const std::uint8_t> data) {
  if (!file_) return false;
  return std::fwrite(data.data(), 1, data.size(), file_.get()) == data.size();
}

bool RawFile::Close() {
  if (!file_) return true;
  const bool flushed = std::fflush(file_.get()) == 0;
  const bool closed = std::fclose(file_.release()) == 0;
  return flushed && closed;
}

}  // namespace pavok
