// One HTTP GET as the service clients see it: a URL and ordered request headers in, the body
// of the reply out (empty on any failure).
#pragma once

#include <functional>
#include <vector>

#include "text/ansi_text.h"

struct RequestHeader {
  AnsiText name;
  AnsiText value;
};

using RequestHeaders = std::vector<RequestHeader>;

// The seam through which the clients fetch: the real one is HttpGetText; native tests pass
// a recording fake.
using HttpGetter = std::function<AnsiText(const AnsiText& url, const RequestHeaders& headers)>;
