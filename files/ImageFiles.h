#pragma once
// Loading the buffer from a raw binary image file and saving it to one,
// through the file dialogs of the active window.

#include <string_view>

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

FileOutcome RunLoadImageFile();
FileOutcome RunSaveImageFile();

// The dialog's commands.
void LoadImageFile();
void SaveImageFile();

}  // namespace pavok
