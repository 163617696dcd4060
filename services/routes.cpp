#include "services/routes.h"

#include "services/current_routes.h"
#include "services/google_client.h"
#include "services/microsoft_client.h"
#include "text/code_page_936.h"

namespace {

// The original routes cut their reply as text in code page 936, as they always did: characters
// with no GBK form became '?' there too.
AnsiText AsGbkText(const std::string& utf8Body) {
  const std::optional<std::u16string> units = utf8::ToUtf16(utf8Body);
  return units ? cp936::FromUtf16Lossy(*units) : AnsiText();
}

RouteAnswer OneTextAnswer(const AnsiText& cut) {
  RouteAnswer answer;
  // Without the markers (an error page, another format) the route has not answered.
  if (cut.empty()) return answer;
  answer.readable = true;
  answer.translations.push_back(cut);
  return answer;
}

}  // namespace

bool TakesBatch(Route route) { return route == Route::kMicrosoftCurrent; }

std::optional<HttpRequest> RouteRequest(Route route, const ServiceEndpoints& endpoints,
                                        const std::vector<AnsiText>& texts,
                                        std::int32_t direction) {
  if (texts.empty()) return std::nullopt;
  if (!TakesBatch(route) && texts.size() != 1) return std::nullopt;
  switch (route) {
    case Route::kGoogleOriginal: {
      const std::optional<AnsiText> url =
          google::RequestUrl(endpoints.google_host, texts[0], direction);
      if (!url) return std::nullopt;
      HttpRequest request;
      request.url = *url;
      request.headers = google::RequestHeadersFor(endpoints);
      return request;
    }
    case Route::kMicrosoftOriginal: {
      const std::optional<AnsiText> url =
          microsoft::RequestUrl(endpoints.microsoft_host, texts[0], direction);
      if (!url) return std::nullopt;
      HttpRequest request;
      request.url = *url;
      return request;
    }
    case Route::kGoogleCurrent:
      return google_current::Request(endpoints.google_current_base, texts[0], direction);
    case Route::kMicrosoftCurrent:
      return microsoft_current::Request(endpoints.microsoft_current_base, texts, direction);
  }
  return std::nullopt;
}

RouteAnswer ReadRouteReply(Route route, const ServiceEndpoints& endpoints,
                           const std::string& body, std::size_t textCount) {
  switch (route) {
    case Route::kGoogleOriginal:
      return OneTextAnswer(google::TranslationInReply(AsGbkText(body)));
    case Route::kMicrosoftOriginal:
      return OneTextAnswer(
          microsoft::TranslationInReply(AsGbkText(body), endpoints.serialization_namespace));
    case Route::kGoogleCurrent:
      return google_current::ReadReply(body);
    case Route::kMicrosoftCurrent:
      return microsoft_current::ReadReply(body, textCount);
  }
  return {};
}

std::vector<Route> RoutesInOrder(Engine preferred) {
  if (preferred == Engine::kMicrosoft)
    return {Route::kMicrosoftOriginal, Route::kMicrosoftCurrent, Route::kGoogleCurrent};
  return {Route::kGoogleOriginal, Route::kGoogleCurrent, Route::kMicrosoftCurrent};
}
