#pragma once
// Loading the buffer from a raw binary image file and saving it to one,
// through the file dialogs of the active window.

#include <cstddef>
#include <string_view>
#include <system_error>

namespace pavok {

inline constexpr std::string_view kOpenDialogTitle = "Открытие файла";
inline constexpr std::string_view kSaveDialogTitle = "Сохранение буфера в файл";

enum class FileOutcome {
  Completed,   // the file was read or written whole
  Declined,    // No to the unsaved-data question
  Cancelled,   // no file chosen
  OpenFailed,  // the file could not be opened or created
  WriteFailed, // the save did not reach the file whole
};

// An outcome with what a front end can add to the dialog's own messages.
struct FileResult {
  FileResult(FileOutcome outcome, std::size_t bytes = 0, std::error_code reason = {})
      : outcome(outcome), bytes(bytes), reason(reason) {}

  FileOutcome outcome;
  std::size_t bytes;      // bytes the load took from the file
  std::error_code reason; // the system's reason for OpenFailed and WriteFailed

  bool operator==(FileOutcome other) const { return outcome == other; }
};

FileResult RunLoadImageFile();
FileResult RunSaveImageFile();

// The dialog's commands.
void LoadImageFile();
void SaveImageFile();

}  // namespace pavok
