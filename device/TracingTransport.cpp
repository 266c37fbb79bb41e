#include "TracingTransport.h"

#include <string>

#include "DeviceChannel.h"

namespace pavok {

TracingTransport::TracingTransport(std::unique_ptr<Transport> inner, std::FILE* out, TraceDetail detail)
    : inner_(std::move(inner)), out_(out), detail_(detail) {}

// e.g. "adapter: CH341A 1A86:5512 on bus 1, device 4"
OpenResult TracingTransport::Open() {
  const OpenResult opened = inner_->Open();
  if (opened && inner_->Describe() != adapterNamed_) {
    adapterNamed_ = inner_->Describe();
    std::fprintf(out_, "adapter: %s\n", adapterNamed_.c_str());
    std::fflush(out_);
  }
  if (!opened && detail_ == TraceDetail::EveryRequest) {
    const std::string text(OpenFailureText(opened.failure));
    std::fprintf(out_, "open failed: %s\n", text.c_str());
    std::fflush(out_);
  }
  return opened;
}

namespace {
// The channel's verdict, so a short reply never reads as "ok".
const char* Verdict(const ExchangeResult& result, std::size_t offered) {
  if (!result.succeeded) return "failed";
  return ExchangeAnswered(result, offered) ? "ok" : "short reply";
}
}  // namespace

// e.g. "request 24 E0 00 A2 00  offered 32  returned 32  ok"
ExchangeResult TracingTransport::Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) {
  const ExchangeResult result = inner_->Exchange(request, reply);
  if (detail_ != TraceDetail::EveryRequest) return result;
  std::fprintf(out_, "request %02X %02X %02X %02X %02X  offered %zu  returned %zu  %s\n", request[0], request[1],
               request[2], request[3], request[4], reply.size(), result.bytesReturned,
               Verdict(result, reply.size()));
  std::fflush(out_);
  return result;
}

ExchangeResult TracingTransport::WritePage(std::uint8_t select, std::uint8_t word,
                                          std::span<const std::uint8_t> data) {
  const ExchangeResult result = inner_->WritePage(select, word, data);
  if (detail_ != TraceDetail::EveryRequest) return result;
  std::fprintf(out_, "page write %02X %02X  offered %zu  written %zu  %s\n", select, word, data.size(),
               result.bytesReturned, Verdict(result, data.size()));
  std::fflush(out_);
  return result;
}

void TracingTransport::Close() { inner_->Close(); }

OpenFailure TracingTransport::LastOpenFailure() const { return inner_->LastOpenFailure(); }

std::string TracingTransport::LastExchangeFailure() const { return inner_->LastExchangeFailure(); }

std::string TracingTransport::Describe() const { return inner_->Describe() + ", traced"; }

}  // namespace pavok
