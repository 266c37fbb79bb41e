#pragma once
// Loading the buffer from an image file and saving it to one, through the
// file dialogs of the active window. The format follows the file name's
// extension (ImageFormat.h): raw, Intel HEX or Motorola S-record.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "ImageFormat.h"
#include "WindowOperations.h"

namespace pavok {

inline constexpr std::string_view kOpenDialogTitle = "Открытие файла";
inline constexpr std::string_view kSaveDialogTitle = "Сохранение буфера в файл";

enum class FileOutcome {
  Completed,   // the file was read or written whole
  Declined,    // No to the unsaved-data question
  Cancelled,   // no file chosen
  OpenFailed,  // the file could not be opened or created
  WriteFailed, // the save did not reach the file whole
  Malformed,   // the file's contents are no image of its format; nothing changed
};

// An outcome with what a front end can add to the dialog's own messages.
struct FileResult {
  FileResult(FileOutcome outcome, std::size_t bytes = 0, std::error_code reason = {})
      : outcome(outcome), bytes(bytes), reason(reason) {}

  FileOutcome outcome;
  std::size_t bytes;      // chip bytes the load took from the file
  std::error_code reason; // the system's reason for OpenFailed and WriteFailed
  // For OpenFailed: the folder, when it takes no new files and so the file
  // in it could not be replaced whole.
  std::filesystem::path refusingFolder;

  bool operator==(FileOutcome other) const { return outcome == other; }
};

FileResult RunLoadImageFile();
FileResult RunSaveImageFile();
// The same in the format `chosen`, whatever the extension; nothing: by the
// extension.
FileResult RunLoadImageFileAs(std::optional<ImageFormatId> chosen);
FileResult RunSaveImageFileAs(std::optional<ImageFormatId> chosen);

// The dialog's words for a folder in which a file cannot be replaced whole.
std::string FolderTakesNoNewFilesMessage(const std::filesystem::path& folder);

// What the open or save dialog is asked to show: raw images first and
// selected, every file, then the other formats, each with the extension a
// saved name gets while its filter is selected.
FileDialogRequest ImageFileDialogRequest(FileDialogKind kind);

// The dialog's commands.
void LoadImageFile();
void SaveImageFile();

}  // namespace pavok
