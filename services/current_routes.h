// The services' current public endpoints: Google's dictionary-extension endpoint (GET, JSON
// segments) and Microsoft's Edge endpoint (POST of a JSON array, JSON answers).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "services/http_exchange.h"
#include "services/routes.h"

namespace google_current {

// GET BASE/translate_a/single?client=dict-chrome-ex&sl=SL&tl=TL&dt=t&ie=UTF-8&oe=UTF-8&q=TEXT.
std::optional<HttpRequest> Request(const AnsiText& base, const AnsiText& text,
                                   std::int32_t direction);

// [[["seg1","src1",..],["seg2","src2",..]],null,"en",..] -> seg1 + seg2, in code page 936.
RouteAnswer ReadReply(const std::string& body);

}  // namespace google_current

namespace microsoft_current {

// "from=..&to=.." for the direction (from is empty for automatic detection).
std::optional<AnsiText> LanguagePair(std::int32_t direction);

// The service aligns markup, so the texts travel with & < > as entities.
std::string EscapeMarkup(const std::string& utf8);
std::string UnescapeMarkup(const std::string& utf8);

// POST BASE/translate/translatetext?from=..&to=..&isEnterpriseClient=false, a JSON array of
// the texts (UTF-8, markup escaped) as body.
std::optional<HttpRequest> Request(const AnsiText& base, const std::vector<AnsiText>& texts,
                                   std::int32_t direction);

// [{"translations":[{"text":"..","to":".."}],..},..]: one answer per text asked.
RouteAnswer ReadReply(const std::string& body, std::size_t textCount);

}  // namespace microsoft_current
