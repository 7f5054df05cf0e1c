// The fluid model editor: one change of the selected fluid, which recomputes the stock-tank
// properties and the saturation pressure of the newly selected fluid and refreshes the window;
// reading an imported fluid table; the fluid report; one Montel fit of a model fluid; and the
// sheets' batches over twenty fluids as a click runs them, log window on screen: the test
// chain, the split and the Tovik estimate.

#include "app/CFluidModelDataDocument.h"
#include "calc/CalculationInterface.h"
#include "characterisation/Correlations.h"
#include "editor/AlphaBetaFitting.h"
#include "editor/AlphaBetaSheet.h"
#include "editor/FluidImports.h"
#include "editor/FluidModelController.h"
#include "editor/FluidReport.h"
#include "editor/LumpSplitSheets.h"
#include "editor/TestSheet.h"
#include "platform/UndoManager.h"
#include "widgets/CLogWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <malloc.h>
#include <memory>

using namespace quorvel;

namespace {

QApplication& application()
{
    static int argc = 1;
    static char name[] = "editor_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// A reservoir oil of n components: light ends, single carbon numbers and a plus fraction,
// mole percents falling geometrically and summing to 100.
FluidRecord oilOf(int n, const QString& name)
{
    QStringList names{"N2", "CO2", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6"};
    int carbon = 7;
    while (names.size() < n - 1)
        names << QStringLiteral("C%1").arg(carbon++);
    names << QStringLiteral("C%1+").arg(carbon);
    Array components;
    double weight = 30, sum = 0;
    for (const QString& componentName : names.mid(0, n)) {
        ComponentRecord component;
        setComponentName(componentName, component, CorrelationCode::jianzhong0);
        component.setValue("mole", weight);
        sum += weight;
        weight = std::max(weight * 0.85, 0.1);
        components.append(component);
    }
    for (const Value& c : components)
        c.toDictionary().setValue("mole", c.toDictionary().doubleValue("mole") * 100 / sum);
    return FluidRecord{{"name", name}, {"comment", ""}, {"fluidType", 2}, {"EOS", "PR"}, {"components", components}};
}

void BM_SelectionChange(benchmark::State& state)
{
    application();
    installFluidModelEditor();
    const int n = int(state.range(0));
    CFluidModelDataDocument document;
    Array fluids = document.fluids();
    fluids.append(oilOf(n, "first"));
    fluids.append(oilOf(n, "second"));
    document.makeWindowControllers();
    auto* editor = dynamic_cast<FluidModelController*>(document.windowControllers().front().get());
    editor->window();
    int row = 0;
    for (auto _ : state) {
        row = 1 - row;
        editor->selectFluidRow(row);
        benchmark::DoNotOptimize(editor->selectedFluid().value("Psat"));
    }
}

}  // namespace

BENCHMARK(BM_SelectionChange)->Arg(17)->Arg(43)->Arg(60)->Unit(benchmark::kMillisecond);

namespace {

// Reading a fluid table of n lines of a 12-column oil with its measured point.
// The resident memory of the process now and at its peak since the last reset, in bytes.
qint64 residentBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toLongLong() * 1024;
    return 0;
}

void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A fluid table of about `bytes` bytes: each line one fluid, in nine components and a measured point,
// or one component with a comment of 800 characters.
QByteArray fluidTableOf(qint64 bytes, bool commented)
{
    QByteArray text = commented ? "Name C1 comment\n" : "Name N2 CO2 C1 C2 C3 C4 C5 C6 C7+ Mw SG Texp Pexp hexp\n";
    const QByteArray comment(800, 'c');
    for (int i = 0; text.size() < bytes; ++i)
        text += commented ? QByteArray("Oil") + QByteArray::number(i) + " 100 " + comment + '\n'
                          : QByteArray("Oil") + QByteArray::number(i) + " 0.5 1.5 45 8 6 4 3 2 30 210 0.85 95 180 1\n";
    return text;
}

// A whole fluid table import from its file as the editor runs it: read, checked, its records made
// when they fit the import's memory budget, else refused. Reports the peak memory the import took
// beside what the process held before, per byte of the file and in MB, and the fluids imported.
void BM_FluidTableImportFile(benchmark::State& state)
{
    const qint64 bytes = state.range(0);
    const bool commented = state.range(1) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fluids.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(fluidTableOf(bytes, commented));
    file.close();
    qint64 peak = 0;
    qsizetype fluids = 0;
    for (auto _ : state) {
        malloc_trim(0);  // what earlier runs freed goes back, so that the peak counts this run's pages
        resetPeakResident();
        const qint64 before = residentBytes("VmRSS:");
        const ImportText text = readImportText(path);
        const FluidTableImport result = readFluidTable(text.text, QStringLiteral("PR"), importRecordBudget(text.fileBytes));
        fluids = result.fluids.size();
        peak = std::max(peak, residentBytes("VmHWM:") - before);
    }
    state.counters["peak_MB"] = double(peak) / (1024 * 1024);
    state.counters["peak_per_file_byte"] = double(peak) / double(QFileInfo(path).size());
    state.counters["fluids"] = double(fluids);
}

// The report of a 43-component oil into the log window.
void BM_FluidReport(benchmark::State& state)
{
    application();
    const FluidRecord oil = oilOf(43, "report");
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    for (auto _ : state) {
        writeFluidReport(*log, oil);
        state.PauseTiming();
        log->clearText();
        state.ResumeTiming();
    }
}

}  // namespace

// A component table of about `bytes` bytes.
QByteArray componentTableOf(qint64 bytes)
{
    QByteArray text = "name Tc Tb Pc Vc omega Mw SG mole\n";
    while (text.size() < bytes)
        text += "C1 -82.59 -161.5 45.99 98.6 0.012 16.04 0.3 60\n";
    return text;
}

// The component table import from its file, as BM_FluidTableImportFile.
void BM_ComponentTableImportFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("components.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(componentTableOf(state.range(0)));
    file.close();
    qint64 peak = 0;
    int components = 0;
    for (auto _ : state) {
        malloc_trim(0);
        resetPeakResident();
        const qint64 before = residentBytes("VmRSS:");
        const ImportText text = readImportText(path);
        components = readComponentTable(text.text, importRecordBudget(text.fileBytes)).components.size();
        peak = std::max(peak, residentBytes("VmHWM:") - before);
    }
    state.counters["peak_MB"] = double(peak) / (1024 * 1024);
    state.counters["peak_per_file_byte"] = double(peak) / double(QFileInfo(path).size());
    state.counters["components"] = double(components);
}

// A small table whose records fit the allowance, a 10 MB table of components refused before any
// record is made, and a 10 MB table of long comments imported.
BENCHMARK(BM_FluidTableImportFile)
    ->Args({100 * 1024, 0})
    ->Args({10 * 1024 * 1024, 0})
    ->Args({10 * 1024 * 1024, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// A 1 MB component table imported, a 10 MB one refused before any record is made.
BENCHMARK(BM_ComponentTableImportFile)
    ->Arg(1024 * 1024)
    ->Arg(10 * 1024 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_FluidReport)->Unit(benchmark::kMillisecond);

namespace {

constexpr int kBatchSize = 20;
constexpr double kMeasuredCelsius = 100;

// A fluid-model document holding the given fluids, opened in the editor with the engine's
// own calculations, its first fluid selected.
struct OpenEditor
{
    CFluidModelDataDocument document;
    FluidModelController* editor = nullptr;
    qsizetype sources = 0;

    explicit OpenEditor(const QList<FluidRecord>& records) : sources(records.size())
    {
        application();
        installFluidModelEditor();
        Array fluids = document.fluids();
        for (const FluidRecord& record : records)
            fluids.append(record);
        document.makeWindowControllers();
        editor = dynamic_cast<FluidModelController*>(document.windowControllers().front().get());
        editor->window();
        if (!records.isEmpty())
            editor->selectFluidRow(0);
        QCoreApplication::processEvents();
    }

    // Takes a batch back (one undo step) and empties the log, outside the timing; counts the
    // fluids the batch added.
    void undoBatch(benchmark::State& state)
    {
        state.PauseTiming();
        state.counters["added"] = double(editor->fluids().size() - sources);
        QCoreApplication::processEvents();  // closes the action's undo group
        document.undoManager()->undo();
        editor->selectFluidRow(0);
        CLogWindow::sharedLogWindowCtroller()->clearText();
        state.ResumeTiming();
    }
};

// The 17 components of the alpha-beta model fluid of (alpha, beta) with their measured
// bubble point at 100 degrees Celsius: the model's own bubble pressure.
FluidRecord measuredModelFluid(double alpha, double beta, const QString& name)
{
    constexpr double CO2 = 0.01, N2 = 0.005, H2S = 0;
    CFluidModelDataDocument generator;
    generator.generateFluidFromAlphaBetaModel(alpha, beta, CO2, N2, H2S);
    FluidRecord fluid = generator.fluids().at(0).toDictionary().deepCopy();
    CalculationInterface calculation(FluidType::alphaBeta, EquationOfState::pengRobinson);
    calculation.setAlpha(alpha);
    calculation.setBeta(beta);
    calculation.setCO2(CO2);
    calculation.setN2(N2);
    calculation.setH2S(H2S);
    calculation.finalize();
    fluid.setValue(fluidkey::name, name);
    fluid.setValue(fluidkey::eos, "PR");
    fluid.setValue(fluidkey::texp, kMeasuredCelsius);
    fluid.setValue(fluidkey::pexp, calculation.calculateSaturation(kMeasuredCelsius, SaturationKind::bubblePoint));
    fluid.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
    return fluid;
}

// Twenty model fluids around (0.8, 0.3), each with its measured bubble point and a
// saturation temperature.
QList<FluidRecord> measuredOils()
{
    QList<FluidRecord> oils;
    for (int i = 0; i < kBatchSize; ++i) {
        FluidRecord oil = measuredModelFluid(0.75 + 0.005 * i, 0.25 + 0.005 * i, QStringLiteral("Oil%1").arg(i));
        oil.setValue(fluidkey::tsat, kMeasuredCelsius);
        oil.setValue(fluidkey::satPhase, code_number(SaturationKind::bubblePoint));
        oils << oil;
    }
    return oils;
}

void showLogWindow()
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->clearText();
    log->showWindow();
}

// One Montel fit of (alpha, beta) to a model fluid's composition and bubble point, each
// result made by the editor as the alpha-beta sheet makes it, the summary into the log.
void BM_MontelFit(benchmark::State& state)
{
    OpenEditor open({});
    const FluidRecord source = measuredModelFluid(0.8, 0.3, QStringLiteral("Oil"));
    const AlphaBetaFluidMaker make = [&open](double alpha, double beta, double CO2, double N2, double H2S,
                                             const QString& name) {
        return open.editor->createAlphaBetaFluid(alpha, beta, CO2, N2, H2S, name);
    };
    showLogWindow();
    for (auto _ : state) {
        benchmark::DoNotOptimize(doFitAlphaBetaModel(source, std::nullopt, make));
        state.PauseTiming();
        CLogWindow::sharedLogWindowCtroller()->clearText();
        state.ResumeTiming();
    }
}

// The test sheet's Test button with "Test every fluid" on: the test chain on each fluid,
// the results inserted, the Igor block written to the log.
void BM_BatchTest(benchmark::State& state)
{
    OpenEditor open(measuredOils());
    TestSheet* sheet = open.editor->sheets().testSheet();
    showLogWindow();
    for (auto _ : state) {
        sheet->onClickTest();
        sheet->panel()->findChild<QCheckBox*>("mTestBatch")->setChecked(true);
        sheet->panel()->findChild<QPushButton*>("mTestButton")->click();
        open.undoBatch(state);
    }
}

// The split sheet's Split button with "Split every fluid" on (Katz to C30), the log window
// on screen: the splits' comparison logs and the batch table.
void BM_BatchSplit(benchmark::State& state)
{
    OpenEditor open(measuredOils());
    SplitSheet* sheet = open.editor->sheets().splitSheet();
    showLogWindow();
    for (auto _ : state) {
        sheet->onClickSplit();
        sheet->methodPopup()->setCurrentIndex(code_number(SplitMethod::katz));
        sheet->lastCarbonNumberCombo()->setCurrentText(QStringLiteral("30"));
        sheet->panel()->findChild<QCheckBox*>("mSplitBatch")->setChecked(true);
        sheet->panel()->findChild<QPushButton*>("mSplitDoButton")->click();
        open.undoBatch(state);
    }
}

// The alpha-beta sheet's Tovik button with "every fluid" on: each estimate with its
// saturation pressure at the fluid's saturation temperature, the summaries and the table.
void BM_TovikBatch(benchmark::State& state)
{
    OpenEditor open(measuredOils());
    AlphaBetaSheet& sheet = open.editor->sheets().alphaBetaSheet();
    showLogWindow();
    for (auto _ : state) {
        sheet.onClickAlphaBetaize();
        sheet.control<QCheckBox>(QStringLiteral("mAlphaBetaBatch"))->setChecked(true);
        sheet.control<QPushButton>(QStringLiteral("mAlphaBetaTovikButton"))->click();
        open.undoBatch(state);
    }
}

}  // namespace

BENCHMARK(BM_MontelFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchTest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TovikBatch)->Unit(benchmark::kMillisecond);
