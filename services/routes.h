// The ways to each translation service. A route is plain data and two pure functions: build
// the request for some texts and a direction, and read a reply into translations. Each engine
// has its original route (as the tool always spoke to it) and the service's current public
// endpoint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "services/http_exchange.h"
#include "services/service_endpoints.h"
#include "text/ansi_text.h"

enum class Engine { kGoogle, kMicrosoft };

enum class Route { kGoogleOriginal, kGoogleCurrent, kMicrosoftOriginal, kMicrosoftCurrent };

// What a route made of one reply.
struct RouteAnswer {
  // False: the reply is not what the route answers (an error page, malformed JSON, another
  // shape); the route counts as failed.
  bool readable = false;
  // One entry per text asked, in order; nothing where the reply holds no usable translation
  // (empty, or a character with no GBK form).
  std::vector<std::optional<AnsiText>> translations;
};

// Only Microsoft's current route takes several texts in one request.
bool TakesBatch(Route route);

// The request for `texts` (one text unless the route takes a batch); nothing, and so no
// request, for a direction outside 0 to 4.
std::optional<HttpRequest> RouteRequest(Route route, const ServiceEndpoints& endpoints,
                                        const std::vector<AnsiText>& texts,
                                        std::int32_t direction);

// Reads a 2xx reply body (UTF-8) of `route` that answered `textCount` texts.
RouteAnswer ReadRouteReply(Route route, const ServiceEndpoints& endpoints,
                           const std::string& body, std::size_t textCount);

// The routes tried for a text, in order: the engine's own, then the other engine's current
// route as the last resort.
std::vector<Route> RoutesInOrder(Engine preferred);
