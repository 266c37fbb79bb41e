#pragma once
// Writing a whole file so that a failure at any point leaves the earlier
// file exactly as it was: the new contents go to a temporary file beside
// it and take the old file's place only once they are complete. Every
// writer of image files goes through here.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "RawFile.h"

namespace pavok {

// Where a write stopped, with the system's reason.
struct WriteError {
  bool whileOpening = false;  // the file or its replacement could not be created
  std::error_code reason;
  // Set when the file's folder takes no new files, so the file cannot be
  // replaced whole: the folder. The file is then not written at all.
  std::filesystem::path refusingFolder;
};

// How far the new contents must have got before they replace the old.
enum class Durability {
  PowerLoss,  // on the disk: the user's own files
  ProgramEnd, // handed to the system: survives the program being killed
};

// The steps of a replace, each one call, so that a test can fail any of
// them the way a full disk or a broken file system would.
class ReplaceSteps {
 public:
  virtual ~ReplaceSteps() = default;
  // Creates `temporary`, which must not exist yet, with the permissions of
  // `like` when given.
  virtual std::error_code Create(const std::filesystem::path& temporary, const std::filesystem::path* like,
                                 std::optional<RawFile>& file);
  virtual std::error_code Write(RawFile& file, std::span<const std::uint8_t> data);
  // Waits until the disk holds what was written; only for PowerLoss.
  virtual std::error_code Sync(RawFile& file);
  // Hands what is left to the system and closes.
  virtual std::error_code Finish(RawFile& file);
  virtual std::error_code Rename(const std::filesystem::path& from, const std::filesystem::path& to);
};

// The steps as the system does them.
ReplaceSteps& SystemReplaceSteps();

// Writes `data` as the whole of the file at `path`. A regular file (or a
// missing one) is replaced atomically, keeping its permissions; a symbolic
// link is followed and its target replaced. Anything else that is not a
// regular file (a device, a pipe) is written directly, as it cannot be
// replaced. A file in a folder that takes no new files is refused
// (refusingFolder): written where it is, a write stopped part way would
// destroy it. Nothing on failure.
std::optional<WriteError> WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> data,
                                         Durability durability, ReplaceSteps& steps = SystemReplaceSteps());

// Keeps WriteWholeFile off `file`, under any name, for as long as the
// program runs: a file the program holds open and writes where it stands
// (the emulated chip's image), which a replace would take from under it.
void KeepFromReplacing(const std::filesystem::path& file);

// Whether WriteWholeFile could create the file at `path`, found out
// without touching it: checked before work whose result it would store.
std::optional<WriteError> CheckCanCreate(const std::filesystem::path& path);

}  // namespace pavok
