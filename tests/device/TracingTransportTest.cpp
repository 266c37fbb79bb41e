#include <gtest/gtest.h>

#include <cstdio>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "DeviceRequest.h"
#include "ScriptedTransport.h"
#include "TracingTransport.h"

namespace pavok::test {
namespace {

// A trace stream the test can read back.
class TraceFile {
 public:
  TraceFile() : file_(std::tmpfile()) {}
  ~TraceFile() { std::fclose(file_); }
  TraceFile(const TraceFile&) = delete;
  TraceFile& operator=(const TraceFile&) = delete;

  std::FILE* get() const { return file_; }
  std::string Text() const {
    std::rewind(file_);
    std::string text;
    for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_)) text.push_back(static_cast<char>(c));
    return text;
  }

 private:
  std::FILE* file_;
};

TEST(TracingTransport, WritesOneLinePerExchangeAndPassesItThrough) {
  struct Case {
    DeviceRequest request;
    std::size_t offered;
    ExchangeResult answer;
    const char* line;
  };
  const Case cases[] = {
      {DeviceRequest::Make(0x24, 0x00E0, 0x00A2), 32, {true, 32}, "request 24 E0 00 A2 00  offered 32  returned 32  ok\n"},
      {DeviceRequest::Make(0x28, 0x2211, 0x4433), 1, {true, 0}, "request 28 11 22 33 44  offered 1  returned 0  short reply\n"},
      {DeviceRequest::Make(0x27, 0x00FC, 0x00AE), 1, {false, 0}, "request 27 FC 00 AE 00  offered 1  returned 0  failed\n"},
      {DeviceRequest::Make(0x24, 0x0000, 0x00A0), 255, {true, 7}, "request 24 00 00 A0 00  offered 255  returned 7  short reply\n"},
  };
  for (const Case& c : cases) {
    TraceFile trace;
    auto inner = std::make_unique<ScriptedTransport>();
    ScriptedTransport& scripted = *inner;
    scripted.answer = c.answer;
    TracingTransport tracing(std::move(inner), trace.get());
    std::vector<std::uint8_t> reply(c.offered, 0);

    ASSERT_TRUE(tracing.Open());
    const ExchangeResult result = tracing.Exchange(c.request.bytes, reply);
    tracing.Close();

    EXPECT_EQ(trace.Text(), std::string("adapter: scripted\n") + c.line);
    EXPECT_EQ(result.succeeded, c.answer.succeeded);
    EXPECT_EQ(result.bytesReturned, c.answer.bytesReturned);
    EXPECT_EQ(scripted.lastOffered, c.offered);
    EXPECT_EQ(scripted.closeCalls, 1);
    if (c.answer.bytesReturned > 0) {
      EXPECT_EQ(reply[0], scripted.fill);  // the reply reaches the caller
    }
  }
}

TEST(TracingTransport, WritesOneLinePerFailedOpen) {
  struct Case {
    OpenFailure failure;
    const char* line;
  };
  for (const Case c : {Case{OpenFailure::NotFound, "open failed: adapter not found\n"},
                       Case{OpenFailure::AccessDenied, "open failed: access to the adapter denied\n"},
                       Case{OpenFailure::Other, "open failed: adapter could not be opened\n"}}) {
    TraceFile trace;
    auto inner = std::make_unique<ScriptedTransport>();
    inner->opens = false;
    inner->failure = c.failure;
    TracingTransport tracing(std::move(inner), trace.get());

    EXPECT_FALSE(tracing.Open());
    EXPECT_EQ(tracing.LastOpenFailure(), c.failure);
    EXPECT_EQ(trace.Text(), c.line);
  }
}

// One session's opens, the adapter replugged elsewhere in the middle: the
// adapter is named at the first open and again when another one opens, at
// either detail; only the finer one adds the requests and failed opens.
TEST(TracingTransport, NamesTheAdapterWhenAnOpenReachesAnotherOne) {
  struct Open {
    std::string adapter;  // empty: the open fails
  };
  const std::vector<Open> opens{{"CH341A on bus 1, device 4"}, {"CH341A on bus 1, device 4"}, {""},
                                {"CH341A on bus 1, device 5"}, {"CH341A on bus 1, device 5"}};
  struct Case {
    TraceDetail detail;
    std::string text;
  };
  const std::string request = "request 28 FF FF FF FF  offered 1  returned 1  ok\n";
  for (const Case& c : {Case{TraceDetail::AdapterInUse, "adapter: CH341A on bus 1, device 4\n"
                                                        "adapter: CH341A on bus 1, device 5\n"},
                        Case{TraceDetail::EveryRequest, "adapter: CH341A on bus 1, device 4\n" + request + request +
                                                        "open failed: adapter not found\n"
                                                        "adapter: CH341A on bus 1, device 5\n" +
                                                        request + request}}) {
    TraceFile trace;
    auto inner = std::make_unique<ScriptedTransport>();
    ScriptedTransport& scripted = *inner;
    scripted.answer = {true, 1};
    TracingTransport tracing(std::move(inner), trace.get(), c.detail);
    for (const Open& open : opens) {
      scripted.opens = !open.adapter.empty();
      scripted.description = open.adapter;
      std::array<std::uint8_t, 1> reply{};
      if (tracing.Open()) tracing.Exchange(DeviceRequest::Make(REQ_LOAD_DATA, 0xFFFF, 0xFFFF).bytes, reply);
      tracing.Close();
    }
    EXPECT_EQ(trace.Text(), c.text);
  }
}

}  // namespace
}  // namespace pavok::test
