#include "CliCommands.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <vector>

#include "BufferState.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "ImageDifferences.h"
#include "ImageFiles.h"
#include "Transport.h"

namespace pavok {

namespace {

class CommandContext {
 public:
  CommandContext(std::string_view name, const CommandRequest& request, TerminalWindow& window, std::ostream& out)
      : name_(name), request_(request), window_(window), out_(out) {}

  const std::string& file() const { return request_.file; }
  TerminalWindow& window() { return window_; }
  std::ostream& out() { return out_; }

  ExitStatus Fail(std::string_view reason) {
    Note(reason);
    return ExitStatus::Failed;
  }
  void Note(std::string_view text) { window_.Report("pavok-cli: " + std::string(name_) + ": " + std::string(text)); }

 private:
  std::string_view name_;
  const CommandRequest& request_;
  TerminalWindow& window_;
  std::ostream& out_;
};

std::span<const std::uint8_t> ChipPart(const Image& image) {
  return std::span<const std::uint8_t>(image).first(static_cast<std::size_t>(Buffer().chipSize));
}

std::vector<std::uint8_t> CopyOfWorkImage() {
  const auto part = ChipPart(Buffer().workImage);
  return {part.begin(), part.end()};
}

// A file whose length is not the chip's still loads, as in the dialog, but
// the user should know which bytes stand for the missing or extra ones.
void NoteSizeMismatch(CommandContext& context) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(context.file(), ec);
  const auto chipSize = static_cast<std::uintmax_t>(Buffer().chipSize);
  if (ec || size == chipSize) return;
  const std::string sizes = context.file() + " holds " + std::to_string(size) + " bytes, the chip " +
                            std::to_string(chipSize);
  context.Note(size < chipSize ? sizes + "; the bytes beyond the file are taken as FF"
                               : sizes + "; only the first " + std::to_string(chipSize) + " are used");
}

// FILE into both images through the open-file dialog.
bool LoadFile(CommandContext& context) {
  context.window().SetFilePaths(context.file(), "");
  if (RunLoadImageFile() != FileOutcome::Completed) {
    context.Fail("cannot read " + context.file());
    return false;
  }
  NoteSizeMismatch(context);
  return true;
}

// Why the adapter failed the transfer: its open, or an exchange.
std::string DeviceFailure() {
  const OpenFailure failure = CurrentTransport().LastOpenFailure();
  if (failure == OpenFailure::None) return "the adapter did not answer a request";
  return std::string(OpenFailureText(failure));
}

std::string ReadFailure(ReadOutcome outcome) {
  switch (outcome) {
    case ReadOutcome::Completed:
      return {};
    case ReadOutcome::Declined:
      return "declined";
    case ReadOutcome::DumpNotCreated:
      return "cannot create temp.bin in the current directory";
    case ReadOutcome::DeviceFailed:
      return DeviceFailure() + "; the chip was not read completely";
  }
  return "the chip was not read";
}

// The chip into both images; true when every block arrived. `consequence`
// ends the failure's one line.
bool ReadChipInto(CommandContext& context, std::string_view consequence) {
  const ReadOutcome outcome = RunReadChip();
  if (outcome == ReadOutcome::Completed) return true;
  context.Fail(ReadFailure(outcome) + std::string(consequence));
  return false;
}

ExitStatus ReadCommand(CommandContext& context) {
  if (!ReadChipInto(context, "; " + context.file() + " not written")) return ExitStatus::Failed;
  context.window().SetFilePaths("", context.file());
  switch (RunSaveImageFile()) {
    case FileOutcome::Completed:
      return ExitStatus::Success;
    case FileOutcome::WriteFailed:
      return context.Fail(context.file() + " was not written whole");
    default:
      return context.Fail("cannot create " + context.file());
  }
}

ExitStatus WriteOutcomeStatus(WriteOutcome outcome, CommandContext& context) {
  switch (outcome) {
    case WriteOutcome::Completed:
      return ExitStatus::Success;
    case WriteOutcome::Declined:
      return context.Fail("declined; the chip was not changed");
    case WriteOutcome::DeviceFailed:
      return context.Fail(DeviceFailure() + "; the chip may be partly written");
  }
  return ExitStatus::Failed;
}

// Fast write: the chip becomes the reference, so only the groups where FILE
// differs from it are sent.
bool TakeChipAsReference(CommandContext& context) {
  const std::vector<std::uint8_t> fileImage = CopyOfWorkImage();
  if (!ReadChipInto(context, "; the chip was not changed")) return false;
  std::copy(fileImage.begin(), fileImage.end(), Buffer().workImage.begin());
  return true;
}

ExitStatus WriteCommand(CommandContext& context) {
  if (!LoadFile(context)) return ExitStatus::Failed;
  if (context.window().IsChecked(IDC_FAST_WRITE) && !TakeChipAsReference(context)) return ExitStatus::Failed;
  return WriteOutcomeStatus(RunWriteChip(false), context);
}

ExitStatus CompareCommand(CommandContext& context) {
  if (!LoadFile(context)) return ExitStatus::Failed;
  const std::optional<ChecksumComparison> comparison = RunCompareChecksums();
  if (!comparison) return context.Fail(DeviceFailure() + "; the chip was not read completely");
  // The comparison has shown its message, both sums and the verdict.
  return comparison->Equal() ? ExitStatus::Success : ExitStatus::Differ;
}

ExitStatus VerifyCommand(CommandContext& context) {
  if (!LoadFile(context)) return ExitStatus::Failed;
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

}  // namespace

ExitStatus RunCliCommand(const CommandRequest& request, TerminalWindow& window, std::ostream& out) {
  // Every command starts where the dialog starts: a blank buffer.
  Buffer() = BufferState{};
  ResetBuffer(Buffer());
  Buffer().chipSize = request.chipSize;
  const ActiveWindowScope active(&window);
  CommandContext context(CommandName(request.command), request, window, out);

  switch (request.command) {
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
      return RunProbe(window, out);
  }
  return ExitStatus::Failed;
}

}  // namespace pavok
