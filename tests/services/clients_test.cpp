// The two clients over a recording HTTP getter: exact URL, headers and reply cutting.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "services/google_client.h"
#include "services/microsoft_client.h"

namespace {

const ServiceEndpoints kEndpoints = {"g.example:81",
                                     "http://g.example:81/",
                                     "m.example:82",
                                     "http://schemas.microsoft.com/2003/10/Serialization/",
                                     "https://gc.example",
                                     "https://mc.example",
                                     ExchangeLimits{}};

struct RecordingGetter {
  struct Call {
    AnsiText url;
    RequestHeaders headers;
  };
  AnsiText reply;
  std::vector<Call> calls;

  HttpGetter AsGetter() {
    return [this](const AnsiText& url, const RequestHeaders& headers) {
      calls.push_back({url, headers});
      return reply;
    };
  }
};

struct DirectionCase {
  std::int32_t direction;
  const char* google_tail;
  const char* microsoft_tail;
};

void PrintTo(const DirectionCase& c, std::ostream* os) { *os << c.direction; }

class ClientDirectionTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(ClientDirectionTest, GoogleSendsFixedQueryThenDirection) {
  RecordingGetter http;
  google::Translate("Hi", GetParam().direction, kEndpoints, http.AsGetter());
  ASSERT_EQ(http.calls.size(), 1u);
  EXPECT_EQ(http.calls[0].url,
            std::string("http://g.example:81/translate_a/t?client=t&text=%48%69"
                        "&hl=zh-CN&multires=1&otf=1&pc=0&sc=1") +
                GetParam().google_tail);
}

TEST_P(ClientDirectionTest, MicrosoftSendsAppIdTextThenDirection) {
  RecordingGetter http;
  microsoft::Translate("Hi", GetParam().direction, kEndpoints, http.AsGetter());
  ASSERT_EQ(http.calls.size(), 1u);
  EXPECT_EQ(http.calls[0].url,
            std::string("http://m.example:82/v2/Http.svc/Translate"
                        "?appId=7A1C0E93F6B8D2A4C5E7091B3D6F8A2C4E0B7D19&text=%48%69&") +
                GetParam().microsoft_tail);
  EXPECT_TRUE(http.calls[0].headers.empty());
}

INSTANTIATE_TEST_SUITE_P(
    AllDirections, ClientDirectionTest,
    ::testing::Values(DirectionCase{0, "&sl=auto&tl=zh-CN", "from=&to=zh-CHS"},
                      DirectionCase{1, "&sl=en&tl=zh-CN", "from=en&to=zh-CHS"},
                      DirectionCase{2, "&sl=zh-CN&tl=en", "from=zh-CHS&to=en"},
                      DirectionCase{3, "&sl=ja&tl=zh-CN", "from=ja&to=zh-CHS"},
                      DirectionCase{4, "&sl=zh-CN&tl=ja", "from=zh-CHS&to=ja"}),
    [](const auto& info) { return "Direction" + std::to_string(info.param.direction); });

class ClientUnknownDirectionTest : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(ClientUnknownDirectionTest, NeitherClientSendsAnything) {
  RecordingGetter http;
  http.reply = "[[\"x\",\"y\"<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
               "x</string>";
  EXPECT_EQ(google::Translate("Hi", GetParam(), kEndpoints, http.AsGetter()), "");
  EXPECT_EQ(microsoft::Translate("Hi", GetParam(), kEndpoints, http.AsGetter()), "");
  EXPECT_TRUE(http.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(OutsideZeroToFour, ClientUnknownDirectionTest,
                         ::testing::Values(-1, 5, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max()));

TEST(GoogleClient, SendsRefererThenUserAgent) {
  RecordingGetter http;
  google::Translate("Hi", 1, kEndpoints, http.AsGetter());
  ASSERT_EQ(http.calls.size(), 1u);
  const RequestHeaders& headers = http.calls[0].headers;
  ASSERT_EQ(headers.size(), 2u);
  EXPECT_EQ(headers[0].name, "Referer");
  EXPECT_EQ(headers[0].value, "http://g.example:81/");
  EXPECT_EQ(headers[1].name, "User-Agent");
  EXPECT_EQ(headers[1].value,
            "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; QQDownload 663; "
            "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1) ; .NET CLR 2.0.50727)");
  EXPECT_EQ(headers[1].value.size(), 149u);
}

TEST(GoogleClient, EncodesTheWholeTextSpacesIncluded) {
  RecordingGetter http;
  google::Translate(" Hi \xC4\xE3 ", 0, kEndpoints, http.AsGetter());  // " Hi 你 "
  ASSERT_EQ(http.calls.size(), 1u);
  EXPECT_NE(http.calls[0].url.find("&text=%20%48%69%20%E4%BD%A0%20&hl="), std::string::npos)
      << http.calls[0].url;
}

struct ReplyCase {
  const char* name;
  AnsiText reply;
  AnsiText expected;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class GoogleReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(GoogleReplyTest, ReturnsFirstQuotedSegment) {
  RecordingGetter http;
  http.reply = GetParam().reply;
  EXPECT_EQ(google::Translate("Hello", 0, kEndpoints, http.AsGetter()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GoogleReplyTest,
    ::testing::Values(
        ReplyCase{"Translation", "[[[\"\xC4\xE3\xBA\xC3\",\"Hello\",,,1]],,\"en\"]",
                  "\xC4\xE3\xBA\xC3"},  // 你好
        ReplyCase{"OnlyFirstOfSeveralSegments", "[[[\"one\",\"One\"],[\"two\",\"Two\"]]]", "one"},
        ReplyCase{"EmptyFirstSegment", "[[[\"\",\"Hello\"]]]", ""},
        ReplyCase{"EscapesStayAsTheyAre", "[[[\"a\\n\\u003cb\\u003e\",\"x\"]]]",
                  "a\\n\\u003cb\\u003e"},
        ReplyCase{"HtmlErrorPage", "<html><body>Error 500 \"x\",\"y\"</body></html>", ""},
        ReplyCase{"EmptyReply", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class MicrosoftReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(MicrosoftReplyTest, ReturnsCharacterDataOfStringElement) {
  RecordingGetter http;
  http.reply = GetParam().reply;
  EXPECT_EQ(microsoft::Translate("Hello", 0, kEndpoints, http.AsGetter()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MicrosoftReplyTest,
    ::testing::Values(
        ReplyCase{"Translation",
                  "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
                  "\xC4\xE3\xBA\xC3</string>",
                  "\xC4\xE3\xBA\xC3"},
        ReplyCase{"EmptyElement",
                  "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
                  "</string>",
                  ""},
        ReplyCase{"EntitiesNotDecoded",
                  "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">"
                  "A &amp; B</string>",
                  "A &amp; B"},
        ReplyCase{"OtherNamespace",
                  "<string xmlns=\"http://schemas.example.com/2003/10/Serialization/\">x</string>",
                  ""},
        ReplyCase{"OtherAttributes",
                  "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\" "
                  "lang=\"zh\">x</string>",
                  ""},
        ReplyCase{"ErrorPage", "<html><body>Argument Exception</body></html>", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MicrosoftClient, StartTagIsSixtyEightCharacters) {
  EXPECT_EQ(microsoft::ReplyStartTag(kEndpoints.serialization_namespace).size(), 68u);
}

}  // namespace
