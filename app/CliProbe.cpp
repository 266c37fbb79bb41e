// pavok-cli probe: one look at the adapter for a person setting it up.

#include <string>

#include "ChipType.h"
#include "CliCommands.h"
#include "DeviceChannel.h"
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
  out << "adapter: " << transport.Describe() << '\n';
  if (!answered) {
    window.Report("pavok-cli: probe: the adapter opened, but no chip answered a read of its first block");
    return ExitStatus::Failed;
  }
  out << "chip: answered a read of its first block\n";
  return ExitStatus::Success;
}

}  // namespace pavok
