#include "CliCommands.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <vector>

#include "AdapterReservation.h"
#include "BufferState.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "FileReplace.h"
#include "ImageDifferences.h"
#include "ImageFiles.h"
#include "TransferFailure.h"
#include "Translation.h"
#include "Transport.h"
#include "Utf8Path.h"

namespace pavok {

namespace {

class CommandContext {
 public:
  CommandContext(std::string_view name, const CommandRequest& request, TerminalWindow& window, std::ostream& out)
      : name_(name), request_(request), window_(window), out_(out) {}

  const std::string& file() const { return request_.file; }
  // "-": the standard output for read, the standard input for the others.
  bool standardStream() const { return request_.file == "-"; }
  CliCommand command() const { return request_.command; }
  MissingBytes missing() const { return request_.missing; }
  std::optional<ImageFormatId> chosenFormat() const { return request_.format; }
  const ImageFormat& format() const { return ChooseImageFormat(request_.file, request_.format); }
  TerminalWindow& window() { return window_; }
  std::ostream& out() { return out_; }

  ExitStatus Fail(std::string_view reason) {
    Note(reason);
    return ExitStatus::Failed;
  }
  void Note(std::string_view text) { window_.Report("pavok-cli: " + std::string(name_) + ": " + std::string(text)); }
  // A failure that lets the command go on but fails it once it is done.
  void FailAtEnd(std::string_view reason) {
    Note(reason);
    failedAtEnd_ = true;
  }
  ExitStatus Finish(ExitStatus status) const { return failedAtEnd_ ? ExitStatus::Failed : status; }

 private:
  std::string_view name_;
  const CommandRequest& request_;
  TerminalWindow& window_;
  std::ostream& out_;
  bool failedAtEnd_ = false;
};

std::span<const std::uint8_t> ChipPart(const Image& image) {
  return std::span<const std::uint8_t>(image).first(static_cast<std::size_t>(Buffer().chipSize));
}

std::vector<std::uint8_t> CopyOfWorkImage() {
  const auto part = ChipPart(Buffer().workImage);
  return {part.begin(), part.end()};
}

// Where "-" reads from.
constexpr std::string_view kStandardInput = "/dev/stdin";

enum class Mismatch { None, Short, Long };

struct SizeCheck {
  Mismatch mismatch = Mismatch::None;
  std::string sizes;  // both sizes, in words
};

// Whether FILE gives every byte of the chip and no more. A text image says
// which bytes it gives, wherever they lie; `given` is how many.
SizeCheck CheckSize(CommandContext& context, std::size_t given) {
  const auto chipBytes = static_cast<std::size_t>(Buffer().chipSize);
  if (context.format().extent == FileExtent::WholeText) {
    if (given >= chipBytes) return {};
    return {Mismatch::Short, FormatText(Tr("%1 gives %2 of the chip's %3 bytes"),
                                        {context.file(), std::to_string(given), std::to_string(chipBytes)})};
  }
  // A standard input that is no file (a pipe) has no size to ask for: what
  // it gave is all that is known of it.
  std::error_code ec;
  auto size = std::filesystem::file_size(
      context.standardStream() ? std::filesystem::path(kStandardInput) : Utf8Path(context.file()), ec);
  if (ec && !context.standardStream()) return {};
  if (ec) size = given;
  if (size == chipBytes) return {};
  return {size < chipBytes ? Mismatch::Short : Mismatch::Long,
          FormatText(Tr("%1 holds %2 bytes, the chip %3"),
                     {context.file(), std::to_string(size), std::to_string(chipBytes)})};
}

// What becomes of the bytes FILE does not give, or of the extra ones.
std::string FillNote(CommandContext& context, Mismatch mismatch) {
  if (mismatch == Mismatch::Long) {
    return FormatText(Tr("; only the first %1 are used"), {std::to_string(Buffer().chipSize)});
  }
  if (context.missing() == MissingBytes::Merge) return Tr("; the others are kept as the chip holds them");
  return context.format().extent == FileExtent::WholeText ? Tr("; the others are taken as FF")
                                                          : Tr("; the bytes beyond the file are taken as FF");
}

// A FILE that is not the chip's size loads as in the dialog, with a note,
// for compare and verify and for write --pad or --merge; a plain write
// refuses it, so that it never writes bytes the file did not give.
bool AcceptSize(CommandContext& context, std::size_t given) {
  const SizeCheck check = CheckSize(context, given);
  if (check.mismatch == Mismatch::None) return true;
  if (context.command() == CliCommand::Write && context.missing() == MissingBytes::Refuse) {
    context.Fail(check.sizes +
                 Tr("; nothing was sent to the adapter (write --pad writes FF for missing bytes and leaves extra ones "
                    "out, write --merge keeps the chip's own bytes where the file gives none)"));
    return false;
  }
  context.Note(check.sizes + FillNote(context, check.mismatch));
  return true;
}

// ": " and the system's words for `reason`, or nothing without one.
std::string Because(std::error_code reason) { return reason ? ": " + reason.message() : std::string(); }

// Why FILE could not be created, and the way out when its folder is what
// refused.
std::string CannotCreate(const std::string& file, std::error_code reason, const std::filesystem::path& folder) {
  std::string text = FormatText(Tr("cannot create %1"), {file}) + Because(reason);
  if (folder.empty()) return text;
  return text + FormatText(Tr("; its folder %1 takes no new files, so %2 cannot be replaced whole; it is unchanged: "
                              "save elsewhere"),
                           {Utf8Text(folder), file});
}

// FILE into both images through the open-file dialog. A FILE that gives no
// bytes at all is refused: written or compared, it would stand for a chip
// full of FF, which is seldom what was meant.
bool LoadFile(CommandContext& context) {
  context.window().SetFilePaths(context.standardStream() ? std::string(kStandardInput) : context.file(), "");
  const FileResult result = RunLoadImageFileAs(context.chosenFormat());
  if (result.outcome == FileOutcome::Malformed) {
    // The window has said what is wrong, and where.
    context.Fail(FormatText(Tr("%1 is no usable %2; nothing was sent to the adapter"),
                            {context.file(), context.format().title}));
    return false;
  }
  if (result.outcome != FileOutcome::Completed) {
    context.Fail(FormatText(Tr("cannot read %1"), {context.file()}) + Because(result.reason));
    return false;
  }
  if (result.bytes == 0) {
    context.Fail(FormatText(Tr("%1 holds no data; nothing was sent to the adapter"), {context.file()}));
    return false;
  }
  return AcceptSize(context, result.bytes);
}

// Reading the chip replaces the dump in the current directory, so a FILE
// that is the dump, under any name, would be lost before it was used.
bool RefuseTheDump(CommandContext& context) {
  std::error_code ec;
  if (!std::filesystem::equivalent(Utf8Path(context.file()), Utf8Path(kDumpFileName), ec)) return false;
  context.Fail(FormatText(Tr("%1 is the dump %2, which reading the chip replaces; copy it under another name first"),
                          {context.file(), kDumpFileName}));
  return true;
}

// Why the adapter failed the transfer: its open, or an exchange and where.
std::string DeviceFailure() { return TransferFailureText(LastTransferFailure()); }

std::string ReadFailure(ReadOutcome outcome) {
  switch (outcome) {
    case ReadOutcome::Completed:
      return {};
    case ReadOutcome::Declined:
      return Tr("declined");
    case ReadOutcome::DumpNotWritten:
      return {};
    case ReadOutcome::DeviceFailed:
      return DeviceFailure() + Tr("; the chip was not read completely");
  }
  return Tr("the chip was not read");
}

// The chip into both images; true when every block arrived. `consequence`
// ends the failure's one line. A dump that could not be written does not
// stop the command, but fails it in the end.
bool ReadChipInto(CommandContext& context, std::string_view consequence) {
  const ReadOutcome outcome = RunReadChip();
  if (outcome == ReadOutcome::Completed) return true;
  if (outcome == ReadOutcome::DumpNotWritten) {
    context.FailAtEnd(FormatText(Tr("%1 was not written"), {kDumpFileName}) + Because(LastDumpFailure()) +
                      FormatText(Tr("; an earlier %1 is unchanged"), {kDumpFileName}));
    return true;
  }
  context.Fail(ReadFailure(outcome) + std::string(consequence));
  return false;
}

// The chip's bytes to the standard output, in the format --format gives.
ExitStatus WriteToStandardOutput(CommandContext& context) {
  const std::vector<std::uint8_t> contents = context.format().encode(ChipPart(Buffer().workImage));
  context.out().write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
  if (context.out().flush()) return ExitStatus::Success;
  return context.Fail(Tr("cannot write to the standard output"));
}

ExitStatus ReadCommand(CommandContext& context) {
  // A name that cannot be saved to should cost neither a read nor the dump.
  const auto problem = context.standardStream() ? std::nullopt : CheckCanCreate(Utf8Path(context.file()));
  if (problem) {
    return context.Fail(CannotCreate(context.file(), problem->reason, problem->refusingFolder) +
                        Tr("; the chip was not read"));
  }
  if (!ReadChipInto(context, FormatText(Tr("; %1 not written"), {context.file()}))) return ExitStatus::Failed;
  if (context.standardStream()) return WriteToStandardOutput(context);
  context.window().SetFilePaths("", context.file());
  const FileResult saved = RunSaveImageFileAs(context.chosenFormat());
  switch (saved.outcome) {
    case FileOutcome::Completed:
      return ExitStatus::Success;
    case FileOutcome::WriteFailed:
      return context.Fail(FormatText(Tr("%1 was not written"), {context.file()}) + Because(saved.reason) +
                          Tr("; an earlier file of that name is unchanged"));
    default:
      return context.Fail(CannotCreate(context.file(), saved.reason, saved.refusingFolder));
  }
}

ExitStatus WriteOutcomeStatus(WriteOutcome outcome, CommandContext& context) {
  switch (outcome) {
    case WriteOutcome::Completed:
      return ExitStatus::Success;
    case WriteOutcome::Declined:
      return context.Fail(Tr("declined; the chip was not changed"));
    case WriteOutcome::DeviceFailed:
      // An adapter held by another program is refused before anything is sent.
      if (CurrentTransport().LastOpenFailure() == OpenFailure::InUse) {
        return context.Fail(DeviceFailure() + Tr("; the chip was not changed"));
      }
      return context.Fail(DeviceFailure() + Tr("; the chip may be partly written"));
  }
  return ExitStatus::Failed;
}

// Fast write: the chip becomes the reference, so only the groups where FILE
// differs from it are sent.
bool TakeChipAsReference(CommandContext& context) {
  const std::vector<std::uint8_t> fileImage = CopyOfWorkImage();
  if (!ReadChipInto(context, Tr("; the chip was not changed"))) return false;
  std::copy(fileImage.begin(), fileImage.end(), Buffer().workImage.begin());
  return true;
}

// write --merge: the chip into both images first, so that the load keeps
// the chip's bytes wherever FILE gives none; the chip stays the reference,
// so a fast write sends only the groups FILE changes.
bool MergeIntoChip(CommandContext& context) {
  if (!ReadChipInto(context, Tr("; the chip was not changed"))) return false;
  const std::vector<std::uint8_t> chip = CopyOfWorkImage();
  if (!LoadFile(context)) return false;
  std::copy(chip.begin(), chip.end(), Buffer().referenceImage.begin());
  return true;
}

ExitStatus WriteCommand(CommandContext& context) {
  const bool fast = context.window().IsChecked(IDC_FAST_WRITE);
  if (context.missing() == MissingBytes::Merge) {
    if (RefuseTheDump(context) || !MergeIntoChip(context)) return ExitStatus::Failed;
    return WriteOutcomeStatus(RunWriteChip(false), context);
  }
  if ((fast && RefuseTheDump(context)) || !LoadFile(context)) return ExitStatus::Failed;
  if (fast && !TakeChipAsReference(context)) return ExitStatus::Failed;
  return WriteOutcomeStatus(RunWriteChip(false), context);
}

ExitStatus CompareCommand(CommandContext& context) {
  if (!LoadFile(context)) return ExitStatus::Failed;
  const std::optional<ChecksumComparison> comparison = RunCompareChecksums();
  if (!comparison) return context.Fail(DeviceFailure() + Tr("; the chip was not read completely"));
  // The comparison has shown its message, both sums and the verdict.
  return comparison->Equal() ? ExitStatus::Success : ExitStatus::Differ;
}

ExitStatus VerifyCommand(CommandContext& context) {
  if (RefuseTheDump(context) || !LoadFile(context)) return ExitStatus::Failed;
  const std::vector<std::uint8_t> fileImage = CopyOfWorkImage();
  if (!ReadChipInto(context, "")) return ExitStatus::Failed;
  const ImageDifferences differences = FindDifferences(ChipPart(Buffer().workImage), fileImage);
  PrintDifferences(context.out(), differences, context.file());
  return differences.count == 0 ? ExitStatus::Success : ExitStatus::Differ;
}

std::string_view CommandName(CliCommand command) {
  switch (command) {
    case CliCommand::Read:
      return "read";
    case CliCommand::Write:
      return "write";
    case CliCommand::Erase:
      return "erase";
    case CliCommand::Compare:
      return "compare";
    case CliCommand::Verify:
      return "verify";
    case CliCommand::Probe:
      return "probe";
  }
  return "command";
}

ExitStatus RunCommand(CommandContext& context) {
  switch (context.command()) {
    case CliCommand::Read:
      return ReadCommand(context);
    case CliCommand::Write:
      return WriteCommand(context);
    case CliCommand::Erase:
      return WriteOutcomeStatus(RunWriteChip(true), context);
    case CliCommand::Compare:
      return CompareCommand(context);
    case CliCommand::Verify:
      return VerifyCommand(context);
    case CliCommand::Probe:
      return RunProbe(context.window(), context.out());
  }
  return ExitStatus::Failed;
}

}  // namespace

ExitStatus RunCliCommand(const CommandRequest& request, TerminalWindow& window, std::ostream& out) {
  // Every command starts where the dialog starts: a blank buffer.
  Buffer() = BufferState{};
  ResetBuffer(Buffer());
  Buffer().chipSize = request.chipSize;
  const ActiveWindowScope active(&window);
  // A command of several transfers (write --fast reads, then writes) holds
  // the adapter across all of them.
  const AdapterReservation reservation;
  CommandContext context(CommandName(request.command), request, window, out);

  return context.Finish(RunCommand(context));
}

}  // namespace pavok
