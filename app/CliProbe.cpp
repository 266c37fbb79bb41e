// pavok-cli probe: one look at the adapter for a person setting it up.

#include <string>

#include "ChipDetection.h"
#include "ChipType.h"
#include "CliCommands.h"
#include "DeviceChannel.h"
#include "Translation.h"
#include "Transport.h"

namespace pavok {

ExitStatus RunProbe(TerminalWindow& window, std::ostream& out) {
  // A block read changes nothing on the chip, and the first block is there on
  // every chip type.
  const bool answered = SendDeviceRequest(REQ_READ_BLOCK, wordAddress(0), deviceSelect(0), replyBuffer, kBlockSize);
  const Transport& transport = CurrentTransport();
  const OpenFailure failure = transport.LastOpenFailure();
  if (!answered && failure != OpenFailure::None) {
    window.Report("pavok-cli: probe: " + std::string(OpenFailureText(failure)) + " (" + transport.Describe() + ")");
    return ExitStatus::Failed;
  }
  out << FormatText(Tr("adapter: %1"), {transport.Describe()}) << '\n';
  if (!answered) {
    window.Report("pavok-cli: probe: " + Tr("the adapter opened, but no chip answered a read of its first block"));
    return ExitStatus::Failed;
  }
  out << Tr("chip: answered a read of its first block") << '\n';
  if (!transport.ReportsAcknowledge()) return ExitStatus::Success;
  std::string why;
  const std::optional<ChipDetection> detection = DetectChip(why);
  if (!detection) {
    window.Report("pavok-cli: probe: " + why);
    return ExitStatus::Failed;
  }
  out << Tr("select bytes acknowledged:");
  for (int bank = 0; bank < kSelectBytes; ++bank) {
    if (detection->acknowledged[static_cast<std::size_t>(bank)]) out << ' ' << SelectByteText(bank);
  }
  out << '\n'
      << (detection->type ? FormatText(Tr("chip type: %1 (its A0-A2 pins tied low)"), {detection->type->label})
                          : Tr("chip type: none answers so; choose --chip"))
      << '\n';
  return ExitStatus::Success;
}

std::optional<int> DetectChipSize(TerminalWindow& window) {
  std::string why;
  const std::optional<ChipDetection> detection = DetectChip(why);
  if (!detection) {
    window.Report("pavok-cli: --chip auto: " + why);
    return std::nullopt;
  }
  if (!detection->type) {
    window.Report("pavok-cli: --chip auto: " +
                  Tr("the select bytes the chip acknowledges fit no chip type; pavok-cli probe lists them; choose "
                     "--chip C02, C04, C08 or C16"));
    return std::nullopt;
  }
  return detection->type->size;
}

}  // namespace pavok
