// HttpGetText as a GET over the bounded exchange, with the bounds of the linked endpoints.
#include "services/http_get_text.h"

#include <optional>
#include <string>

#include "services/http_exchange_win32.h"
#include "services/service_endpoints.h"
#include "text/code_page_936.h"

AnsiText HttpGetText(const AnsiText& url, const RequestHeaders& headers) {
  HttpRequest request;
  request.method = HttpMethod::kGet;
  request.url = url;
  request.headers = headers;
  const HttpReply reply = ExchangeOverWinHttp(request, CurrentServiceEndpoints().limits);
  if (!reply.answered) return {};
  const std::optional<std::u16string> text = utf8::ToUtf16(reply.body);
  if (!text) return {};
  return cp936::FromUtf16Lossy(*text);
}
