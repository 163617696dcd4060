#include "services/current_routes.h"

#include <nlohmann/json.hpp>

#include "services/google_client.h"
#include "services/query_encoding.h"
#include "text/code_page_936.h"

namespace {

using Json = nlohmann::json;

// A translation as the tool can use it: code page 936 without loss, and not empty.
std::optional<AnsiText> UsableTranslation(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  const std::optional<std::u16string> units = utf8::ToUtf16(utf8);
  if (!units) return std::nullopt;
  std::optional<AnsiText> gbk = cp936::FromUtf16(*units);
  if (!gbk || gbk->empty()) return std::nullopt;
  return gbk;
}

// Never throws: a malformed body is a discarded value.
Json Parse(const std::string& body) { return Json::parse(body, nullptr, false); }

std::string ReplaceEvery(std::string text, const std::string& from, const std::string& to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

}  // namespace

namespace google_current {

std::optional<HttpRequest> Request(const AnsiText& base, const AnsiText& text,
                                   std::int32_t direction) {
  // The same language pair as the original route's query ends with.
  const std::optional<AnsiText> pair = google::DirectionParameters(direction);
  if (!pair) return std::nullopt;
  HttpRequest request;
  request.method = HttpMethod::kGet;
  request.url = base + "/translate_a/single?client=dict-chrome-ex" + *pair +
                "&dt=t&ie=UTF-8&oe=UTF-8&q=" + EncodeQueryText(text);
  return request;
}

RouteAnswer ReadReply(const std::string& body) {
  RouteAnswer answer;
  const Json reply = Parse(body);
  if (!reply.is_array() || reply.empty() || !reply[0].is_array()) return answer;
  std::string joined;
  for (const Json& segment : reply[0]) {
    if (!segment.is_array() || segment.empty()) return answer;
    if (segment[0].is_null()) continue;  // a segment without a translated sentence
    if (!segment[0].is_string()) return answer;
    joined += segment[0].get_ref<const std::string&>();
  }
  answer.readable = true;
  answer.translations.push_back(UsableTranslation(joined));
  return answer;
}

}  // namespace google_current

namespace microsoft_current {

std::optional<AnsiText> LanguagePair(std::int32_t direction) {
  static const char* const kByDirection[] = {
      "from=&to=zh-Hans", "from=en&to=zh-Hans", "from=zh-Hans&to=en",
      "from=ja&to=zh-Hans", "from=zh-Hans&to=ja",
  };
  if (direction < 0 || direction > 4) return std::nullopt;
  return AnsiText(kByDirection[direction]);
}

std::string EscapeMarkup(const std::string& utf8) {
  return ReplaceEvery(ReplaceEvery(ReplaceEvery(utf8, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
}

std::string UnescapeMarkup(const std::string& utf8) {
  // "&amp;" last, so "&amp;lt;" comes back as the five characters "&lt;".
  return ReplaceEvery(ReplaceEvery(ReplaceEvery(utf8, "&lt;", "<"), "&gt;", ">"), "&amp;", "&");
}

std::optional<HttpRequest> Request(const AnsiText& base, const std::vector<AnsiText>& texts,
                                   std::int32_t direction) {
  const std::optional<AnsiText> pair = LanguagePair(direction);
  if (!pair || texts.empty()) return std::nullopt;
  Json array = Json::array();
  for (const AnsiText& text : texts)
    array.push_back(EscapeMarkup(utf8::FromUtf16(cp936::ToUtf16(text))));
  HttpRequest request;
  request.method = HttpMethod::kPost;
  request.url = base + "/translate/translatetext?" + *pair + "&isEnterpriseClient=false";
  request.headers = {{"Content-Type", "application/json"}};
  // Invalid UTF-8 cannot come out of the conversion; replace rather than throw all the same.
  request.body = array.dump(-1, ' ', false, Json::error_handler_t::replace);
  return request;
}

RouteAnswer ReadReply(const std::string& body, std::size_t textCount) {
  RouteAnswer answer;
  const Json reply = Parse(body);
  if (!reply.is_array() || reply.size() != textCount) return answer;
  std::vector<std::optional<AnsiText>> translations;
  for (const Json& item : reply) {
    if (!item.is_object()) return answer;
    const auto found = item.find("translations");
    if (found == item.end() || !found->is_array() || found->empty()) return answer;
    const Json& first = (*found)[0];
    if (!first.is_object()) return answer;
    const auto text = first.find("text");
    if (text == first.end() || !text->is_string()) return answer;
    translations.push_back(UsableTranslation(UnescapeMarkup(text->get_ref<const std::string&>())));
  }
  answer.readable = true;
  answer.translations = std::move(translations);
  return answer;
}

}  // namespace microsoft_current
