#pragma once
// A file of fixed size kept open and written where it stands, at the
// offsets given, each write one call to the system: a program killed at any
// moment leaves the file its full size, holding every write that completed
// and nothing of the one that did not. Used for files that stand for a
// device's memory, which a replace per write would only slow down.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace pavok {

class InPlaceFile {
 public:
  // Opens an existing file for reading and writing; nothing, with the
  // reason in `error`, when it cannot be.
  static std::optional<InPlaceFile> Open(const std::filesystem::path& path, std::error_code& error);

  // The whole file; nothing when it cannot be read.
  std::optional<std::vector<std::uint8_t>> ReadAll(std::error_code& error);
  // Writes `data` at `offset`; the system's reason when it could not.
  std::error_code WriteAt(std::size_t offset, std::span<const std::uint8_t> data);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit InPlaceFile(std::FILE* file) : file_(file) {}

  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace pavok
