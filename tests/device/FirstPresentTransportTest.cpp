#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "AdapterReservation.h"
#include "ChipRead.h"
#include "DeviceRequest.h"
#include "FirstPresentTransport.h"
#include "ScriptedTransport.h"
#include "TestEnvironment.h"

namespace pavok::test {
namespace {

// Two adapters, "first" and "second", each present or absent at every open
// of a session of opens; each open that succeeds sends one request and
// closes again.
struct Session {
  const char* what;
  std::vector<std::array<bool, 2>> present;  // per open: is first, is second there
  OpenFailure firstFailure = OpenFailure::NotFound;  // how the first fails when it is not there
  std::vector<std::string> used;                     // per open: the adapter it reached, or the failure
};

std::string Outcome(FirstPresentTransport& transport) {
  std::array<std::uint8_t, 1> reply{};
  if (!transport.Open()) return std::string(OpenFailureText(transport.LastOpenFailure()));
  const std::string adapter = transport.Describe();
  transport.Exchange(DeviceRequest::Make(REQ_LOAD_DATA, 0, 0).bytes, reply);
  transport.Close();
  return adapter;
}

TEST(FirstPresentTransport, TakesTheFirstPresentAndKeepsToItUntilItsOpenFails) {
  const std::string notFound(OpenFailureText(OpenFailure::NotFound));
  const Session sessions[] = {
      {"only the second", {{false, true}, {false, true}}, OpenFailure::NotFound, {"second", "second"}},
      {"both", {{true, true}}, OpenFailure::NotFound, {"first"}},
      {"none", {{false, false}}, OpenFailure::NotFound, {notFound}},
      {"the first plugged in during a transfer on the second",
       {{false, true}, {true, true}, {true, true}},
       OpenFailure::NotFound,
       {"second", "second", "second"}},
      {"the one in use pulled out: that request fails, the next looks again",
       {{true, true}, {false, true}, {false, true}},
       OpenFailure::NotFound,
       {"first", notFound, "second"}},
      {"the first there but closed to this user: the second is not tried",
       {{false, true}},
       OpenFailure::AccessDenied,
       {std::string(OpenFailureText(OpenFailure::AccessDenied))}},
      {"the first's driver missing: the second is tried, and the missing driver told when none is there",
       {{false, true}, {false, false}, {false, false}},
       OpenFailure::DriverMissing,
       {"second", notFound, std::string(OpenFailureText(OpenFailure::DriverMissing))}},
  };
  for (const Session& s : sessions) {
    auto first = std::make_unique<ScriptedTransport>();
    auto second = std::make_unique<ScriptedTransport>();
    ScriptedTransport& a = *first;
    ScriptedTransport& b = *second;
    a.description = "first";
    b.description = "second";
    a.failure = s.firstFailure;
    std::vector<std::unique_ptr<Transport>> candidates;
    candidates.push_back(std::move(first));
    candidates.push_back(std::move(second));
    FirstPresentTransport transport(std::move(candidates));
    EXPECT_EQ(transport.Describe(), "first or second") << s.what;

    std::vector<std::string> used;
    for (const auto& present : s.present) {
      a.opens = present[0];
      b.opens = present[1];
      used.push_back(Outcome(transport));
      EXPECT_FALSE(a.isOpen || b.isOpen) << s.what << ": left open";
    }
    EXPECT_EQ(used, s.used) << s.what;
    EXPECT_EQ(a.exchangeCalls, std::ranges::count(s.used, "first")) << s.what;
    EXPECT_EQ(b.exchangeCalls, std::ranges::count(s.used, "second")) << s.what;
  }
}

// Which adapter a transfer reaches is known only once it opens, so it holds
// them all: another program in the middle of a transfer on the second
// keeps it off the first too, until it is done.
TEST(FirstPresentTransport, ATransferHoldsTheLocksOfEveryCandidate) {
  TestEnvironment env(256);
  env.buffer().chipSize = 256;
  std::vector<std::unique_ptr<Transport>> candidates;
  for (const char* image : {"first.bin", "second.bin"}) {
    auto adapter = EmulatedAdapter::WithImageFile(256, env.directory / image, nullptr);
    ASSERT_TRUE(adapter);
    candidates.push_back(std::make_unique<EmulatedAdapter>(std::move(*adapter)));
  }
  const std::vector<std::string> names{candidates[0]->LockNames().front(), candidates[1]->LockNames().front()};
  FirstPresentTransport transport(std::move(candidates));
  EXPECT_EQ(transport.LockNames(), names);

  auto otherProgram = EmulatedAdapter::WithImageFile(256, env.directory / "second.bin", nullptr);
  ASSERT_TRUE(otherProgram);
  {
    const TransportScope other(*otherProgram);
    const AdapterReservation held;
    const TransportScope mine(transport);
    EXPECT_EQ(RunReadChip(), ReadOutcome::DeviceFailed);
    EXPECT_EQ(transport.Describe(), "emulated adapter with a 256-byte chip in " + (env.directory / "first.bin").string() +
                                        " or emulated adapter with a 256-byte chip in " +
                                        (env.directory / "second.bin").string())
        << "no adapter was opened";
  }
  const TransportScope mine(transport);
  EXPECT_EQ(RunReadChip(), ReadOutcome::Completed);
}

}  // namespace
}  // namespace pavok::test
