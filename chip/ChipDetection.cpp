#include "ChipDetection.h"

#include "AdapterReservation.h"
#include "DeviceChannel.h"
#include "DeviceRequest.h"
#include "HexCodec.h"
#include "TransferFailure.h"
#include "Transport.h"

namespace pavok {

namespace {

enum class BankAnswer { Acknowledged, Silent, Failed };

BankAnswer ProbeBank(Transport& transport, int bank) {
  const auto offset = static_cast<std::uint16_t>(bank * kBankSize);
  const DeviceRequest request = DeviceRequest::Make(REQ_READ_BLOCK, wordAddress(offset), deviceSelect(offset));
  std::array<std::uint8_t, kBlockSize> block{};
  if (!transport.Open()) return BankAnswer::Failed;
  const bool answered = ExchangeAnswered(transport.Exchange(request.bytes, block), block.size());
  transport.Close();
  if (answered) return BankAnswer::Acknowledged;
  return IsNoAcknowledge(transport.LastExchangeFailure()) ? BankAnswer::Silent : BankAnswer::Failed;
}

}  // namespace

std::string SelectByteText(int bank) {
  return FormatAddress(deviceSelect(static_cast<std::uint16_t>(bank * kBankSize))).substr(2);
}

bool IsNoAcknowledge(std::string_view exchangeFailure) { return exchangeFailure.starts_with(kNoAcknowledgeReason); }

std::optional<ChipType> TypeAnsweringAt(const std::array<bool, kSelectBytes>& acknowledged) {
  for (const ChipType& type : kChipTypes) {
    const int banks = type.size / kBankSize;
    bool fits = true;
    for (int bank = 0; bank < kSelectBytes; ++bank) fits = fits && acknowledged[bank] == (bank < banks);
    if (fits) return type;
  }
  return std::nullopt;
}

std::optional<ChipDetection> DetectChip(std::string& why) {
  const AdapterReservation reservation;
  Transport& transport = CurrentTransport();
  ChipDetection detection;
  for (int bank = 0; bank < kSelectBytes; ++bank) {
    const BankAnswer answer = ProbeBank(transport, bank);
    // Which adapter answers is known once one has opened.
    if (transport.LastOpenFailure() == OpenFailure::None && !transport.ReportsAcknowledge()) {
      why = transport.Describe() +
            " cannot tell which select bytes a chip acknowledges; only the CH341A can: choose --chip C02, C04, "
            "C08 or C16";
      return std::nullopt;
    }
    if (answer == BankAnswer::Failed) {
      why = AdapterFailureText(transport);
      return std::nullopt;
    }
    detection.acknowledged[static_cast<std::size_t>(bank)] = answer == BankAnswer::Acknowledged;
  }
  detection.type = TypeAnsweringAt(detection.acknowledged);
  return detection;
}

}  // namespace pavok
