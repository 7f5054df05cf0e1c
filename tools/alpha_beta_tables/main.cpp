// Writes the start tables of the alpha search as a C++ source file.
//   generate_alpha_beta_start_tables <output.cpp>
#include "StartTableGenerator.h"

#include <cstdio>
#include <fstream>

using namespace quorvel;
using namespace quorvel::start_tables;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.cpp>\n", argv[0]);
        return 2;
    }
    std::array<AlphaBetaStartTable, kStartTableCount> tables{};
    for (int t = 0; t < kStartTableCount; ++t) {
        StartTableGenerator generator(kStartTableAlphas[t]);
        const auto table = generator.table();
        if (!table) {
            std::fprintf(stderr, "no table for alpha %g\n", kStartTableAlphas[t]);
            return 1;
        }
        tables[t] = *table;
        std::fprintf(stderr, "alpha %g done\n", kStartTableAlphas[t]);
    }
    std::ofstream out(argv[1]);
    out << startTablesSource(tables);
    return out ? 0 : 1;
}
