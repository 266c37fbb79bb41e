// The real USB path (the transports, the libusb backend, libusb, usbfs) on
// emulated USB devices, held against the --emulate path: every command and
// chip type, over the adapter and over the CH341A, and every fault on the
// adapter must leave the same chip, buffer, files and messages on both, and
// over the adapter the same requests. (The CH341A's sweep of every fault at
// every transfer is in Ch341aFaultSweepTest.cpp.)

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "BufferState.h"
#include "Ch341aTransport.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipType.h"
#include "ChipWrite.h"
#include "CliCommands.h"
#include "CliTestSupport.h"
#include "DeviceChannel.h"
#include "FilePermissions.h"
#include "LibusbTransport.h"
#include "OpenFailureHint.h"
#include "SystemTexts.h"
#include "TransferFailure.h"
#include "TransportOptions.h"
#include "TestEnvironment.h"
#include "UsbTestbed.h"

namespace pavok::test {
namespace {

constexpr UsbDeviceIds kAdapterIds{kAdapterVendorId, kAdapterProductId};
constexpr UsbDeviceIds kOtherDeviceIds{0x046D, 0xC52B};

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::size_t Occurrences(const std::string& text, std::string_view part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The two kinds of device the programs drive, by the name --adapter takes.
enum class Adapter { Avr309, Ch341a };
constexpr std::array<Adapter, 2> kAdapters{Adapter::Avr309, Adapter::Ch341a};
std::string NameOf(Adapter adapter) { return adapter == Adapter::Avr309 ? "avr309" : "ch341a"; }

struct Scenario {
  std::string what;
  int chipSize = 2048;
  CliCommand command = CliCommand::Read;
  bool fast = false;
  FaultPlan faults{};
  bool adapterOnBus = true;
  Adapter adapter = Adapter::Avr309;
  int socketSize = 0;  // the chip's own size where it is not the selected type's
  bool readAgain = false;  // read the chip once more after the command, on the same bus

  int chipInSocket() const { return socketSize != 0 ? socketSize : chipSize; }
  std::string chip() const { return PatternBytes(static_cast<std::size_t>(chipInSocket())); }
  // FILE of the command: for compare the chip itself, otherwise the chip
  // with every 253rd byte and the last one changed, so a fast write has
  // groups to send in every bank and groups to skip.
  std::string file() const {
    std::string bytes = chip();
    for (std::size_t offset = 0; offset < bytes.size(); offset += 253) bytes[offset] = '\x5A';
    bytes.back() = '\xA5';
    return command == CliCommand::Compare ? chip() : bytes;
  }
};

// What one command left behind on one path.
struct Outcome {
  ExitStatus status = ExitStatus::Failed;
  std::string out;
  std::string errors;
  std::string savedFile;  // what a read saved
  std::vector<std::uint8_t> buffer;
  std::vector<std::uint8_t> chip;
  std::vector<SetupPacket> packets;  // over the adapter: what went over the bus
  int chipWrites = 0;                 // the writes the chip took
  ExitStatus readAgainStatus = ExitStatus::Failed;
  std::string readAgainSaved;  // what the read after the command saved
};

// The command as pavok-cli runs it, on the current transport, in a scratch
// directory, every question answered Yes.
Outcome RunCommand(const Scenario& s) {
  const TemporaryDirectory directory;
  WriteFileBytes(directory / "image.bin", s.file());
  std::ostringstream out;
  std::ostringstream errors;
  TerminalWindow window({.assumeYes = true, .fastWrite = s.fast}, errors);
  const std::string file = s.command == CliCommand::Read ? "saved.bin" : "image.bin";
  Outcome outcome;
  outcome.status = RunCliCommand({s.command, file, s.chipSize}, window, out);
  outcome.out = out.str();
  outcome.errors = errors.str();
  outcome.savedFile = ReadFileBytes(directory / "saved.bin");
  const auto begin = Buffer().workImage.begin();
  outcome.buffer.assign(begin, begin + s.chipSize);
  return outcome;
}

Outcome OnEmulatedAdapter(const Scenario& s) {
  EmulatedAdapter adapter{EepromModel(s.chipInSocket())};
  adapter.chip().Load(Bytes(s.chip()));
  adapter.SetFaultPlan(s.adapterOnBus ? s.faults : FaultPlan::Absent());
  const TransportScope scope(adapter);
  Outcome outcome = RunCommand(s);
  const auto contents = adapter.chip().contents();
  outcome.chip.assign(contents.begin(), contents.end());
  outcome.packets = SetupPacketsFor(adapter.requests());
  outcome.chipWrites = adapter.writes();
  return outcome;
}

// The command through the transport --adapter chooses, as pavok-cli makes it.
Outcome RunOverUsb(const Scenario& s) {
  // As root the node closed to its user would open all the same.
  const FilePermissionsEnforced permissions;
  EXPECT_TRUE(permissions.enforced()) << "cannot lower this thread's capabilities";
  TransportOptions options;
  options.adapter = NameOf(s.adapter);
  std::string error;
  const std::unique_ptr<Transport> transport = MakeTransport(options, error);
  EXPECT_TRUE(transport) << error;
  if (!transport) return {};
  const TransportScope scope(*transport);
  return RunCommand(s);
}

Outcome OverUsb(const Scenario& s) {
  UsbTestbed testbed;
  const EmulatedUsbAdapter& other = testbed.PlugAdapter(kOtherDeviceIds, EepromModel(256));
  EepromModel chip(s.chipInSocket());
  chip.Load(Bytes(s.chip()));
  Outcome outcome;
  if (!s.adapterOnBus) {
    outcome = RunOverUsb(s);
    outcome.chip = Bytes(s.chip());
  } else if (s.adapter == Adapter::Avr309) {
    const EmulatedUsbAdapter& adapter = testbed.PlugAdapter(kAdapterIds, chip, s.faults);
    outcome = RunOverUsb(s);
    outcome.chip = adapter.chipContents();
    outcome.packets = adapter.setupPackets();
  } else {
    EmulatedCh341a& ch341a = testbed.PlugCh341a(chip, s.faults);
    outcome = RunOverUsb(s);
    if (s.readAgain) {
      ch341a.LetTimePass(std::chrono::seconds(1));
      Scenario read = s;
      read.command = CliCommand::Read;
      const Outcome again = RunOverUsb(read);
      outcome.readAgainStatus = again.status;
      outcome.readAgainSaved = again.savedFile;
    }
    outcome.chip = ch341a.chipContents();
    outcome.chipWrites = ch341a.chipWrites();
    EXPECT_EQ(ch341a.streamErrors(), 0) << s.what;
    EXPECT_EQ(ch341a.interfaceClaims(), 0) << s.what << ": the interface was claimed and not released";
  }
  EXPECT_EQ(other.opens(), 0) << s.what << ": a device with other ids was opened";
  return outcome;
}

// Runs the scenario on both paths, expects the same of everything, and
// gives the USB path's outcome for checks of what the command did.
Outcome ExpectSameOnBothPaths(const Scenario& s, ExitStatus status, std::size_t requests) {
  const Outcome emulated = OnEmulatedAdapter(s);
  Outcome usb = OverUsb(s);
  EXPECT_EQ(emulated.status, status) << s.what << "\n" << emulated.errors;
  EXPECT_EQ(emulated.packets.size(), requests) << s.what;
  EXPECT_EQ(usb.status, emulated.status) << s.what << "\n" << usb.errors;
  EXPECT_EQ(usb.out, emulated.out) << s.what;
  EXPECT_EQ(usb.errors, emulated.errors) << s.what;
  EXPECT_EQ(usb.savedFile, emulated.savedFile) << s.what;
  EXPECT_EQ(usb.buffer, emulated.buffer) << s.what;
  EXPECT_EQ(usb.chip, emulated.chip) << s.what;
  if (s.adapter == Adapter::Avr309) {
    EXPECT_EQ(usb.packets, emulated.packets) << s.what;
  }
  return usb;
}

TEST(UsbPath, EveryCommandOnEveryChipTypeMatchesTheEmulatedPath) {
  for (const Adapter adapter : kAdapters) {
    for (const ChipType& type : kChipTypes) {
      const auto size = static_cast<std::size_t>(type.size);
      const std::string label = NameOf(adapter) + " " + std::string(type.label);
      const Scenario read{label + " read", type.size, CliCommand::Read, false, {}, true, adapter};
      const Scenario write{label + " write", type.size, CliCommand::Write, false, {}, true, adapter};
      const Scenario fast{label + " fast write", type.size, CliCommand::Write, true, {}, true, adapter};
      const Scenario erase{label + " erase", type.size, CliCommand::Erase, false, {}, true, adapter};
      const Scenario compare{label + " compare", type.size, CliCommand::Compare, false, {}, true, adapter};
      const auto changed = [&fast](std::size_t unit) {
        std::size_t count = 0;
        for (std::size_t at = 0; at < fast.chip().size(); at += unit) {
          count += fast.chip().compare(at, unit, fast.file(), at, unit) != 0 ? 1 : 0;
        }
        return count;
      };
      // Besides agreeing, the commands must have done what they say: the
      // adapter writes groups, two requests each, the CH341A whole pages.
      const auto page = static_cast<std::size_t>(type.pageSize);
      const bool pages = adapter == Adapter::Ch341a;
      struct Case {
        const Scenario& scenario;
        std::size_t requests;
        std::string chipAfter;
        std::string saved;
        std::size_t chipWrites;
      };
      for (const Case& c : {Case{read, size / 32, read.chip(), read.chip(), 0},
                            Case{write, size / 2, write.file(), "", pages ? size / page : size / 4},
                            Case{fast, size / 32 + 2 * changed(4), fast.file(), "", changed(pages ? page : 4)},
                            Case{erase, size / 2, std::string(size, '\xFF'), "", pages ? size / page : size / 4},
                            Case{compare, size / 32, compare.chip(), "", 0}}) {
        const Outcome usb = ExpectSameOnBothPaths(c.scenario, ExitStatus::Success, c.requests);
        EXPECT_EQ(usb.chip, Bytes(c.chipAfter)) << c.scenario.what;
        EXPECT_EQ(usb.savedFile, c.saved) << c.scenario.what;
        if (pages) {
          EXPECT_EQ(static_cast<std::size_t>(usb.chipWrites), c.chipWrites) << c.scenario.what;
        }
      }
    }
  }
}

TEST(UsbPath, FaultsOnTheBusEndTheTransferAsOnTheEmulatedAdapter) {
  struct Case {
    Scenario scenario;
    std::size_t requests;
    std::string reason;  // the end of what the user is told
  };
  const std::string notAnswered = "the adapter did not answer a request; the chip was not read completely\n";
  const std::string cannotOpen = std::string(kOpenFailedMessage) + "\n";
  const Case cases[] = {
      {{"stall at request 3", 2048, CliCommand::Read, false, FaultPlan::FailAt(3)}, 4,
       "the adapter did not answer a request; the chip was not read completely; saved.bin not written\n"},
      {{"short reply", 2048, CliCommand::Verify, false, FaultPlan::ShortReplyAt(2, 16)}, 3, notAnswered},
      {{"empty reply", 256, CliCommand::Write, false, FaultPlan::EmptyReplyAt(5)}, 6,
       "the adapter did not answer a request; the chip may be partly written\n"},
      {{"removed between requests", 256, CliCommand::Write, false, FaultPlan::UnplugAfter(10)}, 10,
       "adapter not found; the chip may be partly written\n"},
      {{"removed during a transfer", 2048, CliCommand::Compare, false, FaultPlan::UnplugDuringExchangeAt(7)}, 8,
       notAnswered},
      {{"node not found", 2048, CliCommand::Read, false, FaultPlan::Absent()}, 0,
       cannotOpen + "pavok-cli: read: adapter not found; the chip was not read completely; saved.bin not written\n"},
      {{"access denied", 2048, CliCommand::Erase, false, FaultPlan::AccessDenied()}, 0,
       cannotOpen + OpenFailureHint(OpenFailure::AccessDenied) +
           "\npavok-cli: erase: access to the adapter denied; the chip may be partly written\n"},
      {{"no adapter on the bus", 2048, CliCommand::Read, false, {}, false}, 0,
       "adapter not found; the chip was not read completely; saved.bin not written\n"},
  };
  for (const Case& c : cases) {
    const Outcome usb = ExpectSameOnBothPaths(c.scenario, ExitStatus::Failed, c.requests);
    EXPECT_TRUE(usb.errors.ends_with(c.reason)) << c.scenario.what << "\n" << usb.errors;
  }
}

// The CH341A counts bulk transfers: the open drains it with one transfer
// in; a block read is one transfer out and one in, a page write likewise
// (after a probe of its select byte, one out and one in, for the first page
// of a bank), then two per acknowledge poll. A transfer that fails fails
// its request; a chip that stops answering fails it too, and says why. Once the adapter is back to normal (or the chip
// fits the type again), a read gets the chip's own bytes: nothing of the
// failed stream is taken for a later answer.
TEST(UsbPath, FaultsOverTheCh341aFailTheRequestAndTheNextTransferReadsRight) {
  struct Case {
    Scenario scenario;
    std::string reason;    // the end of what the user is told
    bool sameAsEmulated;   // the emulated adapter meets the same fault alike
    bool readsAfterwards;  // the device is still there for another read
  };
  const std::string notRead = "; the chip was not read completely; saved.bin not written\n";
  const std::string partlyWritten = "; the chip may be partly written\n";
  const std::string notAnswered = "the adapter did not answer a request";
  const Adapter ch341a = Adapter::Ch341a;
  const Case cases[] = {
      {{"stall of the transfer out", 2048, CliCommand::Read, false, FaultPlan::FailAt(7), true, ch341a},
       notAnswered + notRead, false, true},
      {{"stall of the transfer in", 2048, CliCommand::Read, false, FaultPlan::FailAt(4), true, ch341a},
       notAnswered + notRead, false, true},
      {{"short transfer in", 2048, CliCommand::Read, false, FaultPlan::ShortReplyAt(2, 16), true, ch341a},
       notAnswered + notRead, false, true},
      {{"empty transfer in", 256, CliCommand::Write, false, FaultPlan::EmptyReplyAt(6), true, ch341a},
       notAnswered + partlyWritten, false, true},
      {{"short transfer out", 256, CliCommand::Write, false, FaultPlan::ShortReplyAt(3, 32), true, ch341a},
       notAnswered + partlyWritten, false, true},
      {{"empty transfer out", 512, CliCommand::Erase, false, FaultPlan::EmptyReplyAt(5), true, ch341a},
       notAnswered + partlyWritten, false, true},
      {{"write cycle never ends", 256, CliCommand::Write, false, FaultPlan::EndlessWriteCycleAt(5), true, ch341a},
       "the chip did not end its write cycle within 30 ms" + partlyWritten, false, false},
      {{"C02 in the socket, C16 selected", 2048, CliCommand::Read, false, {}, true, ch341a, 256},
       "Ошибка чтения микросхемы по адресу 0100: микросхема не отвечает на байт выбора A2. Буфер прочитан "
       "частично. Микросхема отвечает как C02, выберите тип C02.\npavok-cli: read: at address 0100: no chip "
       "acknowledged the select byte A2; the chip answers as a C02; choose --chip C02" + notRead,
       true, false},
      {{"removed during a transfer", 1024, CliCommand::Compare, false, FaultPlan::UnplugDuringExchangeAt(9), true,
        ch341a},
       notAnswered + "; the chip was not read completely\n", false, false},
      // The transfer holds the CH341A: its next request fails.
      {{"removed between requests", 256, CliCommand::Write, false, FaultPlan::UnplugAfter(40), true, ch341a},
       notAnswered + partlyWritten, false, false},
      {{"access denied", 2048, CliCommand::Read, false, FaultPlan::AccessDenied(), true, ch341a},
       std::string(kOpenFailedMessage) + "\n" + OpenFailureHint(OpenFailure::AccessDenied) +
           "\npavok-cli: read: access to the adapter denied" + notRead,
       true, false},
  };
  for (const Case& c : cases) {
    Scenario scenario = c.scenario;
    scenario.readAgain = c.readsAfterwards;
    const Outcome usb = OverUsb(scenario);
    EXPECT_EQ(usb.status, ExitStatus::Failed) << c.scenario.what;
    EXPECT_TRUE(usb.errors.ends_with(c.reason)) << c.scenario.what << "\n" << usb.errors;
    // One message box's text: what failed where, or that the adapter did not open.
    EXPECT_EQ(Occurrences(usb.errors, "Ошибка ") + Occurrences(usb.errors, kOpenFailedMessage), 1u) << usb.errors;
    if (c.readsAfterwards) {
      EXPECT_EQ(usb.readAgainStatus, ExitStatus::Success) << c.scenario.what;
      EXPECT_EQ(Bytes(usb.readAgainSaved), usb.chip) << c.scenario.what;
    }
    if (c.sameAsEmulated) {
      const Outcome emulated = OnEmulatedAdapter(c.scenario);
      EXPECT_EQ(usb.status, emulated.status) << c.scenario.what;
      EXPECT_EQ(usb.buffer, emulated.buffer) << c.scenario.what;
      EXPECT_EQ(usb.chip, emulated.chip) << c.scenario.what;
      EXPECT_EQ(usb.chipWrites, emulated.chipWrites) << c.scenario.what;
    }
  }
}

std::size_t OpenDescriptors() {
  const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// The open descriptors once their number has held for 50 ms (at most a
// second). This process also holds the testbed's end of every open of a
// device node, which the testbed closes a moment after the program's end.
std::size_t SettledOpenDescriptors() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::size_t count = OpenDescriptors();
  for (int unchanged = 0; unchanged < 5 && std::chrono::steady_clock::now() < deadline;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::size_t now = OpenDescriptors();
    unchanged = now == count ? unchanged + 1 : 0;
    count = now;
  }
  return count;
}

// Each of the 1,024 requests opens and closes the adapter: a handle or a
// descriptor kept by any of them shows in the count. (A device list left
// unfreed holds memory only; the sanitizer build's leak check finds that.)
TEST(UsbPath, FullWriteOfC16LeavesNoDeviceOrDescriptorOpen) {
  const TemporaryDirectory directory;
  UsbTestbed testbed;
  const EmulatedUsbAdapter& adapter = testbed.PlugAdapter(kAdapterIds, EepromModel(2048));
  const std::size_t beforeLibrary = SettledOpenDescriptors();
  {
    LibusbTransport transport;
    const TransportScope scope(transport);
    // The library's context lives as long as the transport; it is made at
    // the first request.
    ASSERT_TRUE(SendDeviceRequest(REQ_READ_BLOCK, 0, 0xA0, replyBuffer, kBlockSize));
    const std::size_t withLibrary = SettledOpenDescriptors();

    std::ostringstream out;
    std::ostringstream errors;
    TerminalWindow window({.assumeYes = true}, errors);
    EXPECT_EQ(RunCliCommand({CliCommand::Erase, "", 2048}, window, out), ExitStatus::Success) << errors.str();

    EXPECT_EQ(adapter.opens(), 1 + 1024);
    EXPECT_EQ(SettledOpenDescriptors(), withLibrary) << "descriptors left open by 1,024 opens and closes";
  }
  EXPECT_EQ(SettledOpenDescriptors(), beforeLibrary) << "descriptors left open by the library's context";
}

}  // namespace
}  // namespace pavok::test
