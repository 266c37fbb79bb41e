#pragma once
// A transport whose answers the test sets, counting every call.

#include <algorithm>
#include <string>

#include "Transport.h"

namespace pavok::test {

class ScriptedTransport final : public Transport {
 public:
  bool opens = true;
  OpenFailure failure = OpenFailure::NotFound;  // reported after a failed open
  ExchangeResult answer{true, 0};
  std::uint8_t fill = 0x5A;  // written into the first answer.bytesReturned reply bytes
  std::string description = "scripted";

  int openCalls = 0;
  int closeCalls = 0;
  int exchangeCalls = 0;
  bool isOpen = false;
  std::size_t lastOffered = 0;

  OpenResult Open() override {
    ++openCalls;
    isOpen = opens;
    return opens ? OpenFailure::None : LastOpenFailure();
  }
  ExchangeResult Exchange(std::span<const std::uint8_t, 5>, std::span<std::uint8_t> reply) override {
    ++exchangeCalls;
    lastOffered = reply.size();
    std::fill_n(reply.begin(), std::min(answer.bytesReturned, reply.size()), fill);
    return answer;
  }
  void Close() override {
    ++closeCalls;
    isOpen = false;
  }
  OpenFailure LastOpenFailure() const override { return opens ? OpenFailure::None : failure; }
  std::string Describe() const override { return description; }
};

}  // namespace pavok::test
