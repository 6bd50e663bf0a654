// SPDX-License-Identifier: GPL-3.0-or-later
// Core value conversions and the pattern matcher on the inputs that stress them.
#include <benchmark/benchmark.h>

#include <string>

#include "core/geo.h"
#include "core/regular_expression.h"

namespace {

void BM_ParsePosition(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(plovane::ParseLatitude("4903.50N"));
        benchmark::DoNotOptimize(plovane::ParseLongitude("07201.75W"));
    }
}
BENCHMARK(BM_ParsePosition);

void BM_MapNumberLine(benchmark::State& state) {
    plovane::CRegularExpression matcher(std::string("-97.5123 , 35.4567"));
    for (auto _ : state) benchmark::DoNotOptimize(matcher.Match("^\\-?[0-9]*\\.?[0-9]* *,"));
}
BENCHMARK(BM_MapNumberLine);

// Many stars against a long subject that fails at its very end.
void BM_PathologicalMask(benchmark::State& state) {
    plovane::CRegularExpression matcher(std::string(static_cast<size_t>(state.range(0)), 'a'));
    const std::string pattern = "^a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b$";
    for (auto _ : state) benchmark::DoNotOptimize(matcher.Match(pattern));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PathologicalMask)->Range(32, 4096)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
