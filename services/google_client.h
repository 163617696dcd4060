// Google Translate web endpoint: URL building and reply cutting.
#pragma once

#include <cstdint>
#include <optional>

#include "services/http_exchange.h"
#include "services/service_endpoints.h"

namespace google {

extern const char kUserAgent[];

// The direction's "&sl=..&tl=.." tail; nothing for a direction outside 0 to 4.
std::optional<AnsiText> DirectionParameters(std::int32_t direction);

// "http://HOST/translate_a/t?client=t&text=..."; nothing for a direction outside 0 to 4.
std::optional<AnsiText> RequestUrl(const AnsiText& host, const AnsiText& text,
                                   std::int32_t direction);

// Referer (the host's root page), then User-Agent.
RequestHeaders RequestHeadersFor(const ServiceEndpoints& endpoints);

// The first quoted segment of a reply, byte for byte (escapes stay).
AnsiText TranslationInReply(const AnsiText& reply);

// The whole exchange over `get`; empty text, and no request, for a direction outside 0 to 4.
AnsiText Translate(const AnsiText& text, std::int32_t direction,
                   const ServiceEndpoints& endpoints, const HttpGetter& get);

}  // namespace google
