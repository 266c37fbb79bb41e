#include "TerminalWindow.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "DeviceChannel.h"
#include "OpenFailureHint.h"
#include "Translation.h"
#include "Transport.h"

namespace pavok {

namespace {

constexpr int kBarWidth = 40;

std::optional<std::string> AskOn(std::istream& in, std::ostream& out, std::string_view question) {
  out << question << " [y/N] " << std::flush;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  return line;
}

std::string Lowered(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
  return lower;
}

}  // namespace

std::optional<std::string> AskOnControllingTerminal(std::string_view question) {
  std::fstream tty("/dev/tty", std::ios::in | std::ios::out);
  if (tty.is_open()) return AskOn(tty, tty, question);
  if (isatty(STDIN_FILENO) != 0) return AskOn(std::cin, std::cerr, question);
  return std::nullopt;
}

bool IsYesAnswer(std::string_view answer) {
  while (!answer.empty() && (answer.back() == ' ' || answer.back() == '\r')) answer.remove_suffix(1);
  while (!answer.empty() && answer.front() == ' ') answer.remove_prefix(1);
  // Cyrillic has no single-byte case, so its spellings are listed.
  constexpr std::array<std::string_view, 7> kYes{"y", "yes", "д", "да", "Д", "Да", "ДА"};
  return std::find(kYes.begin(), kYes.end(), Lowered(answer)) != kYes.end();
}

TerminalWindow::TerminalWindow(TerminalSettings settings, std::ostream& errors, TerminalPrompt prompt)
    : settings_(settings), errors_(errors), prompt_(std::move(prompt)) {}

TerminalWindow::~TerminalWindow() { ClearProgress(); }

void TerminalWindow::SetFilePaths(std::string openPath, std::string savePath) {
  openPath_ = std::move(openPath);
  savePath_ = std::move(savePath);
}

void TerminalWindow::Report(std::string_view line) {
  ClearProgress();
  errors_ << line << '\n';
}

bool TerminalWindow::AskYesNo(std::string_view text) {
  ClearProgress();
  if (settings_.assumeYes) {
    if (settings_.verbose) errors_ << text << ' ' << Tr("yes (--yes)") << '\n';
    return true;
  }
  const std::optional<std::string> answer = prompt_ ? prompt_(text) : std::nullopt;
  if (!answer) {
    errors_ << text << '\n' << Tr("no answer from a terminal: taken as No (--yes answers Yes)") << '\n';
    return false;
  }
  return IsYesAnswer(*answer);
}

void TerminalWindow::ShowMessage(std::string_view text) { Report(text); }

void TerminalWindow::ShowOpenFailure(std::string_view text) {
  Report(text);
  const std::string hint = OpenFailureHint(LastDeviceOpen());
  if (!hint.empty()) Report(hint);
}

void TerminalWindow::SetStatusText(std::string_view text) {
  if (text == status_) return;
  status_ = text;
  if (!settings_.verbose || text.empty()) return;
  ClearProgress();
  errors_ << text << '\n';
}

void TerminalWindow::SetProgressRange(int minimum, int maximum) {
  progressMin_ = minimum;
  progressMax_ = maximum;
}

void TerminalWindow::SetProgressPos(int position) {
  if (!settings_.progressBar) return;
  if (position <= progressMin_) {
    ClearProgress();
    return;
  }
  DrawProgress(position);
}

bool TerminalWindow::IsChecked(ControlId checkBox) {
  return checkBox == IDC_FAST_WRITE && settings_.fastWrite;
}

FileDialogResult TerminalWindow::ShowFileDialog(const FileDialogRequest& request) {
  return {request.kind == FileDialogKind::Open ? openPath_ : savePath_, 0};
}

void TerminalWindow::DrawProgress(int position) {
  const int span = std::max(1, progressMax_ - progressMin_);
  const int done = std::clamp(position - progressMin_, 0, span);
  const int filled = done * kBarWidth / span;
  errors_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
          << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << done << '/' << span
          << std::flush;
  progressShown_ = true;
}

void TerminalWindow::ClearProgress() {
  if (!progressShown_) return;
  // Back to the start of the line and erase it, so the next text starts clean.
  errors_ << "\r\x1b[K" << std::flush;
  progressShown_ = false;
}

}  // namespace pavok
