#include "EmulatedAdapter.h"

#include <algorithm>
#include <thread>

#include "AdapterLock.h"
#include "FileReplace.h"
#include "Utf8Path.h"

namespace pavok {

EmulatedAdapter::EmulatedAdapter(EepromModel chip) : chip_(std::move(chip)) {}

namespace {

std::string CannotWrite(const std::filesystem::path& file, std::error_code reason) {
  return "cannot write the emulated chip image " + Utf8Text(file) + ": " + reason.message();
}

// The image file, made full of 0xFF when missing, opened for writing where
// it stands; or the reason it cannot serve. A file of another size than
// the chip is refused rather than cut short or grown: it may well be
// someone's firmware image meant for another chip type.
std::optional<InPlaceFile> OpenImageFile(const std::filesystem::path& file, std::span<const std::uint8_t> blank,
                                         std::string& problem) {
  const std::string name = Utf8Text(file);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    if (const auto failure = WriteWholeFile(file, blank, Durability::ProgramEnd)) {
      problem = CannotWrite(file, failure->reason);
      return std::nullopt;
    }
  }
  if (!std::filesystem::is_regular_file(file, ec)) {
    problem = "the emulated chip image " + name + " is not a file";
    return std::nullopt;
  }
  const auto fileSize = std::filesystem::file_size(file, ec);
  if (!ec && fileSize != blank.size()) {
    problem = "the emulated chip image " + name + " holds " + std::to_string(fileSize) + " bytes, the chip " +
              std::to_string(blank.size());
    return std::nullopt;
  }
  auto image = InPlaceFile::Open(file, ec);
  if (!image) problem = CannotWrite(file, ec);
  return image;
}

}  // namespace

std::optional<EmulatedAdapter> EmulatedAdapter::WithImageFile(int size, const std::filesystem::path& imageFile,
                                                              std::string* error) {
  EmulatedAdapter adapter{EepromModel(size)};
  adapter.imageFile_ = imageFile;
  std::string problem;
  auto image = OpenImageFile(imageFile, adapter.chip_.contents(), problem);
  std::error_code ec;
  const auto data = image ? image->ReadAll(ec) : std::nullopt;
  if (image && (!data || data->size() != adapter.chip_.contents().size())) {
    problem = "cannot read the emulated chip image " + Utf8Text(imageFile) + (ec ? ": " + ec.message() : "");
  }
  if (problem.empty()) {
    adapter.chip_.Load(*data);
    adapter.image_ = std::make_shared<InPlaceFile>(std::move(*image));
    KeepFromReplacing(imageFile);
    return adapter;
  }
  if (error) *error = problem;
  return std::nullopt;
}

OpenFailure EmulatedAdapter::Availability() const {
  const bool unplugged = (faults_.unplugAfter && exchanges_ >= *faults_.unplugAfter) ||
                         (faults_.unplugDuringExchangeAt && exchanges_ > *faults_.unplugDuringExchangeAt);
  if (faults_.absent || unplugged) return OpenFailure::NotFound;
  return faults_.accessDenied ? OpenFailure::AccessDenied : OpenFailure::None;
}

OpenResult EmulatedAdapter::Open() {
  ++opens_;
  lastOpenFailure_ = Availability();
  open_ = lastOpenFailure_ == OpenFailure::None;
  return lastOpenFailure_;
}

void EmulatedAdapter::Close() { open_ = false; }

OpenFailure EmulatedAdapter::LastOpenFailure() const { return lastOpenFailure_; }

std::vector<std::string> EmulatedAdapter::LockNames() const {
  if (!imageFile_) return {};
  return {FileLockName(*imageFile_)};
}

std::string EmulatedAdapter::Describe() const {
  std::string text = "emulated adapter with a " + std::to_string(chip_.size()) + "-byte chip";
  if (imageFile_) text += " in " + Utf8Text(*imageFile_);
  return text;
}

ExchangeResult EmulatedAdapter::Exchange(std::span<const std::uint8_t, 5> bytes, std::span<std::uint8_t> reply) {
  const int index = exchanges_++;
  exchangeFailure_.clear();
  if (delay_.count() > 0) std::this_thread::sleep_for(delay_);
  const DeviceRequest request = DeviceRequest::FromBytes(bytes);

  ExchangeResult result;
  // A closed adapter answers nothing, so a channel that forgot to open fails.
  if (open_ && faults_.failExchangeAt != index && faults_.unplugDuringExchangeAt != index) {
    result.succeeded = true;
    result.bytesReturned = Answer(request, reply);
    if (faults_.emptyReplyAt == index) result.bytesReturned = 0;
    if (faults_.shortReplyAt == index) result.bytesReturned = std::min(result.bytesReturned, faults_.shortReplyBytes);
  }
  if (recording_) requests_.push_back({request, reply.size(), result.bytesReturned, result.succeeded});
  return result;
}

std::size_t EmulatedAdapter::Answer(const DeviceRequest& request, std::span<std::uint8_t> reply) {
  const auto select = static_cast<std::uint8_t>(request.param2() & 0xFF);
  const auto word = static_cast<std::uint8_t>(request.param1() & 0xFF);
  // A chip still in a write cycle answers nothing, as one that is absent.
  const bool answers = !chipBusy_ && chip_.Acknowledges(select);
  switch (request.code()) {
    case REQ_READ_BLOCK:
      if (!answers) return 0;
      chip_.Read(select, word, reply);
      return reply.size();
    case REQ_LOAD_DATA:
      std::copy(request.bytes.begin() + 1, request.bytes.end(), latch_.begin());
      break;
    case REQ_WRITE_DATA:
      if (!answers) return 0;
      chip_.Write(select, word, latch_);
      if (!SavePage(select, word)) return 0;
      chipBusy_ = faults_.endlessWriteCycleAt == writes_++;
      if (chipBusy_) return 0;  // the wait for the write cycle gives up
      break;
    default:
      return 0;
  }
  // The write requests answer one status byte: 0 for done.
  if (reply.empty()) return 0;
  reply[0] = 0;
  return 1;
}

// Only the page the write landed in, where it stands in the file, in one
// call: killed at any moment, the image holds the chip before or after the
// write. It is not waited onto the disk each time: that would make a write
// of the largest chip take seconds, for a chip that only exists to try the
// program on.
bool EmulatedAdapter::SavePage(std::uint8_t select, std::uint8_t word) {
  if (!image_) return true;
  const auto page = chip_.PageAt(select, word);
  const auto error = image_->WriteAt(static_cast<std::size_t>(page.data() - chip_.contents().data()), page);
  if (!error) return true;
  exchangeFailure_ = CannotWrite(*imageFile_, error);
  return false;
}

}  // namespace pavok
