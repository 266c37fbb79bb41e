// The transfers' fault sweep over the CH341A on the USB test bed: every
// fault of the bed at every bulk transfer of a read, a comparison, a fast
// write and an erase gives one message and leaves what a failed transfer
// leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BufferState.h"
#include "Ch341aTransport.h"
#include "ChecksumCompare.h"
#include "ChipRead.h"
#include "ChipType.h"
#include "ChipWrite.h"
#include "CliTestSupport.h"
#include "DeviceChannel.h"
#include "SystemTexts.h"
#include "TestEnvironment.h"
#include "TransferFailure.h"
#include "UsbTestbed.h"

namespace pavok::test {
namespace {

// The chip a transfer over a CH341A holding `chip` with `faults` leaves. A
// write here is a fast write. The CH341A plugged in last serves again until
// a fault unplugs it: each device costs the testbed time.
std::vector<std::uint8_t> RunOverCh341a(TransferKind kind, UsbTestbed& testbed, EmulatedCh341a*& device,
                                        const std::vector<std::uint8_t>& chip, const FaultPlan& faults) {
  EepromModel model(static_cast<int>(chip.size()));
  model.Load(chip);
  if (device != nullptr) {
    device->Restart(std::move(model), faults);
  } else {
    device = &testbed.PlugCh341a(std::move(model), faults);
  }
  Ch341aTransport transport;
  const TransportScope scope(transport);
  if (kind == TransferKind::Read) RunReadChip();
  if (kind == TransferKind::Compare) RunCompareChecksums();
  if (kind == TransferKind::Write || kind == TransferKind::Erase) RunWriteChip(kind == TransferKind::Erase);
  EXPECT_EQ(device->interfaceClaims(), 0);
  EXPECT_EQ(device->streamErrors(), 0);
  std::vector<std::uint8_t> after = device->chipContents();
  if (faults.unplugAfter || faults.unplugDuringExchangeAt) device = nullptr;
  return after;
}

// The transfers' fault sweep over the CH341A: each fault of its bed at every
// bulk transfer of a C02's read, comparison and fast write, and of an erase's
// first three pages and its last; not the open's drain, where a lost answer
// harms nothing; an answer never given, a second's wait, only as the read's
// and the erase's first. One message names the block or page where it
// stopped, and the rest agrees: the blocks before it in both images (a
// comparison changes neither), temp.bin as it was; the pages before it on the
// chip, none after (that one may have landed, its answer lost), a write's
// images and flag untouched.
TEST(UsbPath, EveryFaultAtEveryTransferOverTheCh341aStopsWithOneMessage) {
  constexpr std::size_t kSize = 256;
  constexpr std::size_t kPage = 8;
  TestEnvironment env(kSize);
  UsbTestbed testbed;
  EmulatedCh341a* device = nullptr;
  std::vector<std::uint8_t> chip(kSize);
  for (std::size_t i = 0; i < kSize; ++i) chip[i] = static_cast<std::uint8_t>(i * 7);
  for (const TransferKind kind :
       {TransferKind::Read, TransferKind::Compare, TransferKind::Erase, TransferKind::Write}) {
    const bool writes = kind == TransferKind::Write || kind == TransferKind::Erase;
    const auto startAgain = [&] {
      env.window = ScriptedWindow{};
      ResetBuffer(Buffer());
      Buffer().chipSize = kSize;
      if (!writes) return;
      std::copy(chip.begin(), chip.end(), Buffer().referenceImage.begin());
      std::copy(chip.begin(), chip.end(), Buffer().workImage.begin());
      for (const std::size_t at : {1, 149, 253}) Buffer().workImage[at] ^= 0x5A;
      Buffer().unsavedFlag = 1;
      env.window.answers = {true};
      env.window.checkBoxes[IDC_FAST_WRITE] = true;
    };
    startAgain();
    RunOverCh341a(kind, testbed, device, chip, {});
    const std::vector<BulkUrb> transfers = device->urbs();
    const int chipWrites = device->chipWrites();
    for (std::size_t k = 1; k < transfers.size(); ++k) {
      if (kind == TransferKind::Erase && k > 8 && k + 2 < transfers.size()) continue;
      const int at = static_cast<int>(k);
      std::vector<FaultPlan> plans{FaultPlan::FailAt(at), FaultPlan::EmptyReplyAt(at),
                                   FaultPlan::ShortReplyAt(at, transfers[k].bytes.size() - 1),
                                   FaultPlan::UnplugAfter(at), FaultPlan::UnplugDuringExchangeAt(at)};
      if (at <= chipWrites) plans.push_back(FaultPlan::EndlessWriteCycleAt(at - 1));
      if (k == 2 && (kind == TransferKind::Read || kind == TransferKind::Erase)) {
        plans.emplace_back().unansweredAt = 0;  // the first answer, at the second transfer
      }
      for (std::size_t p = 0; p < plans.size(); ++p) {
        SCOPED_TRACE(::testing::Message() << "kind " << static_cast<int>(kind) << ", at " << k << ", fault " << p);
        startAgain();
        const BufferState before = Buffer();
        const std::string dump = ReadFileBytes(env.directory / "temp.bin");
        const std::vector<std::uint8_t> chipAfter = RunOverCh341a(kind, testbed, device, chip, plans[p]);
        const std::vector<std::string> messages = env.window.CallsStartingWith("message: ");
        ASSERT_EQ(messages.size(), 1u);
        const std::size_t named = messages[0].find(kAtAddressText) + kAtAddressText.size();
        const auto address = static_cast<std::uint16_t>(std::stoi(messages[0].substr(named, 4), nullptr, 16));
        const std::string reason =
            plans[p].endlessWriteCycleAt ? "the chip did not end its write cycle within 30 ms" : "";
        EXPECT_EQ(messages[0], "message: " + TransferFailureMessage({kind, address, false, reason, {}}));
        const BufferState& after = Buffer();
        const auto arrived = static_cast<std::ptrdiff_t>(kind == TransferKind::Read ? address : 0);
        EXPECT_TRUE(std::equal(chip.begin(), chip.begin() + arrived, after.workImage.begin()));
        EXPECT_TRUE(std::equal(after.workImage.begin() + arrived, after.workImage.end(),
                               before.workImage.begin() + arrived));
        EXPECT_EQ(after.referenceImage, writes ? before.referenceImage : after.workImage);
        EXPECT_EQ(after.unsavedFlag, before.unsavedFlag);
        EXPECT_EQ(env.window.progressPos, writes ? 0 : address / static_cast<int>(kBlockSize));
        EXPECT_EQ(env.window.status, kPortClosedText);
        EXPECT_EQ(ReadFileBytes(env.directory / "temp.bin"), dump);
        // What the transfer puts on the chip; a read or comparison, nothing.
        std::vector<std::uint8_t> written(before.workImage.begin(), before.workImage.begin() + kSize);
        if (kind == TransferKind::Erase) written.assign(kSize, 0xFF);
        if (!writes) written = chip;
        const auto page = static_cast<std::ptrdiff_t>(address / kPage * kPage);
        const auto pageEnd = page + static_cast<std::ptrdiff_t>(kPage);
        EXPECT_TRUE(std::equal(written.begin(), written.begin() + page, chipAfter.begin()));
        EXPECT_TRUE(std::equal(chipAfter.begin() + page, chipAfter.begin() + pageEnd, chip.begin() + page) ||
                    std::equal(chipAfter.begin() + page, chipAfter.begin() + pageEnd, written.begin() + page));
        EXPECT_TRUE(std::equal(chip.begin() + pageEnd, chip.end(), chipAfter.begin() + pageEnd));
      }
    }
  }
}

}  // namespace
}  // namespace pavok::test
