// A stand-in for the CH341A maker's DLL, built by the test tree under the
// same name: the same functions, over the test bed's CH341A stream and chip
// model, so that the programs run their CH341A streams under Wine as they
// would on Windows. Its device 0 is a CH341A with a chip the test plugs in
// (StandInPlug), or one it is told of (CH341OpenDevice); faults come from the same plan as on the USB test bed,
// each read or write call counted as one transfer.

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <optional>

#include "Ch341aStream.h"
#include "Ch341aStreamBus.h"
#include "FaultPlan.h"

namespace {

std::optional<pavok::test::Ch341aStreamBus> bus;
pavok::FaultPlan faults;
int transfers = 0;
bool plugged = false;
bool opened = false;

// The fault plan's verdict on the next transfer: false when it fails, and
// the bytes it moves at most.
bool Transfer(std::size_t& bytes) {
  const int index = transfers++;
  if (!opened || !plugged || faults.failExchangeAt == index) return false;
  if (faults.unplugDuringExchangeAt == index || (faults.unplugAfter && index >= *faults.unplugAfter)) {
    plugged = false;
    return false;
  }
  if (faults.emptyReplyAt == index) bytes = 0;
  if (faults.shortReplyAt == index) bytes = std::min(bytes, faults.shortReplyBytes);
  return true;
}

}  // namespace

extern "C" {

__declspec(dllexport) void StandInPlug(const pavok::FaultPlan* plan, const char* contents, int size) {
  pavok::EepromModel chip(size);
  const auto bytes = reinterpret_cast<const std::uint8_t*>(contents);
  chip.Load(std::vector(bytes, bytes + size));
  bus.emplace(pavok::test::I2cEeprom(std::move(chip), plan->endlessWriteCycleAt));
  faults = *plan;
  transfers = 0;
  plugged = !plan->absent;
}

__declspec(dllexport) int StandInContents(char* out, int size) {
  const auto contents = bus->chip().chip().contents();
  std::copy_n(contents.begin(), std::min(static_cast<int>(contents.size()), size), out);
  return bus->streamErrors();
}

// In a program of its own, a blank chip of PAVOK_STAND_IN_CHIP_SIZE bytes.
__declspec(dllexport) HANDLE WINAPI CH341OpenDevice(ULONG index) {
  if (const char* size = std::getenv("PAVOK_STAND_IN_CHIP_SIZE"); size != nullptr && !bus) {
    const std::string blank(static_cast<std::size_t>(std::atoi(size)), '\xFF');
    StandInPlug(&faults, blank.data(), static_cast<int>(blank.size()));
  }
  opened = index == 0 && plugged;
  return opened ? reinterpret_cast<HANDLE>(1) : INVALID_HANDLE_VALUE;
}

__declspec(dllexport) VOID WINAPI CH341CloseDevice(ULONG) { opened = false; }

__declspec(dllexport) BOOL WINAPI CH341SetTimeout(ULONG, ULONG, ULONG) { return opened; }

// Out, only whole packets get through a transfer cut short.
__declspec(dllexport) BOOL WINAPI CH341WriteData(ULONG, PVOID buffer, PULONG length) {
  std::size_t bytes = *length;
  if (!Transfer(bytes)) return FALSE;
  if (bytes < *length) bytes -= bytes % pavok::kCh341aPacketSize;
  bus->TakeStream(std::span(static_cast<const std::uint8_t*>(buffer), bytes));
  *length = static_cast<ULONG>(bytes);
  return TRUE;
}

// With nothing waiting the read times out.
__declspec(dllexport) BOOL WINAPI CH341ReadData(ULONG, PVOID buffer, PULONG length) {
  std::size_t bytes = *length;
  if (!Transfer(bytes) || !bus->hasReplies()) return FALSE;
  const std::size_t given = bus->GiveReplies(std::span(static_cast<std::uint8_t*>(buffer), *length));
  *length = static_cast<ULONG>(std::min(given, bytes));
  return TRUE;
}

}  // extern "C"
