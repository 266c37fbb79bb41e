// The CH341A through its maker's DLL, under Wine, on the stand-in the test
// tree builds under the DLL's name beside this program: pavok-cli's
// commands in-process on each chip type, through the CH341A's faults, and
// against DLLs and devices that cannot serve.

#include <gtest/gtest.h>

#include <process.h>

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

// The stand-in as the transport loads it, by name: both share its chip.
class StandIn {
 public:
  StandIn() : module_(LoadLibraryW(std::wstring(kCh341aDllName).c_str())) {}
  ~StandIn() { FreeLibrary(module_); }

  void Plug(const std::string& chip, const FaultPlan& faults = {}) {
    Find<void (*)(const FaultPlan*, const char*, int)>("StandInPlug")(&faults, chip.data(), int(chip.size()));
    size_ = chip.size();
  }
  // The chip, or "stream errors" where the stand-in refused some.
  std::string Chip() const {
    std::string chip(size_, '\0');
    return Find<int (*)(char*, int)>("StandInContents")(chip.data(), int(size_)) == 0 ? chip : "stream errors";
  }

 private:
  template <typename Call>
  Call Find(const char* name) const {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_;
  std::size_t size_ = 0;
};

CliRun RunOnCh341a(const char* adapter, const char* chip, std::vector<std::string> command) {
  command.insert(command.begin(), {"--adapter", adapter, "--chip", chip});
  return RunCli(command);
}

TEST(Ch341aDll, EveryCommandOnEveryChipType) {
  StandIn standIn;
  for (const char* adapter : {"ch341a", "auto"}) {
    for (const auto& [type, size] : {std::pair{"C02", 256}, {"C04", 512}, {"C08", 1024}, {"C16", 2048}}) {
      TemporaryDirectory directory;
      const std::string before = PatternBytes(size, 3);
      std::string after = PatternBytes(size, 5);
      WriteFileBytes(directory / "after.bin", after);
      after.back() = '\x42';
      WriteFileBytes(directory / "patched.bin", after);
      standIn.Plug(before);
      const std::pair<std::vector<std::string>, std::string> steps[] = {
          {{"read", "saved.bin"}, before},
          {{"--yes", "write", "after.bin"}, PatternBytes(size, 5)},
          {{"--yes", "write", "--fast", "patched.bin"}, after},
          {{"verify", "patched.bin"}, after},
          {{"--yes", "erase"}, std::string(static_cast<std::size_t>(size), '\xFF')}};
      for (const auto& [command, chip] : steps) {
        const CliRun run = RunOnCh341a(adapter, type, command);
        EXPECT_EQ(run.status, 0) << adapter << " " << type << " " << command[1] << "\n" << run.errors;
        EXPECT_EQ(standIn.Chip(), chip) << adapter << " " << type << " " << command[1];
      }
      EXPECT_EQ(ReadFileBytes(directory / "saved.bin"), before) << type;
    }
  }
}

TEST(Ch341aDll, FaultsFailTheTransferAndLeaveTheFiles) {
  StandIn standIn;
  const std::string notRead = "the adapter did not answer a request; the chip was not read completely; "
                              "saved.bin not written\n";
  const std::string partlyWritten = "; the chip may be partly written\n";
  const struct {
    FaultPlan faults;
    std::vector<std::string> command;
    std::string reason;  // the end of what the user is told
  } cases[] = {
      {FaultPlan::FailAt(7), {"read", "saved.bin"}, notRead},
      {FaultPlan::ShortReplyAt(2, 16), {"read", "saved.bin"}, notRead},
      {FaultPlan::EndlessWriteCycleAt(5), {"--yes", "write", "new.bin"},
       "the chip did not end its write cycle within 30 ms" + partlyWritten},
      {FaultPlan::UnplugAfter(40), {"--yes", "write", "new.bin"},
       "the adapter did not answer a request" + partlyWritten},
  };
  for (const auto& c : cases) {
    TemporaryDirectory directory;
    WriteFileBytes(directory / "new.bin", PatternBytes(256, 5));
    standIn.Plug(PatternBytes(256, 3), c.faults);
    const CliRun run = RunOnCh341a("ch341a", "C02", c.command);
    EXPECT_EQ(run.status, 2) << c.reason;
    EXPECT_TRUE(run.errors.ends_with(c.reason)) << run.errors;
    EXPECT_EQ(standIn.Chip() == PatternBytes(256, 3), c.command[0] == "read") << c.reason;
    EXPECT_FALSE(std::filesystem::exists(directory / "saved.bin")) << c.reason;
    EXPECT_EQ(ReadFileBytes(directory / "new.bin"), PatternBytes(256, 5)) << c.reason;
  }
}

std::wstring BesideThisProgram(const char* name) {
  std::wstring program(MAX_PATH, L'\0');
  program.resize(GetModuleFileNameW(nullptr, program.data(), MAX_PATH));
  return std::filesystem::path(program).parent_path() / name;
}

TEST(Ch341aDll, PavokCliFindsItInItsDirectory) {
  TemporaryDirectory directory;  // not the one this program and the stand-in are in
  SetEnvironmentVariableW(L"PAVOK_STAND_IN_CHIP_SIZE", L"256");
  const std::wstring cli = BesideThisProgram("app\\pavok-cli.exe");
  EXPECT_EQ(_wspawnl(_P_WAIT, cli.c_str(), L"pavok-cli", L"--adapter", L"ch341a", L"probe", nullptr), 0);
}

TEST(Ch341aDll, DllsAndDevicesThatCannotServe) {
  const std::wstring wrongBitness = BesideThisProgram("wrong-bitness\\CH341DLLA64.DLL");
  for (const auto& [dll, problem] : {std::pair<std::wstring, std::string>{L"NOSUCH.DLL", "NOSUCH.DLL was not found"},
                                     {L"kernel32.dll", "kernel32.dll has no function CH341OpenDevice"},
                                     {wrongBitness, "CH341DLLA64.DLL is not a 64-bit DLL"}}) {
    const OpenResult open = MakeCh341aDllTransport(0, {}, dll)->Open();
    EXPECT_EQ(open.failure, OpenFailure::DriverMissing) << problem;
    EXPECT_TRUE(Contains(OpenFailureHint(open), problem + ": install the CH341 parallel/I2C driver"))
        << OpenFailureHint(open);
  }

  StandIn standIn;
  standIn.Plug(PatternBytes(256));
  TemporaryDirectory directory;
  const CliRun run = RunCli({"--adapter", "ch341a", "--ch341-index", "2", "read", "saved.bin"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Contains(run.errors, std::string(kOpenFailedMessage) + "\npavok-cli: read: adapter not found"));
  EXPECT_FALSE(std::filesystem::exists(directory / "saved.bin"));
  // auto looks for the CH341A first on Windows.
  EXPECT_TRUE(RunCli({"probe"}).out.starts_with("adapter: CH341A number 0 through CH341DLLA64.DLL\n"));
}

}  // namespace
}  // namespace pavok::test
