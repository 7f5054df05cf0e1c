#pragma once
// The alpha-beta plot document ("Quorvel Alpha-Beta Plot", .abp): computed beta(alpha)
// curves of inclusions, alpha-beta markers and correlation lines read from fluid-model
// files, drawn in one beta-over-alpha plot. It also runs the step-wise curve calculation
// that the calculation panel drives, one step per turn of its modal loop.

#include "app/AlphaBetaTurn.h"
#include "platform/Document.h"
#include "platform/Value.h"
#include "plot/PlotViewProvider.h"
#include "thermo/Homogenisation.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QWidget;

namespace quorvel {

class AlphaBetaCurveEngine;
class CGraphCurve;
class CPlotFormat;
class CPlotView;
class WindowController;

// The order of the document's curves: by creation index or by first alpha.
enum class CurveOrder : std::int8_t { byIndex, byFirstAlpha };

inline const QString AlphaBetaPlotModified = QStringLiteral("AlphaBetaPlotModified");
inline const QString AlphaBetaPlotSelection = QStringLiteral("AlphaBetaPlotSelection");

// The keys of the document's records besides the fluid and inclusion keys they carry: the
// style of a curve, marker or correlation line, a curve's points ("data"), first alpha and
// creation index, a marker's pressure, and a correlation's fluids ("data"), name and file.
namespace alphabetakey {
inline const QString size = QStringLiteral("size");
inline const QString color = QStringLiteral("color");
inline const QString selector = QStringLiteral("selector");
inline const QString data = QStringLiteral("data");
inline const QString alpha0 = QStringLiteral("alpha0");
inline const QString index = QStringLiteral("index");
inline const QString Ph = QStringLiteral("Ph");
inline const QString name = QStringLiteral("name");
inline const QString path = QStringLiteral("path");
}  // namespace alphabetakey

// Name of a curve computed from typed data, replaced at the curve-name prompt.
inline const QString kNewInclusionCurveName = QStringLiteral("New inclusion");

// A new alpha-beta fluid record (not added to any document); gases as the caller gives them.
Dictionary newAlphaBetaPoint(double alpha, double beta, double CO2, double N2, double H2S);

// The engine's fluid of a marker: a deep copy with the gases as fractions, without its
// plot object and its curve. Markers keep their gases in percent.
Dictionary alphaBetaFluidFromMarker(const Dictionary& marker);

// Curve orderings: by first alpha, by creation index.
bool alphaBetaCurveCompareUsingAlpha(const Value& a, const Value& b);
bool alphaBetaCurveCompareUsingIndex(const Value& a, const Value& b);

// The alerts of the curve calculation.
void Msg_AlphaBetaCurveLLGEx();
void Msg_AlphaBetaCurveCritical();
void Msg_AlphaBetaCurveLLG();
void Msg_AlphaBetaCurveNoLiquid();
void Msg_AlphaBetaCurveNoGas();
void Msg_AlphaBetaCurveError();

class CAlphaBetaPlotDocument : public Document, public PlotViewProvider
{
    Q_OBJECT

public:
    CAlphaBetaPlotDocument();
    ~CAlphaBetaPlotDocument() override;

    // The live lists.
    Array alphaBetaCurves() const { return mAlphaBetaCurves; }
    Array alphaBetaPoints() const { return mAlphaBetaPoints; }
    Array alphaBetaCorrelations() const { return mAlphaBetaCorrelations; }
    const CPlotFormat& plotFormat() const { return *mPlotFormat; }

    CPlotView* plotView() const override { return mPlotView; }
    void setPlotView(CPlotView* view) { mPlotView = view; }

    void makeWindowControllers() override;
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    // Refuses only data that is not a keyed archive; entries of the wrong kind are left out.
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;

    void plotData();
    void plotAlphaBetaCurve(const Dictionary& curve);
    void plotAlphaBetaPoint(const Dictionary& point);
    void plotAlphaBetaCorrelation(const Dictionary& correlation);

    void removeAlphaBetaCurve(const Dictionary& curve);
    void removeAlphaBetaPoint(const Dictionary& point);
    void removeAlphaBetaCorrelation(const Dictionary& correlation);
    void sortAlphaBetaCurves(CurveOrder order);

    // Interpolation along a curve; -1 (pressure untouched) when no pair of points brackets the value.
    double getBetaFromAlpha(const Dictionary& curve, double alpha, double* pressure) const;
    double getAlphaFromBeta(const Dictionary& curve, double beta, double* pressure) const;

    void setShowLabels(bool show);
    // Lets the user pick a fluid-model file and draws its alpha-beta fluids as a line; none when cancelled or unreadable.
    std::optional<Dictionary> addAlphaBetaCorrelation();
    // Gases in mole percent, pressure in bar; the curve the marker sits on or none.
    Dictionary setAlphaBetaMarker(double alpha, double beta, double CO2, double N2, double H2S, double pressure,
                                  const std::optional<Dictionary>& curve);

    void onShowAlphaBetaPanelPage1(QObject* sender);
    void onShowAlphaBetaPanelPage2(QObject* sender);
    void onShowAlphaBetaPanelPage3(QObject* sender);

    // The plot view scaled onto one page.
    void printToDevice(QPagedPaintDevice& device) const;
    bool canPrint() const override { return true; }
    void printDocument() override;

    // ---- The curve calculation ----
    // One curve: Th and Tv in kelvin, Fv and the gases as fractions.
    void prepareCalculation(double Th, double Tv, double Fv, double CO2, double N2, double H2S, Homogenisation homog,
                            const QString& curveName, const std::optional<Dictionary>& inclusion);
    // Every inclusion of the list after its element 0 (the panel's placeholder row); the
    // document works on its own copy of the list.
    void prepareCalculation(const Array& inclusions);
    [[nodiscard]] AlphaBetaTurn calculateAlphaBetaPoint(double* alpha, double* beta);
    [[nodiscard]] AlphaBetaTurn calculateAlphaBetaPoint1(double* alpha, double* beta);
    QString getCurveName() const { return mCurveName; }
    void onCalculationEnd();
    bool hasEngine() const { return mEngine != nullptr; }

    // A fluid of the alpha-beta model (gases as fractions) added to the last open
    // fluid-model document, or to a new one.
    void generateFluidModel(double alpha, double beta, double CO2, double N2, double H2S);

    // ---- An alpha-beta point as a fluid (index into alphaBetaPoints; others do nothing) ----
    // Reports to the log window: flash and bulk properties at T (K) and P (bar), and the
    // stock-tank properties with the model fluid's component table (drops the curve engine).
    void writeToLog2(int index, double T, double P);
    void writeToLog1(int index, double T, double P);
    void writeToLog(int index);
    // Stock-tank gas-oil ratio (Stdm3/Stdm3) and API gravity by the untranslated equation of state.
    void calculateGORAPI(int index, double* GOR, double* API);
    // Developers' grids of the alpha-beta model, written into a folder the user chooses.
    void calculateFvGrid(QObject* sender);
    void calculateMacCainGrid(QObject* sender);
    void calculateCompoGrid(QObject* sender);
    void calculateGORAPIGrid(QObject* sender);
    void showFluidPropertiesPanel(QObject* sender);

    // ---- Reference curves laid over the plot; built when first shown or hidden, never saved ----
    // McCain's fluid-class boundaries and the lines of equal C7+, methane, API gravity and
    // gas-oil ratio. Visible: built and not hidden. Show or hide redraws and posts
    // nothing; the toggles post "AlphaBetaPlotModified".
    bool areMcCainCurvesVisible() const;
    void showMcCainCurves(bool show);
    void showHideMcCainCurves();
    void buildMcCainCurves();
    bool areIsoC7plusCurvesVisible() const;
    void showIsoC7plusCurves(bool show);
    void showHideIsoC7plusCurves();
    void buildIsoC7plusCurves();
    bool areIsoCH4CurvesVisible() const;
    void showIsoCH4Curves(bool show);
    void showHideIsoCH4Curves();
    void buildIsoCH4Curves();
    bool areIsoAPICurvesVisible() const;
    void showIsoAPICurves(bool show);
    void showHideIsoAPICurves();
    void buildIsoAPICurves();
    bool areIsoGORCurvesVisible() const;
    void showIsoGORCurves(bool show);
    void showHideIsoGORCurves();
    void buildIsoGORCurves();
    using ReferenceCurves = std::vector<std::shared_ptr<CGraphCurve>>;
    const ReferenceCurves& mcCainCurves() const { return mMcCainCurves; }
    const ReferenceCurves& isoC7plusCurves() const { return mIsoC7plusCurves; }
    const ReferenceCurves& isoCH4Curves() const { return mIsoCH4Curves; }
    const ReferenceCurves& isoAPICurves() const { return mIsoAPICurves; }
    const ReferenceCurves& isoGORCurves() const { return mIsoGORCurves; }
    // The folder of the iso-curve files (the application's resources unless told).
    void setIsoCurveFolder(const QString& folder) { mIsoCurveFolder = folder; }

    // The document's actions: the alpha-beta panel's three pages, the fluid-properties panel
    // and the developers' grids. Every item it is asked about is enabled, those of the
    // document's own actions too; the page items are ticked by the panel's page.
    bool validateAction(const QString& action, QAction* item) override;

protected:
    void documentDidRevert() override;

private:
    void postModified();
    void postModifiedAndSelection();
    void redraw();
    void unplotAll();
    void unplot(const Dictionary& record, const QString& key);
    void resetCurve();
    void dropEngine();
    Dictionary storeCurve(const std::optional<Dictionary>& inclusion);
    AlphaBetaTurn startNextInclusion(double* alpha, double* beta);
    AlphaBetaTurn endCurve();
    AlphaBetaTurn acceptPoint(double alpha, double beta, double pressure, double* outAlpha, double* outBeta);
    std::optional<Dictionary> alphaBetaPointAt(int index) const;
    QWidget* gridChooserParent() const;
    void answerDocumentActions();

    Array mAlphaBetaCurves;
    CurveOrder mSorted = CurveOrder::byIndex;  // the last order asked for
    Array mAlphaBetaPoints;
    Array mAlphaBetaCorrelations;
    Array mInclusionsList;
    std::optional<Dictionary> mCurrentInclusion;
    int mCurrentInclusionIndex = 0;
    std::shared_ptr<CPlotFormat> mPlotFormat;
    std::unique_ptr<AlphaBetaCurveEngine> mEngine;
    Array mCurve;
    QString mCurveName;
    // The step a curve calculation is at: the first of a run, the first of the next
    // inclusion of a list, or a further one of the current curve.
    enum class RunPhase : char { furtherStep, runStart, nextInclusion };
    RunPhase mFirstPoint = RunPhase::furtherStep;
    bool mShowLabels = false;
    CPlotView* mPlotView = nullptr;

    struct IsoCurveFamily;
    static bool areVisible(const ReferenceCurves& curves);
    void showReferenceCurves(ReferenceCurves& curves, void (CAlphaBetaPlotDocument::*build)(), bool show);
    void buildIsoCurves(ReferenceCurves& curves, const IsoCurveFamily& family);
    void addReferenceCurve(ReferenceCurves& curves, const std::shared_ptr<CGraphCurve>& curve);
    ReferenceCurves mMcCainCurves;
    ReferenceCurves mIsoC7plusCurves;
    ReferenceCurves mIsoCH4Curves;
    ReferenceCurves mIsoAPICurves;
    ReferenceCurves mIsoGORCurves;
    QString mIsoCurveFolder;
};

}  // namespace quorvel
