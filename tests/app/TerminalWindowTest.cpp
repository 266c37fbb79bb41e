#include <gtest/gtest.h>

#include <sstream>

#include "DeviceChannel.h"
#include "OpenFailureHint.h"
#include "TerminalWindow.h"

namespace pavok::test {
namespace {

TerminalPrompt Answering(std::optional<std::string> answer) {
  return [answer](std::string_view) { return answer; };
}

TEST(TerminalWindow, QuestionsAreAnsweredByYesOptionOrTerminal) {
  struct Case {
    bool assumeYes;
    std::optional<std::string> typed;  // nothing: no terminal
    bool expected;
  };
  for (const Case& c : {
           Case{true, std::nullopt, true},
           Case{true, "n", true},
           Case{false, std::nullopt, false},
           Case{false, "y", true},
           Case{false, "YES\r", true},
           Case{false, " да ", true},
           Case{false, "Д", true},
           Case{false, "", false},
           Case{false, "n", false},
           Case{false, "yess", false},
       }) {
    std::ostringstream errors;
    TerminalSettings settings;
    settings.assumeYes = c.assumeYes;
    TerminalWindow window(settings, errors, Answering(c.typed));
    EXPECT_EQ(window.AskYesNo("Очистить м/сх ?"), c.expected) << c.typed.value_or("<no terminal>");
  }
}

TEST(TerminalWindow, WithoutTerminalTheQuestionAndTheNoAreShown) {
  std::ostringstream errors;
  TerminalWindow window({}, errors, Answering(std::nullopt));
  EXPECT_FALSE(window.AskYesNo("Записать буфер в м/сх ?"));
  EXPECT_NE(errors.str().find("Записать буфер в м/сх ?"), std::string::npos);
  EXPECT_NE(errors.str().find("--yes"), std::string::npos);
}

TEST(TerminalWindow, ProgressBarOnlyWhenAskedAndClearedBeforeMessages) {
  for (const bool bar : {false, true}) {
    std::ostringstream errors;
    TerminalSettings settings;
    settings.progressBar = bar;
    TerminalWindow window(settings, errors);
    window.SetProgressRange(0, 64);
    window.SetProgressPos(32);
    window.ShowMessage("Невозможно открыть файл");
    const std::string text = errors.str();
    if (!bar) {
      EXPECT_EQ(text, "Невозможно открыть файл\n");
      continue;
    }
    EXPECT_NE(text.find("[" + std::string(20, '#') + std::string(20, '.') + "] 32/64"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\x1b[KНевозможно открыть файл\n"), std::string::npos) << text;
  }
}

TEST(TerminalWindow, StatusTextsOnlyWhenVerboseAndOnlyWhenChanged) {
  for (const bool verbose : {false, true}) {
    std::ostringstream errors;
    TerminalSettings settings;
    settings.verbose = verbose;
    TerminalWindow window(settings, errors);
    window.SetStatusText("Порт открыт");
    window.SetStatusText("Порт открыт");
    window.SetStatusText("Порт закрыт");
    EXPECT_EQ(errors.str(), verbose ? "Порт открыт\nПорт закрыт\n" : "");
  }
}

TEST(TerminalWindow, FileDialogsAndFastWriteComeFromTheCommandLine) {
  std::ostringstream errors;
  TerminalSettings settings;
  settings.fastWrite = true;
  TerminalWindow window(settings, errors);
  window.SetFilePaths("in.bin", "out.bin");
  FileDialogRequest request;
  request.kind = FileDialogKind::Open;
  EXPECT_EQ(window.ShowFileDialog(request).path, "in.bin");
  request.kind = FileDialogKind::Save;
  request.defaultExtension = "bin";
  EXPECT_EQ(window.ShowFileDialog(request).path, "out.bin");
  EXPECT_TRUE(window.IsChecked(IDC_FAST_WRITE));
  EXPECT_FALSE(window.IsChecked(IDC_A0));
}

class DeniedTransport final : public Transport {
 public:
  explicit DeniedTransport(OpenFailure failure) : failure_(failure) {}
  OpenResult Open() override { return failure_; }
  ExchangeResult Exchange(std::span<const std::uint8_t, 5>, std::span<std::uint8_t>) override { return {}; }
  void Close() override {}
  OpenFailure LastOpenFailure() const override { return failure_; }
  std::string Describe() const override { return "denied"; }

 private:
  OpenFailure failure_;
};

TEST(TerminalWindow, AccessDeniedAddsTheUdevRuleAfterTheOpenMessage) {
  for (const OpenFailure failure : {OpenFailure::AccessDenied, OpenFailure::NotFound}) {
    DeniedTransport transport(failure);
    TransportScope scope(transport);
    std::ostringstream errors;
    TerminalWindow window({}, errors);
    ActiveWindowScope active(&window);
    EXPECT_FALSE(SendDeviceRequest(REQ_READ_BLOCK, 0, 0xA0, replyBuffer, 32));
    const std::string text = errors.str();
    ASSERT_TRUE(text.starts_with(std::string(kOpenFailedMessage) + "\n")) << text;
    EXPECT_EQ(text.find(kUdevRulePath) != std::string::npos, failure == OpenFailure::AccessDenied) << text;
  }
}

}  // namespace
}  // namespace pavok::test
