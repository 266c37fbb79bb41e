#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "EmulatedAdapter.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

struct Answer {
  bool opened = false;
  ExchangeResult result;
  std::vector<std::uint8_t> reply;
};

// One request as the channel makes it: open, exchange, close.
Answer Send(EmulatedAdapter& adapter, std::uint8_t code, std::uint16_t param1, std::uint16_t param2,
            std::size_t offered) {
  Answer answer{static_cast<bool>(adapter.Open()), {}, std::vector<std::uint8_t>(offered, 0xEE)};
  if (!answer.opened) return answer;
  answer.result = adapter.Exchange(DeviceRequest::Make(code, param1, param2).bytes, answer.reply);
  adapter.Close();
  return answer;
}

void WriteGroup(EmulatedAdapter& adapter, std::uint16_t offset, std::array<std::uint8_t, 4> group) {
  Send(adapter, REQ_LOAD_DATA, static_cast<std::uint16_t>(group[0] | group[1] << 8),
       static_cast<std::uint16_t>(group[2] | group[3] << 8), 1);
  Send(adapter, REQ_WRITE_DATA, wordAddress(offset), deviceSelect(offset), 1);
}

std::vector<std::uint8_t> ReadChipThroughRequests(EmulatedAdapter& adapter) {
  std::vector<std::uint8_t> bytes;
  for (int offset = 0; offset < adapter.chip().size(); offset += 32) {
    const auto o = static_cast<std::uint16_t>(offset);
    const Answer block = Send(adapter, REQ_READ_BLOCK, wordAddress(o), deviceSelect(o), 32);
    bytes.insert(bytes.end(), block.reply.begin(), block.reply.end());
  }
  return bytes;
}

TEST(EmulatedAdapter, BanksBeyondTheChipAndUnknownCodesGetNoBytes) {
  struct Case {
    int chipSize;
    std::uint8_t code;
    std::uint16_t select;
    std::size_t bytes;
  };
  for (const Case c : {Case{256, REQ_READ_BLOCK, 0xA0, 32}, Case{256, REQ_READ_BLOCK, 0xA2, 0},
                       Case{256, REQ_WRITE_DATA, 0xA2, 0}, Case{512, REQ_READ_BLOCK, 0xA2, 32},
                       Case{512, REQ_READ_BLOCK, 0xA4, 0}, Case{1024, REQ_READ_BLOCK, 0xA6, 32},
                       Case{1024, REQ_WRITE_DATA, 0xA8, 0}, Case{2048, REQ_READ_BLOCK, 0xAE, 32},
                       Case{2048, REQ_READ_BLOCK, 0xB0, 0}, Case{2048, 0x00, 0xA0, 0},
                       Case{2048, 0x25, 0xA0, 0}, Case{2048, 0xFF, 0xA0, 0}}) {
    EmulatedAdapter adapter{EepromModel(c.chipSize)};
    const Answer answer = Send(adapter, c.code, 0, c.select, 32);
    EXPECT_TRUE(answer.result.succeeded);
    EXPECT_EQ(answer.result.bytesReturned, c.bytes) << c.chipSize << " code " << int{c.code} << " select "
                                                    << c.select;
  }
}

TEST(EmulatedAdapter, WriteStoresTheLatchedGroupAtItsAddressOnly) {
  EmulatedAdapter adapter{EepromModel(2048)};
  WriteGroup(adapter, 0x7FC, {0x11, 0x22, 0x33, 0x44});
  WriteGroup(adapter, 0x104, {0x01, 0x02, 0x03, 0x04});

  const auto chip = adapter.chip().contents();
  EXPECT_EQ(std::vector<std::uint8_t>(chip.begin() + 0x7F8, chip.end()),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(std::vector<std::uint8_t>(chip.begin() + 0x100, chip.begin() + 0x10C),
            (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(chip[0x004], 0xFF);  // same word address, bank 0
}

TEST(EmulatedAdapter, WrittenPatternsReadBackThroughBlockReads) {
  for (const int size : {256, 1024}) {
    EmulatedAdapter adapter{EepromModel(size)};
    for (const std::uint8_t pattern : {std::uint8_t{0x55}, std::uint8_t{0xAA}}) {
      for (int offset = 0; offset < size; offset += 4) {
        const auto p = static_cast<std::uint8_t>(pattern ^ offset / 4);  // differs between groups
        WriteGroup(adapter, static_cast<std::uint16_t>(offset), {p, p, p, p});
      }
      const std::vector<std::uint8_t> read = ReadChipThroughRequests(adapter);
      ASSERT_EQ(static_cast<int>(read.size()), size);
      for (int i = 0; i < size; ++i) {
        ASSERT_EQ(read[static_cast<std::size_t>(i)], static_cast<std::uint8_t>(pattern ^ i / 4))
            << size << " byte " << i << " pattern " << int{pattern};
      }
    }
  }
}

TEST(EmulatedAdapter, FaultPlanShapesEachRequest) {
  struct Round {
    bool opened;
    bool succeeded;
    std::size_t bytes;
    OpenFailure failure;
    bool operator==(const Round&) const = default;
  };
  constexpr Round ok{true, true, 32, OpenFailure::None};
  constexpr Round unopened{false, false, 0, OpenFailure::NotFound};
  struct Case {
    const char* what;
    FaultPlan plan;
    std::array<Round, 3> rounds;
  };
  const Case cases[] = {
      {"none", FaultPlan{}, {ok, ok, ok}},
      {"absent", FaultPlan::Absent(), {unopened, unopened, unopened}},
      {"call fails", FaultPlan::FailAt(1), {ok, Round{true, false, 0, OpenFailure::None}, ok}},
      {"empty reply", FaultPlan::EmptyReplyAt(1), {ok, Round{true, true, 0, OpenFailure::None}, ok}},
      {"short reply", FaultPlan::ShortReplyAt(2, 5), {ok, ok, Round{true, true, 5, OpenFailure::None}}},
      {"unplugged", FaultPlan::UnplugAfter(2), {ok, ok, unopened}},
      {"unplugged while answering", FaultPlan::UnplugDuringExchangeAt(1),
       {ok, Round{true, false, 0, OpenFailure::None}, unopened}},
      {"access denied", FaultPlan::AccessDenied(),
       {Round{false, false, 0, OpenFailure::AccessDenied}, Round{false, false, 0, OpenFailure::AccessDenied},
        Round{false, false, 0, OpenFailure::AccessDenied}}},
  };
  for (const Case& c : cases) {
    EmulatedAdapter adapter{EepromModel(2048)};
    adapter.SetFaultPlan(c.plan);
    for (std::size_t i = 0; i < c.rounds.size(); ++i) {
      const Answer answer = Send(adapter, REQ_READ_BLOCK, 0, 0xA0, 32);
      const Round round{answer.opened, answer.result.succeeded, answer.result.bytesReturned,
                        adapter.LastOpenFailure()};
      EXPECT_EQ(round, c.rounds[i]) << c.what << " round " << i;
    }
  }
}

TEST(EmulatedAdapter, ClosedAdapterAnswersNothing) {
  EmulatedAdapter adapter{EepromModel(256)};
  std::array<std::uint8_t, 32> reply{};
  EXPECT_FALSE(adapter.Exchange(DeviceRequest::Make(REQ_READ_BLOCK, 0, 0xA0).bytes, reply).succeeded);
}

TEST(EepromModel, BankBeyondTheChipFoldsBackInsteadOfLeavingTheMemory) {
  EepromModel chip(256);
  chip.Write(0xAE, 0xF8, std::array<std::uint8_t, 4>{1, 2, 3, 4});
  std::array<std::uint8_t, 4> out{};
  chip.Read(0xAE, 0xF8, out);
  EXPECT_EQ(out, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(chip.contents()[0xF8], 1);
}

TEST(EepromModel, PageWriteWrapsInsideItsPageAndTheChip) {
  struct Case {
    int size;
    std::uint8_t select;
    int pageStart;  // of the page holding the last two bytes of the chip
  };
  // 8-byte pages on the smallest chip, 16-byte pages on the others.
  for (const Case c : {Case{256, 0xA0, 0xF8}, Case{2048, 0xAE, 0x7F0}}) {
    EepromModel chip(c.size);
    chip.Write(c.select, 0xFE, std::array<std::uint8_t, 4>{1, 2, 3, 4});
    const auto memory = chip.contents();
    EXPECT_EQ(memory[static_cast<std::size_t>(c.size - 2)], 1) << c.size;
    EXPECT_EQ(memory[static_cast<std::size_t>(c.size - 1)], 2) << c.size;
    EXPECT_EQ(memory[static_cast<std::size_t>(c.pageStart)], 3) << c.size;
    EXPECT_EQ(memory[static_cast<std::size_t>(c.pageStart + 1)], 4) << c.size;
    EXPECT_EQ(std::count(memory.begin(), memory.end(), 0xFF), c.size - 4) << c.size;
  }
}

TEST(EmulatedAdapterImage, MissingFileIsCreatedFullOfFF) {
  TemporaryDirectory directory;
  std::string error;
  const auto adapter = EmulatedAdapter::WithImageFile(512, directory / "chip.bin", &error);
  ASSERT_TRUE(adapter) << error;
  EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), std::string(512, '\xFF'));
}

TEST(EmulatedAdapterImage, PresentFileIsLoadedAndWritesReachTheNextAdapter) {
  TemporaryDirectory directory;
  std::string contents(256, '\0');
  for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i);
  WriteFileBytes(directory / "chip.bin", contents);

  auto first = EmulatedAdapter::WithImageFile(256, directory / "chip.bin", nullptr);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->chip().contents()[0x42], 0x42);
  WriteGroup(*first, 0x10, {0xDE, 0xAD, 0xBE, 0xEF});

  auto second = EmulatedAdapter::WithImageFile(256, directory / "chip.bin", nullptr);
  ASSERT_TRUE(second);
  EXPECT_EQ(Send(*second, REQ_READ_BLOCK, 0x10, 0xA0, 4).reply, (std::vector<std::uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}));
  EXPECT_EQ(second->chip().contents()[0x42], 0x42);
}

TEST(EmulatedAdapterImage, UnusableFileIsRefusedAndLeftAlone) {
  struct Case {
    const char* what;
    std::string contents;
  };
  for (const Case& c : {Case{"longer than the chip", std::string(2048, 'x')},
                        Case{"shorter than the chip", std::string(100, 'x')}, Case{"empty", ""}}) {
    TemporaryDirectory directory;
    WriteFileBytes(directory / "chip.bin", c.contents);
    std::string error;
    EXPECT_FALSE(EmulatedAdapter::WithImageFile(256, directory / "chip.bin", &error)) << c.what;
    EXPECT_NE(error.find("chip.bin holds " + std::to_string(c.contents.size()) + " bytes, the chip 256"),
              std::string::npos)
        << c.what << ": " << error;
    EXPECT_EQ(ReadFileBytes(directory / "chip.bin"), c.contents) << c.what;
  }
  TemporaryDirectory directory;
  std::filesystem::create_directory(directory / "folder");
  std::string error;
  EXPECT_FALSE(EmulatedAdapter::WithImageFile(256, directory / "folder", &error));
  EXPECT_FALSE(EmulatedAdapter::WithImageFile(256, directory / "no-such-folder" / "chip.bin", &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}
}  // namespace
}  // namespace pavok::test
