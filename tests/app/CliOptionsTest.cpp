#include <gtest/gtest.h>

#include <sstream>

#include "AdapterKinds.h"
#include "CliOptions.h"
#include "CliTestSupport.h"
#include "EmulatedAdapter.h"
#include "TestEnvironment.h"
#include "UsbId.h"
#include "UsbTransport.h"

namespace pavok::test {
namespace {

struct Parsed {
  std::optional<int> status;
  CliOptions options;
  std::string out;
  std::string errors;
};

Parsed Parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "pavok-cli");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  std::ostringstream out;
  std::ostringstream errors;
  Parsed parsed;
  parsed.status = ParseCliArguments(static_cast<int>(argv.size()), argv.data(), parsed.options, out, errors);
  parsed.out = out.str();
  parsed.errors = errors.str();
  return parsed;
}

TEST(CliOptions, DefaultsSelectC16AndTheRealAdapter) {
  const Parsed parsed = Parse({"read", "out.bin"});
  ASSERT_FALSE(parsed.status);
  EXPECT_EQ(parsed.options.command, CliCommand::Read);
  EXPECT_EQ(parsed.options.file, "out.bin");
  EXPECT_EQ(SelectedChipSize(parsed.options), 2048);
  EXPECT_FALSE(parsed.options.transport.emulate);
  EXPECT_EQ(parsed.options.transport.emulatedChip, "C16");
  EXPECT_EQ(parsed.options.transport.adapter, "auto");
  EXPECT_EQ(parsed.options.transport.usbId, "") << "the kind's own ids";
  EXPECT_EQ(parsed.options.transport.i2cSpeedKhz, 100u);
  EXPECT_EQ(parsed.options.transport.emulatedDelayMicroseconds, 0);
  EXPECT_FALSE(parsed.options.transport.trace);
  EXPECT_FALSE(parsed.options.assumeYes);
  EXPECT_FALSE(parsed.options.fast);
}

TEST(CliOptions, OptionsAreTakenBeforeOrAfterTheCommand) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--emulate", "--chip", "c02", "--yes", "write", "--fast", "in.bin"},
           {"write", "in.bin", "--fast", "--emulate", "--chip=C02", "-y"},
           {"--emulate", "write", "--chip", "C02", "--fast", "in.bin", "--yes"},
       }) {
    const Parsed parsed = Parse(arguments);
    ASSERT_FALSE(parsed.status) << parsed.errors;
    EXPECT_EQ(parsed.options.command, CliCommand::Write);
    EXPECT_EQ(parsed.options.file, "in.bin");
    EXPECT_TRUE(parsed.options.transport.emulate);
    EXPECT_EQ(parsed.options.chip, "C02");
    EXPECT_EQ(SelectedChipSize(parsed.options), 256);
    EXPECT_TRUE(parsed.options.assumeYes);
    EXPECT_TRUE(parsed.options.fast);
  }
}

TEST(CliOptions, EveryCommandAndChipType) {
  struct Case {
    std::vector<std::string> arguments;
    CliCommand command;
    int chipSize;
  };
  for (const Case& c : {
           Case{{"--chip", "C02", "read", "f"}, CliCommand::Read, 256},
           Case{{"--chip", "C04", "write", "f"}, CliCommand::Write, 512},
           Case{{"--chip", "c08", "erase"}, CliCommand::Erase, 1024},
           Case{{"--chip", "C16", "compare", "f"}, CliCommand::Compare, 2048},
           Case{{"--chip", "24C02", "read", "f"}, CliCommand::Read, 256},
           Case{{"--chip", "24c08", "write", "--pad", "f"}, CliCommand::Write, 1024},
           Case{{"--emulate", "--emulated-delay-us", "1000000", "erase"}, CliCommand::Erase, 2048},
           Case{{"verify", "f"}, CliCommand::Verify, 2048},
           Case{{"probe", "--usb-id", "16C0:05DC"}, CliCommand::Probe, 2048},
       }) {
    const Parsed parsed = Parse(c.arguments);
    ASSERT_FALSE(parsed.status) << parsed.errors;
    EXPECT_EQ(parsed.options.command, c.command);
    EXPECT_EQ(SelectedChipSize(parsed.options), c.chipSize);
  }
}

TEST(CliOptions, BadInputEndsWithStatus2AndAReason) {
  struct Case {
    std::vector<std::string> arguments;
    std::string reason;
  };
  for (const Case& c : {
           Case{{"--usb-id", "nonsense", "read", "f"}, "is not a USB id"},
           Case{{"--usb-id", "03EB", "read", "f"}, "expected VID:PID"},
           Case{{"--chip", "C32", "read", "f"}, "not a chip type"},
           Case{{"--chip", "24C32", "read", "f"}, "not a chip type"},
           Case{{"--adapter", "ch340", "read", "f"}, "\"ch340\" is not an adapter: expected auto, avr309 or ch341a"},
           Case{{"--i2c-speed", "750", "read", "f"}, "\"750\" is not an I2C clock: expected 20, 100 or 400"},
           Case{{"--emulate", "--adapter", "ch341a", "erase"}, "excludes"},
           Case{{"--emulate", "--emulated-chip", "24C16", "erase"}, "not a chip type"},
           Case{{"--chip-image", "x.bin", "erase"}, "--emulate"},
           Case{{"--emulate", "--emulated-delay-us", "-5", "erase"}, "--emulated-delay-us"},
           Case{{"read"}, "FILE"},
           Case{{"--emulate"}, "subcommand"},
           Case{{"format", "f"}, "format"},
           Case{{"erase", "extra.bin"}, "extra.bin"},
       }) {
    const Parsed parsed = Parse(c.arguments);
    EXPECT_EQ(parsed.status, 2) << c.arguments.front();
    EXPECT_NE(parsed.errors.find(c.reason), std::string::npos) << parsed.errors;
  }
}

TEST(CliOptions, HelpAndVersionEndWithStatus0OnStandardOutput) {
  const Parsed help = Parse({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* text : {"read", "write", "erase", "compare", "verify", "probe", "--emulate", "--usb-id", "Exit status"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text;
  }
  const Parsed version = Parse({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out,
            "pavok-cli 1.0.0.3\n"
            "Licence: GNU GPL version 3 or later (GPL-3.0-or-later); there is NO WARRANTY.\n");
}

TEST(UsbId, ParsesHexadecimalPairs) {
  struct Case {
    const char* text;
    std::optional<UsbId> id;
  };
  for (const Case& c : {
           Case{"03EB:21FF", UsbId{0x03EB, 0x21FF}},
           Case{"03eb:21ff", UsbId{0x03EB, 0x21FF}},
           Case{"0x16C0:0x05DC", UsbId{0x16C0, 0x05DC}},
           Case{"1:2", UsbId{1, 2}},
           Case{"FFFF:0000", UsbId{0xFFFF, 0}},
           Case{"", std::nullopt},
           Case{"03EB", std::nullopt},
           Case{"03EB:", std::nullopt},
           Case{":21FF", std::nullopt},
           Case{"03EB:21FF:1", std::nullopt},
           Case{"10000:1", std::nullopt},
           Case{"03EG:21FF", std::nullopt},
           Case{" 03EB:21FF", std::nullopt},
           Case{"-3EB:21FF", std::nullopt},
           Case{"0x:1", std::nullopt},
       }) {
    std::string error;
    EXPECT_EQ(ParseUsbId(c.text, &error), c.id) << c.text;
    EXPECT_EQ(error.empty(), c.id.has_value()) << c.text;
  }
  EXPECT_EQ(FormatUsbId({0x3EB, 0x21FF}), "03EB:21FF");
}

TEST(TransportOptions, EmulatedChipImageIsCreatedBlankWhenMissing) {
  TemporaryDirectory directory;
  TransportOptions options;
  options.emulate = true;
  options.emulatedChip = "C04";
  options.chipImage = (directory / "chip.bin").string();
  std::string error;
  const auto transport = MakeTransport(options, error);
  ASSERT_TRUE(transport) << error;
  EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), std::string(512, '\xFF'));
  auto* adapter = dynamic_cast<EmulatedAdapter*>(transport.get());
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->chip().size(), 512);
}

TEST(TransportOptions, ChipImageThatCannotBeMadeIsRefusedWithItsPath) {
  TemporaryDirectory directory;
  TransportOptions options;
  options.emulate = true;
  options.chipImage = (directory / "missing-directory" / "chip.bin").string();
  std::string error;
  EXPECT_FALSE(MakeTransport(options, error));
  EXPECT_NE(error.find("missing-directory"), std::string::npos) << error;
}

// What this platform's transport of an adapter kind calls itself; empty
// where the build cannot reach that kind.
std::string KindDescription(MakeAdapterTransport make, const std::string& usbId, unsigned speed = 100) {
  std::string error;
  const auto transport = make({*ParseUsbId(usbId, &error), speed}, error);
  return transport ? transport->Describe() : "";
}

TEST(TransportOptions, ChoosesTheAdapterAndWrapsItForTracing) {
  struct Case {
    bool emulate;
    std::string adapter;
    std::string usbId;
    unsigned speed;
    bool trace;
    std::string description;
  };
  const std::string avr309 = KindDescription(MakeAvr309Transport, "03EB:21FF");
  const std::string ch341a = KindDescription(MakeCh341aTransport, "1A86:5512");
  for (const Case& c : {
           Case{false, "auto", "", 100, false,
                AutoLooksForCh341aFirst() ? ch341a + " or " + avr309 : avr309 + (ch341a.empty() ? "" : " or " + ch341a)},
           Case{false, "auto", "03EB:21FF", 100, false, KindDescription(MakeAvr309Transport, "03EB:21FF")},
           Case{false, "auto", "16c0:5dc", 100, true, KindDescription(MakeAvr309Transport, "16c0:5dc") + ", traced"},
           Case{false, "avr309", "", 100, false, avr309},
           Case{false, "ch341a", "", 400, false, KindDescription(MakeCh341aTransport, "1A86:5512", 400)},
           Case{false, "ch341a", "1a86:7523", 20, true, KindDescription(MakeCh341aTransport, "1a86:7523", 20) + ", traced"},
           Case{true, "auto", "03EB:21FF", 100, true, "emulated adapter with a 2048-byte chip, traced"},
       }) {
    TransportOptions options;
    options.emulate = c.emulate;
    options.adapter = c.adapter;
    options.usbId = c.usbId;
    options.i2cSpeedKhz = c.speed;
    options.trace = c.trace;
    std::string error;
    const auto transport = MakeTransport(options, error);
    if (c.description.empty() || c.description == ", traced") {
      EXPECT_FALSE(transport) << c.adapter << ": a kind this build cannot reach";
      EXPECT_FALSE(error.empty()) << c.adapter;
      continue;
    }
    ASSERT_TRUE(transport) << error;
    EXPECT_EQ(transport->Describe(), c.description);
  }
  TransportOptions numbered;
  numbered.ch341Index = 1;
  std::string error;
  EXPECT_EQ(MakeTransport(numbered, error) == nullptr, !AutoLooksForCh341aFirst()) << "only Windows numbers them";
  EXPECT_EQ(error.empty(), AutoLooksForCh341aFirst()) << error;
}

}  // namespace
}  // namespace pavok::test
