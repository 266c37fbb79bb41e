#include "ImageFiles.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "BufferState.h"
#include "FileReplace.h"
#include "RawFile.h"
#include "Utf8Path.h"
#include "SystemTexts.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

FileDialogRequest ImageFileDialog(FileDialogKind kind) {
  FileDialogRequest request;
  request.kind = kind;
  request.title = std::string(kind == FileDialogKind::Open ? kOpenDialogTitle : kSaveDialogTitle);
  request.filters = {{"Прошивки (*.bin)", "*.bin"}, {"Все файлы (*.*)", "*.*"}};
  request.selectedFilter = 0;
  // A name typed without an extension is saved as an image; an opened name
  // is taken as it stands.
  if (kind == FileDialogKind::Save) request.defaultExtension = "bin";
  return request;
}

// Shows the file dialog and puts its answer in the status field: the error
// code when the dialog failed, else the chosen path (empty after Cancel).
// Returns the path; anything in it is used, also after a dialog error.
std::string AskForImagePath(WindowOperations* window, FileDialogKind kind) {
  FileDialogResult answer = ShowFileDialog(window, ImageFileDialog(kind));
  SetStatusText(window, answer.errorCode != 0 ? std::to_string(answer.errorCode) : answer.path);
  return std::move(answer.path);
}

std::span<std::uint8_t> ChipPart(Image& image, const BufferState& buffer) {
  return std::span<std::uint8_t>(image).first(static_cast<std::size_t>(buffer.chipSize));
}

// Up to chipSize bytes from the start of the file; nothing, with the reason,
// when the file cannot be opened or read, so that a bad file leaves the
// buffer alone.
std::optional<std::vector<std::uint8_t>> ReadImageStart(const std::string& path, std::size_t size,
                                                        std::error_code& reason) {
  auto file = RawFile::OpenForReading(Utf8Path(path), &reason);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> data(size);
  data.resize(file->Read(data));
  if (file->ReadFailed()) {
    reason = file->error();
    return std::nullopt;
  }
  return data;
}

}  // namespace

FileResult RunLoadImageFile() {
  WindowOperations* window = GetActiveWindow();
  BufferState& buffer = Buffer();
  if (buffer.unsavedFlag != 0 && !AskYesNo(window, kUnsavedQuestion)) return {FileOutcome::Declined};

  const std::string path = AskForImagePath(window, FileDialogKind::Open);
  if (path.empty()) return {FileOutcome::Cancelled};
  std::error_code reason;
  const auto data = ReadImageStart(path, static_cast<std::size_t>(buffer.chipSize), reason);
  if (!data) {
    ShowMessage(window, kCannotOpenFileMessage);
    return {FileOutcome::OpenFailed, 0, reason};
  }
  // A shorter file replaces only the start; the reference takes the mixture,
  // so a fast write right after a load finds nothing to send.
  const auto work = ChipPart(buffer.workImage, buffer);
  std::copy(data->begin(), data->end(), work.begin());
  std::copy(work.begin(), work.end(), buffer.referenceImage.begin());
  buffer.unsavedFlag = 0;
  return {FileOutcome::Completed, data->size()};
}

FileResult RunSaveImageFile() {
  WindowOperations* window = GetActiveWindow();
  BufferState& buffer = Buffer();
  const std::string path = AskForImagePath(window, FileDialogKind::Save);
  if (path.empty()) return {FileOutcome::Cancelled};

  // An earlier file of that name stays whole until the new one is.
  if (const auto failure = WriteWholeFile(Utf8Path(path), ChipPart(buffer.workImage, buffer), Durability::PowerLoss)) {
    ShowMessage(window, failure->whileOpening ? kCannotOpenFileMessage : kFileWriteErrorMessage);
    return {failure->whileOpening ? FileOutcome::OpenFailed : FileOutcome::WriteFailed, 0, failure->reason};
  }
  buffer.unsavedFlag = 0;
  return {FileOutcome::Completed};
}

void LoadImageFile() { RunLoadImageFile(); }

void SaveImageFile() { RunSaveImageFile(); }

}  // namespace pavok
