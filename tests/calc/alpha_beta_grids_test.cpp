// The developers' grids of the alpha-beta plane: Igor text frames, lattices, row layouts,
// rows checked against a second interface or engine, McCain classes, and the folder the
// caller gives (nothing written elsewhere, failures reported).
#include "calc/CAlphaBetaModelInterface.h"

#include "thermo/Montel.h"
#include "thermo/Oil1.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// A grid file cut into its frame and its rows.
struct GridFile {
    QByteArray header;
    std::vector<QByteArray> rows;  // without their line ends
    bool endsWithEnd = false;
};

GridFile readGrid(const QString& path, int headerLength)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    GridFile grid;
    grid.header = bytes.left(headerLength);
    grid.endsWithEnd = bytes.endsWith("\nEND\n");
    const QByteArray body = bytes.mid(headerLength, bytes.size() - headerLength - 4);
    for (const QByteArray& line : body.split('\n'))
        if (!line.isEmpty())
            grid.rows.push_back(line);
    return grid;
}

std::vector<double> columns(const QByteArray& row)
{
    std::vector<double> values;
    for (const QByteArray& field : row.simplified().split(' '))
        values.push_back(field.toDouble());
    return values;
}


std::vector<QByteArray> fields(const QByteArray& row)
{
    const QList<QByteArray> list = row.simplified().split(' ');
    return {list.begin(), list.end()};
}

// The C7+ fraction of the model fluid as the sum of C7 .. C10, Cn1 and Cn2.
double c7plusOf(const CAlphaBetaModelInterface& model)
{
    double sum = 0;
    for (int i = 11; i < 17; ++i)
        sum += model.getMoleFraction(i);
    return sum;
}

// "%12.4lg" of a value, as C writes it.
std::string general4(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

class Grids : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QString path(const char* name) const { return QDir(folder.path()).filePath(QString::fromLatin1(name)); }

    // The grid `name` that `result` reports written, read back with its Igor frame checked:
    // a header of exactly `headerBytes` bytes and "END" last.
    GridFile writtenGrid(const GridWriteResult& result, const char* name, const QByteArray& header,
                         int headerBytes)
    {
        EXPECT_TRUE(result.written) << result.error.toStdString();
        EXPECT_EQ(header.size(), headerBytes);
        const GridFile grid = readGrid(path(name), headerBytes);
        EXPECT_EQ(grid.header, header);
        EXPECT_TRUE(grid.endsWithEnd);
        return grid;
    }

    QTemporaryDir folder;
    CAlphaBetaModelInterface model;
    CAlphaBetaModelInterface twin;  // evaluates single points for comparison
};

TEST_F(Grids, CompositionGridCoversTheUnitSquareRowByRow)
{
    const GridFile grid = writtenGrid(model.calculateCompoGrid(folder.path()), "grid1.txt",
                                      "IGOR\nWAVES alpha beta CH4 C7plus\nBEGIN\n", 39);
    ASSERT_EQ(grid.rows.size(), 40000u);
    // Alpha 0 is pure methane.
    EXPECT_EQ(grid.rows.front(), QByteArray("      0.0000            0          100            0"));

    for (size_t k : {size_t(0), size_t(201), size_t(12345), size_t(39999)}) {
        SCOPED_TRACE("row " + std::to_string(k));
        const double alpha = 0.005 * (k / 200), beta = 0.005 * (k % 200);
        const std::vector<double> row = columns(grid.rows[k]);
        ASSERT_EQ(row.size(), 4u);
        EXPECT_NEAR(row[0], alpha, 1e-12);
        EXPECT_NEAR(row[1], beta, 1e-12);
        twin.calculateComposition(alpha, beta, 0, 0, 0);
        EXPECT_EQ(fields(grid.rows[k])[2].toStdString(), general4(twin.getMoleFraction(3) * 100));
        EXPECT_EQ(fields(grid.rows[k])[3].toStdString(), general4(c7plusOf(twin) * 100));
    }
    EXPECT_EQ(grid.rows.back().left(25), QByteArray("      0.9950        0.995"));
}

TEST_F(Grids, McCainGridStartsBetaAtMinusThreeTenthsAndClassifiesEveryPoint)
{
    const GridFile grid = writtenGrid(model.calculateMacCainGrid(folder.path()), "grid2.txt",
                                      "IGOR\nWAVES alpha beta CH4 C7plus type \nBEGIN\n", 45);
    ASSERT_EQ(grid.rows.size(), 52000u);
    EXPECT_EQ(grid.rows.front(), QByteArray("      0.0000         -0.3          100            0    5"));
    EXPECT_EQ(fields(grid.rows[60])[1], QByteArray("0"));  // the lattice's zero is exactly 0
    EXPECT_EQ(grid.rows.back().left(25), QByteArray("      0.9950        0.995"));

    // Each class by the C7+ fraction x7 and N2 + C1 (here C1 alone); a printed value within
    // its rounding of a boundary may fall on either side.
    const auto near = [](double value, double boundary) { return std::fabs(value - boundary) < 1e-3 * boundary; };
    std::vector<int> perClass(6, 0);
    int nearBoundary[4][2] = {};  // x7 at 70, 30, 12.5 and CH4 at 91: points below, above
    for (const QByteArray& line : grid.rows) {
        const std::vector<double> row = columns(line);
        ASSERT_EQ(row.size(), 5u) << line.toStdString();
        const double x7 = row[3], xl = row[2];
        const int type = static_cast<int>(row[4]);
        ASSERT_TRUE(type >= 1 && type <= 5) << line.toStdString();
        ++perClass[type];
        if (near(x7, 70) || near(x7, 30) || near(x7, 12.5) || (x7 < 12.5 && near(xl, 91)))
            continue;
        const int expected = x7 >= 70 ? 1 : x7 >= 30 ? 2 : x7 >= 12.5 ? 3 : xl < 91 ? 4 : 5;
        ASSERT_EQ(type, expected) << line.toStdString();
        const double boundaries[] = {70, 30, 12.5};
        for (int b = 0; b < 3; ++b)
            if (std::fabs(x7 - boundaries[b]) < 1)
                ++nearBoundary[b][x7 > boundaries[b]];
        if (x7 < 12.5 && std::fabs(xl - 91) < 1)
            ++nearBoundary[3][xl > 91];
    }
    for (int type = 1; type <= 5; ++type)
        EXPECT_GT(perClass[type], 0) << "class " << type;
    for (int b = 0; b < 4; ++b)
        EXPECT_TRUE(nearBoundary[b][0] > 0 && nearBoundary[b][1] > 0) << "boundary " << b;
}

TEST_F(Grids, VapourFractionGridRowsAgreeWithTheEnginesIsochore)
{
    const GridFile grid = writtenGrid(model.calculateFvGrid(folder.path()), "grid3.txt",
                                      "IGOR\nWAVES alpha0  beta0 C1 C7p  Th  Fv  Tv   Ph   Pv \nBEGIN\n", 61);
    ASSERT_GT(grid.rows.size(), 1000u);
    ASSERT_LE(grid.rows.size(), 8000u);
    EXPECT_EQ(grid.rows.front().left(25), QByteArray("      0.8000       0.0000"));

    for (const QByteArray& line : grid.rows) {
        const std::vector<QByteArray> f = fields(line);
        ASSERT_EQ(f.size(), 9u) << line.toStdString();
        ASSERT_GE(f[0].toDouble(), 0.8) << line.toStdString();
        ASSERT_LT(f[1].toDouble(), 1) << line.toStdString();
        ASSERT_EQ(f[4], QByteArray("373.150000"));
        ASSERT_EQ(f[6], QByteArray("293.150000"));
    }

    Montel liquid(phase_kind::liquid), vapour(phase_kind::vapour);
    Oil1 engine(liquid, vapour);
    for (size_t k : {size_t(0), grid.rows.size() / 3, grid.rows.size() - 1}) {
        SCOPED_TRACE(grid.rows[k].toStdString());
        const std::vector<double> row = columns(grid.rows[k]);
        double fv = 0, ph = 0, pv = 0;
        ASSERT_EQ(engine.calculateFv(row[0], row[1], 0, 0, 0, 373.15, 293.15, fv, ph, pv), equilibrium_failure::none);
        EXPECT_NEAR(row[5], fv, 1e-6);
        EXPECT_NEAR(row[7], ph * 1e-5, 1e-6);
        EXPECT_NEAR(row[8], pv * 1e-5, 1e-6);
        twin.calculateComposition(row[0], row[1], 0, 0, 0);
        EXPECT_NEAR(row[3], c7plusOf(twin) * 100, 1e-3 * row[3]);
    }
}

TEST_F(Grids, GasOilRatioGridHoldsThePointsThatSeparateAtStockTankConditions)
{
    const GridFile grid = writtenGrid(model.calculateGORAPIGrid(folder.path()), "grid.txt",
                                      "IGOR\nWAVES alpha beta GOR API CH4 C7plus\nBEGIN\n", 47);
    ASSERT_GT(grid.rows.size(), 1000u);
    ASSERT_LT(grid.rows.size(), 40000u);

    // Pure methane gives no stock-tank liquid: the lattice's first point is left out.
    twin.calculateComposition(0, 0, 0, 0, 0);
    twin.calculateGOR();
    EXPECT_NE(twin.engine()->failureCode(), equilibrium_failure::none);
    EXPECT_NE(grid.rows.front().left(25), QByteArray("      0.0000       0.0000"));

    for (size_t k : {size_t(0), grid.rows.size() / 2, grid.rows.size() - 1}) {
        SCOPED_TRACE(grid.rows[k].toStdString());
        const std::vector<double> row = columns(grid.rows[k]);
        ASSERT_EQ(row.size(), 6u);
        twin.calculateComposition(row[0], row[1], 0, 0, 0);
        twin.calculateGOR();
        ASSERT_EQ(twin.engine()->failureCode(), equilibrium_failure::none);
        const std::vector<QByteArray> f = fields(grid.rows[k]);
        EXPECT_EQ(f[2].toStdString(), general4(twin.engine()->gasOilRatios()[3]));
        EXPECT_EQ(f[3].toStdString(), general4(twin.engine()->apiGravities()[3]));
        EXPECT_EQ(f[4].toStdString(), general4(twin.getMoleFraction(3)));  // fractions, not percent
        EXPECT_NEAR(row[5], c7plusOf(twin), 1e-3 * row[5]);
    }
}

TEST_F(Grids, AFolderThatTakesNoFileIsReportedAndCostsNoCalculation)
{
    QFile plainFile(path("not a folder"));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    const QString cases[] = {path("missing"), path("not a folder"), QString(), QStringLiteral("relative")};
    for (const QString& where : cases) {
        SCOPED_TRACE(where.toStdString());
        const GridWriteResult result = model.calculateFvGrid(where);
        EXPECT_FALSE(result.written);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(model.engine()->isochoreWalks(), 0);
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("grid3.txt")));  // nothing in the current directory
    EXPECT_FALSE(QFile::exists(QStringLiteral("relative/grid3.txt")));
}

TEST_F(Grids, AnEarlierFileOfTheSameNameIsReplaced)
{
    QFile old(path("grid2.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(200000, 'x'));
    old.close();
    ASSERT_TRUE(model.calculateMacCainGrid(folder.path()).written);
    const GridFile grid = readGrid(path("grid2.txt"), 45);
    EXPECT_TRUE(grid.header.startsWith("IGOR\n"));
    EXPECT_EQ(grid.rows.size(), 52000u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

} // namespace
} // namespace quorvel
