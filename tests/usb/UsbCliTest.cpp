// pavok-cli without --emulate, on emulated USB devices: as a process of its
// own, which finds the testbed through the environment it inherits.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "ChipType.h"
#include "CliProcess.h"
#include "CliTestSupport.h"
#include "FilePermissions.h"
#include "LibusbTransport.h"
#include "OpenFailureHint.h"
#include "DeviceChannel.h"
#include "UsbTestbed.h"
#include "ChipType.h"

namespace pavok::test {
namespace {

constexpr UsbDeviceIds kAdapterIds{kAdapterVendorId, kAdapterProductId};

bool Contains(const std::string& text, std::string_view part) { return text.find(part) != std::string::npos; }

EepromModel ChipHolding(const std::string& bytes) {
  EepromModel chip(static_cast<int>(bytes.size()));
  chip.Load(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return chip;
}

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

class UsbCli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(CliProgramPath(), nullptr) << "PAVOK_CLI names no program"; }

  TemporaryDirectory directory;
};

TEST_F(UsbCli, ReadFastWriteAndVerifyThroughTheUsbStack) {
  UsbTestbed testbed;
  const std::string chip = PatternBytes(2048);
  std::string patched = chip;
  patched[0x123] = '\x00';
  patched[0x7FF] = '\x11';
  WriteFileBytes(directory / "patched.bin", patched);
  const EmulatedUsbAdapter& adapter = testbed.PlugAdapter(kAdapterIds, ChipHolding(chip));

  // One session, in the order a person goes; each step's chip is the last's.
  struct Step {
    std::vector<std::string> arguments;
    int status;
    std::string chipAfter;
    std::size_t requests;  // setup packets the step sent
    std::string out;       // part of the standard output
  };
  const Step steps[] = {
      {{"read", "backup.bin"}, 0, chip, 64, ""},
      {{"--yes", "write", "--fast", "patched.bin"}, 0, patched, 64 + 2 * 2, ""},
      {{"verify", "patched.bin"}, 0, patched, 64, "The chip matches patched.bin"},
      {{"verify", "backup.bin"}, 1, patched, 64, "2 of 2048 bytes differ"},
  };
  std::size_t sent = 0;
  for (const Step& step : steps) {
    const Spawned run = Spawn(step.arguments, directory);
    EXPECT_EQ(run.status, step.status) << step.arguments.back() << "\n" << run.errors;
    EXPECT_TRUE(Contains(run.out, step.out)) << run.out;
    EXPECT_EQ(Text(adapter.chipContents()), step.chipAfter) << step.arguments.back();
    sent += step.requests;
    EXPECT_EQ(adapter.setupPackets().size(), sent) << step.arguments.back();
  }
  EXPECT_EQ(ReadFileBytes(directory / "backup.bin"), chip);
  EXPECT_EQ(ReadFileBytes(directory / "temp.bin"), patched) << "the dump of the last complete read";
}

TEST_F(UsbCli, UsbIdChoosesTheDeviceAndOtherDevicesAreLeftAlone) {
  UsbTestbed testbed;
  const EmulatedUsbAdapter& other = testbed.PlugAdapter({0x046D, 0xC52B}, EepromModel(256));
  const EmulatedUsbAdapter& adapter = testbed.PlugAdapter(kAdapterIds, ChipHolding(PatternBytes(2048, 3)));
  const EmulatedUsbAdapter& second = testbed.PlugAdapter({0x16C0, 0x05DC}, ChipHolding(PatternBytes(2048, 5)));
  struct Case {
    std::vector<std::string> arguments;
    std::string saved;
    int adapterOpens;  // of the default adapter, and of the one with other ids
    int secondOpens;
  };
  for (const Case& c : {Case{{"read", "out.bin"}, PatternBytes(2048, 3), 64, 0},
                        Case{{"--usb-id", "16c0:05dc", "read", "out.bin"}, PatternBytes(2048, 5), 64, 64}}) {
    const Spawned run = Spawn(c.arguments, directory);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFileBytes(directory / "out.bin"), c.saved) << c.arguments.front();
    EXPECT_EQ(adapter.opens(), c.adapterOpens) << c.arguments.front();
    EXPECT_EQ(second.opens(), c.secondOpens) << c.arguments.front();
  }
  EXPECT_EQ(other.opens(), 0);
  EXPECT_TRUE(other.setupPackets().empty());
}

TEST_F(UsbCli, ProbeNamesTheAdapterItsBusAndDevice) {
  UsbTestbed testbed;
  testbed.PlugAdapter({0x046D, 0xC52B}, EepromModel(256));
  const EmulatedUsbAdapter& adapter = testbed.PlugAdapter(kAdapterIds, ChipHolding(PatternBytes(256)));
  const Spawned run = Spawn({"probe"}, directory);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.out,
            "adapter: USB adapter 03EB:21FF on bus 100, device 3\nchip: answered a read of its first block\n");
  EXPECT_EQ(adapter.setupPackets(), (std::vector<SetupPacket>{{0xC0, 0x24, 0x0000, 0x00A0, 32}}));
  EXPECT_EQ(Text(adapter.chipContents()), PatternBytes(256));
}

// Without --adapter the first plugged in of the adapter and the CH341A is
// used, the adapter when both are; probe names it, and so does --verbose on
// the error stream.
TEST_F(UsbCli, AutoTakesTheAdapterThatIsPluggedIn) {
  struct Case {
    const char* what;
    bool adapter;  // plugged in first
    bool ch341a;
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string errors;     // the end of the error stream
    unsigned i2cClock = 0;  // what the CH341A's clock was set to
    int socketSize = 2048;  // the CH341A's chip
  };
  const std::string answered = "chip: answered a read of its first block\n";
  const Case cases[] = {
      {"adapter only", true, false, {"probe"}, 0, "adapter: USB adapter 03EB:21FF on bus 100, device 2\n" + answered,
       ""},
      {"CH341A only", false, true, {"probe"}, 0,
       "adapter: CH341A 1A86:5512 on bus 100, device 2\n" + answered +
           "select bytes acknowledged: A0 A2 A4 A6 A8 AA AC AE\nchip type: C16 (its A0-A2 pins tied low)\n",
       "", 100},
      {"both", true, true, {"probe"}, 0, "adapter: USB adapter 03EB:21FF on bus 100, device 2\n" + answered, ""},
      {"both, the CH341A chosen", true, true, {"--adapter", "ch341a", "--i2c-speed", "400", "-v", "read", "out.bin"},
       0, "", "Порт открыт\nadapter: CH341A 1A86:5512 on bus 100, device 3\nПорт закрыт\nout.bin\n", 400},
      {"the CH341A chosen, the adapter plugged in", true, false, {"--adapter", "ch341a", "probe"}, 2, "",
       "pavok-cli: probe: adapter not found (CH341A 1A86:5512)\n"},
      // The CH341A's own reason comes through, and its trace tells a chip
      // that did not answer from a transfer that failed.
      {"CH341A only, C02 in the socket, C16 selected", false, true, {"--trace", "read", "out.bin"}, 2, "",
       "request 24 00 00 AE 00  offered 32  returned 0  short reply\nОшибка чтения микросхемы по адресу 0100: "
       "микросхема не отвечает на байт выбора A2. Буфер прочитан частично. Микросхема отвечает как C02, выберите "
       "тип C02.\npavok-cli: read: at address 0100: no chip acknowledged the select byte A2; the chip answers as a "
       "C02; choose --chip C02; the chip was not read completely; out.bin not written\n",
       100, 256},
  };
  for (const Case& c : cases) {
    UsbTestbed testbed;
    if (c.adapter) testbed.PlugAdapter(kAdapterIds, ChipHolding(PatternBytes(2048)));
    const EmulatedCh341a* ch341a =
        c.ch341a ? &testbed.PlugCh341a(ChipHolding(PatternBytes(static_cast<std::size_t>(c.socketSize)))) : nullptr;
    std::filesystem::remove(directory / "out.bin");
    const Spawned run = Spawn(c.arguments, directory);
    EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.errors;
    EXPECT_EQ(run.out, c.out) << c.what;
    EXPECT_TRUE(run.errors.ends_with(c.errors)) << c.what << "\n" << run.errors;
    if (c.arguments.back() == "out.bin" && c.status == 0) {
      EXPECT_EQ(ReadFileBytes(directory / "out.bin"), PatternBytes(2048)) << c.what;
    }
    if (ch341a != nullptr) {
      EXPECT_EQ(ch341a->urbs().empty() ? 0 : ch341a->i2cClockKhz(), c.i2cClock) << c.what;
    }
  }
}

// The CH341A tells which banks acknowledge, so probe names the type and
// --chip auto takes it; the other adapter answers for any bank and cannot.
TEST_F(UsbCli, ProbeAndChipAutoTellTheChipTypeOnTheCh341a) {
  const std::string banks[] = {"A0", "A0 A2", "A0 A2 A4 A6", "A0 A2 A4 A6 A8 AA AC AE"};
  for (std::size_t i = 0; i < kChipTypes.size(); ++i) {
    const std::string label(kChipTypes[i].label);
    const std::string chip = PatternBytes(static_cast<std::size_t>(kChipTypes[i].size));
    UsbTestbed testbed;
    testbed.PlugCh341a(ChipHolding(chip));
    const Spawned probe = Spawn({"probe"}, directory);
    EXPECT_EQ(probe.status, 0) << label << probe.errors;
    EXPECT_TRUE(probe.out.ends_with("select bytes acknowledged: " + banks[i] + "\nchip type: " + label +
                                    " (its A0-A2 pins tied low)\n"))
        << probe.out;
    const Spawned read = Spawn({"--chip", "auto", "read", "out.bin"}, directory);
    EXPECT_EQ(read.status, 0) << label << read.errors;
    EXPECT_EQ(ReadFileBytes(directory / "out.bin"), chip) << label;
  }
  UsbTestbed testbed;
  testbed.PlugAdapter(kAdapterIds, EepromModel(256));
  const Spawned refused = Spawn({"--chip", "auto", "erase", "--yes"}, directory);
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(Contains(refused.errors, "cannot tell which select bytes a chip acknowledges; only the CH341A can"))
      << refused.errors;
}

TEST_F(UsbCli, ProbeSaysWhyTheAdapterCouldNotBeOpened) {
  struct Case {
    const char* what;
    std::optional<FaultPlan> faults;  // nothing: no adapter on the bus
    std::string reason;
  };
  const Case cases[] = {
      {"no adapter", std::nullopt,
       "pavok-cli: probe: adapter not found (USB adapter 03EB:21FF or CH341A 1A86:5512)\n"},
      {"node gone", FaultPlan::Absent(),
       "pavok-cli: probe: adapter not found (USB adapter 03EB:21FF or CH341A 1A86:5512)\n"},
      {"chip silent", FaultPlan::EmptyReplyAt(0),
       "pavok-cli: probe: the adapter opened, but no chip answered a read of its first block\n"},
      {"stall", FaultPlan::FailAt(0),
       "pavok-cli: probe: the adapter opened, but no chip answered a read of its first block\n"},
  };
  for (const Case& c : cases) {
    UsbTestbed testbed;
    if (c.faults) testbed.PlugAdapter(kAdapterIds, EepromModel(2048), *c.faults);
    const Spawned run = Spawn({"probe"}, directory);
    EXPECT_EQ(run.status, 2) << c.what;
    EXPECT_TRUE(run.errors.ends_with(c.reason)) << c.what << "\n" << run.errors;
  }
}

// The CH341A writes a chip page by page: changes either side of a page
// boundary (8 bytes on a C02, 16 on the others) are two page writes, a
// change of the last byte one; the bed counts a write that ran past its
// page, which the chip wraps, as an error. Each command claims the CH341A
// once. A program killed between a transfer out and its transfer in leaves
// the answer in the CH341A; the next program drains it and reads right.
TEST_F(UsbCli, Ch341aWritesPagesClaimsOncePerCommandAndDrainsWhatAKilledProgramLeft) {
  struct Case {
    const char* type;
    std::vector<std::size_t> changed;  // offsets that differ in FILE
    int pageWrites;
    std::optional<int> killedAt;       // the transfer in with an answer the program never gets
  };
  const Case cases[] = {
      {"C02", {7, 8}, 2, {}},        {"C04", {0x1FF, 0x100}, 2, {}}, {"C08", {0x2EF, 0x2F0}, 2, {}},
      {"C16", {0x7EF, 0x7F0}, 2, {}}, {"C16", {0x7FF}, 1, {}},        {"C16", {}, 0, 1},
  };
  for (const Case& c : cases) {
    const int size = FindChipType(c.type)->size;
    const std::string chip = PatternBytes(static_cast<std::size_t>(size));
    std::string file = chip;
    for (const std::size_t offset : c.changed) file[offset] = static_cast<char>(~file[offset]);
    WriteFileBytes(directory / "file.bin", file);
    UsbTestbed testbed;
    FaultPlan faults;
    faults.unansweredAt = c.killedAt;
    EmulatedCh341a& ch341a = testbed.PlugCh341a(ChipHolding(chip), faults);
    const std::vector<std::string> read{"--adapter", "ch341a", "--chip", c.type, "read", "out.bin"};
    if (c.killedAt) {
      const pid_t killed = Start(read, directory);
      for (int ms = 0; ms < 5000 && !ch341a.leftUnanswered(); ++ms) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      EXPECT_TRUE(ch341a.leftUnanswered()) << "the program never came to the transfer in";
      kill(killed, SIGKILL);
      Finish(killed, directory);
    }
    const Spawned run = Spawn(c.killedAt ? read : std::vector<std::string>{"--adapter", "ch341a", "--chip", c.type,
                                                                              "--yes", "write", "--fast", "file.bin"},
                              directory);
    EXPECT_EQ(run.status, 0) << c.type << "\n" << run.errors;
    EXPECT_EQ(ch341a.chipWrites(), c.pageWrites) << c.type;
    EXPECT_EQ(Text(ch341a.chipContents()), file) << c.type;
    EXPECT_EQ(ch341a.streamErrors(), 0) << c.type;
    EXPECT_EQ(ch341a.claimsMade(), c.killedAt ? 2 : 1) << c.type;
    EXPECT_EQ(ReadFileBytes(directory / "out.bin"), c.killedAt ? chip : "") << c.type;
  }
}

// A spawned program as root would open a node closed to its user, so this
// one runs the program's code in this thread with root's overrides lowered.
TEST_F(UsbCli, AccessDeniedNamesTheUdevRule) {
  UsbTestbed testbed;
  testbed.PlugAdapter(kAdapterIds, EepromModel(2048), FaultPlan::AccessDenied());
  const FilePermissionsEnforced permissions;
  ASSERT_TRUE(permissions.enforced());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"probe"}, std::vector<std::string>{"read", "out.bin"}}) {
    const CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, 2) << arguments.front();
    EXPECT_TRUE(Contains(run.errors, std::string(kOpenFailedMessage) + "\n" +
                                         OpenFailureHint(OpenFailure::AccessDenied)))
        << run.errors;
    EXPECT_TRUE(Contains(run.errors, kUdevRulePath)) << run.errors;
  }
}

}  // namespace
}  // namespace pavok::test
