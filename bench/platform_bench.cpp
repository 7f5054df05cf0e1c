#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <benchmark/benchmark.h>

using namespace quorvel;

namespace {

// Reads a whole archive as a document does; the time should grow linearly with its size.
void readArchive(benchmark::State& state, const QByteArray& bytes)
{
    for (auto _ : state) {
        auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes);
        if (!roots)
            state.SkipWithError("the archive was refused");
        benchmark::DoNotOptimize(roots);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// An array holding the same string n times: one object, n references.
void BM_readSharedReferences(benchmark::State& state)
{
    Array array;
    for (int64_t i = 0; i < state.range(0); ++i)
        array.append(QStringLiteral("oil"));
    readArchive(state, KeyedArchiver::archivedDataWithRootKeys({{"root", array}}));
}

// An array of n distinct strings: n objects.
void BM_readDistinctObjects(benchmark::State& state)
{
    Array array;
    for (int64_t i = 0; i < state.range(0); ++i)
        array.append(QString::number(i));
    readArchive(state, KeyedArchiver::archivedDataWithRootKeys({{"root", array}}));
}

// A dictionary of n keys, each holding its own number.
void BM_readDictionary(benchmark::State& state)
{
    Dictionary dict;
    for (int64_t i = 0; i < state.range(0); ++i)
        dict.setValue(QString::number(i), i);
    readArchive(state, KeyedArchiver::archivedDataWithRootKeys({{"root", dict}}));
}

// An archive of n root keys.
void BM_readRootKeys(benchmark::State& state)
{
    KeyedArchiver::RootList roots;
    for (int64_t i = 0; i < state.range(0); ++i)
        roots.append({QString::number(i), i});
    readArchive(state, KeyedArchiver::archivedDataWithRootKeys(roots));
}

void sizes(benchmark::internal::Benchmark* benchmark, int64_t largest)
{
    for (int64_t n : {1000, 10000, 50000, 100000, 1000000})
        if (n <= largest)
            benchmark->Arg(n);
    benchmark->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

void upToAMillion(benchmark::internal::Benchmark* benchmark) { sizes(benchmark, 1000000); }

// Writing a dictionary of many keys takes libplist quadratic time, which
// would swamp the set-up of the larger sizes.
void upToAHundredThousand(benchmark::internal::Benchmark* benchmark) { sizes(benchmark, 100000); }

}  // namespace

BENCHMARK(BM_readSharedReferences)->Apply(upToAMillion);
BENCHMARK(BM_readDistinctObjects)->Apply(upToAMillion);
BENCHMARK(BM_readDictionary)->Apply(upToAHundredThousand);
BENCHMARK(BM_readRootKeys)->Apply(upToAHundredThousand);
