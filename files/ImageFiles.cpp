#include "ImageFiles.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "BufferState.h"
#include "FileReplace.h"
#include "ImageFormatTexts.h"
#include "RawFile.h"
#include "SystemTexts.h"
#include "Translation.h"
#include "Utf8Path.h"
#include "WindowOperations.h"

namespace pavok {

namespace {

FileFilter FilterOf(const ImageFormat& format, FileDialogKind kind) {
  return {std::string(format.filterText), std::string(format.filterPattern),
          kind == FileDialogKind::Save ? std::string(format.saveExtension) : std::string()};
}

// Shows the file dialog and puts its answer in the status field: the error
// code when the dialog failed, else the chosen path (empty after Cancel).
// Returns the path; anything in it is used, also after a dialog error.
std::string AskForImagePath(WindowOperations* window, FileDialogKind kind) {
  FileDialogResult answer = ShowFileDialog(window, ImageFileDialogRequest(kind));
  SetStatusText(window, answer.errorCode != 0 ? std::to_string(answer.errorCode) : answer.path);
  return std::move(answer.path);
}

std::span<std::uint8_t> ChipPart(Image& image, const BufferState& buffer) {
  return std::span<std::uint8_t>(image).first(static_cast<std::size_t>(buffer.chipSize));
}

constexpr std::size_t kReadChunk = 64 * 1024;

// Up to `limit` bytes from the start of the file; nothing, with the reason,
// when the file cannot be opened or read, so that a bad file leaves the
// buffer alone.
std::optional<std::vector<std::uint8_t>> ReadFileStart(const std::string& path, std::size_t limit,
                                                       std::error_code& reason) {
  auto file = RawFile::OpenForReading(Utf8Path(path), &reason);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> data;
  while (data.size() < limit) {
    const std::size_t had = data.size();
    data.resize(std::min(limit, had + kReadChunk));
    const std::size_t wanted = data.size() - had;
    const std::size_t arrived = file->Read(std::span<std::uint8_t>(data).subspan(had));
    data.resize(had + arrived);
    if (file->ReadFailed()) {
      reason = file->error();
      return std::nullopt;
    }
    if (arrived < wanted) break;  // the end of the file
  }
  return data;
}

std::size_t ReadLimit(const ImageFormat& format, std::size_t chipSize) {
  return format.extent == FileExtent::ChipStart ? chipSize : kMaxTextImageFileSize + 1;
}

// The bytes the file gave replace those of workImage; the reference takes
// the mixture, so a fast write right after a load finds nothing to send.
void TakeIntoBuffer(const DecodedImage& image, BufferState& buffer) {
  const auto work = ChipPart(buffer.workImage, buffer);
  for (std::size_t address = 0; address < work.size() && address < image.bytes.size(); ++address) {
    if (image.given[address]) work[address] = image.bytes[address];
  }
  std::copy(work.begin(), work.end(), buffer.referenceImage.begin());
}

}  // namespace

std::string FolderTakesNoNewFilesMessage(const std::filesystem::path& folder) {
  return Tr(kCannotOpenFileMessage) +
         FormatText(Tr("\nПапка %1 не принимает новых файлов, а файл в ней нельзя заменить, не рискуя им. "
                       "Файл не изменён; сохраните буфер в другую папку."),
                    {Utf8Text(folder)});
}

FileDialogRequest ImageFileDialogRequest(FileDialogKind kind) {
  FileDialogRequest request;
  request.kind = kind;
  request.title = std::string(kind == FileDialogKind::Open ? kOpenDialogTitle : kSaveDialogTitle);
  request.filters.push_back(FilterOf(kImageFormats[0], kind));
  request.filters.push_back({"Все файлы (*.*)", "*.*"});
  for (const ImageFormat& format : std::span(kImageFormats).subspan(1)) {
    request.filters.push_back(FilterOf(format, kind));
  }
  request.selectedFilter = 0;
  // A name typed without an extension is saved as a raw image unless a
  // format's filter is selected; an opened name is taken as it stands.
  if (kind == FileDialogKind::Save) request.defaultExtension = std::string(kImageFormats[0].saveExtension);
  return request;
}

FileResult RunLoadImageFileAs(std::optional<ImageFormatId> chosen) {
  WindowOperations* window = GetActiveWindow();
  BufferState& buffer = Buffer();
  if (buffer.unsavedFlag != 0 && !AskYesNo(window, kUnsavedQuestion)) return {FileOutcome::Declined};

  const std::string path = AskForImagePath(window, FileDialogKind::Open);
  if (path.empty()) return {FileOutcome::Cancelled};
  const ImageFormat& format = ChooseImageFormat(path, chosen);
  const auto chipSize = static_cast<std::size_t>(buffer.chipSize);
  std::error_code reason;
  const auto data = ReadFileStart(path, ReadLimit(format, chipSize), reason);
  if (!data) {
    ShowMessage(window, kCannotOpenFileMessage);
    return {FileOutcome::OpenFailed, 0, reason};
  }
  if (data->size() > kMaxTextImageFileSize) {
    ShowMessage(window, kImageFileTooLargeMessage);
    return {FileOutcome::Malformed};
  }
  // Decoded whole into a scratch image first: a fault anywhere in the file
  // leaves the buffer as it was.
  const DecodeResult decoded = format.decode(*data, chipSize);
  if (decoded.fault) {
    ShowMessage(window, ImageFaultMessage(*decoded.fault));
    return {FileOutcome::Malformed};
  }
  TakeIntoBuffer(decoded.image, buffer);
  buffer.unsavedFlag = 0;
  return {FileOutcome::Completed, decoded.image.count};
}

FileResult RunSaveImageFileAs(std::optional<ImageFormatId> chosen) {
  WindowOperations* window = GetActiveWindow();
  BufferState& buffer = Buffer();
  const std::string path = AskForImagePath(window, FileDialogKind::Save);
  if (path.empty()) return {FileOutcome::Cancelled};

  const ImageFormat& format = ChooseImageFormat(path, chosen);
  const std::vector<std::uint8_t> contents = format.encode(ChipPart(buffer.workImage, buffer));
  // An earlier file of that name stays whole until the new one is.
  if (const auto failure = WriteWholeFile(Utf8Path(path), contents, Durability::PowerLoss)) {
    if (!failure->refusingFolder.empty()) {
      ShowMessage(window, FolderTakesNoNewFilesMessage(failure->refusingFolder));
    } else {
      ShowMessage(window, failure->whileOpening ? kCannotOpenFileMessage : kFileWriteErrorMessage);
    }
    FileResult result{failure->whileOpening ? FileOutcome::OpenFailed : FileOutcome::WriteFailed, 0, failure->reason};
    result.refusingFolder = failure->refusingFolder;
    return result;
  }
  buffer.unsavedFlag = 0;
  return {FileOutcome::Completed};
}

FileResult RunLoadImageFile() { return RunLoadImageFileAs(std::nullopt); }

FileResult RunSaveImageFile() { return RunSaveImageFileAs(std::nullopt); }

void LoadImageFile() { RunLoadImageFile(); }

void SaveImageFile() { RunSaveImageFile(); }

}  // namespace pavok
