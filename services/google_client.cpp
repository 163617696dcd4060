#include "services/google_client.h"

#include "services/query_encoding.h"
#include "services/text_between.h"

namespace google {

const char kUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; QQDownload 663; Mozilla/4.0 "
    "(compatible; MSIE 6.0; Windows NT 5.1; SV1) ; .NET CLR 2.0.50727)";

std::optional<AnsiText> DirectionParameters(std::int32_t direction) {
  static const char* const kByDirection[] = {
      "&sl=auto&tl=zh-CN", "&sl=en&tl=zh-CN", "&sl=zh-CN&tl=en",
      "&sl=ja&tl=zh-CN",   "&sl=zh-CN&tl=ja",
  };
  if (direction < 0 || direction > 4) return std::nullopt;
  return AnsiText(kByDirection[direction]);
}

std::optional<AnsiText> RequestUrl(const AnsiText& host, const AnsiText& text,
                                   std::int32_t direction) {
  const std::optional<AnsiText> tail = DirectionParameters(direction);
  if (!tail) return std::nullopt;
  return "http://" + host + "/translate_a/t?client=t&text=" + EncodeQueryText(text) +
         "&hl=zh-CN&multires=1&otf=1&pc=0&sc=1" + *tail;
}

RequestHeaders RequestHeadersFor(const ServiceEndpoints& endpoints) {
  return {{"Referer", endpoints.google_referer}, {"User-Agent", kUserAgent}};
}

AnsiText TranslationInReply(const AnsiText& reply) {
  return TextBetween(reply, "[[\"", "\",\"");
}

AnsiText Translate(const AnsiText& text, std::int32_t direction,
                   const ServiceEndpoints& endpoints, const HttpGetter& get) {
  const std::optional<AnsiText> url = RequestUrl(endpoints.google_host, text, direction);
  if (!url) return {};
  return TranslationInReply(get(*url, RequestHeadersFor(endpoints)));
}

}  // namespace google
