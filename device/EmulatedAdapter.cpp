#include "EmulatedAdapter.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#include "FileReplace.h"
#include "Utf8Path.h"

namespace pavok {

EmulatedAdapter::EmulatedAdapter(EepromModel chip) : chip_(std::move(chip)) {}

namespace {

// The contents of an existing chip image, or the reason it cannot serve. A
// file of another size than the chip is refused rather than cut short or
// grown by the first write back: it may well be someone's firmware image
// meant for another chip type.
std::string ReadImageFile(const std::filesystem::path& file, std::size_t chipSize, std::vector<std::uint8_t>& data) {
  const std::string name = Utf8Text(file);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return "the emulated chip image " + name + " is not a file";
  const auto fileSize = std::filesystem::file_size(file, ec);
  if (!ec && fileSize != chipSize) {
    return "the emulated chip image " + name + " holds " + std::to_string(fileSize) + " bytes, the chip " +
           std::to_string(chipSize);
  }
  std::ifstream in(file, std::ios::binary);
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (ec || !in.is_open() || data.size() != chipSize) return "cannot read the emulated chip image " + name;
  return {};
}

}  // namespace

std::optional<EmulatedAdapter> EmulatedAdapter::WithImageFile(int size, const std::filesystem::path& imageFile,
                                                              std::string* error) {
  EmulatedAdapter adapter{EepromModel(size)};
  adapter.imageFile_ = imageFile;
  std::string problem;
  std::error_code ec;
  if (std::filesystem::exists(imageFile, ec)) {
    std::vector<std::uint8_t> data;
    problem = ReadImageFile(imageFile, adapter.chip_.contents().size(), data);
    adapter.chip_.Load(data);
    // An image that could not be written back is found now, not at the
    // first write.
    if (const auto failure = problem.empty() ? CheckCanCreate(imageFile) : std::nullopt) {
      problem = "cannot write the emulated chip image " + Utf8Text(imageFile) + ": " + failure->reason.message();
    }
  } else if (!adapter.SaveImage()) {
    problem = adapter.exchangeFailure_;
  }
  if (problem.empty()) return adapter;
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
  std::error_code ec;
  const std::filesystem::path file = std::filesystem::weakly_canonical(*imageFile_, ec);
  // FNV-1a: the same name in every program and every build.
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const char c : Utf8Text(ec ? *imageFile_ : file)) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  }
  char name[40];
  std::snprintf(name, sizeof name, "emulated-%016llx", static_cast<unsigned long long>(hash));
  return {name};
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
      if (!SaveImage()) return 0;
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

// Replaced whole after every write, so the image holds the chip before or
// after the write, never part of it, even when the program is killed. It is
// not waited onto the disk each time: that would make a write of the largest
// chip take seconds, for a chip that only exists to try the program on.
bool EmulatedAdapter::SaveImage() {
  if (!imageFile_) return true;
  const auto failure = WriteWholeFile(*imageFile_, chip_.contents(), Durability::ProgramEnd);
  if (!failure) return true;
  exchangeFailure_ = "cannot write the emulated chip image " + Utf8Text(*imageFile_) + ": " + failure->reason.message();
  return false;
}

}  // namespace pavok
