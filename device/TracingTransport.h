#pragma once
// Wraps any transport and writes, for a person finding out what the adapter
// does, a line naming the adapter whenever an open reaches another one than
// the last (the first open, or another adapter after a replug), and at the
// finer detail one line per exchange (the five request bytes, the reply size
// offered, the bytes returned, ok, short reply or failed), one per page
// write, and one per failed open.

#include <cstdio>
#include <memory>
#include <string>

#include "Transport.h"

namespace pavok {

enum class TraceDetail { AdapterInUse, EveryRequest };

class TracingTransport final : public Transport {
 public:
  // Traces the operations of `inner` to `out` (stderr in the programs). The
  // stream is not owned and must outlive the transport.
  TracingTransport(std::unique_ptr<Transport> inner, std::FILE* out,
                   TraceDetail detail = TraceDetail::EveryRequest);

  OpenResult Open() override;
  ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) override;
  void Close() override;
  std::size_t LargestWrite() override { return inner_->LargestWrite(); }
  // e.g. "page write A0 10  offered 16  written 16  ok"
  ExchangeResult WritePage(std::uint8_t select, std::uint8_t word, std::span<const std::uint8_t> data) override;
  void HoldOpen(bool hold) override { inner_->HoldOpen(hold); }
  OpenFailure LastOpenFailure() const override;
  std::string LastExchangeFailure() const override;
  bool ReportsAcknowledge() const override { return inner_->ReportsAcknowledge(); }
  std::vector<std::string> LockNames() const override { return inner_->LockNames(); }
  std::string Describe() const override;

  Transport& inner() { return *inner_; }

 private:
  std::unique_ptr<Transport> inner_;
  std::FILE* out_;
  TraceDetail detail_;
  std::string adapterNamed_;  // the adapter the last "adapter:" line named
};

}  // namespace pavok
