// Reading the data kept in an SVG: the data of a real page (a few hundred bytes), and a block
// of the largest size read (1 MiB) made of "&" alone, each of which starts a reference that is
// never finished. Bytes a second; the time grows with the bytes, not with their square.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/picture_data.h"

namespace {

std::string svg_holding(const std::string& block) {
    return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\">\n<metadata>"
           "<toven:data xmlns:toven=\"urn:toven:data\">" +
           block + "</toven:data></metadata>\n</svg>\n";
}

void read_kept_data(benchmark::State& state, const std::string& svg) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(toven::platform::picture_text(svg));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

void BM_PageData(benchmark::State& state) {
    static const std::string svg = svg_holding(
        "# toven data: one NAME=VALUE item a line\nf(x,y)=sin(|x|^a &amp; |y|^b)\na=2\nb=2\n"
        "x1=-1\nx2=1\ny1=-1\ny2=1\nz1=-1\nz2=1\nn=20\nm=20\nk=4\ntilt=30\ntitle=&lt;saddle&gt;\n");
    read_kept_data(state, svg);
}
BENCHMARK(BM_PageData);

void BM_LargestBlockOfAmpersands(benchmark::State& state) {
    static const std::string svg = svg_holding(std::string(1024 * 1024, '&'));
    read_kept_data(state, svg);
}
BENCHMARK(BM_LargestBlockOfAmpersands)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
