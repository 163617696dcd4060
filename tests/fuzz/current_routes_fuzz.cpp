// The JSON reply readers of the services' current routes over any body (no fault, no escaping
// exception, answers of the promised shape), and over well-formed replies made from fuzzed
// texts, which must come back as those texts in code page 936. Microsoft's markup escaping
// must undo itself, and its request body must be the JSON array of the escaped texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "services/current_routes.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/code_page_936.h"

namespace {

using Json = nlohmann::json;

// What a reader may hand on: GBK that converts back and forth without loss, never empty.
void CheckUsable(const std::optional<AnsiText>& translation) {
  if (!translation) return;
  FUZZ_CHECK(!translation->empty());
  FUZZ_CHECK(cp936::FromUtf16(cp936::ToUtf16(*translation)) == *translation);
}

// The translation a reader should make of a UTF-8 text, by the readers' contract.
std::optional<AnsiText> Expected(const std::string& utf8Text) {
  const std::optional<std::u16string> units = utf8::ToUtf16(utf8Text);
  if (!units) return std::nullopt;
  std::optional<AnsiText> gbk = cp936::FromUtf16(*units);
  if (!gbk || gbk->empty()) return std::nullopt;
  return gbk;
}

// Fuzzed bytes as a UTF-8 text a service could send: read as GBK, so every input is valid.
std::string SomeUtf8(FuzzedDataProvider& in) {
  return utf8::FromUtf16(cp936::ToUtf16(in.ConsumeRandomLengthString(24)));
}

void AnyGoogleBody(const std::string& body) {
  const RouteAnswer answer = google_current::ReadReply(body);
  if (!answer.readable) {
    FUZZ_CHECK(answer.translations.empty());
    return;
  }
  FUZZ_CHECK(answer.translations.size() == 1);
  CheckUsable(answer.translations[0]);
}

void AnyMicrosoftBody(const std::string& body, std::size_t count) {
  const RouteAnswer answer = microsoft_current::ReadReply(body, count);
  if (!answer.readable) {
    FUZZ_CHECK(answer.translations.empty());
    return;
  }
  FUZZ_CHECK(answer.translations.size() == count);
  for (const std::optional<AnsiText>& t : answer.translations) CheckUsable(t);
}

void WellFormedGoogleReply(FuzzedDataProvider& in) {
  Json segments = Json::array();
  std::string joined;
  const int count = in.ConsumeIntegralInRange(1, 4);
  for (int i = 0; i < count; ++i) {
    if (in.ConsumeBool()) {
      segments.push_back(Json::array({nullptr, "source"}));  // no sentence in this segment
      continue;
    }
    const std::string text = SomeUtf8(in);
    joined += text;
    segments.push_back(Json::array({text, "source", nullptr, nullptr, 3}));
  }
  const Json reply = Json::array({segments, nullptr, "en"});
  const RouteAnswer answer = google_current::ReadReply(reply.dump());
  FUZZ_CHECK(answer.readable && answer.translations.size() == 1);
  FUZZ_CHECK(answer.translations[0] == Expected(joined));
}

void WellFormedMicrosoftReply(FuzzedDataProvider& in) {
  std::vector<AnsiText> asked;
  Json reply = Json::array();
  std::vector<std::string> texts;
  const int count = in.ConsumeIntegralInRange(1, 4);
  for (int i = 0; i < count; ++i) {
    const std::string text = SomeUtf8(in);
    texts.push_back(text);
    FUZZ_CHECK(microsoft_current::UnescapeMarkup(microsoft_current::EscapeMarkup(text)) == text);
    Json translation = {{"text", microsoft_current::EscapeMarkup(text)}, {"to", "zh-Hans"}};
    reply.push_back({{"detectedLanguage", {{"language", "en"}, {"score", 1.0}}},
                     {"translations", Json::array({translation})}});
    asked.push_back(in.ConsumeRandomLengthString(24));
  }
  const RouteAnswer answer = microsoft_current::ReadReply(reply.dump(), texts.size());
  FUZZ_CHECK(answer.readable && answer.translations.size() == texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i)
    FUZZ_CHECK(answer.translations[i] == Expected(texts[i]));

  // The request's body is the asked texts, as UTF-8 with the markup escaped, in order.
  const std::int32_t direction = in.ConsumeIntegralInRange(0, 4);
  const std::optional<HttpRequest> request =
      microsoft_current::Request("https://example.test", asked, direction);
  FUZZ_CHECK(request.has_value());
  const Json body = Json::parse(request->body, nullptr, false);
  FUZZ_CHECK(body.is_array() && body.size() == asked.size());
  for (std::size_t i = 0; i < asked.size(); ++i) {
    const std::string utf8Text = utf8::FromUtf16(cp936::ToUtf16(asked[i]));
    FUZZ_CHECK(body[i] == microsoft_current::EscapeMarkup(utf8Text));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      AnyGoogleBody(in.ConsumeRemainingBytesAsString());
      break;
    case 1: {
      const auto count = in.ConsumeIntegralInRange<std::size_t>(0, 4);
      AnyMicrosoftBody(in.ConsumeRemainingBytesAsString(), count);
      break;
    }
    case 2:
      WellFormedGoogleReply(in);
      break;
    default:
      WellFormedMicrosoftReply(in);
      break;
  }
  return 0;
}
