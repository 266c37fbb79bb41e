#pragma once
// The command-line program's commands, each built from the same core
// functions the dialog's buttons run.

#include <optional>
#include <ostream>
#include <string>

#include "ImageFormat.h"

#include "TerminalWindow.h"

namespace pavok {

enum class CliCommand { Read, Write, Erase, Compare, Verify, Probe };

// The program's exit status.
enum class ExitStatus {
  Success = 0,  // the command completed; compare and verify: chip and file agree
  Differ = 1,   // compare and verify: chip and file differ
  Failed = 2,   // declined, adapter absent, file error, bad input
};

// What write does with a FILE that does not give every byte of the chip, or
// gives more.
enum class MissingBytes {
  Refuse,  // refused before anything is sent
  Pad,     // --pad: missing bytes are written as FF, extra ones left out
  Merge,   // --merge: the chip is read first and keeps its own bytes where FILE gives none
};

struct CommandRequest {
  CliCommand command = CliCommand::Read;
  std::string file;     // FILE of the command; erase takes none
  int chipSize = 2048;  // from --chip
  std::optional<ImageFormatId> format{};  // from --format; nothing: by FILE's extension
  MissingBytes missing = MissingBytes::Refuse;  // write: from --pad and --merge
};

// Runs one command on a freshly reset buffer, the current transport, and
// `window` as the active window; fast write follows the window's
// IDC_FAST_WRITE. Results go to `out`; notes and the reason for a failure
// go through the window.
ExitStatus RunCliCommand(const CommandRequest& request, TerminalWindow& window, std::ostream& out);

// probe (in CliProbe.cpp): opens the current transport once for a read of
// the chip's first block, which changes nothing on the chip. Says on `out`
// which adapter opened (its ids, and on USB its bus and device number) and
// whether the chip answered, and on an adapter that reports acknowledges,
// which select bytes did and the chip type that implies; why the adapter
// could not be opened goes through `window`. Success only when the chip
// answered.
ExitStatus RunProbe(TerminalWindow& window, std::ostream& out);

// --chip auto (in CliProbe.cpp): the size of the type the chip answers as;
// nothing, with the reason through `window`, on an adapter that cannot tell
// or a chip that fits no type.
std::optional<int> DetectChipSize(TerminalWindow& window);

}  // namespace pavok
