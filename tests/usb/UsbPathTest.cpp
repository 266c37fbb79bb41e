// The real USB path (LibusbTransport, the libusb backend, libusb, usbfs) on
// an emulated USB adapter, held against the --emulate path: every command,
// fault and chip type must leave the same chip, buffer, files, messages and
// requests on both.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "BufferState.h"
#include "ChipType.h"
#include "CliCommands.h"
#include "CliTestSupport.h"
#include "DeviceChannel.h"
#include "FilePermissions.h"
#include "LibusbTransport.h"
#include "OpenFailureHint.h"
#include "TestEnvironment.h"
#include "UsbTestbed.h"

namespace pavok::test {
namespace {

constexpr UsbDeviceIds kAdapterIds{kAdapterVendorId, kAdapterProductId};
constexpr UsbDeviceIds kOtherDeviceIds{0x046D, 0xC52B};

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct Scenario {
  std::string what;
  int chipSize = 2048;
  CliCommand command = CliCommand::Read;
  bool fast = false;
  FaultPlan faults{};
  bool adapterOnBus = true;

  std::string chip() const { return PatternBytes(static_cast<std::size_t>(chipSize)); }
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
  std::vector<SetupPacket> packets;
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
  EmulatedAdapter adapter{EepromModel(s.chipSize)};
  adapter.chip().Load(Bytes(s.chip()));
  adapter.SetFaultPlan(s.adapterOnBus ? s.faults : FaultPlan::Absent());
  const TransportScope scope(adapter);
  Outcome outcome = RunCommand(s);
  const auto contents = adapter.chip().contents();
  outcome.chip.assign(contents.begin(), contents.end());
  outcome.packets = SetupPacketsFor(adapter.requests());
  return outcome;
}

Outcome OverUsb(const Scenario& s) {
  UsbTestbed testbed;
  const EmulatedUsbAdapter& other = testbed.PlugAdapter(kOtherDeviceIds, EepromModel(256));
  EepromModel chip(s.chipSize);
  chip.Load(Bytes(s.chip()));
  const EmulatedUsbAdapter* adapter = s.adapterOnBus ? &testbed.PlugAdapter(kAdapterIds, chip, s.faults) : nullptr;
  Outcome outcome;
  {
    // As root the node closed to its user would open all the same.
    const FilePermissionsEnforced permissions;
    EXPECT_TRUE(permissions.enforced()) << "cannot lower this thread's capabilities";
    LibusbTransport transport;
    const TransportScope scope(transport);
    outcome = RunCommand(s);
  }
  EXPECT_EQ(other.opens(), 0) << s.what << ": a device with other ids was opened";
  if (adapter != nullptr) {
    outcome.chip = adapter->chipContents();
    outcome.packets = adapter->setupPackets();
  } else {
    outcome.chip = Bytes(s.chip());
  }
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
  EXPECT_EQ(usb.packets, emulated.packets) << s.what;
  return usb;
}

TEST(UsbPath, EveryCommandOnEveryChipTypeMatchesTheEmulatedPath) {
  for (const ChipType& type : kChipTypes) {
    const auto size = static_cast<std::size_t>(type.size);
    const std::string label(type.label);
    const Scenario read{label + " read", type.size, CliCommand::Read};
    const Scenario write{label + " write", type.size, CliCommand::Write};
    const Scenario fast{label + " fast write", type.size, CliCommand::Write, true};
    const Scenario erase{label + " erase", type.size, CliCommand::Erase};
    const Scenario compare{label + " compare", type.size, CliCommand::Compare};
    std::size_t changedGroups = 0;
    for (std::size_t group = 0; group < size; group += 4) {
      changedGroups += fast.chip().compare(group, 4, fast.file(), group, 4) != 0 ? 1 : 0;
    }
    // Besides agreeing, the commands must have done what they say.
    struct Case {
      const Scenario& scenario;
      std::size_t requests;
      std::string chipAfter;
      std::string saved;
    };
    for (const Case& c : {Case{read, size / 32, read.chip(), read.chip()}, Case{write, size / 2, write.file(), ""},
                          Case{fast, size / 32 + 2 * changedGroups, fast.file(), ""},
                          Case{erase, size / 2, std::string(size, '\xFF'), ""},
                          Case{compare, size / 32, compare.chip(), ""}}) {
      const Outcome usb = ExpectSameOnBothPaths(c.scenario, ExitStatus::Success, c.requests);
      EXPECT_EQ(usb.chip, Bytes(c.chipAfter)) << c.scenario.what;
      EXPECT_EQ(usb.savedFile, c.saved) << c.scenario.what;
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
