#pragma once
// Reading the chip into the buffer, block by block, leaving a raw dump in
// "temp.bin" in the current directory after every complete read.

#include <system_error>

#include "ChipDump.h"

namespace pavok {

enum class ReadOutcome {
  Completed,       // every block arrived; both images hold the chip
  Declined,        // the user answered No to the unsaved-data question
  DumpNotWritten,  // every block arrived, but "temp.bin" could not be replaced
  DeviceFailed,    // a request failed; the blocks before it were kept
};

// The read on the process-wide buffer and the active window, with its
// outcome for front ends that need it.
ReadOutcome RunReadChip();

// Why the last read's dump could not be written.
std::error_code LastDumpFailure();

// The dialog's command: the same read; the outcome tells the dialog whether
// the buffer holds the chip.
ReadOutcome ReadChip();

}  // namespace pavok
