// Microsoft Translator V2 HTTP endpoint: URL building and reply cutting.
#pragma once

#include <cstdint>
#include <optional>

#include "services/http_exchange.h"
#include "services/service_endpoints.h"

namespace microsoft {

extern const char kApplicationId[];

// The direction's "from=..&to=.." tail; nothing for a direction outside 0 to 4.
std::optional<AnsiText> DirectionParameters(std::int32_t direction);

// "http://HOST/v2/Http.svc/Translate?appId=..&text=..&from=..&to=.."; nothing outside 0 to 4.
std::optional<AnsiText> RequestUrl(const AnsiText& host, const AnsiText& text,
                                   std::int32_t direction);

// The root element's start tag: <string xmlns="NAMESPACE">.
AnsiText ReplyStartTag(const AnsiText& serialization_namespace);

// The character data of the reply's `string` element, entities left as they are.
AnsiText TranslationInReply(const AnsiText& reply, const AnsiText& serialization_namespace);

// The whole exchange over `get` with no request headers; empty text, and no request, for a
// direction outside 0 to 4.
AnsiText Translate(const AnsiText& text, std::int32_t direction,
                   const ServiceEndpoints& endpoints, const HttpGetter& get);

}  // namespace microsoft
