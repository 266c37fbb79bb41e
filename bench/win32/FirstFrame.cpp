// How long pavok.exe takes from its start to its first painted frame: the
// dialog created, shown and painted, waiting for the person. Starts the
// program on the emulated adapter a few times and prints the median, in
// milliseconds; the start of Wine itself counts when run under Wine.
// Usage: pavok_first_frame PAVOK.EXE [RUNS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include <windows.h>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

// The visible dialog of the process, once it is there.
HWND VisibleDialogOf(DWORD processId) {
  Search search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM state) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(state);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t title[16] = {};
        GetWindowTextW(window, title, 16);
        if (owner != wanted.process || !IsWindowVisible(window) || std::wcscmp(title, L"Pavok") != 0) return TRUE;
        wanted.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds to the first idle moment after the first frame, or -1.
double TimeToFirstFrame(const std::wstring& program) {
  std::wstring command = L"\"" + program + L"\" --emulate";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1;
  }
  // The dialog is shown, its thread has come back to its message loop, and
  // what was left to paint is painted (UpdateWindow waits for that).
  HWND dialog = nullptr;
  for (int wait = 0; wait < 20000 && dialog == nullptr; ++wait) {
    WaitForInputIdle(process.hProcess, 1);
    dialog = VisibleDialogOf(process.dwProcessId);
    if (dialog == nullptr) Sleep(1);
  }
  DWORD_PTR unused = 0;
  const bool idle =
      dialog != nullptr && SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &unused) != 0;
  UpdateWindow(dialog);
  const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return idle ? elapsed : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: pavok_first_frame PAVOK.EXE [RUNS]\n", stderr);
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, static_cast<int>(std::wcstol(argv[2], nullptr, 10))) : 7;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double time = TimeToFirstFrame(argv[1]);
    if (time < 0) {
      std::fputs("pavok_first_frame: the program did not start or show its dialog\n", stderr);
      return 1;
    }
    times.push_back(time);
  }
  std::ranges::sort(times);
  std::printf("pavok.exe start to first painted frame: median %.0f ms, fastest %.0f ms, slowest %.0f ms (%d runs)\n",
              times[times.size() / 2], times.front(), times.back(), runs);
  return 0;
}
