#pragma once
// A plain binary file that is closed on every path. Paths are held whole.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace pavok {

class RawFile {
 public:
  // Creates the file, or empties an existing one, for writing.
  static std::optional<RawFile> Create(const std::string& path);
  // Opens an existing file for reading only.
  static std::optional<RawFile> OpenForReading(const std::string& path);

  // Reads up to destination.size() bytes; returns how many arrived.
  std::size_t Read(std::span<std::uint8_t> destination);
  // True once a read met an error rather than the end of the file (a
  // directory, for one, opens but cannot be read).
  bool ReadFailed() const;
  // True when every byte was handed to the file.
  bool WriteAll(std::span<const std::uint8_t> data);
  // Flushes and closes; true when nothing failed. Further calls do nothing.
  bool Close();

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit RawFile(std::FILE* file) : file_(file) {}

  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace pavok
