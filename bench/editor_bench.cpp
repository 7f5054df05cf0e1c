// The fluid model editor: one change of the selected fluid, which recomputes the stock-tank
// properties and the saturation pressure of the newly selected fluid and refreshes the window;
// reading an imported fluid table; the fluid report.

#include "app/CFluidModelDataDocument.h"
#include "characterisation/Correlations.h"
#include "editor/FluidImports.h"
#include "editor/FluidModelController.h"
#include "editor/FluidReport.h"
#include "widgets/CLogWindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

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
        setComponentName(componentName, component, kCorrelationJianzhong0);
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
void BM_FluidTableImport(benchmark::State& state)
{
    QString text = QStringLiteral("Name N2 CO2 C1 C2 C3 C4 C5 C6 C7+ Mw SG Texp Pexp hexp\n");
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("Oil%1 0.5 1.5 45 8 6 4 3 2 30 210 0.85 95 180 1\n").arg(i);
    for (auto _ : state)
        benchmark::DoNotOptimize(readFluidTable(text, QStringLiteral("PR")).fluids.size());
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

BENCHMARK(BM_FluidTableImport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FluidReport)->Unit(benchmark::kMillisecond);
