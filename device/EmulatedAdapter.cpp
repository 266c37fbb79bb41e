#include "EmulatedAdapter.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

namespace pavok {

EmulatedAdapter::EmulatedAdapter(EepromModel chip) : chip_(std::move(chip)) {}

std::optional<EmulatedAdapter> EmulatedAdapter::WithImageFile(int size, const std::filesystem::path& imageFile,
                                                              std::string* error) {
  EmulatedAdapter adapter{EepromModel(size)};
  adapter.imageFile_ = imageFile;
  std::error_code ec;
  if (std::filesystem::exists(imageFile, ec)) {
    std::ifstream in(imageFile, std::ios::binary);
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
      if (error) *error = "cannot read the emulated chip image " + imageFile.string();
      return std::nullopt;
    }
    adapter.chip_.Load(data);
  }
  if (!adapter.SaveImage()) {
    if (error) *error = "cannot write the emulated chip image " + imageFile.string();
    return std::nullopt;
  }
  return adapter;
}

bool EmulatedAdapter::Open() {
  ++opens_;
  const bool unplugged = faults_.unplugAfter && exchanges_ >= *faults_.unplugAfter;
  open_ = !faults_.absent && !unplugged;
  return open_;
}

void EmulatedAdapter::Close() { open_ = false; }

OpenFailure EmulatedAdapter::LastOpenFailure() const {
  return open_ ? OpenFailure::None : OpenFailure::NotFound;
}

std::string EmulatedAdapter::Describe() const {
  std::string text = "emulated adapter with a " + std::to_string(chip_.size()) + "-byte chip";
  if (imageFile_) text += " in " + imageFile_->string();
  return text;
}

ExchangeResult EmulatedAdapter::Exchange(std::span<const std::uint8_t, 5> bytes, std::span<std::uint8_t> reply) {
  const int index = exchanges_++;
  if (delay_.count() > 0) std::this_thread::sleep_for(delay_);
  DeviceRequest request;
  std::copy(bytes.begin(), bytes.end(), request.bytes.begin());

  ExchangeResult result;
  if (faults_.failExchangeAt != index) {
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
  switch (request.code()) {
    case REQ_READ_BLOCK:
      if (!chip_.Acknowledges(select)) return 0;
      chip_.Read(select, word, reply);
      return reply.size();
    case REQ_LOAD_DATA:
      std::copy(request.bytes.begin() + 1, request.bytes.end(), latch_.begin());
      break;
    case REQ_WRITE_DATA:
      if (!chip_.Acknowledges(select)) return 0;
      chip_.Write(select, word, latch_);
      if (!SaveImage()) return 0;
      break;
    default:
      return 0;
  }
  // The write requests answer one status byte: 0 for done.
  if (reply.empty()) return 0;
  reply[0] = 0;
  return 1;
}

bool EmulatedAdapter::SaveImage() const {
  if (!imageFile_) return true;
  std::ofstream out(*imageFile_, std::ios::binary | std::ios::trunc);
  const auto data = chip_.contents();
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  out.close();
  return out.good();
}

}  // namespace pavok
