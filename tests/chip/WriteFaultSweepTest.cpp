// Erase and fast write under every fault the adapter can show, at every
// request: what reaches the chip is exactly the groups confirmed before the
// fault (and, where the adapter acted but did not answer, the one after),
// and the buffer, the flag and the window end as a failed write leaves them,
// with one message. Read and comparison alike, block by block. Over the
// CH341A, which counts bulk transfers, the USB test bed sweeps its own.

#include <gtest/gtest.h>

#include <tuple>

#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipWrite.h"
#include "DeviceChannel.h"
#include "HexCodec.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

enum class Write { Erase, Fast };
enum class Fault { CallFails, EmptyReply, ShortReply, Unplugged };

FaultPlan PlanFor(Fault fault, int request) {
  switch (fault) {
    case Fault::CallFails:
      return FaultPlan::FailAt(request);
    case Fault::EmptyReply:
      return FaultPlan::EmptyReplyAt(request);
    case Fault::ShortReply:
      return FaultPlan::ShortReplyAt(request, 0);
    case Fault::Unplugged:
      return FaultPlan::UnplugAfter(request);
  }
  return {};
}

// The groups a fast write finds changed: the first and last of the chip and
// one in every bank, so the faults meet every select byte.
std::vector<int> ChangedGroups(int chipSize) {
  std::vector<int> groups{0};
  for (int bank = 0; bank * 256 < chipSize; ++bank) groups.push_back(bank * 64 + 37);
  groups.push_back(chipSize / 4 - 1);
  return groups;
}

// The one message a failed transfer shows: the channel's when the adapter is
// gone, else what failed, where, and what it left.
std::vector<std::string> OneMessage(Fault fault, const std::string& what, int address, const std::string& left) {
  if (fault == Fault::Unplugged) return {"message: " + std::string(kOpenFailedMessage)};
  return {"message: " + what + " по адресу " + FormatAddress(static_cast<std::uint16_t>(address)) +
          ": адаптер не отвечает. " + left};
}

std::uint8_t Earlier(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + i / 256); }

// A new adapter whose chip holds Earlier's bytes, a new window, a blank
// buffer; the chip's bytes.
std::vector<std::uint8_t> StartAgain(TestEnvironment& env, int chipSize) {
  env.adapter = EmulatedAdapter(EepromModel(chipSize));
  env.window = ScriptedWindow{};
  ResetBuffer(env.buffer());
  env.buffer().chipSize = chipSize;
  std::vector<std::uint8_t> chip(static_cast<std::size_t>(chipSize));
  for (std::size_t i = 0; i < chip.size(); ++i) chip[i] = Earlier(i);
  env.adapter.chip().Load(chip);
  return chip;
}

class WriteFaultSweep : public ::testing::TestWithParam<std::tuple<int, Write, Fault>> {};

TEST_P(WriteFaultSweep, OnlyConfirmedGroupsReachTheChipAndTheBufferIsKept) {
  const auto [chipSize, write, fault] = GetParam();
  // The groups sent, in order, and what each puts on the chip.
  std::vector<int> groups = ChangedGroups(chipSize);
  if (write == Write::Erase) {
    groups.clear();
    for (int g = 0; g < chipSize / 4; ++g) groups.push_back(g);
  }
  const int requests = static_cast<int>(groups.size()) * 2;

  TestEnvironment env(chipSize);
  for (int k = 0; k < requests; ++k) {
    const std::vector<std::uint8_t> chip = StartAgain(env, chipSize);
    std::copy(chip.begin(), chip.end(), env.buffer().referenceImage.begin());
    std::copy(chip.begin(), chip.end(), env.buffer().workImage.begin());
    for (const int g : ChangedGroups(chipSize)) env.buffer().workImage[static_cast<std::size_t>(g * 4 + 1)] ^= 0x5A;
    env.buffer().unsavedFlag = 1;
    env.window.answers = {true};
    env.window.checkBoxes[IDC_FAST_WRITE] = write == Write::Fast;
    env.adapter.SetFaultPlan(PlanFor(fault, k));
    const BufferState before = env.buffer();

    ASSERT_EQ(RunWriteChip(write == Write::Erase), WriteOutcome::DeviceFailed) << k;

    // A write the adapter carried out but answered with nothing still landed.
    const bool actedOnFault = k % 2 == 1 && (fault == Fault::EmptyReply || fault == Fault::ShortReply);
    const int landed = k / 2 + (actedOnFault ? 1 : 0);
    std::vector<std::uint8_t> expected = chip;
    for (int n = 0; n < landed; ++n) {
      for (std::size_t i = 0; i < 4; ++i) {
        const auto at = static_cast<std::size_t>(groups[static_cast<std::size_t>(n)] * 4) + i;
        expected[at] = write == Write::Erase ? 0xFF : before.workImage[at];
      }
    }
    const auto contents = env.adapter.chip().contents();
    ASSERT_TRUE(std::equal(contents.begin(), contents.end(), expected.begin())) << "request " << k;
    ASSERT_EQ(static_cast<int>(env.adapter.requests().size()), fault == Fault::Unplugged ? k : k + 1) << k;
    ASSERT_EQ(env.buffer().workImage, before.workImage) << k;
    ASSERT_EQ(env.buffer().referenceImage, before.referenceImage) << k;
    ASSERT_EQ(env.buffer().unsavedFlag, 1) << k;
    ASSERT_EQ(env.window.progressPositions.size(), static_cast<std::size_t>(k / 2 + 1)) << k;
    ASSERT_EQ(env.window.progressPos, 0) << k;
    ASSERT_EQ(env.window.status, kPortClosedText) << k;
    const bool erase = write == Write::Erase;
    ASSERT_EQ(env.window.CallsStartingWith("message: "),
              OneMessage(fault, erase ? "Ошибка очистки микросхемы" : "Ошибка записи микросхемы",
                         groups[static_cast<std::size_t>(k / 2)] * 4,
                         erase ? "Микросхема очищена частично." : "Микросхема записана частично."))
        << k;
  }
}

// Read and comparison under the same faults at every block: the blocks
// before the fault are in both images (a comparison changes neither), one
// message says where it stopped and that the buffer is partly read, the
// dump is not written and the chip is untouched.
TEST_P(WriteFaultSweep, ReadAndComparisonStopAtTheFaultWithOneMessage) {
  const auto [chipSize, write, fault] = GetParam();
  const bool compare = write == Write::Fast;  // the second of the pair of transfers
  TestEnvironment env(chipSize);
  for (int k = 0; k < chipSize / 32; ++k) {
    const std::vector<std::uint8_t> chip = StartAgain(env, chipSize);
    env.adapter.SetFaultPlan(PlanFor(fault, k));
    const BufferState before = env.buffer();

    if (compare) {
      ASSERT_FALSE(RunCompareChecksums()) << k;
    } else {
      ASSERT_EQ(RunReadChip(), ReadOutcome::DeviceFailed) << k;
    }

    const auto arrived = static_cast<std::ptrdiff_t>(compare ? 0 : k * 32);
    ASSERT_TRUE(std::equal(chip.begin(), chip.begin() + arrived, env.buffer().workImage.begin())) << k;
    ASSERT_TRUE(std::equal(env.buffer().workImage.begin() + arrived, env.buffer().workImage.end(),
                           before.workImage.begin() + arrived)) << k;
    ASSERT_EQ(env.buffer().referenceImage, env.buffer().workImage) << k;
    ASSERT_EQ(env.buffer().unsavedFlag, before.unsavedFlag) << k;
    ASSERT_EQ(ReadFileBytes(env.directory / "temp.bin"), "") << k;
    const auto contents = env.adapter.chip().contents();
    ASSERT_TRUE(std::equal(contents.begin(), contents.end(), chip.begin())) << k;
    ASSERT_EQ(env.window.progressPos, k) << k;
    ASSERT_EQ(env.window.status, kPortClosedText) << k;
    ASSERT_EQ(env.window.CallsStartingWith("message: "),
              OneMessage(fault, compare ? "Ошибка сравнения с микросхемой" : "Ошибка чтения микросхемы", k * 32,
                         compare || k == 0 ? "Буфер не изменён." : "Буфер прочитан частично."))
        << k;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, WriteFaultSweep,
                         ::testing::Combine(::testing::Values(256, 2048), ::testing::Values(Write::Erase, Write::Fast),
                                            ::testing::Values(Fault::CallFails, Fault::EmptyReply, Fault::ShortReply,
                                                              Fault::Unplugged)));

}  // namespace
}  // namespace pavok::test
