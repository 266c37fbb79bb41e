#pragma once
// Which chip type sits in the socket, told from which of the eight select
// bytes A0, A2, ... AE it acknowledges. With its A0-A2 pins tied low, as in
// a programmer's socket, a 24C02 answers at A0 only, a 24C04 at A0 and A2,
// a 24C08 at A0-A6 and a 24C16 at all eight. Only an adapter that reports
// acknowledges (Transport::ReportsAcknowledge) can tell.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ChipType.h"

namespace pavok {

inline constexpr int kSelectBytes = 8;

struct ChipDetection {
  std::array<bool, kSelectBytes> acknowledged{};  // by bank: select byte A0 + 2 * bank
  std::optional<ChipType> type;                   // nothing when the pattern fits no type
};

// "A0" for bank 0, "A2" for bank 1, ...
std::string SelectByteText(int bank);

// Whether an exchange failed because no chip acknowledged its select byte.
bool IsNoAcknowledge(std::string_view exchangeFailure);

// The type whose banks are exactly the acknowledged ones.
std::optional<ChipType> TypeAnsweringAt(const std::array<bool, kSelectBytes>& acknowledged);

// Reads the first block of each bank, straight through the current
// transport (nothing is shown to the user, nothing on the chip changes).
// Nothing, with the reason in `why`, when the adapter cannot be opened,
// cannot report acknowledges, or failed otherwise.
std::optional<ChipDetection> DetectChip(std::string& why);

}  // namespace pavok
