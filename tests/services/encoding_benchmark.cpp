// Cost of encoding a query and cutting a reply, for short texts and for the huge ones the
// tool may meet (nothing limits a window's text).
#include <benchmark/benchmark.h>

#include "services/query_encoding.h"
#include "services/text_between.h"

namespace {

AnsiText MixedText(std::size_t bytes) {
  AnsiText text;
  while (text.size() < bytes) text += "File \xCE\xC4\xBC\xFE ";  // "File 文件 "
  return text;
}

void BM_EncodeQueryText(benchmark::State& state) {
  const AnsiText text = MixedText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(EncodeQueryText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_EncodeQueryText)->Arg(16)->Arg(1024)->Arg(1 << 20);

void BM_TextBetweenGoogleReply(benchmark::State& state) {
  const AnsiText reply = "[[[\"" + MixedText(static_cast<std::size_t>(state.range(0))) +
                         "\",\"source\",null,null,1]],null,\"en\"]";
  for (auto _ : state) benchmark::DoNotOptimize(TextBetween(reply, "[[\"", "\",\""));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_TextBetweenGoogleReply)->Arg(16)->Arg(1024)->Arg(4 << 20);

}  // namespace

BENCHMARK_MAIN();
