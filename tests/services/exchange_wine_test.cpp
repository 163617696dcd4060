// The real exchange under Wine: WinHttpRequest against the stand-in service named by
// ZELVANE_TEST_SERVICE_HOST. exchange_wine_driver.py runs each test alone, with the stand-in
// in the failure mode the test expects, and checks what the stand-in received.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

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

TEST_F(Exchange, SlowReplyEndsAtTheReceiveTimeout) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TranslateWithGoogle("Hello", 0), "");
  const auto waited = std::chrono::steady_clock::now() - start;
  // It waited for the reply (the receive time-out is 15 s) and gave up long before the
  // stand-in's 40 s delay was over.
  EXPECT_GE(waited, std::chrono::seconds(12));
  EXPECT_LT(waited, std::chrono::seconds(35));
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

}  // namespace
