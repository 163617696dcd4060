// The engines over the real exchange and the endpoints the executable was linked with.
#include "services/translation_clients.h"

#include "services/google_client.h"
#include "services/http_get_text.h"
#include "services/microsoft_client.h"
#include "services/service_endpoints.h"

AnsiText TranslateWithGoogle(const AnsiText& text, std::int32_t direction) {
  return google::Translate(text, direction, CurrentServiceEndpoints(), HttpGetText);
}

AnsiText TranslateWithMicrosoft(const AnsiText& text, std::int32_t direction) {
  return microsoft::Translate(text, direction, CurrentServiceEndpoints(), HttpGetText);
}
