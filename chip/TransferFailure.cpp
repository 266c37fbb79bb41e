#include "TransferFailure.h"

#include "BufferState.h"
#include "ChipDetection.h"
#include "HexCodec.h"
#include "SystemTexts.h"
#include "Translation.h"

namespace pavok {

namespace {

TransferFailure lastFailure;

constexpr std::string_view kNotAnsweredReason = "the adapter did not answer a request";

struct KindTexts {
  std::string_view what;
  std::string_view left;         // what a failure past the first request leaves
  std::string_view leftAtStart;  // what a failure at the first block or group leaves
};

KindTexts TextsOf(TransferKind kind) {
  switch (kind) {
    case TransferKind::Read:
      return {kReadFailedText, kBufferPartlyReadText, kBufferUnchangedText};
    case TransferKind::Write:
      // The chip may have taken the group whose answer was lost.
      return {kWriteFailedText, kChipPartlyWrittenText, kChipPartlyWrittenText};
    case TransferKind::Erase:
      return {kEraseFailedText, kChipPartlyErasedText, kChipPartlyErasedText};
    case TransferKind::Compare:
      break;
  }
  return {kCompareFailedText, kBufferUnchangedText, kBufferUnchangedText};
}

// The type the chip answers as, where a bank did not acknowledge and the
// chip answers as another type than the one selected.
std::optional<ChipType> AnswersAs(const std::string& reason) {
  if (!IsNoAcknowledge(reason)) return std::nullopt;
  std::string why;
  const std::optional<ChipDetection> detection = DetectChip(why);
  if (!detection || !detection->type || detection->type->size == Buffer().chipSize) return std::nullopt;
  return detection->type;
}

}  // namespace

std::string AdapterFailureText(const Transport& transport) {
  if (const OpenFailure failure = transport.LastOpenFailure(); failure != OpenFailure::None) {
    return std::string(OpenFailureText(failure));
  }
  const std::string known = transport.LastExchangeFailure();
  return known.empty() ? std::string(kNotAnsweredReason) : known;
}

void ReportTransferFailure(WindowOperations* window, TransferKind kind, std::uint16_t address) {
  const Transport& transport = CurrentTransport();
  const bool openFailed = transport.LastOpenFailure() != OpenFailure::None;
  TransferFailure failure{kind, address, openFailed,
                          openFailed ? AdapterFailureText(transport) : transport.LastExchangeFailure(), std::nullopt};
  if (!openFailed) failure.answersAs = AnswersAs(failure.reason);
  lastFailure = failure;
  if (!failure.openFailed) ShowMessage(window, TransferFailureMessage(failure));
}

const TransferFailure& LastTransferFailure() { return lastFailure; }

std::string TransferFailureMessage(const TransferFailure& failure) {
  const KindTexts texts = TextsOf(failure.kind);
  std::string why = Tr(kAdapterSilentText);
  if (IsNoAcknowledge(failure.reason)) {
    why = Tr(kChipSilentText) + failure.reason.substr(kNoAcknowledgeReason.size());
  } else if (!failure.reason.empty()) {
    why = Tr(kRequestFailedText) + " (" + failure.reason + ")";
  }
  std::string message = Tr(texts.what) + Tr(kAtAddressText) + FormatAddress(failure.address) + ": " + why + ". " +
                        Tr(failure.address == 0 ? texts.leftAtStart : texts.left);
  if (failure.answersAs) {
    const std::string label(failure.answersAs->label);
    message += " " + Tr(kAnswersAsText) + label + Tr(kChooseTypeText) + label + ".";
  }
  return message;
}

std::string TransferFailureText(const TransferFailure& failure) {
  if (failure.openFailed) return failure.reason;
  std::string text = "at address " + FormatAddress(failure.address) + ": " +
                     (failure.reason.empty() ? std::string(kNotAnsweredReason) : failure.reason);
  if (failure.answersAs) {
    const std::string label(failure.answersAs->label);
    text += "; the chip answers as a " + label + "; choose --chip " + label;
  }
  return text;
}

}  // namespace pavok
