#include "StartTableGenerator.h"

#include <benchmark/benchmark.h>

namespace {

// One start table: bubble and dew curves traced, fourteen records with their isochores.
void BM_GenerateStartTable(benchmark::State& state)
{
    const double alpha = quorvel::kStartTableAlphas[state.range(0)];
    for (auto _ : state) {
        quorvel::start_tables::StartTableGenerator generator(alpha);
        auto table = generator.table();
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_GenerateStartTable)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
