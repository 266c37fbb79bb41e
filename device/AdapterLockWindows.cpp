#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "AdapterLock.h"
#include "Utf8Path.h"

namespace pavok {

namespace {

std::optional<long> ReadHolder(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  char text[32] = {};
  DWORD count = 0;
  const BOOL read = ReadFile(file, text, sizeof text - 1, &count, nullptr);
  CloseHandle(file);
  if (!read || count == 0) return std::nullopt;
  const long pid = std::strtol(text, nullptr, 10);
  return pid > 0 ? std::optional<long>(pid) : std::nullopt;
}

}  // namespace

std::filesystem::path LockDirectory() { return std::filesystem::temp_directory_path(); }

// A name of the usual kind, from the file's full name: two programs given
// the same file meet at the same lock file.
std::string FileLockName(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::weakly_canonical(file, ec);
  // FNV-1a: the same name in every program and every build.
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char c : Utf8Text(ec ? file : full)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  }
  char name[40];
  std::snprintf(name, sizeof name, "emulated-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

// Windows has no advisory locks; a file held open without sharing its
// writing serves the same: the next program cannot open it for writing,
// and the system closes it when the program ends.
AdapterLock::AdapterLock(std::string_view name) {
  const std::filesystem::path path = LockFilePath(name);
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    refused_ = error == ERROR_SHARING_VIOLATION;
    if (refused_) holder_ = ReadHolder(path);
    // No lock at all: the transfer fails rather than go ahead unlocked.
    if (!refused_) failure_ = Utf8Text(path) + ": " + std::system_category().message(static_cast<int>(error));
    return;
  }
  const std::string text = std::to_string(GetCurrentProcessId()) + "\n";
  DWORD written = 0;
  SetEndOfFile(file);
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  handle_ = reinterpret_cast<std::uintptr_t>(file);
}

AdapterLock::~AdapterLock() {
  if (handle_ != 0) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace pavok
