#pragma once
// Faults the emulated adapter injects, counted by exchange: exchange k is the
// k-th request that reached the adapter, from 0. The emulated USB adapter of
// the tests reads the same plan and turns each fault into what the USB stack
// would show (a stall, a short transfer, a device node that is gone); the
// emulated CH341A counts its bulk transfers as its exchanges instead.

#include <cstddef>
#include <optional>

namespace pavok {

struct FaultPlan {
  bool absent = false;                // no adapter: every open fails
  bool accessDenied = false;          // the adapter is there, but this user may not open it
  std::optional<int> failExchangeAt;  // the platform call fails
  std::optional<int> emptyReplyAt;    // the call succeeds with 0 bytes
  std::optional<int> shortReplyAt;    // the call returns shortReplyBytes bytes
  std::size_t shortReplyBytes = 1;
  std::optional<int> unplugAfter;     // after this many exchanges, opens fail
  std::optional<int> unplugDuringExchangeAt;  // pulled out while answering: the call fails, opens fail
  // The USB test bed's CH341A never answers its k-th transfer in (from 0)
  // that finds an answer waiting: the answer stays in it.
  std::optional<int> unansweredAt;
  // The chip's k-th write (from 0) starts a write cycle that never ends: the
  // chip takes that write, then answers nothing any more.
  std::optional<int> endlessWriteCycleAt;

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
  static FaultPlan UnplugDuringExchangeAt(int exchange) {
    FaultPlan plan;
    plan.unplugDuringExchangeAt = exchange;
    return plan;
  }
  static FaultPlan EndlessWriteCycleAt(int write) {
    FaultPlan plan;
    plan.endlessWriteCycleAt = write;
    return plan;
  }
  static FaultPlan AccessDenied() {
    FaultPlan plan;
    plan.accessDenied = true;
    return plan;
  }
};

}  // namespace pavok
