#include "editor/FluidReport.h"

#include "calc/CalculationInterface.h"
#include "editor/FluidTableEditor.h"
#include "widgets/CLogWindow.h"

#include <QWidget>

#include <cmath>

namespace quorvel {

namespace {

const QString kAllGas = QStringLiteral("Gas");
const QString kAllLiquid = QStringLiteral("Liquid");
const QString kFailed = QStringLiteral("err");
constexpr int kLogWidth = 800;
constexpr int kLogHeight = 400;

const char* const kRule = "---------------------------------------------------------------------------------------------------------";

// A stock-tank value: a number with two decimals, or the word the calculation left instead.
QString stockTankText(const Value& value)
{
    if (value.isString()) {
        bool isNumber = false;
        value.toString().trimmed().toDouble(&isNumber);
        if (!isNumber && !value.toString().isEmpty())
            return value.toString();
    }
    if (!std::isfinite(value.toDouble()))
        return QString::fromLatin1(kNotAvailableText);
    return QString::asprintf("%.2f", value.toDouble());
}

void writeTitle(CLogWindow& log, const FluidRecord& fluid)
{
    log.beginEditingRTF();
    log.appendRTFormat("\\par \\fs30 \\ul Petroleum \\ulnone : %@ \\fs24\\par\\par", fluid.stringValue(fluidkey::name));
    log.endEditingRTF();
}

void writeModelLines(CLogWindow& log, const FluidRecord& fluid)
{
    const auto parameter = [&](const char* format, const QString& key) {
        log.appendFormat1(format, fluid.doubleValue(key));
    };
    switch (fluidTypeOf(fluid)) {
    case FluidType::alphaBeta:
        log.appendFormat1("Compositional model : alpha-beta model (Montel, 1993)");
        parameter("              Alpha : %.4f", fluidkey::alpha);
        parameter("               Beta : %.4f", fluidkey::beta);
        parameter("                CO2 : %.4f", fluidkey::CO2);
        parameter("                 N2 : %.4f", fluidkey::N2);
        log.appendFormat2("                H2S : %.4f", fluid.doubleValue(fluidkey::H2S));
        break;
    case FluidType::componentList: log.appendFormat2("Compositional model : user-defined model"); break;
    case FluidType::gamma:
        log.appendFormat1("Compositional model : gamma model (Behrenbruch and Dedigama, 2007)");
        parameter("              Alpha : %.4f", fluidkey::alpha);
        parameter("               Beta : %.4f", fluidkey::beta);
        log.appendFormat1("              Delta : %d", fluid.intValue(fluidkey::delta));
        parameter("                 N2 : %.4f", fluidkey::N2);
        log.appendFormat2("                H2S : %.4f", fluid.doubleValue(fluidkey::H2S));
        break;
    default: break;  // no model line
    }
}

void writeComponentTable(CLogWindow& log, const FluidRecord& fluid)
{
    using namespace componentkey;
    log.appendFormat1(kRule);
    log.appendFormat1("%8s %11s %11s %11s %12s %11s %11s %11s %11s", "    Name", "Tc (K)", "Tb (K)", "Pc (bar)",
                      "Vc (cm3/mol)", "Omega", "Mw (g/mol)", "SG (g/cm3)", "Mole %");
    log.appendFormat1(kRule);
    for (const Value& value : fluid.arrayValue(fluidkey::components)) {
        const ComponentRecord component = value.toDictionary();
        log.appendFormat1("%8s %11.3f %11.3f %11.3f %12.3f %11.4f %11.2f %11.4f %11.4f",
                          component.stringValue(componentkey::name), units::kelvinOfCelsius(component.doubleValue(tc)),
                          units::kelvinOfCelsius(component.doubleValue(tb)), component.doubleValue(pc),
                          component.doubleValue(vc), component.doubleValue(omega), component.doubleValue(mw),
                          component.doubleValue(sg), component.doubleValue(mole));
    }
    log.appendFormat2(kRule);
}

void writeStockTankLines(CLogWindow& log, const FluidRecord& fluid)
{
    const Value api0 = fluid.value(fluidkey::apiMethod(ApiMethod::untranslatedEos));
    const QString state = api0.isString() ? api0.toString() : QString();
    if (state == kAllGas) {
        log.appendFormat2("    GOR                                     : gas");
        return;
    }
    if (state == kAllLiquid) {
        log.appendFormat1("    GOR                                     : liquid");
    } else {
        // A failed calculation leaves the last gas-oil ratio in place; it no longer holds.
        const QString gor = state == kFailed ? kFailed : stockTankText(fluid.value(fluidkey::gor));
        log.appendFormat1("    GOR  (Non translated Peng-Robinson EOS) : %s ", gor);
    }
    const auto api = [&](ApiMethod method) { return stockTankText(fluid.value(fluidkey::apiMethod(method))); };
    using enum ApiMethod;
    log.appendFormat1("    API\u00b0 (Non translated Peng-Robinson EOS) : %s ", api(untranslatedEos));
    log.appendFormat1("    API\u00b0 (Montel volume translation)        : %s ", api(montelTranslation));
    log.appendFormat1("    API\u00b0 (Tovik-Dorvane volume translation)   : %s ", api(tovikDorvaneTranslation));
    log.appendFormat1("    API\u00b0 (Tovik-Dorvane Mw correlation)       : %s ", api(tovikDorvaneMolarWeight));
    log.appendFormat1("    API\u00b0 (Standing-Katz method)             : %s ", api(standingKatz));
    log.appendFormat2("    API\u00b0 (Alani-Kennedy method)             : %s ", api(alaniKennedy));
}

}  // namespace

void writeFluidReport(CLogWindow& log, const FluidRecord& fluid)
{
    writeTitle(log, fluid);
    writeModelLines(log, fluid);
    writeComponentTable(log, fluid);
    writeStockTankLines(log, fluid);
}

void FluidTableEditor::onWriteLog()
{
    if (!hasSelectedFluid() || mFluids.isEmpty())
        return;
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    if (!log->window()->isVisible()) {
        log->window()->resize(kLogWidth, kLogHeight);
        log->showWindow(this);
    }
    writeFluidReport(*log, selectedFluid());
    log->scrollToEnd();
}

}  // namespace quorvel
