#pragma once
// Wraps any transport and writes one line per exchange (the five request
// bytes, the reply size offered, the bytes returned, ok or failed) and one
// per failed open, for a person finding out what the adapter does.

#include <cstdio>
#include <memory>

#include "Transport.h"

namespace pavok {

class TracingTransport final : public Transport {
 public:
  // Traces every operation of `inner` to `out` (stderr in the programs). The
  // stream is not owned and must outlive the transport.
  TracingTransport(std::unique_ptr<Transport> inner, std::FILE* out);

  bool Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override;
  std::string LastExchangeFailure() const override;
  std::string LockName() const override { return inner_->LockName(); }
  std::string Describe() const override;

  Transport& inner() { return *inner_; }

 private:
  std::unique_ptr<Transport> inner_;
  std::FILE* out_;
};

}  // namespace pavok
