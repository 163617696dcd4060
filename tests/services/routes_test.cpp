// The four routes: the exact request for every direction, and how each reads its replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/current_routes.h"
#include "services/routes.h"

namespace {

ServiceEndpoints Endpoints() {
  ServiceEndpoints e;
  e.google_host = "g.example";
  e.google_referer = "http://g.example/";
  e.microsoft_host = "m.example";
  e.serialization_namespace = "http://schemas.microsoft.com/2003/10/Serialization/";
  e.google_current_base = "https://gc.example";
  e.microsoft_current_base = "https://mc.example";
  return e;
}

const AnsiText kNiHao = "\xC4\xE3\xBA\xC3";  // 你好

struct DirectionCase {
  std::int32_t direction;
  const char* googlePair;     // sl/tl of Google's current route
  const char* microsoftPair;  // from/to of Microsoft's current route
};

class CurrentRouteRequestTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(CurrentRouteRequestTest, GoogleIsAGetWithTheTextLast) {
  const std::optional<HttpRequest> request =
      RouteRequest(Route::kGoogleCurrent, Endpoints(), {"Hi " + kNiHao}, GetParam().direction);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->method, HttpMethod::kGet);
  EXPECT_EQ(request->url, std::string("https://gc.example/translate_a/single?client=dict-chrome-ex") +
                              GetParam().googlePair +
                              "&dt=t&ie=UTF-8&oe=UTF-8&q=%48%69%20%E4%BD%A0%E5%A5%BD");
  EXPECT_TRUE(request->headers.empty());
  EXPECT_TRUE(request->body.empty());
}

TEST_P(CurrentRouteRequestTest, MicrosoftPostsAJsonArrayWithMarkupEscaped) {
  const std::optional<HttpRequest> request = RouteRequest(
      Route::kMicrosoftCurrent, Endpoints(), {"Open <b>&", kNiHao}, GetParam().direction);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->method, HttpMethod::kPost);
  EXPECT_EQ(request->url, std::string("https://mc.example/translate/translatetext?") +
                              GetParam().microsoftPair + "&isEnterpriseClient=false");
  ASSERT_EQ(request->headers.size(), 1u);
  EXPECT_EQ(request->headers[0].name, "Content-Type");
  EXPECT_EQ(request->headers[0].value, "application/json");
  EXPECT_EQ(request->body, "[\"Open &lt;b&gt;&amp;\",\"\xE4\xBD\xA0\xE5\xA5\xBD\"]");
}

INSTANTIATE_TEST_SUITE_P(
    Directions, CurrentRouteRequestTest,
    ::testing::Values(DirectionCase{0, "&sl=auto&tl=zh-CN", "from=&to=zh-Hans"},
                      DirectionCase{1, "&sl=en&tl=zh-CN", "from=en&to=zh-Hans"},
                      DirectionCase{2, "&sl=zh-CN&tl=en", "from=zh-Hans&to=en"},
                      DirectionCase{3, "&sl=ja&tl=zh-CN", "from=ja&to=zh-Hans"},
                      DirectionCase{4, "&sl=zh-CN&tl=ja", "from=zh-Hans&to=ja"}));

TEST(RouteRequestTest, OriginalRoutesAreAsTheyAlwaysWere) {
  const std::optional<HttpRequest> google =
      RouteRequest(Route::kGoogleOriginal, Endpoints(), {"Hi"}, 1);
  ASSERT_TRUE(google);
  EXPECT_EQ(google->method, HttpMethod::kGet);
  EXPECT_EQ(google->url,
            "http://g.example/translate_a/t?client=t&text=%48%69&hl=zh-CN&multires=1&otf=1&pc=0"
            "&sc=1&sl=en&tl=zh-CN");
  ASSERT_EQ(google->headers.size(), 2u);
  EXPECT_EQ(google->headers[0].name, "Referer");
  EXPECT_EQ(google->headers[1].name, "User-Agent");

  const std::optional<HttpRequest> microsoft =
      RouteRequest(Route::kMicrosoftOriginal, Endpoints(), {"Hi"}, 0);
  ASSERT_TRUE(microsoft);
  EXPECT_EQ(microsoft->url,
            "http://m.example/v2/Http.svc/Translate?appId=7A1C0E93F6B8D2A4C5E7091B3D6F8A2C4E0B7D19"
            "&text=%48%69&from=&to=zh-CHS");
  EXPECT_TRUE(microsoft->headers.empty());
}

TEST(RouteRequestTest, NoRouteSendsForADirectionOutsideTheTable) {
  for (const Route route : {Route::kGoogleOriginal, Route::kGoogleCurrent,
                            Route::kMicrosoftOriginal, Route::kMicrosoftCurrent}) {
    for (const std::int32_t direction : {-1, 5, 1000}) {
      EXPECT_FALSE(RouteRequest(route, Endpoints(), {"Hi"}, direction)) << direction;
    }
  }
}

TEST(RouteRequestTest, OnlyMicrosoftsCurrentRouteTakesSeveralTexts) {
  EXPECT_FALSE(RouteRequest(Route::kGoogleCurrent, Endpoints(), {"a", "b"}, 0));
  EXPECT_FALSE(RouteRequest(Route::kGoogleOriginal, Endpoints(), {"a", "b"}, 0));
  EXPECT_TRUE(RouteRequest(Route::kMicrosoftCurrent, Endpoints(), {"a", "b"}, 0));
  EXPECT_FALSE(RouteRequest(Route::kMicrosoftCurrent, Endpoints(), {}, 0));
}

struct ReplyCase {
  const char* name;
  std::string body;
  bool readable;
  std::vector<std::optional<AnsiText>> translations;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

std::string Repeated(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

class GoogleCurrentReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(GoogleCurrentReplyTest, ReadsTheSegments) {
  const RouteAnswer answer = ReadRouteReply(Route::kGoogleCurrent, Endpoints(), GetParam().body, 1);
  EXPECT_EQ(answer.readable, GetParam().readable);
  if (GetParam().readable) {
    EXPECT_EQ(answer.translations, GetParam().translations);
  }
}

const std::string kSixMegabytes = Repeated("\xE4\xBD\xA0", 2 << 20);  // 你 × 2 Mi

INSTANTIATE_TEST_SUITE_P(
    Replies, GoogleCurrentReplyTest,
    ::testing::Values(
        ReplyCase{"OneSegment", "[[[\"\xE4\xBD\xA0\xE5\xA5\xBD\",\"Hello\",null,null,10]],null,\"en\"]",
                  true, {kNiHao}},
        ReplyCase{"SegmentsJoined",
                  "[[[\"\xE4\xBD\xA0\xE5\xA5\xBD\xE3\x80\x82\",\"Hello.\",null,null,10],"
                  "[\"\xE4\xB8\x96\xE7\x95\x8C\xE3\x80\x82\",\"World.\",null,null,10]],null,\"en\"]",
                  true,
                  {kNiHao + "\xA1\xA3\xCA\xC0\xBD\xE7\xA1\xA3"}},  // 你好。世界。
        ReplyCase{"Escapes", "[[[\"a\\\"b\\\\c\\nd\\u003ce\",\"x\"]]]", true,
                  {AnsiText("a\"b\\c\nd<e")}},
        ReplyCase{"SurrogatePairWithoutGbkForm", "[[[\"\\ud83d\\ude00\",\"x\"]]]", true,
                  {std::nullopt}},
        ReplyCase{"KoreanHasNoGbkForm", "[[[\"\xED\x95\x9C\",\"x\"]]]", true, {std::nullopt}},
        ReplyCase{"EmptyTranslation", "[[[\"\",\"x\"]]]", true, {std::nullopt}},
        ReplyCase{"NullSegmentSkipped", "[[[null,\"x\"],[\"ok\",\"x\"]]]", true, {AnsiText("ok")}},
        ReplyCase{"Malformed", "[[[\"unterminated", false, {}},
        ReplyCase{"HtmlPage", "<html><body>403</body></html>", false, {}},
        ReplyCase{"Object", "{\"sentences\":[]}", false, {}},
        ReplyCase{"EmptyArray", "[]", false, {}},
        ReplyCase{"NullFirst", "[null,null,\"en\"]", false, {}},
        ReplyCase{"NumberWhereTextBelongs", "[[[42,\"x\"]]]", false, {}},
        ReplyCase{"SixMegabytes", "[[[\"" + kSixMegabytes + "\",\"x\"]]]", true,
                  {Repeated("\xC4\xE3", 2 << 20)}}));

class MicrosoftCurrentReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(MicrosoftCurrentReplyTest, ReadsOneAnswerPerText) {
  const RouteAnswer answer = ReadRouteReply(Route::kMicrosoftCurrent, Endpoints(), GetParam().body,
                                            GetParam().translations.size());
  EXPECT_EQ(answer.readable, GetParam().readable);
  if (GetParam().readable) {
    EXPECT_EQ(answer.translations, GetParam().translations);
  }
}

std::string MicrosoftItem(const std::string& text) {
  return "{\"detectedLanguage\":{\"language\":\"en\",\"score\":1},\"translations\":[{\"text\":\"" +
         text + "\",\"to\":\"zh-Hans\"}]}";
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MicrosoftCurrentReplyTest,
    ::testing::Values(
        ReplyCase{"One", "[" + MicrosoftItem("\xE4\xBD\xA0\xE5\xA5\xBD") + "]", true, {kNiHao}},
        ReplyCase{"Two", "[" + MicrosoftItem("a") + "," + MicrosoftItem("b") + "]", true,
                  {AnsiText("a"), AnsiText("b")}},
        ReplyCase{"EntitiesTurnedBack", "[" + MicrosoftItem("&lt;b&gt; &amp;amp; &amp;") + "]",
                  true, {AnsiText("<b> &amp; &")}},
        ReplyCase{"EscapesAndSurrogates", "[" + MicrosoftItem("q\\\"\\u4f60\\ud83d\\ude00") + "]",
                  true, {std::nullopt}},
        ReplyCase{"FewerAnswersThanTexts", "[" + MicrosoftItem("a") + "]", false,
                  {AnsiText("a"), AnsiText("b")}},
        ReplyCase{"ErrorObject", "{\"error\":{\"code\":400}}", false, {AnsiText("a")}},
        ReplyCase{"NoTranslations", "[{\"translations\":[]}]", false, {AnsiText("a")}},
        ReplyCase{"NullText", "[{\"translations\":[{\"text\":null}]}]", false, {AnsiText("a")}},
        ReplyCase{"Malformed", "[{\"translations\":", false, {AnsiText("a")}},
        ReplyCase{"SixMegabytes", "[" + MicrosoftItem(kSixMegabytes) + "]", true,
                  {Repeated("\xC4\xE3", 2 << 20)}}));

TEST(OriginalRouteReplyTest, CutsAsBeforeAndAnErrorPageIsNoAnswer) {
  const RouteAnswer google = ReadRouteReply(
      Route::kGoogleOriginal, Endpoints(), "[[[\"\xE4\xBD\xA0\xE5\xA5\xBD\",\"Hello\"]]]", 1);
  ASSERT_TRUE(google.readable);
  EXPECT_EQ(google.translations, std::vector<std::optional<AnsiText>>{kNiHao});

  const RouteAnswer microsoft = ReadRouteReply(
      Route::kMicrosoftOriginal, Endpoints(),
      "<string xmlns=\"http://schemas.microsoft.com/2003/10/Serialization/\">a &amp; b</string>", 1);
  ASSERT_TRUE(microsoft.readable);
  EXPECT_EQ(microsoft.translations, std::vector<std::optional<AnsiText>>{AnsiText("a &amp; b")});

  EXPECT_FALSE(ReadRouteReply(Route::kGoogleOriginal, Endpoints(),
                              "<html><title>403 Forbidden</title></html>", 1)
                   .readable);
  EXPECT_FALSE(ReadRouteReply(Route::kMicrosoftOriginal, Endpoints(), "Not Found", 1).readable);
}

TEST(RouteOrderTest, TheOtherEnginesCurrentRouteIsTheLastResort) {
  EXPECT_EQ(RoutesInOrder(Engine::kGoogle),
            (std::vector<Route>{Route::kGoogleOriginal, Route::kGoogleCurrent,
                                Route::kMicrosoftCurrent}));
  EXPECT_EQ(RoutesInOrder(Engine::kMicrosoft),
            (std::vector<Route>{Route::kMicrosoftOriginal, Route::kMicrosoftCurrent,
                                Route::kGoogleCurrent}));
}

}  // namespace
