#include "characterisation/CarbonNumberTables.h"

#include "characterisation/ComponentRecord.h"

#include <array>

namespace quorvel {

namespace {

struct CarbonNumberRow
{
    double mw, Tb, SG, Tc, Pc, volume, omega;
};

// Katz and Firoozabadi's generalised single-carbon-number properties, in the source's
// units: g/mol, degrees R, SG, degrees R, psia, ft3/lb, omega. Row i is carbon number i + 1.
constexpr std::array<CarbonNumberRow, 45> kKatzFiroozabadi{{
    {16, 0, 0, 0, 0, 0, 0},
    {30, 0, 0, 0, 0, 0, 0},
    {44, 0, 0, 0, 0, 0, 0},
    {56, 0, 0, 0, 0, 0, 0},
    {68, 0, 0, 0, 0, 0, 0},
    {84, 607, 0.69, 923, 483, 0.06395, 0.25},
    {96, 658, 0.727, 985, 453, 0.06289, 0.28},
    {107, 702, 0.749, 1036, 419, 0.06264, 0.312},
    {121, 748, 0.768, 1085, 383, 0.06258, 0.348},
    {134, 791, 0.782, 1128, 351, 0.06273, 0.385},
    {147, 829, 0.793, 1166, 325, 0.06291, 0.419},
    {161, 867, 0.804, 1203, 302, 0.06306, 0.454},
    {175, 901, 0.815, 1236, 286, 0.06311, 0.484},
    {190, 936, 0.826, 1270, 270, 0.06316, 0.516},
    {206, 971, 0.836, 1304, 255, 0.06325, 0.55},
    {222, 1002, 0.843, 1332, 241, 0.06342, 0.582},
    {237, 1032, 0.851, 1360, 230, 0.0635, 0.613},
    {251, 1055, 0.856, 1380, 222, 0.06362, 0.638},
    {263, 1077, 0.861, 1400, 214, 0.06372, 0.662},
    {275, 1101, 0.866, 1421, 207, 0.06384, 0.69},
    {291, 1124, 0.871, 1442, 200, 0.06394, 0.717},
    {300, 1146, 0.876, 1461, 193, 0.06402, 0.743},
    {312, 1167, 0.881, 1480, 188, 0.06408, 0.768},
    {324, 1187, 0.885, 1497, 182, 0.06417, 0.793},
    {337, 1207, 0.888, 1515, 177, 0.06431, 0.819},
    {349, 1226, 0.892, 1531, 173, 0.06438, 0.844},
    {360, 1244, 0.896, 1547, 169, 0.06443, 0.868},
    {372, 1262, 0.899, 1562, 165, 0.06454, 0.894},
    {382, 1277, 0.902, 1574, 161, 0.06459, 0.915},
    {394, 1294, 0.905, 1589, 158, 0.06468, 0.941},
    {404, 1310, 0.909, 1603, 143, 0.06469, 0.897},
    {415, 1326, 0.912, 1616, 138, 0.06475, 0.909},
    {426, 1341, 0.915, 1629, 134, 0.0648, 0.921},
    {437, 1355, 0.917, 1640, 130, 0.0648, 0.932},
    {445, 1368, 0.92, 1651, 127, 0.0649, 0.942},
    {456, 1382, 0.922, 1662, 124, 0.06499, 0.954},
    {464, 1394, 0.925, 1673, 121, 0.06499, 0.964},
    {475, 1407, 0.927, 1683, 118, 0.06506, 0.975},
    {484, 1419, 0.929, 1693, 115, 0.06511, 0.985},
    {495, 1432, 0.931, 1703, 112, 0.06517, 0.997},
    {502, 1442, 0.933, 1712, 110, 0.0652, 1.006},
    {512, 1453, 0.934, 1720, 108, 0.06529, 1.016},
    {521, 1464, 0.936, 1729, 105, 0.06532, 1.026},
    {531, 1477, 0.938, 1739, 103, 0.06538, 1.038},
    {539, 1487, 0.94, 1747, 101, 0.0654, 1.048},
}};

// Riazi and Al-Sahhaf's single-carbon-number properties: g/mol, K, SG, K, bar,
// critical density g/cm3, omega. Row i is carbon number i + 1.
constexpr std::array<CarbonNumberRow, 50> kRiaziAlSahhaf{{
    {16, 0, 0, 0, 0, 0, 0},
    {30, 0, 0, 0, 0, 0, 0},
    {44, 0, 0, 0, 0, 0, 0},
    {56, 0, 0, 0, 0, 0, 0},
    {68, 0, 0, 0, 0, 0, 0},
    {82, 337, 0.69, 513, 33.3, 0.254, 0.255},
    {95, 365, 0.727, 546, 31.4, 0.255, 0.303},
    {107, 390, 0.749, 575, 29.2, 0.256, 0.346},
    {121, 416, 0.768, 603, 26.8, 0.256, 0.394},
    {136, 440, 0.782, 628, 24.2, 0.255, 0.444},
    {149, 461, 0.793, 650, 22.6, 0.255, 0.486},
    {163, 482, 0.804, 671, 20.9, 0.254, 0.53},
    {176, 500, 0.815, 688, 19.5, 0.254, 0.57},
    {191, 520, 0.826, 708, 18.1, 0.254, 0.614},
    {207, 539, 0.836, 725, 16.7, 0.253, 0.661},
    {221, 556, 0.843, 740, 14.3, 0.253, 0.701},
    {237, 573, 0.851, 755, 13.4, 0.252, 0.746},
    {249, 586, 0.856, 767, 12.7, 0.252, 0.779},
    {261, 598, 0.861, 777, 12.1, 0.252, 0.812},
    {275, 611, 0.866, 788, 11.4, 0.251, 0.849},
    {289, 624, 0.871, 798, 10.7, 0.251, 0.886},
    {303, 637, 0.876, 808, 10.2, 0.25, 0.923},
    {317, 648, 0.881, 817, 9.6, 0.25, 0.959},
    {331, 660, 0.885, 826, 9.2, 0.25, 0.995},
    {345, 671, 0.888, 834, 8.7, 0.249, 1.031},
    {359, 681, 0.892, 842, 8.3, 0.249, 1.066},
    {373, 691, 0.896, 849, 7.9, 0.249, 1.101},
    {387, 701, 0.899, 856, 7.5, 0.248, 1.135},
    {400, 710, 0.902, 863, 7.2, 0.248, 1.167},
    {415, 720, 0.905, 869, 6.9, 0.247, 1.203},
    {429, 728, 0.909, 875, 6.6, 0.247, 1.237},
    {443, 737, 0.912, 881, 6.3, 0.246, 1.27},
    {457, 745, 0.915, 886, 6, 0.246, 1.303},
    {471, 753, 0.917, 891, 5.8, 0.246, 1.336},
    {485, 760, 0.92, 896, 5.6, 0.245, 1.369},
    {499, 768, 0.922, 901, 5.4, 0.245, 1.402},
    {513, 775, 0.925, 905, 5.1, 0.245, 1.434},
    {528, 782, 0.927, 909, 4.9, 0.245, 1.468},
    {542, 789, 0.929, 913, 4.8, 0.244, 1.5},
    {556, 795, 0.931, 917, 4.6, 0.244, 1.532},
    {570, 802, 0.933, 921, 4.4, 0.244, 1.563},
    {584, 808, 0.934, 924, 4.3, 0.244, 1.595},
    {599, 814, 0.936, 927, 4.1, 0.243, 1.628},
    {614, 820, 0.938, 931, 4, 0.243, 1.661},
    {629, 826, 0.94, 934, 3.8, 0.243, 1.695},
    {641, 831, 0.941, 936, 3.7, 0.242, 1.721},
    {656, 836, 0.943, 939, 3.6, 0.242, 1.754},
    {670, 841, 0.944, 942, 3.5, 0.242, 1.784},
    {684, 846, 0.946, 944, 3.4, 0.242, 1.815},
    {698, 851, 0.947, 947, 3.3, 0.241, 1.845},
}};

// Ahmed's coefficients a1 .. a5 of a1 + a2 n + a3 n^2 + a4 n^3 + a5 / n, in the units of
// the Katz-Firoozabadi table, as published in his handbook.
struct AhmedCoefficients
{
    double a1, a2, a3, a4, a5;
};
constexpr AhmedCoefficients kAhmedMw{-131.11375, 24.96156, -0.34079022, 0.0024941184, 468.32575};
constexpr AhmedCoefficients kAhmedTb{434.38878, 50.125279, -0.9097293, 0.0070280657, -601.85651};
constexpr AhmedCoefficients kAhmedSG{0.86714949, 0.0034143408, -2.839627e-5, 2.4943308e-8, -1.1627984};
constexpr AhmedCoefficients kAhmedTc{915.53747, 41.421337, -0.7586859, 0.0058675351, -1302.8779};
constexpr AhmedCoefficients kAhmedPc{275.56275, -12.522269, 0.29926384, -0.0028452129, 1711.7226};
constexpr AhmedCoefficients kAhmedVc{0.05223458, 0.000787091369, -1.9324432e-5, 1.7547264e-7, 0.044017952};
constexpr AhmedCoefficients kAhmedOmega{-0.50862704, 0.08700211, -0.0018484814, 1.466389e-5, 1.8518106};

constexpr int kAhmedFirst = 6;
constexpr int kAhmedLast = 45;

template <std::size_t N>
double column(const std::array<CarbonNumberRow, N>& table, int n, double CarbonNumberRow::*property)
{
    if (n < 1 || n > int(N))
        return 0;
    return table[std::size_t(n - 1)].*property;
}

double ahmed(const AhmedCoefficients& a, int n)
{
    if (n < kAhmedFirst || n > kAhmedLast)
        return 0;
    const double x = n;
    return a.a1 + x * (a.a2 + x * (a.a3 + x * a.a4)) + a.a5 / x;
}

}  // namespace

double getKatzFiroozabadiMolarWeight(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::mw); }
double getKatzFiroozabadiTb(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::Tb) / kRankinePerKelvin; }
double getKatzFiroozabadiSG(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::SG); }
double getKatzFiroozabadiTc(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::Tc) / kRankinePerKelvin; }
double getKatzFiroozabadiPc(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::Pc) * kBarPerPsia; }
double getKatzFiroozabadiVc(int n)
{
    return column(kKatzFiroozabadi, n, &CarbonNumberRow::volume) * kCubicMetrePerKgPerFt3PerLb;
}
double getKatzFiroozabadiOmega(int n) { return column(kKatzFiroozabadi, n, &CarbonNumberRow::omega); }

double getRiaziAlSahhafMolarWeight(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::mw); }
double getRiaziAlSahhafTb(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::Tb); }
double getRiaziAlSahhafSG(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::SG); }
double getRiaziAlSahhafTc(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::Tc); }
double getRiaziAlSahhafPc(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::Pc); }
double getRiaziAlSahhafDc(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::volume); }
double getRiaziAlSahhafOmega(int n) { return column(kRiaziAlSahhaf, n, &CarbonNumberRow::omega); }

double getAhmedMolarWeight(int n) { return ahmed(kAhmedMw, n); }
double getAhmedTb(int n) { return ahmed(kAhmedTb, n) / kRankinePerKelvin; }
double getAhmedSG(int n) { return ahmed(kAhmedSG, n); }
double getAhmedTc(int n) { return ahmed(kAhmedTc, n) / kRankinePerKelvin; }
double getAhmedPc(int n) { return ahmed(kAhmedPc, n) * kBarPerPsia; }
double getAhmedVc(int n) { return ahmed(kAhmedVc, n) * kCubicMetrePerKgPerFt3PerLb; }
double getAhmedOmega(int n) { return ahmed(kAhmedOmega, n); }

}  // namespace quorvel
