// Figures of the real exchange under Wine, printed, never asserted: run by
// exchange_wine_benchmark.py against the stand-in service named by ZELVANE_TEST_SERVICE_HOST.
//   exchange_benchmark get N         N GETs one after another, each with its own request object
//   exchange_benchmark post N        the same with POSTs of a small JSON array
//   exchange_benchmark stall MS      one GET bounded by a deadline of MS (0: the production
//                                    bounds), against a server that never answers
#include <windows.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "services/http_exchange_win32.h"
#include "services/service_endpoints.h"

namespace {

HttpRequest Request(bool post) {
  const std::string base = "http://" + CurrentServiceEndpoints().google_host;
  HttpRequest request;
  if (post) {
    request.method = HttpMethod::kPost;
    request.url = base + "/translate/translatetext?from=en&to=zh-Hans&isEnterpriseClient=false";
    request.headers = {{"Content-Type", "application/json"}};
    request.body = "[\"Open File\"]";
  } else {
    request.url = base + "/translate_a/single?client=dict-chrome-ex&sl=en&tl=zh-CN&dt=t"
                         "&ie=UTF-8&oe=UTF-8&q=Hello";
  }
  return request;
}

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: exchange_benchmark get|post|stall N\n");
    return 2;
  }
  if (FAILED(CoInitialize(nullptr))) return 1;
  const int n = std::atoi(argv[2]);
  int status = 0;
  if (std::strcmp(argv[1], "stall") == 0) {
    ExchangeLimits limits;  // the production bounds
    if (n > 0) limits.deadline_ms = n;
    const auto start = std::chrono::steady_clock::now();
    const HttpReply reply = ExchangeOverWinHttp(Request(false), limits);
    std::printf("stall cut after %.0f ms (deadline %d ms), answered=%d\n",
                Ms(std::chrono::steady_clock::now() - start), limits.deadline_ms,
                reply.answered ? 1 : 0);
  } else {
    const bool post = std::strcmp(argv[1], "post") == 0;
    double total = 0, slowest = 0;
    int answered = 0;
    for (int i = 0; i < n; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const HttpReply reply = ExchangeOverWinHttp(Request(post), ExchangeLimits{});
      const double took = Ms(std::chrono::steady_clock::now() - start);
      total += took;
      if (took > slowest) slowest = took;
      if (reply.answered && reply.status == 200) ++answered;
    }
    std::printf("%s x%d: mean %.1f ms, slowest %.1f ms, total %.0f ms, %d answered 200\n",
                argv[1], n, n > 0 ? total / n : 0.0, slowest, total, answered);
    if (answered != n) status = 1;
  }
  CoUninitialize();
  return status;
}
