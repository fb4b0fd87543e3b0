// Throughput of the wire encodings on the sizes the client meets: a request
// envelope (~100 bytes), the "init" and "newestdraw" payloads (a few hundred
// bytes), and larger texts up to the service's 64 KiB body limit.
// Bytes counted are those of the plain text (encodeBody's input, the payload
// that decodeData yields).
#include <benchmark/benchmark.h>

#include <string>

#include "service/codec/codec.h"

namespace {

std::string sampleText(std::size_t size) {
    const std::string unit =
        R"({"rand":"8023","funname":"select_draw","appid":"1002","param":["","50"]},)"
        "20261211|+|003|+|2026-12-11 09:00:00|+|1,2,3|+|305419896\r\n";
    std::string text;
    while (text.size() < size) {
        text += unit;
    }
    text.resize(size);
    return text;
}

void encodeBody(benchmark::State& state) {
    const std::string text = sampleText(static_cast<std::size_t>(state.range(0)));
    const std::string key = "0f1e2d3c4b5a6978";
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorsa::codec::encodeBody(text, key));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void decodeData(benchmark::State& state) {
    const std::string data =
        quorsa::codec::encodeData(sampleText(static_cast<std::size_t>(state.range(0))), 8023);
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorsa::codec::decodeData(data, 8023));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(encodeBody)->Arg(100)->Arg(400)->Arg(4096)->Arg(16384);
BENCHMARK(decodeData)->Arg(120)->Arg(400)->Arg(4096)->Arg(16384);

}  // namespace
