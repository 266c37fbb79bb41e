#include "FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "PlatformFiles.h"
#include "Utf8Path.h"

namespace pavok {

namespace fs = std::filesystem;

namespace {

// Beyond this many links in a row the name is taken as a loop.
constexpr int kMaxLinks = 40;
// A few tries at a free temporary name; a clash is already unlikely.
constexpr int kNameAttempts = 16;
// Longer names are not copied into the temporary name, which must stay
// within the system's limit for one name.
constexpr std::size_t kLongestNameCopied = 200;

WriteError OpeningFailed(std::error_code reason) { return {true, reason, {}}; }
WriteError WritingFailed(std::error_code reason) { return {false, reason, {}}; }

// The file a name finally stands for, links followed.
fs::path FollowLinks(fs::path path, std::error_code& error) {
  for (int i = 0; i < kMaxLinks; ++i) {
    if (!fs::is_symlink(path, error)) {
      error.clear();
      return path;
    }
    const fs::path target = fs::read_symlink(path, error);
    if (error) return {};
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return {};
}

// A hidden name beside `target` that says whose it is.
fs::path TemporaryName(const fs::path& target) {
  static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string name = Utf8Text(target.filename());
  if (name.size() > kLongestNameCopied) name = "pavok";
  std::string suffix(6, ' ');
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  for (char& c : suffix) c = kLetters[pick(random)];
  return target.parent_path() / Utf8Path("." + name + "-" + suffix + ".tmp");
}

// The temporary file of one replace; removed again unless it took the
// target's place.
class Temporary {
 public:
  ~Temporary() {
    file.reset();
    std::error_code ignored;
    if (created && !kept) fs::remove(path, ignored);
  }

  fs::path path;
  std::optional<RawFile> file;
  bool created = false;
  bool kept = false;
};

std::error_code CreateTemporary(Temporary& temporary, const fs::path& target, bool targetExists,
                                ReplaceSteps& steps) {
  std::error_code error;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary.path = TemporaryName(target);
    error = steps.Create(temporary.path, targetExists ? &target : nullptr, temporary.file);
    if (error != std::errc::file_exists) break;
  }
  temporary.created = !error;
  return error;
}

// Devices and pipes take the bytes as they come.
std::optional<WriteError> WriteDirectly(const fs::path& target, std::span<const std::uint8_t> data) {
  std::error_code error;
  auto file = RawFile::Create(target, &error);
  if (!file) return OpeningFailed(error);
  if (!file->WriteAll(data) || !file->Close()) return WritingFailed(file->error());
  return std::nullopt;
}

// Creating a new name, and removing it again, is the one sure test that the
// system takes it (its length, its characters, the directory).
std::error_code ProbeNewName(const fs::path& target) {
  errno = 0;
  std::FILE* file = CreateExclusive(target, nullptr);
  if (file == nullptr) return LastSystemError();
  std::fclose(file);
  std::error_code ignored;
  fs::remove(target, ignored);
  return {};
}

// A directory that takes no new files while its file may be written. The
// file could only be written where it is, and a write stopped part way
// would destroy it; so it is not written at all.
bool DirectoryRefusesNewFiles(std::error_code error) {
  return error == std::errc::permission_denied || error == std::errc::operation_not_permitted;
}

WriteError RefusedByFolder(const fs::path& target, std::error_code reason) {
  const fs::path folder = target.parent_path();
  return {true, reason, folder.empty() ? fs::path(".") : folder};
}

// Whether a regular file may be written here: an existing one by this
// user, a new name by the system. `file_exists` for a new name means that
// something stands there which the system does not show as a file (a
// device, on some systems).
std::optional<WriteError> MayWriteRegular(const fs::path& target, bool exists) {
  std::error_code error;
  if (exists && !MayWrite(target)) error = LastSystemError();
  if (!exists) error = ProbeNewName(target);
  return error ? std::optional(OpeningFailed(error)) : std::nullopt;
}

// Whether the folder of an existing file takes the temporary file that
// replaces it.
std::optional<WriteError> FolderTakesReplacement(const fs::path& target) {
  const std::error_code error = ProbeNewName(TemporaryName(target));
  if (!error) return std::nullopt;
  return DirectoryRefusesNewFiles(error) ? RefusedByFolder(target, error) : OpeningFailed(error);
}

// The file `path` stands for once its links are followed, and its status.
std::optional<WriteError> FindTarget(const fs::path& path, fs::path& target, fs::file_status& status) {
  if (path.empty()) return OpeningFailed(std::make_error_code(std::errc::no_such_file_or_directory));
  std::error_code error;
  // A device or pipe is reached through the name as the system follows it:
  // the links to the standard streams (/dev/stdout) lead to no file name.
  status = fs::status(path, error);
  if (!error && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) {
    target = path;
    return std::nullopt;
  }
  target = FollowLinks(path, error);
  if (error) return OpeningFailed(error);
  status = fs::status(target, error);
  return std::nullopt;
}

std::vector<fs::path>& KeptFiles() {
  static std::vector<fs::path> files;
  return files;
}

bool IsKept(const fs::path& target) {
  std::error_code ec;
  return std::any_of(KeptFiles().begin(), KeptFiles().end(),
                     [&](const fs::path& kept) { return fs::equivalent(kept, target, ec); });
}

std::optional<WriteError> ReplaceRegularFile(const fs::path& target, bool exists, std::span<const std::uint8_t> data,
                                             Durability durability, ReplaceSteps& steps) {
  if (auto failure = MayWriteRegular(target, exists)) {
    // What the system does not show as a file can only be written as it is.
    if (failure->reason == std::errc::file_exists) return WriteDirectly(target, data);
    return failure;
  }
  Temporary temporary;
  if (const auto error = CreateTemporary(temporary, target, exists, steps)) {
    if (exists && DirectoryRefusesNewFiles(error)) return RefusedByFolder(target, error);
    return OpeningFailed(error);
  }
  if (const auto error = steps.Write(*temporary.file, data)) return WritingFailed(error);
  if (durability == Durability::PowerLoss) {
    if (const auto error = steps.Sync(*temporary.file)) return WritingFailed(error);
  }
  if (const auto error = steps.Finish(*temporary.file)) return WritingFailed(error);
  if (const auto error = steps.Rename(temporary.path, target)) return WritingFailed(error);
  temporary.kept = true;
  if (durability == Durability::PowerLoss) SyncDirectory(target.parent_path());
  return std::nullopt;
}

}  // namespace

std::error_code ReplaceSteps::Create(const fs::path& temporary, const fs::path* like, std::optional<RawFile>& file) {
  errno = 0;
  file = RawFile::Adopt(CreateExclusive(temporary, like));
  return file ? std::error_code{} : LastSystemError();
}

std::error_code ReplaceSteps::Write(RawFile& file, std::span<const std::uint8_t> data) {
  return file.WriteAll(data) ? std::error_code{} : file.error();
}

std::error_code ReplaceSteps::Sync(RawFile& file) { return file.Flush(true) ? std::error_code{} : file.error(); }

std::error_code ReplaceSteps::Finish(RawFile& file) { return file.Close() ? std::error_code{} : file.error(); }

std::error_code ReplaceSteps::Rename(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  return error;
}

ReplaceSteps& SystemReplaceSteps() {
  static ReplaceSteps steps;
  return steps;
}

std::optional<WriteError> WriteWholeFile(const fs::path& path, std::span<const std::uint8_t> data,
                                         Durability durability, ReplaceSteps& steps) {
  fs::path target;
  fs::file_status status;
  if (auto failure = FindTarget(path, target, status)) return failure;
  if (fs::exists(status) && !fs::is_regular_file(status)) return WriteDirectly(target, data);
  if (IsKept(target)) return OpeningFailed(std::make_error_code(std::errc::device_or_resource_busy));
  return ReplaceRegularFile(target, fs::exists(status), data, durability, steps);
}

void KeepFromReplacing(const fs::path& file) { KeptFiles().push_back(fs::absolute(file)); }

std::optional<WriteError> CheckCanCreate(const fs::path& path) {
  fs::path target;
  fs::file_status status;
  if (auto failure = FindTarget(path, target, status)) return failure;
  if (fs::is_directory(status)) return OpeningFailed(std::make_error_code(std::errc::is_a_directory));
  if (fs::exists(status) && !fs::is_regular_file(status)) return std::nullopt;
  auto failure = MayWriteRegular(target, fs::exists(status));
  if (failure && failure->reason == std::errc::file_exists) return std::nullopt;
  if (!failure && fs::exists(status)) return FolderTakesReplacement(target);
  return failure;
}

}  // namespace pavok
