// Grids of the alpha-beta plane for developers: the model fluid evaluated on a regular
// (alpha, beta) lattice, written as Igor text waves.
#include "calc/CAlphaBetaModelInterface.h"
#include "calc/Units.h"
#include "platform/FileAccess.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>

#include <charconv>
#include <functional>

namespace quorvel {

using namespace units;

namespace {

// Lattice values are index x spacing, so that 0 is exactly 0.
constexpr double kLatticeSpacing = 0.005;

struct LatticeRange {
    int first;  // index of the first value
    int last;   // index of the last value
    double value(int index) const { return index * kLatticeSpacing; }
};

constexpr LatticeRange kUnitRange{0, 199};              // 0 .. 0.995
constexpr LatticeRange kNegativeBetaRange{-60, 199};   // -0.3 .. 0.995
constexpr LatticeRange kHeavyAlphaRange{160, 199};     // 0.8 .. 0.995

// The model inclusion of grid3.
constexpr double kGridTh = 373.15;  // K
constexpr double kGridTv = 293.15;  // K

constexpr double kPercentPerFraction = 100;

// McCain's fluid classes, numbered as the grid writes them.
enum class McCainClass : int {
    lowShrinkageOil = 1,
    blackOil = 2,
    volatileOil = 3,
    gasCondensate = 4,
    dryGas = 5,
};

// The class from the C7+ fraction and the N2 + C1 fraction.
McCainClass mcCainClass(double c7plus, double lightGas)
{
    if (c7plus >= 0.7)
        return McCainClass::lowShrinkageOil;
    if (c7plus >= 0.3)
        return McCainClass::blackOil;
    if (c7plus >= 0.125)
        return McCainClass::volatileOil;
    return lightGas < 0.91 ? McCainClass::gasCondensate : McCainClass::dryGas;
}

// Columns as C's printf writes them in the "C" locale, whatever the user's locale.
class IgorRow {
public:
    // "%<width>.<precision>f" and "%<width>.<precision>g".
    IgorRow& fixed(double value, int precision = 6) { return put(value, std::chars_format::fixed, precision); }
    IgorRow& general(double value) { return put(value, std::chars_format::general, 4); }
    IgorRow& integer(int value)  // "%4d"
    {
        mText += (mText.isEmpty() ? "" : " ") + QByteArray::number(value).rightJustified(4, ' ');
        return *this;
    }
    QByteArray line() const { return mText + '\n'; }

private:
    IgorRow& put(double value, std::chars_format format, int precision)
    {
        char buffer[400];  // "%.6f" of the largest double needs 317 characters
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision).ptr;
        if (!mText.isEmpty())
            mText += ' ';
        mText += QByteArray(buffer, static_cast<int>(end - buffer)).rightJustified(12, ' ');
        return *this;
    }

    QByteArray mText;
};

// Writes header, the rows of every lattice point (a row may be empty: left out) and "END"
// to folder/name, replacing the file only once everything is written.
GridWriteResult writeGrid(const QString& folder, const char* name, const char* header,
                          const LatticeRange& alphas, const LatticeRange& betas,
                          const std::function<QByteArray(double, double)>& row)
{
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return {false, QObject::tr("The grid \"%1\" needs the full path of a folder to go into.")
                           .arg(QString::fromLatin1(name))};
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    const auto failure = [&](const QString& reason) {
        return GridWriteResult{false, QObject::tr("The file \"%1\" could not be written (%2).").arg(path, reason)};
    };
    // The folder is checked first: a folder that takes no file costs no calculation.
    const QFileInfo place(folder);
    if (!place.isDir() || !place.isWritable())
        return failure(QObject::tr("no folder to write into"));
    QByteArray text(header);
    for (int i = alphas.first; i <= alphas.last; ++i)
        for (int j = betas.first; j <= betas.last; ++j)
            text += row(alphas.value(i), betas.value(j));
    text += "END\n";
    if (const std::optional<QString> problem = writeFileAtomically(path, text))
        return failure(*problem);
    return {true, {}};
}

} // namespace

GridWriteResult CAlphaBetaModelInterface::calculateCompoGrid(const QString& folder)
{
    return writeGrid(folder, "grid1.txt", "IGOR\nWAVES alpha beta CH4 C7plus\nBEGIN\n", kUnitRange, kUnitRange,
                     [this](double a, double b) {
                         oil->setDistributionParameters(a, b, 0, 0, 0);
                         oil->characterizeC7plus(oil->feedComposition().data());
                         return IgorRow()
                             .fixed(a, 4)
                             .general(b)
                             .general(oil->getCH4() * kPercentPerFraction)
                             .general(oil->feedC7plusFraction() * kPercentPerFraction)
                             .line();
                     });
}

GridWriteResult CAlphaBetaModelInterface::calculateMacCainGrid(const QString& folder)
{
    return writeGrid(folder, "grid2.txt", "IGOR\nWAVES alpha beta CH4 C7plus type \nBEGIN\n", kUnitRange,
                     kNegativeBetaRange, [this](double a, double b) {
                         oil->setDistributionParameters(a, b, 0, 0, 0);
                         oil->characterizeC7plus(oil->feedComposition().data());
                         const double c7plus = oil->feedC7plusFraction();
                         const double lightGas = oil->feedComposition()[kN2] + oil->feedComposition()[kC1];
                         return IgorRow()
                             .fixed(a, 4)
                             .general(b)
                             .general(oil->getCH4() * kPercentPerFraction)
                             .general(c7plus * kPercentPerFraction)
                             .integer(static_cast<int>(mcCainClass(c7plus, lightGas)))
                             .line();
                     });
}

QByteArray CAlphaBetaModelInterface::fvGridRow(double a, double b)
{
    double fv = 0, ph = 0, pv = 0;
    if (oil->calculateFv(a, b, 0, 0, 0, kGridTh, kGridTv, fv, ph, pv) != equilibrium_failure::none)
        return {};
    oil->characterizeC7plus(oil->feedComposition().data());
    return IgorRow()
        .fixed(a, 4)
        .fixed(b, 4)
        .general(oil->getCH4() * kPercentPerFraction)
        .general(oil->feedC7plusFraction() * kPercentPerFraction)
        .fixed(kGridTh)
        .fixed(fv)
        .fixed(kGridTv)
        .fixed(ph * kBarPerPascal)
        .fixed(pv * kBarPerPascal)
        .line();
}

GridWriteResult CAlphaBetaModelInterface::calculateFvGrid(const QString& folder)
{
    return writeGrid(folder, "grid3.txt", "IGOR\nWAVES alpha0  beta0 C1 C7p  Th  Fv  Tv   Ph   Pv \nBEGIN\n",
                     kHeavyAlphaRange, kUnitRange, [this](double a, double b) { return fvGridRow(a, b); });
}

GridWriteResult CAlphaBetaModelInterface::calculateGORAPIGrid(const QString& folder)
{
    return writeGrid(folder, "grid.txt", "IGOR\nWAVES alpha beta GOR API CH4 C7plus\nBEGIN\n", kUnitRange,
                     kUnitRange, [this](double a, double b) {
                         oil->setDistributionParameters(a, b, 0, 0, 0);
                         oil->calculateGOR(0);
                         if (oil->failureCode() != equilibrium_failure::none)
                             return QByteArray();
                         constexpr int kTranslatedEos = 3;
                         return IgorRow()
                             .fixed(a, 4)
                             .fixed(b, 4)
                             .general(oil->gasOilRatios()[kTranslatedEos])
                             .general(oil->apiGravities()[kTranslatedEos])
                             .general(oil->getCH4())
                             .general(oil->feedC7plusFraction())
                             .line();
                     });
}

} // namespace quorvel
