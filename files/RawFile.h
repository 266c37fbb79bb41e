#pragma once
// A plain binary file that is closed on every path. Paths are held whole.
// Every failure keeps the system's reason, so a front end can say why.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>

namespace pavok {

class RawFile {
 public:
  // Creates the file, or empties an existing one, for writing. On failure
  // `error` (when given) receives the reason.
  static std::optional<RawFile> Create(const std::filesystem::path& path, std::error_code* error = nullptr);
  // Opens an existing file for reading only.
  static std::optional<RawFile> OpenForReading(const std::filesystem::path& path,
                                               std::error_code* error = nullptr);
  // Takes over a file opened elsewhere; null gives nothing.
  static std::optional<RawFile> Adopt(std::FILE* file);

  // Reads up to destination.size() bytes; returns how many arrived.
  std::size_t Read(std::span<std::uint8_t> destination);
  // True once a read met an error rather than the end of the file (a
  // directory, for one, opens but cannot be read).
  bool ReadFailed() const;
  // True when every byte was handed to the file.
  bool WriteAll(std::span<const std::uint8_t> data);
  // Hands what is buffered to the system; with `toDisk` also waits until
  // the disk holds it. True when nothing failed.
  bool Flush(bool toDisk);
  // Flushes and closes; true when nothing failed. Further calls do nothing.
  bool Close();

  // The reason of the first failure, empty while nothing failed.
  std::error_code error() const { return error_; }

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit RawFile(std::FILE* file) : file_(file) {}
  bool Failed();

  std::unique_ptr<std::FILE, Closer> file_;
  std::error_code error_;
};

// The reason errno holds now, as an error code.
std::error_code LastSystemError();

}  // namespace pavok
