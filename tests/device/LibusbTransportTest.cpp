#include <gtest/gtest.h>

#include <libusb.h>

#include <memory>
#include <optional>

#include "DeviceRequest.h"
#include "LibusbTransport.h"

namespace pavok::test {
namespace {

// What the fake bus holds and what the transport did with it. The transport
// owns the fake, so the test keeps this record apart.
struct FakeBus {
  std::vector<UsbDeviceIds> devices{};
  int initialiseResult = LIBUSB_SUCCESS;
  int openResult = LIBUSB_SUCCESS;
  std::optional<int> transferResult{};  // default: every byte asked for
  UsbDevicePlace place{};

  int initialiseCalls = 0;
  std::vector<std::size_t> openedPositions{};
  int closeCalls = 0;
  bool handleOpen = false;
  struct Transfer {
    UsbControlSetup setup;
    std::size_t length;
    unsigned timeout;
  };
  std::vector<Transfer> transfers{};
};

class FakeUsbBackend final : public UsbBackend {
 public:
  explicit FakeUsbBackend(FakeBus& bus) : bus_(bus) {}

  int Initialise() override {
    ++bus_.initialiseCalls;
    return bus_.initialiseResult;
  }
  std::vector<UsbDeviceIds> Enumerate() override { return bus_.devices; }
  int Open(std::size_t position) override {
    bus_.openedPositions.push_back(position);
    bus_.handleOpen = bus_.openResult == LIBUSB_SUCCESS;
    return bus_.openResult;
  }
  int ControlTransfer(const UsbControlSetup& setup, std::span<std::uint8_t> data, unsigned timeout) override {
    bus_.transfers.push_back({setup, data.size(), timeout});
    std::fill(data.begin(), data.end(), std::uint8_t{0x3C});
    return bus_.transferResult.value_or(static_cast<int>(data.size()));
  }
  void Close() override {
    ++bus_.closeCalls;
    bus_.handleOpen = false;
  }
  UsbDevicePlace OpenDevicePlace() const override { return bus_.handleOpen ? bus_.place : UsbDevicePlace{}; }

 private:
  FakeBus& bus_;
};

constexpr UsbDeviceIds kAdapter{0x03EB, 0x21FF};

LibusbTransport MakeTransport(FakeBus& bus, UsbDeviceIds ids = kAdapter) {
  return LibusbTransport(std::make_unique<FakeUsbBackend>(bus), ids.vendorId, ids.productId);
}

TEST(LibusbTransport, ExchangeIsOneVendorControlTransferIn) {
  struct Case {
    DeviceRequest request;
    std::size_t offered;
    UsbControlSetup setup;
  };
  const Case cases[] = {
      {DeviceRequest::Make(REQ_READ_BLOCK, 0x00E0, 0x00A2), 32, {0xC0, 0x24, 0x00E0, 0x00A2}},
      {DeviceRequest::Make(REQ_LOAD_DATA, 0x2211, 0x4433), 1, {0xC0, 0x28, 0x2211, 0x4433}},
      {DeviceRequest::Make(REQ_WRITE_DATA, 0x00FC, 0x00AE), 1, {0xC0, 0x27, 0x00FC, 0x00AE}},
      {DeviceRequest::Make(REQ_LOAD_DATA, 0xFFFF, 0xFFFF), 255, {0xC0, 0x28, 0xFFFF, 0xFFFF}},
  };
  for (const Case& c : cases) {
    FakeBus bus{.devices = {kAdapter}};
    LibusbTransport transport = MakeTransport(bus);
    std::vector<std::uint8_t> reply(c.offered, 0);

    ASSERT_TRUE(transport.Open());
    const ExchangeResult result = transport.Exchange(c.request.bytes, reply);

    ASSERT_EQ(bus.transfers.size(), 1u);
    const FakeBus::Transfer& sent = bus.transfers[0];
    EXPECT_EQ(sent.setup.requestType, c.setup.requestType);
    EXPECT_EQ(sent.setup.request, c.setup.request);
    EXPECT_EQ(sent.setup.value, c.setup.value);
    EXPECT_EQ(sent.setup.index, c.setup.index);
    EXPECT_EQ(sent.length, c.offered);
    EXPECT_GE(sent.timeout, 1000u);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.bytesReturned, c.offered);
    EXPECT_EQ(reply.back(), 0x3C);
  }
}

TEST(LibusbTransport, TransferResultBecomesTheExchangeResult) {
  struct Case {
    int transferResult;
    ExchangeResult expected;
  };
  for (const Case c : {Case{32, {true, 32}}, Case{5, {true, 5}}, Case{0, {true, 0}},
                       Case{LIBUSB_ERROR_TIMEOUT, {false, 0}}, Case{LIBUSB_ERROR_PIPE, {false, 0}},
                       Case{LIBUSB_ERROR_NO_DEVICE, {false, 0}}}) {
    FakeBus bus{.devices = {kAdapter}, .transferResult = c.transferResult};
    LibusbTransport transport = MakeTransport(bus);
    std::array<std::uint8_t, 32> reply{};
    ASSERT_TRUE(transport.Open());
    const ExchangeResult result = transport.Exchange(DeviceRequest::Make(REQ_READ_BLOCK, 0, 0xA0).bytes, reply);
    EXPECT_EQ(result.succeeded, c.expected.succeeded) << c.transferResult;
    EXPECT_EQ(result.bytesReturned, c.expected.bytesReturned) << c.transferResult;
  }
}

TEST(LibusbTransport, OpenFindsTheAdapterByItsIdsOrSaysWhyNot) {
  struct Case {
    const char* what;
    std::vector<UsbDeviceIds> devices;
    int initialiseResult;
    int openResult;
    std::vector<std::size_t> openedPositions{};
    OpenFailure failure;
  };
  const std::vector<UsbDeviceIds> others{{0x03EB, 0x0001}, {0x1234, 0x21FF}};
  const Case cases[] = {
      {"only the adapter", {kAdapter}, 0, 0, {0}, OpenFailure::None},
      {"adapter after near misses", {others[0], others[1], kAdapter}, 0, 0, {2}, OpenFailure::None},
      {"empty bus", {}, 0, 0, {}, OpenFailure::NotFound},
      {"only near misses", others, 0, 0, {}, OpenFailure::NotFound},
      {"no permission", {kAdapter}, 0, LIBUSB_ERROR_ACCESS, {0}, OpenFailure::AccessDenied},
      {"gone before opening", {kAdapter}, 0, LIBUSB_ERROR_NO_DEVICE, {0}, OpenFailure::NotFound},
      {"other open error", {kAdapter}, 0, LIBUSB_ERROR_IO, {0}, OpenFailure::Other},
      {"library unusable", {kAdapter}, LIBUSB_ERROR_OTHER, 0, {}, OpenFailure::Other},
  };
  for (const Case& c : cases) {
    FakeBus bus{.devices = c.devices, .initialiseResult = c.initialiseResult, .openResult = c.openResult};
    LibusbTransport transport = MakeTransport(bus);
    std::array<std::uint8_t, 1> reply{};

    EXPECT_EQ(static_cast<bool>(transport.Open()), c.failure == OpenFailure::None) << c.what;
    EXPECT_EQ(transport.LastOpenFailure(), c.failure) << c.what;
    EXPECT_EQ(bus.openedPositions, c.openedPositions) << c.what;
    if (c.failure == OpenFailure::None) continue;
    EXPECT_FALSE(transport.Exchange(DeviceRequest::Make(REQ_LOAD_DATA, 0, 0).bytes, reply).succeeded) << c.what;
    EXPECT_TRUE(bus.transfers.empty()) << c.what;
  }
}

TEST(LibusbTransport, OtherIdsFromTheConstructorAreLookedFor) {
  FakeBus bus{.devices = {kAdapter, {0x16C0, 0x05DC}}, .place = {3, 17}};
  LibusbTransport transport = MakeTransport(bus, {0x16C0, 0x05DC});
  EXPECT_EQ(transport.Describe(), "USB adapter 16C0:05DC");
  EXPECT_TRUE(transport.Open());
  EXPECT_EQ(bus.openedPositions, std::vector<std::size_t>{1});
  transport.Close();
  EXPECT_EQ(transport.Describe(), "USB adapter 16C0:05DC on bus 3, device 17") << "where the last open found it";
}

TEST(LibusbTransport, CloseReleasesTheHandleAndTheContextIsMadeOnce) {
  FakeBus bus{.devices = {kAdapter}};
  {
    LibusbTransport transport = MakeTransport(bus);
    for (int request = 0; request < 3; ++request) {
      ASSERT_TRUE(transport.Open());
      transport.Close();
      EXPECT_FALSE(bus.handleOpen);
    }
    transport.Close();  // a second close releases nothing more
    EXPECT_EQ(bus.closeCalls, 3);
    ASSERT_TRUE(transport.Open());
  }
  EXPECT_FALSE(bus.handleOpen) << "the destructor releases an open handle";
  EXPECT_EQ(bus.initialiseCalls, 1);
}

}  // namespace
}  // namespace pavok::test
