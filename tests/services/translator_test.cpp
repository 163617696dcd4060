// The translator over a scripted exchange and a hand-moved clock: routes in order, rest after
// failures, the other engine as the last resort, the memory, the silence budget, the batch.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "services/translator.h"

namespace {

ServiceEndpoints Endpoints() {
  ServiceEndpoints e;
  e.google_host = "go";
  e.google_referer = "http://go/";
  e.microsoft_host = "mo";
  e.serialization_namespace = "ns";
  e.google_current_base = "https://gc";
  e.microsoft_current_base = "https://mc";
  return e;
}

Route RouteOf(const HttpRequest& request) {
  if (request.url.rfind("http://go/", 0) == 0) return Route::kGoogleOriginal;
  if (request.url.rfind("https://gc/", 0) == 0) return Route::kGoogleCurrent;
  if (request.url.rfind("http://mo/", 0) == 0) return Route::kMicrosoftOriginal;
  return Route::kMicrosoftCurrent;
}

// Every route answers "T:" + the text unless told to fail; each exchange takes `costMs`.
struct ScriptedService {
  std::int64_t now = 1000000;
  std::int64_t costMs = 10;
  std::map<Route, bool> down;        // answers 403 (or never, with blackHole)
  bool blackHole = false;             // a down route holds the exchange to its deadline
  std::vector<HttpRequest> requests;
  std::vector<ExchangeLimits> limits;

  static std::string Translated(const std::string& body) { return "T:" + body; }

  HttpReply Answer(const HttpRequest& request, const ExchangeLimits& l) {
    requests.push_back(request);
    limits.push_back(l);
    const Route route = RouteOf(request);
    if (down[route]) {
      now += blackHole ? l.deadline_ms : costMs;
      return blackHole ? HttpReply{} : HttpReply{true, 403, "<html>Forbidden</html>"};
    }
    now += costMs;
    const std::string text = Text(request);
    switch (route) {
      case Route::kGoogleOriginal:
        return {true, 200, "[[[\"T:" + text + "\",\"" + text + "\"]]]"};
      case Route::kMicrosoftOriginal:
        return {true, 200, "<string xmlns=\"ns\">T:" + text + "</string>"};
      case Route::kGoogleCurrent:
        return {true, 200, "[[[\"T:" + text + "\",\"x\",null,null,10]],null,\"en\"]"};
      case Route::kMicrosoftCurrent: {
        std::string body = "[";
        for (const std::string& item : BatchTexts(request)) {
          if (body.size() > 1) body += ",";
          body += "{\"translations\":[{\"text\":\"T:" + item + "\",\"to\":\"zh-Hans\"}]}";
        }
        return {true, 200, body + "]"};
      }
    }
    return {};
  }

  // The texts of the scripted tests are plain letters, so the percent-encoding is undone by
  // taking every third character.
  static std::string Decoded(const std::string& encoded) {
    std::string out;
    for (std::size_t i = 0; i + 2 < encoded.size(); i += 3)
      out += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
    return out;
  }
  static std::string Text(const HttpRequest& request) {
    const std::string& url = request.url;
    for (const char* key : {"&q=", "&text="}) {
      const std::size_t at = url.find(key);
      if (at == std::string::npos) continue;
      const std::size_t from = at + std::string(key).size();
      return Decoded(url.substr(from, url.find('&', from) - from));
    }
    return {};
  }
  static std::vector<std::string> BatchTexts(const HttpRequest& request) {
    std::vector<std::string> texts;
    const std::string& body = request.body;
    for (std::size_t at = body.find('"'); at != std::string::npos;) {
      const std::size_t end = body.find('"', at + 1);
      texts.push_back(body.substr(at + 1, end - at - 1));
      at = body.find('"', end + 1);
    }
    return texts;
  }
  std::vector<Route> Routes() const {
    std::vector<Route> routes;
    for (const HttpRequest& r : requests) routes.push_back(RouteOf(r));
    return routes;
  }
};

class TranslatorTest : public ::testing::Test {
 protected:
  ScriptedService service;
  Translator translator{Endpoints(),
                        [this](const HttpRequest& r, const ExchangeLimits& l) {
                          return service.Answer(r, l);
                        },
                        [this] { return service.now; }};
};

using R = Route;

TEST_F(TranslatorTest, TheOriginalRouteFailsOnceThenRestsWhileTheCurrentOneServes) {
  service.down[R::kGoogleOriginal] = true;
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "Open", 0), "T:Open");
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "Save", 0), "T:Save");
  EXPECT_EQ(service.Routes(), (std::vector<Route>{R::kGoogleOriginal, R::kGoogleCurrent,
                                                  R::kGoogleCurrent}));
  EXPECT_TRUE(translator.IsResting(R::kGoogleOriginal));
}

TEST_F(TranslatorTest, ARouteRestsOneThenFiveThenFifteenMinutesAndATranslationClearsIt) {
  service.down[R::kGoogleOriginal] = true;
  const std::int64_t minute = 60 * 1000;
  const std::int64_t rests[] = {1 * minute, 5 * minute, 15 * minute, 15 * minute};
  int text = 0;
  for (const std::int64_t rest : rests) {
    translator.Translate(Engine::kGoogle, "t" + std::to_string(text++), 0);
    const std::int64_t failedAt = service.now - service.costMs;  // the current route answered after
    service.now = failedAt + rest - 1;
    EXPECT_TRUE(translator.IsResting(R::kGoogleOriginal)) << rest;
    service.now = failedAt + rest + 1;
    EXPECT_FALSE(translator.IsResting(R::kGoogleOriginal)) << rest;
  }
  service.down[R::kGoogleOriginal] = false;
  translator.Translate(Engine::kGoogle, "back", 0);
  service.down[R::kGoogleOriginal] = true;
  translator.Translate(Engine::kGoogle, "again", 0);
  service.now += minute + service.costMs;
  EXPECT_FALSE(translator.IsResting(R::kGoogleOriginal));  // the count started anew
}

TEST_F(TranslatorTest, TheOtherEnginesCurrentRouteIsAskedWhenTheChosenEngineHasNone) {
  service.down[R::kGoogleOriginal] = service.down[R::kGoogleCurrent] = true;
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "Open", 1), "T:Open");
  EXPECT_EQ(service.Routes(), (std::vector<Route>{R::kGoogleOriginal, R::kGoogleCurrent,
                                                  R::kMicrosoftCurrent}));
  EXPECT_EQ(service.requests.back().url,
            "https://mc/translate/translatetext?from=en&to=zh-Hans&isEnterpriseClient=false");

  service.requests.clear();
  service.now += 16 * 60 * 1000;  // Google's routes have rested enough
  service.down = {{R::kMicrosoftOriginal, true}, {R::kMicrosoftCurrent, true}};
  EXPECT_EQ(translator.Translate(Engine::kMicrosoft, "Exit", 1), "T:Exit");
  EXPECT_EQ(service.Routes(), (std::vector<Route>{R::kMicrosoftOriginal, R::kMicrosoftCurrent,
                                                  R::kGoogleCurrent}));
}

TEST_F(TranslatorTest, EveryRouteDownGivesNothingAndRestingRoutesAreNotAsked) {
  service.down = {{R::kGoogleOriginal, true}, {R::kGoogleCurrent, true},
                  {R::kMicrosoftCurrent, true}};
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "Open", 0), "");
  EXPECT_EQ(service.requests.size(), 3u);
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "Save", 0), "");
  EXPECT_EQ(service.requests.size(), 3u);
}

TEST_F(TranslatorTest, NothingIsSentForADirectionOutsideTheTable) {
  for (const std::int32_t direction : {-1, 5}) {
    EXPECT_EQ(translator.Translate(Engine::kGoogle, "Open", direction), "");
    EXPECT_EQ(translator.Translate(Engine::kMicrosoft, "Open", direction), "");
  }
  EXPECT_TRUE(service.requests.empty());
}

TEST_F(TranslatorTest, TheMemoryAnswersRepeatsAndKeepsEnginesAndDirectionsApart) {
  translator.Translate(Engine::kGoogle, "OK", 0);
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "OK", 0), "T:OK");
  EXPECT_EQ(service.requests.size(), 1u);
  translator.Translate(Engine::kGoogle, "OK", 1);
  translator.Translate(Engine::kMicrosoft, "OK", 0);
  EXPECT_EQ(service.requests.size(), 3u);
  EXPECT_EQ(translator.RememberedTexts(), 3u);
}

TEST_F(TranslatorTest, AFailureIsNotRememberedButIsAskedOncePerPass) {
  service.down = {{R::kGoogleOriginal, true}, {R::kGoogleCurrent, true},
                  {R::kMicrosoftCurrent, true}};
  translator.BeginPass(Engine::kGoogle, 0, {"OK"});
  translator.Translate(Engine::kGoogle, "OK", 0);
  service.now += 16 * 60 * 1000;  // every route has rested enough
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "OK", 0), "");
  EXPECT_EQ(service.requests.size(), 3u);
  EXPECT_EQ(translator.RememberedTexts(), 0u);

  service.down.clear();
  translator.BeginPass(Engine::kGoogle, 0, {"OK"});
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "OK", 0), "T:OK");
}

TEST_F(TranslatorTest, APassStopsAskingAfterTwentySecondsWithoutAnAnswer) {
  service.down = {{R::kGoogleOriginal, true}, {R::kGoogleCurrent, true},
                  {R::kMicrosoftCurrent, true}};
  service.blackHole = true;
  translator.BeginPass(Engine::kGoogle, 0, {"a", "b"});
  const std::int64_t start = service.now;
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "a", 0), "");
  EXPECT_EQ(translator.Translate(Engine::kGoogle, "b", 0), "");
  EXPECT_EQ(service.requests.size(), 1u);  // the first exchange used up the whole budget
  EXPECT_EQ(service.limits[0].deadline_ms, 20000);
  EXPECT_LE(service.now - start, kSilenceBeforeGivingUpMs);
}

TEST_F(TranslatorTest, NoExchangeOutlastsWhatIsLeftOfTheBudget) {
  service.down[R::kGoogleOriginal] = true;
  service.costMs = 15000;
  translator.BeginPass(Engine::kGoogle, 0, {"a"});
  translator.Translate(Engine::kGoogle, "a", 0);
  ASSERT_EQ(service.limits.size(), 2u);
  EXPECT_EQ(service.limits[1].deadline_ms, 5000);
  EXPECT_EQ(service.limits[1].receive_ms, 5000);
  EXPECT_EQ(service.limits[1].resolve_ms, 5000);
}

TEST_F(TranslatorTest, TheBatchRouteAsksForEveryTextOfThePassAtOnce) {
  service.down[R::kMicrosoftOriginal] = true;
  const std::vector<AnsiText> texts = {"Open", "Save", "Open", "Exit"};
  translator.BeginPass(Engine::kMicrosoft, 0, texts);
  for (const AnsiText& text : texts) EXPECT_EQ(translator.Translate(Engine::kMicrosoft, text, 0), "T:" + text);
  ASSERT_EQ(service.Routes(), (std::vector<Route>{R::kMicrosoftOriginal, R::kMicrosoftCurrent}));
  EXPECT_EQ(service.requests[1].body, "[\"Open\",\"Save\",\"Exit\"]");
}

TEST_F(TranslatorTest, BatchesHoldAtMostFiftyTextsAndFiveThousandCharacters) {
  service.down[R::kMicrosoftOriginal] = true;
  std::vector<AnsiText> texts;
  for (int i = 0; i < 120; ++i) texts.push_back("t" + std::to_string(i));
  texts.push_back(std::string(4990, 'x'));
  translator.BeginPass(Engine::kMicrosoft, 0, texts);
  translator.Translate(Engine::kMicrosoft, texts[0], 0);
  std::vector<std::size_t> sizes;
  for (std::size_t i = 1; i < service.requests.size(); ++i)
    sizes.push_back(ScriptedService::BatchTexts(service.requests[i]).size());
  EXPECT_EQ(sizes, (std::vector<std::size_t>{50, 50, 20, 1}));
  const std::size_t before = service.requests.size();
  for (const AnsiText& text : texts) translator.Translate(Engine::kMicrosoft, text, 0);
  EXPECT_EQ(service.requests.size(), before);  // all from the memory
}

TEST_F(TranslatorTest, AFailedBatchFallsBackToAskingTextByText) {
  service.down = {{R::kMicrosoftOriginal, true}, {R::kMicrosoftCurrent, true}};
  translator.BeginPass(Engine::kMicrosoft, 0, {"Open", "Save"});
  EXPECT_EQ(translator.Translate(Engine::kMicrosoft, "Open", 0), "T:Open");
  EXPECT_EQ(translator.Translate(Engine::kMicrosoft, "Save", 0), "T:Save");
  EXPECT_EQ(service.Routes(), (std::vector<Route>{R::kMicrosoftOriginal, R::kMicrosoftCurrent,
                                                  R::kGoogleCurrent, R::kGoogleCurrent}));
}

TEST(TranslationMemoryTest, StaysWithinItsBoundsDroppingTheLeastRecentlyUsed) {
  TranslationMemory byCount(MemoryBounds{3, 1 << 20});
  for (const char* text : {"a", "b", "c"}) byCount.Remember(Engine::kGoogle, 0, text, "x");
  ASSERT_TRUE(byCount.Find(Engine::kGoogle, 0, "a"));  // "b" is now the oldest
  byCount.Remember(Engine::kGoogle, 0, "d", "x");
  EXPECT_EQ(byCount.Texts(), 3u);
  EXPECT_FALSE(byCount.Find(Engine::kGoogle, 0, "b"));
  EXPECT_TRUE(byCount.Find(Engine::kGoogle, 0, "a"));

  TranslationMemory byBytes(MemoryBounds{100, 64});
  for (int i = 0; i < 10; ++i)
    byBytes.Remember(Engine::kGoogle, 0, "text" + std::to_string(i), std::string(10, 'y'));
  EXPECT_LE(byBytes.Bytes(), 64u);
  EXPECT_TRUE(byBytes.Find(Engine::kGoogle, 0, "text9"));
  byBytes.Remember(Engine::kGoogle, 0, "huge", std::string(100, 'z'));
  EXPECT_FALSE(byBytes.Find(Engine::kGoogle, 0, "huge"));

  byBytes.Remember(Engine::kGoogle, 0, "empty", "");
  EXPECT_FALSE(byBytes.Find(Engine::kGoogle, 0, "empty"));
}

}  // namespace
