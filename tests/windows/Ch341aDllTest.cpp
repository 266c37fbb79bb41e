// The CH341A through its maker's DLL, under Wine: the test tree builds a
// stand-in under the DLL's name beside this program, over the USB test
// bed's CH341A stream and chip model. pavok-cli's commands run in-process
// over it, on each chip type, through its faults, and against DLLs and
// devices that cannot serve.

#include <gtest/gtest.h>

#include <filesystem>

#include "Ch341aDll.h"
#include "CliTestSupport.h"
#include "DeviceChannel.h"
#include "FaultPlan.h"
#include "OpenFailureHint.h"
#include "TestEnvironment.h"
// Last: its IDOK and IDCANCEL macros would hide the dialog's own.
#include <windows.h>

namespace pavok::test {
namespace {

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

// The stand-in as the transport loads it, by name from the program's
// directory; the transport's loads share its device and chip.
class StandIn {
 public:
  StandIn() : module_(LoadLibraryW(std::wstring(kCh341aDllName).c_str())) {}
  ~StandIn() { FreeLibrary(module_); }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  void Plug(const std::string& chip, const FaultPlan& faults = {}) {
    using Call = void (*)(const FaultPlan*, const std::uint8_t*, int);
    Find<Call>("StandInPlug")(&faults, reinterpret_cast<const std::uint8_t*>(chip.data()),
                              static_cast<int>(chip.size()));
    size_ = chip.size();
  }
  // The chip's contents; `streamErrors` what the stand-in refused.
  std::string Chip(int& streamErrors) const {
    std::string chip(size_, '\0');
    using Call = int (*)(std::uint8_t*, int);
    streamErrors = Find<Call>("StandInContents")(reinterpret_cast<std::uint8_t*>(chip.data()),
                                                 static_cast<int>(size_));
    return chip;
  }

 private:
  template <typename Call>
  Call Find(const char* name) const {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
  std::size_t size_ = 0;
};

// Every command on every chip type, by name and by auto, each chip
// compared after the command; the stand-in refuses streams a CH341A would
// not take, and page writes that wrap.
TEST(Ch341aDll, EveryCommandOnEveryChipType) {
  StandIn standIn;
  for (const char* adapter : {"ch341a", "auto"}) {
    for (const auto& [type, size] : {std::pair{"C02", 256}, {"C04", 512}, {"C08", 1024}, {"C16", 2048}}) {
      TemporaryDirectory directory;
      const std::string before = PatternBytes(size, 3);
      const std::string after = PatternBytes(size, 5);
      std::string patched = after;
      patched[static_cast<std::size_t>(size) - 1] = '\x42';
      WriteFileBytes(directory / "after.bin", after);
      WriteFileBytes(directory / "patched.bin", patched);
      standIn.Plug(before);
      const struct {
        std::vector<std::string> command;
        std::string chip;
      } steps[] = {{{"read", "saved.bin"}, before},
                   {{"--yes", "write", "after.bin"}, after},
                   {{"--yes", "write", "--fast", "patched.bin"}, patched},
                   {{"verify", "patched.bin"}, patched},
                   {{"--yes", "erase"}, std::string(static_cast<std::size_t>(size), '\xFF')}};
      for (const auto& step : steps) {
        std::vector<std::string> arguments{"--adapter", adapter, "--chip", type};
        arguments.insert(arguments.end(), step.command.begin(), step.command.end());
        const CliRun run = RunCli(arguments);
        int streamErrors = 0;
        EXPECT_EQ(run.status, 0) << adapter << " " << type << " " << step.command[1] << "\n" << run.errors;
        EXPECT_EQ(standIn.Chip(streamErrors), step.chip) << adapter << " " << type << " " << step.command[1];
        EXPECT_EQ(streamErrors, 0) << adapter << " " << type;
      }
      EXPECT_EQ(ReadFileBytes(directory / "saved.bin"), before) << type;
    }
  }
}

// The CH341A's faults end the transfer as over libusb, and files stay.
TEST(Ch341aDll, FaultsFailTheTransferAndLeaveTheFiles) {
  StandIn standIn;
  const std::string notRead = "; the chip was not read completely; saved.bin not written\n";
  const std::string partlyWritten = "; the chip may be partly written\n";
  const std::string notAnswered = "the adapter did not answer a request";
  const struct {
    const char* what;
    FaultPlan faults;
    std::vector<std::string> command;
    std::string reason;  // the end of what the user is told
    bool chipKept;
  } cases[] = {
      {"stall of the transfer out", FaultPlan::FailAt(7), {"read", "saved.bin"}, notAnswered + notRead, true},
      {"short transfer in", FaultPlan::ShortReplyAt(2, 16), {"read", "saved.bin"}, notAnswered + notRead, true},
      {"short transfer out", FaultPlan::ShortReplyAt(3, 32), {"--yes", "write", "new.bin"},
       notAnswered + partlyWritten, false},
      {"write cycle never ends", FaultPlan::EndlessWriteCycleAt(5), {"--yes", "write", "new.bin"},
       "the chip did not end its write cycle within 30 ms" + partlyWritten, false},
      {"removed during a transfer", FaultPlan::UnplugDuringExchangeAt(9), {"read", "saved.bin"},
       notAnswered + notRead, true},
      {"removed between requests", FaultPlan::UnplugAfter(40), {"--yes", "write", "new.bin"},
       notAnswered + partlyWritten, false},
  };
  for (const auto& c : cases) {
    TemporaryDirectory directory;
    const std::string chip = PatternBytes(256, 3);
    WriteFileBytes(directory / "new.bin", PatternBytes(256, 5));
    standIn.Plug(chip, c.faults);
    std::vector<std::string> arguments{"--adapter", "ch341a", "--chip", "C02"};
    arguments.insert(arguments.end(), c.command.begin(), c.command.end());
    const CliRun run = RunCli(arguments);
    int streamErrors = 0;
    EXPECT_EQ(run.status, 2) << c.what;
    EXPECT_TRUE(run.errors.ends_with(c.reason)) << c.what << "\n" << run.errors;
    EXPECT_EQ(standIn.Chip(streamErrors) == chip, c.chipKept) << c.what;
    EXPECT_FALSE(std::filesystem::exists(directory / "saved.bin")) << c.what;
    EXPECT_EQ(ReadFileBytes(directory / "new.bin"), PatternBytes(256, 5)) << c.what;
  }
}

std::wstring BesideThisProgram(const std::wstring& name) {
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
  return (std::filesystem::path(program).parent_path() / name).wstring();
}

// A DLL that cannot serve says what is wrong and what to install; a
// device index with no CH341A is an adapter not found.
TEST(Ch341aDll, DllsAndDevicesThatCannotServe) {
  const struct {
    std::wstring dll;
    std::string problem;
  } dlls[] = {
      {L"NOSUCH.DLL", "The CH341A's NOSUCH.DLL was not found: "},
      {L"kernel32.dll", "The CH341A's kernel32.dll has no function CH341OpenDevice: "},
      {BesideThisProgram(L"wrong-bitness\\CH341DLLA64.DLL"), "-bit DLL: "},
  };
  for (const auto& d : dlls) {
    const auto transport = MakeCh341aDllTransport(0, {}, d.dll);
    const OpenResult open = transport->Open();
    EXPECT_EQ(open.failure, OpenFailure::DriverMissing) << d.problem;
    EXPECT_TRUE(Contains(OpenFailureHint(open), d.problem)) << OpenFailureHint(open);
    EXPECT_TRUE(Contains(OpenFailureHint(open), "install the CH341 parallel/I2C driver")) << OpenFailureHint(open);
  }

  StandIn standIn;
  standIn.Plug(PatternBytes(256));
  TemporaryDirectory directory;
  const CliRun run = RunCli({"--adapter", "ch341a", "--ch341-index", "2", "read", "saved.bin"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Contains(run.errors, std::string(kOpenFailedMessage) + "\npavok-cli: read: adapter not found"))
      << run.errors;
  EXPECT_FALSE(std::filesystem::exists(directory / "saved.bin"));
  const CliRun probe = RunCli({"probe"});
  EXPECT_TRUE(probe.out.starts_with("adapter: CH341A number 0 through CH341DLLA64.DLL\n")) << probe.out;
}

}  // namespace
}  // namespace pavok::test
