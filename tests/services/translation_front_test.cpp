#include "services/translation_front.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FakeHandOver final : public TranslationHandOver {
 public:
  AnsiText ReadSourceText() override { return source; }
  void SetResultText(const AnsiText& text) override { result = text; }
  bool IsMicrosoftBoxChecked() override { return microsoft; }
  int DirectionCurrentItem() override { return current; }
  int DirectionItemValue(int index) override {
    return index >= 0 && index < static_cast<int>(values.size()) ? values[index] : -1;
  }

  AnsiText source;
  std::optional<AnsiText> result;
  bool microsoft = false;
  int current = 0;
  std::vector<int> values{0, 1, 2, 3, 4};
};

struct Call {
  std::string engine;
  AnsiText text;
  std::int32_t direction;
  bool operator==(const Call& o) const {
    return engine == o.engine && text == o.text && direction == o.direction;
  }
};

class RecordingClients final : public TranslationClients {
 public:
  AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction) override {
    calls.push_back({"google", text, direction});
    return reply;
  }
  AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction) override {
    calls.push_back({"microsoft", text, direction});
    return reply;
  }
  void BeginPass(bool microsoft, std::int32_t direction,
                 const std::vector<AnsiText>& texts) override {
    begun.push_back({microsoft ? "microsoft" : "google", texts.empty() ? "" : texts[0], direction});
  }
  AnsiText reply = "R";
  std::vector<Call> calls;
  std::vector<Call> begun;
};

struct FrontCase {
  const char* name;
  AnsiText source;
  bool microsoft;
  int current;
  std::vector<int> values;
  std::optional<Call> expected;  // none: no request and 翻译结果 untouched
};

class TranslateSourceBoxTest : public ::testing::TestWithParam<FrontCase> {};

TEST_P(TranslateSourceBoxTest, DecidesWhatToSendAndWhere) {
  const FrontCase& c = GetParam();
  FakeHandOver handOver;
  handOver.source = c.source;
  handOver.microsoft = c.microsoft;
  handOver.current = c.current;
  handOver.values = c.values;
  RecordingClients clients;
  TranslateSourceBoxWith(handOver, clients);
  if (c.expected) {
    EXPECT_THAT(clients.calls, ElementsAre(*c.expected));
    EXPECT_EQ(handOver.result, std::optional<AnsiText>("R"));
  } else {
    EXPECT_THAT(clients.calls, IsEmpty());
    EXPECT_EQ(handOver.result, std::nullopt);
  }
}

const std::vector<int> kItems{0, 1, 2, 3, 4};

INSTANTIATE_TEST_SUITE_P(
    Cases, TranslateSourceBoxTest,
    ::testing::Values(
        FrontCase{"Empty", "", false, 0, kItems, std::nullopt},
        FrontCase{"HalfWidthSpaces", "   ", false, 0, kItems, std::nullopt},
        FrontCase{"FullWidthSpaces", " \xA1\xA1 \xA1\xA1", false, 0, kItems, std::nullopt},  // 　
        FrontCase{"LoneLeadAfterSpaces", "  \xB0", false, 0, kItems, std::nullopt},
        FrontCase{"TabIsText", "\t", false, 0, kItems, Call{"google", "\t", 0}},
        FrontCase{"LineBreakIsText", "\r\n", false, 0, kItems, Call{"google", "\r\n", 0}},
        FrontCase{"SpacesKeptInTheText", " a b ", false, 0, kItems, Call{"google", " a b ", 0}},
        FrontCase{"MicrosoftWhenChecked", "Hi", true, 1, kItems, Call{"microsoft", "Hi", 1}},
        FrontCase{"NoCurrentItem", "Hi", false, -1, kItems, Call{"google", "Hi", -1}},
        FrontCase{"CurrentBeyondItems", "Hi", false, 5, kItems, Call{"google", "Hi", -1}},
        FrontCase{"ValueNotIndex", "Hi", false, 0, {2, 0, 1}, Call{"google", "Hi", 2}},
        FrontCase{"ValueNotIndexMicrosoft", "Hi", true, 2, {4, 3, 2}, Call{"microsoft", "Hi", 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TranslateSourceBoxTest, EmptyReplyEmptiesTheResult) {
  FakeHandOver handOver;
  handOver.source = "Hi";
  handOver.result = "old";
  RecordingClients clients;
  clients.reply = "";
  TranslateSourceBoxWith(handOver, clients);
  EXPECT_EQ(handOver.result, std::optional<AnsiText>(""));
}

TEST(TranslateSourceBoxTest, BlankSourceKeepsThePreviousResult) {
  FakeHandOver handOver;
  handOver.source = " ";
  handOver.result = "old";
  RecordingClients clients;
  TranslateSourceBoxWith(handOver, clients);
  EXPECT_EQ(handOver.result, std::optional<AnsiText>("old"));
}

TEST(BeginTranslationsTest, StartsThePassWithTheEngineAndTheDirectionValue) {
  FakeHandOver handOver;
  handOver.microsoft = true;
  handOver.current = 1;
  handOver.values = {4, 3, 2};
  RecordingClients clients;
  BeginTranslationsWith(handOver, clients, {"Open", "Save"});
  EXPECT_THAT(clients.begun, ElementsAre(Call{"microsoft", "Open", 3}));
  EXPECT_THAT(clients.calls, IsEmpty());
}

}  // namespace
