// The real exchange under Wine: WinHttpRequest against the stand-in service named by
// ZELVANE_TEST_SERVICE_HOST. exchange_wine_driver.py runs each test alone, with the stand-in
// in the failure mode the test expects, and checks what the stand-in received.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "services/http_exchange_win32.h"
#include "services/http_get_text.h"
#include "services/service_endpoints.h"
#include "services/translation_clients.h"

namespace {

const AnsiText kNiHao = "\xC4\xE3\xBA\xC3";  // 你好
const AnsiText kMarked = "\xD2\xEB";         // 译, the stand-in's mark for unknown texts

class Exchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
  void TearDown() override { CoUninitialize(); }

  static AnsiText GooglePath() {
    return "http://" + CurrentServiceEndpoints().google_host + "/translate_a/t?client=t&text=%41";
  }
};

TEST_F(Exchange, GoogleReturnsTranslationAsGbk) {
  EXPECT_EQ(TranslateWithGoogle("Hello", 1), kNiHao);
}

TEST_F(Exchange, MicrosoftReturnsTranslationAsGbk) {
  EXPECT_EQ(TranslateWithMicrosoft("Hello", 0), kNiHao);
}

TEST_F(Exchange, RepliesAreKeptByteForByte) {
  // Google's escapes stay in the segment; Microsoft's entities are not decoded.
  EXPECT_EQ(TranslateWithGoogle("a \"b\" <c>", 0), kMarked + "a \\\"b\\\" \\u003cc\\u003e");
  EXPECT_EQ(TranslateWithMicrosoft("A & B", 0), kMarked + "A &amp; B");
}

TEST_F(Exchange, HeadersGoOutInListOrder) {
  const AnsiText body =
      HttpGetText(GooglePath(), {{"X-First", "1"}, {"X-Second", "2"}, {"X-Third", "3"}});
  EXPECT_NE(body.find("[[[\""), AnsiText::npos) << body;
}

TEST_F(Exchange, DirectionsOutsideTheTableSendNothing) {
  for (std::int32_t direction : {-1, 5}) {
    EXPECT_EQ(TranslateWithGoogle("Hello", direction), "");
    EXPECT_EQ(TranslateWithMicrosoft("Hello", direction), "");
  }
}

// Run once per failure mode: every broken exchange is an empty translation, and the caller
// carries on with the next text.
TEST_F(Exchange, FailedExchangesGiveEmptyTexts) {
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(TranslateWithGoogle("Hello", 0), "") << "round " << round;
    EXPECT_EQ(TranslateWithMicrosoft("Hello", 0), "") << "round " << round;
  }
}

TEST_F(Exchange, ErrorStatusBodyIsReturnedAsText) {
  const AnsiText body = HttpGetText(GooglePath(), {});
  EXPECT_NE(body.find("Internal Server Error"), AnsiText::npos) << body;
}

// The driver shortens the bounds with ZELVANE_TEST_DEADLINE_MS and stalls far longer.
TEST_F(Exchange, SlowReplyEndsAtTheDeadline) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TranslateWithGoogle("Hello", 0), "");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(CurrentServiceEndpoints().limits.deadline_ms));
  EXPECT_LT(waited, std::chrono::seconds(10));  // the stand-in stalls for 40 s
}

TEST_F(Exchange, HugeReplyIsTakenWhole) {
  for (const AnsiText& translation :
       {TranslateWithGoogle("Hello", 0), TranslateWithMicrosoft("Hello", 0)}) {
    ASSERT_GT(translation.size(), 2u * 1024 * 1024);
    ASSERT_EQ(translation.size() % kNiHao.size(), 0u);
    for (std::size_t pos = 0; pos < translation.size(); pos += kNiHao.size()) {
      ASSERT_EQ(translation.compare(pos, kNiHao.size(), kNiHao), 0) << "at byte " << pos;
    }
  }
}

TEST_F(Exchange, UnsetHostReachesNoService) {
  ASSERT_EQ(CurrentServiceEndpoints().google_host, "127.0.0.1:9");
  EXPECT_EQ(TranslateWithGoogle("Hello", 0), "");
  EXPECT_EQ(TranslateWithMicrosoft("Hello", 0), "");
}

// ---- the exchange itself: method, body, status and the overall deadline --------------------

const char kBodyWithNonAscii[] =
    "[\"Open File\",\"A &amp; B\",\"\xE4\xB8\xAD\xC3\xBC\xF0\x9F\x98\x80 \\\" \\u0001\"]";

std::string Base() { return "http://" + CurrentServiceEndpoints().google_host; }

HttpRequest GoogleCurrentGet(const std::string& text) {
  HttpRequest request;
  request.method = HttpMethod::kGet;
  request.url = Base() + "/translate_a/single?client=dict-chrome-ex&sl=en&tl=zh-CN&dt=t"
                         "&ie=UTF-8&oe=UTF-8&q=" + text;
  request.headers = {{"X-First", "1"}, {"User-Agent", "Zelvane"}, {"X-Third", "3"}};
  return request;
}

HttpRequest MicrosoftCurrentPost(const std::string& body) {
  HttpRequest request;
  request.method = HttpMethod::kPost;
  request.url = Base() + "/translate/translatetext?from=en&to=zh-Hans&isEnterpriseClient=false";
  request.headers = {{"Content-Type", "application/json"}, {"X-Second", "2"}};
  request.body = body;
  return request;
}

ExchangeLimits Limits(std::int32_t deadline_ms) {
  ExchangeLimits limits;  // the object's own time-outs stay long: only the deadline cuts
  limits.deadline_ms = deadline_ms;
  return limits;
}

// How long one exchange took, printed for the driver's figures.
struct Timed {
  HttpReply reply;
  std::chrono::milliseconds took;
};

Timed TimedExchange(const HttpRequest& request, const ExchangeLimits& limits) {
  const auto start = std::chrono::steady_clock::now();
  Timed timed{ExchangeOverWinHttp(request, limits), {}};
  timed.took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("exchange took %lld ms\n", static_cast<long long>(timed.took.count()));
  return timed;
}

const std::string kNiHaoUtf8 = "\xE4\xBD\xA0\xE5\xA5\xBD";          // 你好
const std::string kOpenFileUtf8 = "\xE6\x89\x93\xE5\xBC\x80\xE6\x96\x87\xE4\xBB\xB6";  // 打开文件

TEST_F(Exchange, GetGoesOutWithHeadersInOrder) {
  const Timed got = TimedExchange(GoogleCurrentGet("Hello.%20World."), Limits(10000));
  ASSERT_TRUE(got.reply.answered);
  EXPECT_EQ(got.reply.status, 200);
  EXPECT_EQ(got.reply.body, "[[[\"" + kNiHaoUtf8 + "\xE3\x80\x82\",\"Hello. \",null,null,10],"
            "[\"\xE4\xB8\x96\xE7\x95\x8C\xE3\x80\x82\",\"World.\",null,null,10]],null,\"en\"]");
}

TEST_F(Exchange, PostSendsTheBodyBytesAsTheyAre) {
  const Timed got = TimedExchange(MicrosoftCurrentPost(kBodyWithNonAscii), Limits(10000));
  ASSERT_TRUE(got.reply.answered);
  EXPECT_EQ(got.reply.status, 200);
  EXPECT_NE(got.reply.body.find("{\"text\":\"" + kOpenFileUtf8 + "\",\"to\":\"zh-Hans\"}"),
            std::string::npos) << got.reply.body;
  // Non-ASCII text comes back as UTF-8, unchanged.
  EXPECT_NE(got.reply.body.find("\xE4\xB8\xAD\xC3\xBC\xF0\x9F\x98\x80"), std::string::npos)
      << got.reply.body;
}

// The driver runs this once per status the stand-in gives (ZELVANE_EXPECT_STATUS), through
// both methods.
TEST_F(Exchange, StatusAndBodyComeBackWhateverTheStatus) {
  const char* expected = std::getenv("ZELVANE_EXPECT_STATUS");
  ASSERT_NE(expected, nullptr);
  for (const HttpRequest& request :
       {GoogleCurrentGet("Hello"), MicrosoftCurrentPost("[\"Hello\"]")}) {
    const Timed got = TimedExchange(request, Limits(10000));
    ASSERT_TRUE(got.reply.answered);
    EXPECT_EQ(got.reply.status, std::atoi(expected));
    EXPECT_FALSE(got.reply.body.empty());
  }
}

TEST_F(Exchange, RefusedConnectionIsNoAnswerAtOnce) {
  for (const HttpRequest& request : {GoogleCurrentGet("Hello"), MicrosoftCurrentPost("[]")}) {
    const Timed got = TimedExchange(request, Limits(20000));
    EXPECT_FALSE(got.reply.answered);
    EXPECT_EQ(got.reply.status, 0);
    EXPECT_TRUE(got.reply.body.empty());
    EXPECT_LT(got.took, std::chrono::seconds(10));  // not the deadline
  }
}

// The driver runs this against a server that takes the request and answers nothing (no
// status line, no headers), and one that sends its headers and half the body, for far longer
// than the deadline.
TEST_F(Exchange, ExchangeEndsAtTheDeadline) {
  constexpr std::int32_t kDeadlineMs = 1500;
  for (const HttpRequest& request :
       {GoogleCurrentGet("Hello"), MicrosoftCurrentPost("[\"Hello\"]")}) {
    const Timed got = TimedExchange(request, Limits(kDeadlineMs));
    EXPECT_FALSE(got.reply.answered);
    EXPECT_TRUE(got.reply.body.empty());
    EXPECT_GE(got.took, std::chrono::milliseconds(kDeadlineMs));
    EXPECT_LT(got.took, std::chrono::seconds(10));  // the stand-in stalls for 60 s
  }
}

TEST_F(Exchange, HugeReplyIsReadWhole) {
  const Timed got = TimedExchange(GoogleCurrentGet("Hello"), Limits(60000));
  ASSERT_TRUE(got.reply.answered);
  EXPECT_EQ(got.reply.status, 200);
  const std::string head = "[[[\"";
  ASSERT_GT(got.reply.body.size(), 6u * 1024 * 1024);
  ASSERT_EQ(got.reply.body.compare(0, head.size(), head), 0);
  const std::size_t end = got.reply.body.find('"', head.size());
  ASSERT_NE(end, std::string::npos);
  const std::size_t length = end - head.size();
  ASSERT_GT(length, 6u * 1024 * 1024);
  ASSERT_EQ(length % kNiHaoUtf8.size(), 0u);
  for (std::size_t pos = head.size(); pos < end; pos += kNiHaoUtf8.size()) {
    ASSERT_EQ(got.reply.body.compare(pos, kNiHaoUtf8.size(), kNiHaoUtf8), 0) << "at " << pos;
  }
  EXPECT_EQ(got.reply.body.substr(end), "\",\"Hello\",null,null,10]],null,\"en\"]");
}

}  // namespace
