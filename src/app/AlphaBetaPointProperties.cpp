// An alpha-beta point of the plot document treated as a fluid: its flash, bulk and
// stock-tank reports in the log window, its gas-oil ratio and API gravity, and the
// developers' grids of the alpha-beta model.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/Ports.h"
#include "calc/CAlphaBetaModelInterface.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"
#include "plot/CPlotView.h"
#include "widgets/CLogWindow.h"

#include <QWidget>

namespace quorvel {

namespace {

constexpr double kPercent = 0.01;  // the points keep their gases in mole percent
constexpr double kKelvinOffset = 273.15;
constexpr double kBarPerPascal = 1e-5;
constexpr double kCm3PerM3 = 1e6;

// The calculation interface of a point's alpha-beta fluid.
class PointFluid
{
public:
    explicit PointFluid(const Dictionary& point) : mInterface(FluidType::alphaBeta, EquationOfState::pengRobinson)
    {
        mInterface.setAlpha(point.doubleValue(fluidkey::alpha));
        mInterface.setBeta(point.doubleValue(fluidkey::beta));
        mInterface.setCO2(point.doubleValue(fluidkey::CO2) * kPercent);
        mInterface.setN2(point.doubleValue(fluidkey::N2) * kPercent);
        mInterface.setH2S(point.doubleValue(fluidkey::H2S) * kPercent);
        mInterface.finalize();
    }
    CalculationInterface& operator*() { return mInterface; }
    CalculationInterface* operator->() { return &mInterface; }

private:
    CalculationInterface mInterface;
};

// Every report starts on a new line of the shown log window.
CLogWindow* preparedLog(bool asCString)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    if (asCString)
        log->appendText("\n");
    else
        log->appendString(QStringLiteral("\n"));
    log->showWindow(log);
    log->window()->update();
    return log;
}

// A report of the point's fluid at T (K) and P (bar), under a title naming the point.
void writeConditionsReport(const Dictionary& point, const char* titleFormat,
                           void (CalculationInterface::*report)(double, double), double T, double P)
{
    preparedLog(false)->appendString(formatString(titleFormat, point.stringValue(fluidkey::name)));
    PointFluid fluid(point);
    ((*fluid).*report)(T, P);
}

// The model fluid's 17 components with their properties, one row each.
void appendComponentTable(CLogWindow* log, const Dictionary& point)
{
    CAlphaBetaModelInterface model;
    model.calculateComposition(point.doubleValue(fluidkey::alpha), point.doubleValue(fluidkey::beta),
                               point.doubleValue(fluidkey::CO2) * kPercent, point.doubleValue(fluidkey::N2) * kPercent,
                               point.doubleValue(fluidkey::H2S) * kPercent);
    const Oil1& engine = *model.engine();
    const int count = model.getNumberOfComponents();
    log->appendText(formatString("Number of components : %d\n", count).toUtf8().constData());
    log->appendText(formatString("\t%12s %12s %12s %12s  %12s %12s %12s %12s\n", "Component", "Mole %", "Mw (g/mol)",
                                 "SG", "Tc (C)", "Pc (bar)", "Vc (cm3/mol)", "Omega")
                        .toUtf8()
                        .constData());
    for (int i = 0; i < count; ++i)
        log->appendText(formatString("\t%12s %12.4f %12.2f %12.2f %12.2f %12.2f %12.2f %12.4f\n",
                                     model.getComponentName(i), model.getMoleFraction(i) * 100, model.getMw(i),
                                     engine.specificGravity()[i], engine.criticalTemperature()[i] - kKelvinOffset,
                                     engine.criticalPressure()[i] * kBarPerPascal, model.getVc(i) * kCm3PerM3,
                                     model.getOmega(i))
                            .toUtf8()
                            .constData());
    log->appendText("\n");
}

// Writes one grid into a folder the user chooses; a cancelled choice computes nothing and
// a file that cannot be written is explained.
void writeGridIntoChosenFolder(GridWriteResult (CAlphaBetaModelInterface::*grid)(const QString&),
                               const char* fileName, QWidget* parent)
{
    const QString folder = FileChooser::current().chooseFolder(
        QObject::tr("Choose the folder for \u201c%1\u201d").arg(QLatin1String(fileName)), parent);
    if (folder.isEmpty())
        return;
    CAlphaBetaModelInterface model;
    const GridWriteResult result = (model.*grid)(folder);
    if (!result.written)
        showAlert(result.error);
}

}  // namespace

std::optional<Dictionary> CAlphaBetaPlotDocument::alphaBetaPointAt(int index) const
{
    if (index < 0 || index >= mAlphaBetaPoints.size())
        return std::nullopt;
    return mAlphaBetaPoints.at(index).toDictionary();
}

void CAlphaBetaPlotDocument::writeToLog2(int index, double T, double P)
{
    if (const std::optional<Dictionary> point = alphaBetaPointAt(index))
        writeConditionsReport(*point, "\nFlash properties (fluid %@):\n", &CalculationInterface::printFlashProperties, T, P);
}

void CAlphaBetaPlotDocument::writeToLog1(int index, double T, double P)
{
    if (const std::optional<Dictionary> point = alphaBetaPointAt(index))
        writeConditionsReport(*point, "\nBulk fluid properties (fluid %@):\n", &CalculationInterface::printBulkProperties, T,
                              P);
}

void CAlphaBetaPlotDocument::writeToLog(int index)
{
    const std::optional<Dictionary> point = alphaBetaPointAt(index);
    if (!point)
        return;
    CLogWindow* log = preparedLog(true);
    log->appendString(
        formatString("\nSTP Fluid Properties (alpha-beta model %@):\n", point->stringValue(fluidkey::name)));
    const auto line = [log](const char* format, double value) {
        log->appendText(formatString(format, value).toUtf8().constData());
    };
    line("\talpha       : %.4lf\n", point->doubleValue(fluidkey::alpha));
    line("\tbeta        : %.4lf\n", point->doubleValue(fluidkey::beta));
    line("\tCO2 mole %%  : %.4lf %%\n", point->doubleValue(fluidkey::CO2));
    line("\tN2  mole %%  : %.4lf %%\n", point->doubleValue(fluidkey::N2));
    line("\tH2S mole %%  : %.4lf %%\n", point->doubleValue(fluidkey::H2S));
    appendComponentTable(log, *point);
    PointFluid(*point)->printSTProperties();
    // The report leaves no curve engine behind; the next curve makes a fresh one.
    dropEngine();
}

void CAlphaBetaPlotDocument::calculateGORAPI(int index, double* GOR, double* API)
{
    const std::optional<Dictionary> point = alphaBetaPointAt(index);
    if (!point)
        return;
    PointFluid fluid(*point);
    fluid->calculateGOR();
    *GOR = fluid->getGOR()[0];
    *API = fluid->getAPI()[0];
}

void CAlphaBetaPlotDocument::calculateFvGrid(QObject*)
{
    writeGridIntoChosenFolder(&CAlphaBetaModelInterface::calculateFvGrid, "grid3.txt", gridChooserParent());
}

void CAlphaBetaPlotDocument::calculateMacCainGrid(QObject*)
{
    writeGridIntoChosenFolder(&CAlphaBetaModelInterface::calculateMacCainGrid, "grid2.txt", gridChooserParent());
}

void CAlphaBetaPlotDocument::calculateCompoGrid(QObject*)
{
    writeGridIntoChosenFolder(&CAlphaBetaModelInterface::calculateCompoGrid, "grid1.txt", gridChooserParent());
}

void CAlphaBetaPlotDocument::calculateGORAPIGrid(QObject*)
{
    writeGridIntoChosenFolder(&CAlphaBetaModelInterface::calculateGORAPIGrid, "grid.txt", gridChooserParent());
}

void CAlphaBetaPlotDocument::showFluidPropertiesPanel(QObject*)
{
    InspectorPanels::current().showFluidPropertiesPanel(nullptr);
}

QWidget* CAlphaBetaPlotDocument::gridChooserParent() const
{
    return mPlotView ? mPlotView->window() : nullptr;
}

}  // namespace quorvel
