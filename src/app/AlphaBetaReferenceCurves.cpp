// The reference curves of the alpha-beta plot document: McCain's fluid-class boundaries,
// fixed polynomials, and the lines of equal C7+ content, methane content, API gravity
// and gas-oil ratio, read from the application's iso-curve files.

#include "app/AlphaBetaReferenceCurves.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "platform/AlertService.h"
#include "platform/Color.h"
#include "platform/NotificationCenter.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include <QDir>
#include <QFile>

#include <array>
#include <initializer_list>
#include <optional>

// The iso-curve files are linked into the application from a static library, whose
// resources are registered explicitly.
static void registerIsoCurveResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(isocurves);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace quorvel {

namespace {

// ---- Reading ----

// The numbers of a free-format text, one at a time; none at the end or at a word that is
// not a number.
class NumberReader
{
public:
    explicit NumberReader(const QByteArray& text) : mWords(text.simplified().split(' ')) {}

    std::optional<double> next()
    {
        if (mIndex >= mWords.size())
            return std::nullopt;
        bool ok = false;
        const double value = mWords.at(mIndex).toDouble(&ok);
        if (!ok)
            return std::nullopt;
        ++mIndex;
        return value;
    }

private:
    QList<QByteArray> mWords;
    qsizetype mIndex = 0;
};

constexpr double kBreakMarker = -1;

}  // namespace

std::vector<IsoCurveIndexRecord> readIsoCurveIndex(const QByteArray& text)
{
    std::vector<IsoCurveIndexRecord> records;
    NumberReader reader(text);
    while (true) {
        const std::optional<double> value = reader.next();
        const std::optional<double> x = value ? reader.next() : std::nullopt;
        const std::optional<double> y = x ? reader.next() : std::nullopt;
        if (!y)
            return records;
        records.push_back({*value, {float(*x), float(*y)}});
    }
}

std::vector<CurvePoint> readIsoCurvePoints(const QByteArray& text, bool breakMarkers)
{
    std::vector<CurvePoint> points;
    NumberReader reader(text);
    while (const std::optional<double> x = reader.next()) {
        if (breakMarkers && *x == kBreakMarker) {
            points.push_back({{0, 0}, true});
            continue;
        }
        const std::optional<double> y = reader.next();
        if (!y)
            break;
        points.push_back({{float(*x), float(*y)}, false});
    }
    return points;
}

// ---- The families ----

namespace {

// McCain's boundaries: y(x) = sum of c[i] x^i, sampled from the first x by steps of 0.01
// while x stays below the last.
struct McCainBoundary {
    const char* name;
    PlotPoint label;
    double firstX;
    std::initializer_list<double> coefficients;
};

constexpr double kMcCainStep = 0.01;
constexpr double kMcCainEnd = 0.996;

const std::array<McCainBoundary, 4> kMcCainBoundaries{{
    {QT_TRANSLATE_NOOP("CAlphaBetaPlotDocument", "Dry Gas"), {0.24f, 0.76f}, 0.165,
     {-3.377, 35.633, -155.27, 412.92, -684.44, 688.74, -384.25, 91.035}},
    {QT_TRANSLATE_NOOP("CAlphaBetaPlotDocument", "Gas condensate"), {0.45f, 0.36f}, 0.33,
     {-4.3446, 26.153, -64.915, 87.122, -60.796, 17.753}},
    {QT_TRANSLATE_NOOP("CAlphaBetaPlotDocument", "Volatile oil"), {0.58f, 0.08f}, 0.52,
     {-41.367, 279.27, -761.7, 1039.1, -705.09, 190.72}},
    {QT_TRANSLATE_NOOP("CAlphaBetaPlotDocument", "Black oil"), {0.84f, 0.18f}, 0.8575,
     {-259.01, 842.62, -919.95, 337.16}},
}};

double polynomial(std::initializer_list<double> coefficients, double x)
{
    double y = 0;
    for (auto c = std::rbegin(coefficients); c != std::rend(coefficients); ++c)
        y = y * x + *c;
    return y;
}

Color mcCainColor() { return Color::fromRgb(0.33, 0.5, 0.8); }

constexpr float kIsoCurveSize = 0.4f;

}  // namespace

struct CAlphaBetaPlotDocument::IsoCurveFamily {
    const char* indexName;    // resource name of the index file
    const char* curveFormat;  // resource name of one curve's file, from its value
    const char* labelFormat;
    Color color;
    bool breakMarkers;        // iso-API files break their lines with -1
    bool redrawAfterBuild;
    const char* missingIndexMessage;
};

// ---- Visible, show or hide, toggle ----

bool CAlphaBetaPlotDocument::areVisible(const ReferenceCurves& curves)
{
    return !curves.empty() && !curves.front()->isHidden();
}

void CAlphaBetaPlotDocument::showReferenceCurves(ReferenceCurves& curves, void (CAlphaBetaPlotDocument::*build)(),
                                                 bool show)
{
    if (curves.empty())
        (this->*build)();
    for (const std::shared_ptr<CGraphCurve>& curve : curves)
        curve->setHidden(!show);
    redraw();
}

void CAlphaBetaPlotDocument::addReferenceCurve(ReferenceCurves& curves, const std::shared_ptr<CGraphCurve>& curve)
{
    curves.push_back(curve);
    if (mPlotView)
        mPlotView->addGraphObject(curve);
}

bool CAlphaBetaPlotDocument::areMcCainCurvesVisible() const { return areVisible(mMcCainCurves); }
bool CAlphaBetaPlotDocument::areIsoC7plusCurvesVisible() const { return areVisible(mIsoC7plusCurves); }
bool CAlphaBetaPlotDocument::areIsoCH4CurvesVisible() const { return areVisible(mIsoCH4Curves); }
bool CAlphaBetaPlotDocument::areIsoAPICurvesVisible() const { return areVisible(mIsoAPICurves); }
bool CAlphaBetaPlotDocument::areIsoGORCurvesVisible() const { return areVisible(mIsoGORCurves); }

void CAlphaBetaPlotDocument::showMcCainCurves(bool show)
{
    showReferenceCurves(mMcCainCurves, &CAlphaBetaPlotDocument::buildMcCainCurves, show);
}

void CAlphaBetaPlotDocument::showIsoC7plusCurves(bool show)
{
    showReferenceCurves(mIsoC7plusCurves, &CAlphaBetaPlotDocument::buildIsoC7plusCurves, show);
}

void CAlphaBetaPlotDocument::showIsoCH4Curves(bool show)
{
    showReferenceCurves(mIsoCH4Curves, &CAlphaBetaPlotDocument::buildIsoCH4Curves, show);
}

void CAlphaBetaPlotDocument::showIsoAPICurves(bool show)
{
    showReferenceCurves(mIsoAPICurves, &CAlphaBetaPlotDocument::buildIsoAPICurves, show);
}

void CAlphaBetaPlotDocument::showIsoGORCurves(bool show)
{
    showReferenceCurves(mIsoGORCurves, &CAlphaBetaPlotDocument::buildIsoGORCurves, show);
}

void CAlphaBetaPlotDocument::showHideMcCainCurves()
{
    showMcCainCurves(!areMcCainCurvesVisible());
    postModified();
}

void CAlphaBetaPlotDocument::showHideIsoC7plusCurves()
{
    showIsoC7plusCurves(!areIsoC7plusCurvesVisible());
    postModified();
}

void CAlphaBetaPlotDocument::showHideIsoCH4Curves()
{
    showIsoCH4Curves(!areIsoCH4CurvesVisible());
    postModified();
}

void CAlphaBetaPlotDocument::showHideIsoAPICurves()
{
    showIsoAPICurves(!areIsoAPICurvesVisible());
    postModified();
}

void CAlphaBetaPlotDocument::showHideIsoGORCurves()
{
    showIsoGORCurves(!areIsoGORCurvesVisible());
    postModified();
}

// ---- Building ----

void CAlphaBetaPlotDocument::buildMcCainCurves()
{
    for (const McCainBoundary& boundary : kMcCainBoundaries) {
        auto curve = std::make_shared<CGraphCurve>();
        curve->setHidden(true);
        curve->setColor(mcCainColor());
        curve->setLabel(tr(boundary.name), boundary.label.x, boundary.label.y);
        for (int i = 0; boundary.firstX + i * kMcCainStep < kMcCainEnd; ++i) {
            const double x = boundary.firstX + i * kMcCainStep;
            curve->addPoint(float(x), float(polynomial(boundary.coefficients, x)), false);
        }
        addReferenceCurve(mMcCainCurves, curve);
    }
}

void CAlphaBetaPlotDocument::buildIsoC7plusCurves()
{
    static const IsoCurveFamily family{"c7plus", "c7%.0f", "%.0f", Color::fromRgb(0.67, 0.67, 1), false, true,
                                       QT_TR_NOOP("Cannot find the file of iso-C7+ curves !")};
    buildIsoCurves(mIsoC7plusCurves, family);
}

void CAlphaBetaPlotDocument::buildIsoCH4Curves()
{
    static const IsoCurveFamily family{"ch4", "ch4%.0f", "%.0f", Color::fromRgb(1, 0.67, 0.67), false, true,
                                       QT_TR_NOOP("Cannot find the file of iso-CH4 curves !")};
    buildIsoCurves(mIsoCH4Curves, family);
}

void CAlphaBetaPlotDocument::buildIsoAPICurves()
{
    static const IsoCurveFamily family{"APIs", "API.%.1f", "%.1f", Color::fromRgb(1, 0, 0), true, false,
                                       QT_TR_NOOP("Cannot find the file of iso-API curves !")};
    buildIsoCurves(mIsoAPICurves, family);
}

void CAlphaBetaPlotDocument::buildIsoGORCurves()
{
    static const IsoCurveFamily family{"GORS", "GOR.%.0f", "%.0f", Color::fromRgb(0.67, 0.67, 0.67), false, true,
                                       QT_TR_NOOP("Cannot find the file of iso-GOR curves !")};
    buildIsoCurves(mIsoGORCurves, family);
}

namespace {

// The whole text of a file of type "doc" in the folder; none when it cannot be read.
std::optional<QByteArray> isoCurveFile(const QString& folder, const QString& name)
{
    QFile file(QDir(folder).filePath(name + QStringLiteral(".doc")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    return file.readAll();
}

}  // namespace

void CAlphaBetaPlotDocument::buildIsoCurves(ReferenceCurves& curves, const IsoCurveFamily& family)
{
    registerIsoCurveResources();
    const std::optional<QByteArray> index = isoCurveFile(mIsoCurveFolder, QString::fromLatin1(family.indexName));
    if (!index) {
        Alert alert;
        alert.title = tr("Alert");
        alert.message = tr(family.missingIndexMessage);
        alert.defaultButton = tr("OK");
        AlertService::current().run(alert);
        return;
    }
    for (const IsoCurveIndexRecord& record : readIsoCurveIndex(*index)) {
        const std::optional<QByteArray> points =
            isoCurveFile(mIsoCurveFolder, QString::asprintf(family.curveFormat, record.value));
        if (!points)
            continue;  // a curve not shipped is left out silently
        auto curve = std::make_shared<CGraphCurve>();
        curve->setHidden(true);
        curve->setLabel(QString::asprintf(family.labelFormat, record.value), record.label.x, record.label.y);
        curve->setColor(family.color);
        curve->setToolSizeFactor(kIsoCurveSize);
        curve->setSize(kIsoCurveSize);
        for (const CurvePoint& point : readIsoCurvePoints(*points, family.breakMarkers))
            curve->addPoint(point.point.x, point.point.y, point.breakFlag);
        addReferenceCurve(curves, curve);
    }
    if (family.redrawAfterBuild)
        redraw();
}

}  // namespace quorvel
