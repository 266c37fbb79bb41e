#pragma once
// The three platform operations behind the device channel: open the adapter,
// exchange one request for a reply, close it again. The process has one
// current transport, chosen at start-up.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pavok {

// Why the last open failed, for front ends that can say more than the
// system's own message. DriverMissing: the driver the adapter is reached
// through on this system is not installed, or cannot be used.
enum class OpenFailure { None, NotFound, AccessDenied, InUse, DriverMissing, Other };

// A few plain words for a failure, e.g. "adapter not found".
std::string_view OpenFailureText(OpenFailure failure);

// The start of the reason an exchange fails with when no chip acknowledged
// its select byte; the byte follows in hexadecimal.
inline constexpr std::string_view kNoAcknowledgeReason = "no chip acknowledged the select byte ";

// How an open went: why it failed, if it did, for an adapter in use by
// another program which process holds it, where known, and for a missing
// driver what to install.
struct OpenResult {
  OpenResult(OpenFailure why = OpenFailure::None, std::optional<long> holdingProcess = std::nullopt,
             std::string remedy = {})
      : failure(why), holder(holdingProcess), whatToDo(std::move(remedy)) {}
  explicit operator bool() const { return failure == OpenFailure::None; }

  OpenFailure failure;
  std::optional<long> holder;
  std::string whatToDo;
};

struct ExchangeResult {
  bool succeeded = false;      // the platform call itself succeeded
  std::size_t bytesReturned = 0;
};

// The most bytes a load request hands the adapter: a transport whose
// largest write is this many writes in load and write requests.
inline constexpr std::size_t kLoadedBytes = 4;

class Transport {
 public:
  virtual ~Transport() = default;

  virtual OpenResult Open() = 0;
  // Sends the five request bytes and receives at most reply.size() bytes.
  // Called only between a successful Open and the matching Close.
  virtual ExchangeResult Exchange(std::span<const std::uint8_t, 5> request, std::span<std::uint8_t> reply) = 0;
  virtual void Close() = 0;

  // The most bytes one write of the chip may carry through this transport.
  // Above kLoadedBytes the transport writes them itself (WritePage); a
  // transport that reaches one of several adapters knows only once open.
  virtual std::size_t LargestWrite() { return kLoadedBytes; }
  // Writes `data` (at most LargestWrite() bytes, inside one page of the
  // chip) at the select byte and word address as one write of the chip, and
  // waits its write cycle out. Succeeded with every byte returned when the
  // chip took them. Called only between a successful Open and its Close.
  virtual ExchangeResult WritePage(std::uint8_t /*select*/, std::uint8_t /*word*/,
                                   std::span<const std::uint8_t> /*data*/) {
    return {};
  }
  // While held, a Close leaves the adapter open for the next Open, so a
  // transfer's requests share one open of it; letting go closes it. A
  // transport for which opening changes nothing the user would notice
  // ignores this and opens for every request.
  virtual void HoldOpen(bool /*hold*/) {}

  // Why the last open failed (None when it opened).
  virtual OpenFailure LastOpenFailure() const { return OpenFailure::Other; }
  // Why the last exchange failed, where the transport knows more than that
  // it did (e.g. "cannot write the emulated chip image ..."); empty when it
  // answered or nothing is known.
  virtual std::string LastExchangeFailure() const { return {}; }
  // Whether a request to a select byte no chip acknowledges fails with
  // kNoAcknowledgeReason, so that a missing bank can be told from an empty
  // one (the CH341A can; the other adapter answers for any bank).
  virtual bool ReportsAcknowledge() const { return false; }
  // A short human description (used in traces and diagnostics).
  virtual std::string Describe() const = 0;
  // The locks that keep other programs off this adapter during a transfer
  // (AdapterReservation); none when no other program can reach what this
  // transport reaches. A transport that reaches whichever of several
  // adapters is plugged in names the locks of them all, since which one the
  // transfer will reach is known only once it opens.
  virtual std::vector<std::string> LockNames() const { return {}; }
};

// The current transport; a transport that can never be opened when none was
// chosen.
Transport& CurrentTransport();

// Makes `transport` current for as long as the scope lives, then restores the
// previous one. The scope does not own the transport.
class TransportScope {
 public:
  explicit TransportScope(Transport& transport);
  ~TransportScope();
  TransportScope(const TransportScope&) = delete;
  TransportScope& operator=(const TransportScope&) = delete;

 private:
  Transport* previous_;
};

}  // namespace pavok
