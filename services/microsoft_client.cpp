#include "services/microsoft_client.h"

#include "services/query_encoding.h"
#include "services/text_between.h"

namespace microsoft {

const char kApplicationId[] = "7A1C0E93F6B8D2A4C5E7091B3D6F8A2C4E0B7D19";

std::optional<AnsiText> DirectionParameters(std::int32_t direction) {
  static const char* const kByDirection[] = {
      "from=&to=zh-CHS", "from=en&to=zh-CHS", "from=zh-CHS&to=en",
      "from=ja&to=zh-CHS", "from=zh-CHS&to=ja",
  };
  if (direction < 0 || direction > 4) return std::nullopt;
  return AnsiText(kByDirection[direction]);
}

std::optional<AnsiText> RequestUrl(const AnsiText& host, const AnsiText& text,
                                   std::int32_t direction) {
  const std::optional<AnsiText> tail = DirectionParameters(direction);
  if (!tail) return std::nullopt;
  return "http://" + host + "/v2/Http.svc/Translate?appId=" + kApplicationId +
         "&text=" + EncodeQueryText(text) + "&" + *tail;
}

AnsiText ReplyStartTag(const AnsiText& serialization_namespace) {
  return "<string xmlns=\"" + serialization_namespace + "\">";
}

AnsiText TranslationInReply(const AnsiText& reply, const AnsiText& serialization_namespace) {
  return TextBetween(reply, ReplyStartTag(serialization_namespace), "</string>");
}

AnsiText Translate(const AnsiText& text, std::int32_t direction,
                   const ServiceEndpoints& endpoints, const HttpGetter& get) {
  const std::optional<AnsiText> url = RequestUrl(endpoints.microsoft_host, text, direction);
  if (!url) return {};
  return TranslationInReply(get(*url, {}), endpoints.serialization_namespace);
}

}  // namespace microsoft
