#pragma once
// What every benchmark needs: a window that does nothing (answers Yes, and
// every file dialog with `filePath`),
// an emulated C16 adapter that keeps no record of its requests, and a
// scratch working directory for "temp.bin".

#include <filesystem>
#include <string>

#include "BufferState.h"
#include "EmulatedAdapter.h"
#include "WindowOperations.h"

namespace pavok::bench {

class SilentWindow final : public WindowOperations {
 public:
  bool fastWrite = false;
  std::string filePath;  // empty: every file dialog is cancelled

  bool AskYesNo(std::string_view) override { return true; }
  void ShowMessage(std::string_view) override {}
  void SetStatusText(std::string_view) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPos(int) override {}
  bool IsChecked(ControlId checkBox) override { return checkBox == IDC_FAST_WRITE && fastWrite; }
  FileDialogResult ShowFileDialog(const FileDialogRequest&) override { return {filePath, 0}; }
};

class BenchEnvironment {
 public:
  BenchEnvironment();
  ~BenchEnvironment();
  BenchEnvironment(const BenchEnvironment&) = delete;
  BenchEnvironment& operator=(const BenchEnvironment&) = delete;

  SilentWindow window;
  EmulatedAdapter adapter{EepromModel(2048)};

 private:
  std::filesystem::path previousDirectory_;
  std::filesystem::path directory_;
  ActiveWindowScope windowScope_{&window};
  TransportScope transportScope_{adapter};
};

}  // namespace pavok::bench
