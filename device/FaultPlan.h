#pragma once
// Faults the emulated adapter injects, counted by exchange: exchange k is the
// k-th request that reached the adapter, from 0.

#include <cstddef>
#include <optional>

namespace pavok {

struct FaultPlan {
  bool absent = false;                // no adapter: every open fails
  std::optional<int> failExchangeAt;  // the platform call fails
  std::optional<int> emptyReplyAt;    // the call succeeds with 0 bytes
  std::optional<int> shortReplyAt;    // the call returns shortReplyBytes bytes
  std::size_t shortReplyBytes = 1;
  std::optional<int> unplugAfter;     // after this many exchanges, opens fail

  static FaultPlan Absent() {
    FaultPlan plan;
    plan.absent = true;
    return plan;
  }
  static FaultPlan FailAt(int exchange) {
    FaultPlan plan;
    plan.failExchangeAt = exchange;
    return plan;
  }
  static FaultPlan EmptyReplyAt(int exchange) {
    FaultPlan plan;
    plan.emptyReplyAt = exchange;
    return plan;
  }
  static FaultPlan ShortReplyAt(int exchange, std::size_t bytes) {
    FaultPlan plan;
    plan.shortReplyAt = exchange;
    plan.shortReplyBytes = bytes;
    return plan;
  }
  static FaultPlan UnplugAfter(int exchanges) {
    FaultPlan plan;
    plan.unplugAfter = exchanges;
    return plan;
  }
};

}  // namespace pavok
