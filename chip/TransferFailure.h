#pragma once
// What a transfer that stopped at a failed request tells the user: what
// failed and at which address, why, where the adapter knows, and what it
// left behind.

#include <cstdint>
#include <optional>
#include <string>

#include "ChipType.h"
#include "Transport.h"
#include "WindowOperations.h"

namespace pavok {

enum class TransferKind { Read, Write, Erase, Compare };

struct TransferFailure {
  TransferKind kind = TransferKind::Read;
  std::uint16_t address = 0;  // the first byte of the block or group whose request failed
  bool openFailed = false;    // the adapter did not open; the channel has said so itself
  std::string reason;         // why the open failed, or the adapter's words; empty: it knows none
  // Where a bank did not acknowledge: the type the chip answers as, when it
  // is not the one selected.
  std::optional<ChipType> answersAs;
};

// Records the failure of the running transfer at `address` with the current
// transport's reason, asks the chip which type it answers as when a bank did
// not acknowledge, and shows the dialog's message unless the open failed:
// one message per failure.
void ReportTransferFailure(WindowOperations* window, TransferKind kind, std::uint16_t address);

// The failure ReportTransferFailure recorded last.
const TransferFailure& LastTransferFailure();

// The dialog's message, e.g. "Ошибка чтения микросхемы по адресу 0100:
// микросхема не отвечает на байт выбора A2. Буфер прочитан частично."
std::string TransferFailureMessage(const TransferFailure& failure);

// The same for the command line, without what was left behind: "at address
// 0100: no chip acknowledged the select byte A2; the chip answers as a C02;
// choose --chip C02", or why the adapter did not open.
std::string TransferFailureText(const TransferFailure& failure);

// Why the transport failed: its open, or its last exchange.
std::string AdapterFailureText(const Transport& transport);

}  // namespace pavok
