#include "calc/CalculationInterface.h"
#include "calc/FeedKeeper.h"
#include "calc/Units.h"

#include "widgets/CLogWindow.h"
#include "widgets/StringFormat.h"

#include <QWidget>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace quorvel {

using namespace units;

namespace {

// Lines of one report, appended to the shared log window as they are written.
class Report {
public:
    // Every report opens the same way: a line end, the window shown and redrawn.
    Report() : mLog(CLogWindow::sharedLogWindowCtroller())
    {
        mLog->appendText("\n");
        mLog->showWindow(mLog);
        mLog->window()->update();
    }

    template <class... Args>
    void line(std::string_view format, const Args&... args)
    {
        mLog->appendText(formatString(format, args...).toUtf8().constData());
    }

    // A label and its values, or the label and kNotAvailableText when the first value is.
    template <class... Args>
    void lineOrNotAvailable(std::string_view label, std::string_view valueFormat, double value, const Args&... more)
    {
        line(label);
        if (std::isfinite(value))
            line(valueFormat, value, more...);
        else
            line("%s\n", kNotAvailableText);
    }

    // Why the translated values are not available, when they are not, after the indent.
    void translationNote(std::string_view indent, const CalculationInterface& calculation)
    {
        if (const std::string note = calculation.translationNote(); !note.empty())
            line("%s%s\n", std::string(indent), note);
    }

    // A value followed by its minimum and maximum.
    void withRange(std::string_view format, double value, const std::array<double, 2>& range)
    {
        line(format, value, range[0], range[1]);
    }

    // A density in g/cm3 with its minimum and maximum, then the same in lb/ft3.
    void densityWithRange(std::string_view gcm3Format, std::string_view lbFt3Format, double density,
                          const std::array<double, 2>& range)
    {
        withRange(gcm3Format, density, range);
        withRange(lbFt3Format, density * kLbFt3PerGcm3, {range[0] * kLbFt3PerGcm3, range[1] * kLbFt3PerGcm3});
    }

    void temperatureAndPressure(std::string_view temperatureFormat, std::string_view pressureFormat,
                                double T, double P)
    {
        line(temperatureFormat, T, celsius(T), fahrenheit(T), rankine(T));
        line(pressureFormat, P, P / kBarPerPsi);
    }

private:
    CLogWindow* mLog;
};

constexpr const char* kFailureLine = "\tCalculation failure !\n";

} // namespace

// ---- Bulk properties ----------------------------------------------------------------------

void CalculationInterface::printBulkProperties(double T, double P)
{
    Report report;
    const bool densityFound = calculateBulkDensity(T, P, PhaseModel::liquid);
    report.temperatureAndPressure("\n\tTemperature               : %.2lf K (%.2lf°C, %.2lf°F, %.2lf°R)\n",
                                  "\tPressure                  : %.2lf bar (%.2lf psi)\n\n", T, P);
    if (densityFound) {
        report.line("\tBulk Density, non translated PR EOS : %8.2lf g/cm3, %8.2lf lb/ft3\n",
                    oil->bulkDensity(), oil->bulkDensity() * kLbFt3PerGcm3);
        report.densityWithRange("\tBulk Density, SK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                "\t                          : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                oil->bulkDensityStandingKatz(), oil->bulkDensityStandingKatzRange());
        report.densityWithRange("\tBulk Density, AK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                "\t                          : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                oil->bulkDensityAlaniKennedy(), oil->bulkDensityAlaniKennedyRange());
    } else {
        report.line(kFailureLine);
    }
    if (isEngineReady()) {
        oil->calculateBubblePressure(T);
        if (oil->failureCode() == equilibrium_failure::none) {
            const double bubble = oil->currentPressure() * kBarPerPascal;
            report.line("\n");
            report.line("\tBubble pressure           : %.2lf bar (%.2lf psi)\n", bubble, bubble / kBarPerPsi);
        }
    }
    report.line("\n");
}

// ---- Stock-tank properties ----------------------------------------------------------------

void CalculationInterface::printSTProperties()
{
    Report report;
    const bool separated = calculateGOR();
    if (!isEngineReady()) {
        report.line(kFailureLine);
        report.line("\n");
        return;
    }
    const Oil::StockTank& e = *stockTankResults;
    report.line("\tGOR, non translated PR EOS              : %8.2lf Stdm3/Stdm3\n", GOR[0]);
    report.lineOrNotAvailable("\tGOR, translated PR EOS                  : ", "%8.2lf Stdm3/Stdm3\n", GOR[3]);
    report.withRange("\tGOR, SK Method                          : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                     GOR[1], e.gor_standing_katz_range);
    report.withRange("\tGOR, AK Method                          : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                     GOR[2], e.gor_alani_kennedy_range);
    report.line("\tAPI degree, non translated PR EOS       : %8.2lf°\n", API[0]);
    report.lineOrNotAvailable("\tAPI degree, translated PR EOS           : ", "%8.2lf°\n", API[3]);
    report.translationNote("\t", *this);
    report.withRange("\tAPI degree, SK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n",
                     API[1], e.api_standing_katz_range);
    report.withRange("\tAPI degree, AK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n",
                     API[2], e.api_alani_kennedy_range);
    report.line("\tBulk C7+ mole percent                   : %8.2lf %%\n", e.feed_c7plus_fraction * 100);
    report.line("\tBulk C7+ molar weight                   : %8.2lf g/mol\n", e.feed_c7plus_molar_weight);
    report.line("\tBulk C7+ specific gravity               : %8.2lf g/cm3\n", e.feed_c7plus_specific_gravity);

    constexpr const char* kTankDensitySK =
        "\tDensity of the tank liquid, SK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n";
    constexpr const char* kTankDensityAK =
        "\tDensity of the tank liquid, AK Method   : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n";
    constexpr const char* kTankDensityLbFt3 =
        "\t                                        : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n";
    if (separated) {
        report.line("\n\tFlash at 15.5°C (60°F), 1 bar (14.5 psi).\n");
        report.line("\t\tComponent    Liquid (mole %%)   Vapour (mole %%)   \n");
        for (short i = 0; i < oil->componentCount(); ++i)
            report.line("\t\t%12s %12.2f %12.2f\n", oil->componentName()[i], e.liquid_composition[i] * 100,
                        e.vapour_composition[i] * 100);
        report.line("\n");
        report.line("\tDensity of the tank liquid, non translated PR EOS  : %8.2lf g/cm3, %8.2lf lb/ft3\n",
                    e.liquid_density, e.liquid_density * kLbFt3PerGcm3);
        report.lineOrNotAvailable("\tDensity of the tank liquid, translated PR EOS  : ",
                                  "%8.2lf g/cm3, %8.2lf lb/ft3\n", e.translated_liquid_density,
                                  e.translated_liquid_density * kLbFt3PerGcm3);
        report.densityWithRange(kTankDensitySK, kTankDensityLbFt3, e.liquid_density_standing_katz,
                                e.liquid_density_standing_katz_range);
        report.densityWithRange(kTankDensityAK, kTankDensityLbFt3, e.liquid_density_alani_kennedy,
                                e.liquid_density_alani_kennedy_range);
        report.line("\tGas volume %%, PR EOS                    : %8.2f %%\n", e.volumetric_gas_fraction * 100);
        report.line("\tGas volume %%, SK method                 : %8.2f %%\n",
                    e.volumetric_gas_fraction_standing_katz * 100);
        report.line("\tGas volume %%, AK method                 : %8.2f %%\n",
                    e.volumetric_gas_fraction_alani_kennedy * 100);
        report.line("\tMolar weight of the tank liquid         : %8.2lf g/mol\n", e.liquid_molar_weight);
        report.line("\tLiquid C7+ mole percent                 : %8.2lf %%\n", e.liquid_c7plus_fraction * 100);
        report.line("\tLiquid C7+ molar weight                 : %8.2lf g/mol\n", e.liquid_c7plus_molar_weight);
        report.line("\tLiquid C7+ specific gravity             : %8.2lf g/cm3\n", e.liquid_c7plus_specific_gravity);
    } else {
        // No gas at stock-tank conditions: the whole fluid is the tank liquid.
        report.line("\tNon volatile liquid !\n");
        report.line("\tDensity of the tank liquid, PR EOS      : %8.2lf g/cm3, %8.2lf lb/ft3\n", e.liquid_density,
                    e.liquid_density * kLbFt3PerGcm3);
        report.line("\tMolar volume of the tank liquid, PR EOS : %8.2lf cm3/mol\n",
                    e.bulk_molar_weight / e.liquid_density);
        report.densityWithRange(kTankDensitySK, kTankDensityLbFt3, e.liquid_density_standing_katz,
                                e.liquid_density_standing_katz_range);
        report.densityWithRange(kTankDensityAK, kTankDensityLbFt3, e.liquid_density_alani_kennedy,
                                e.liquid_density_alani_kennedy_range);
        report.line("\tMolar weight of the tank liquid         : %8.2lf g/mol\n", e.bulk_molar_weight);
    }
    report.line("\n");
}

// ---- Translation -------------------------------------------------------------------------

std::string CalculationInterface::translationNote() const
{
    if (!isEngineReady() || !stockTankResults)
        return {};
    const Oil::StockTank& tank = *stockTankResults;
    if (tank.state != StockTankState::Liquid && tank.state != StockTankState::TwoPhases)
        return {};
    constexpr const char* kLead = "Translated PR EOS values not available: ";
    switch (tank.dorvane_translation_outcome) {
    case TranslationOutcome::applied: return {};
    case TranslationOutcome::undefined: return std::string(kLead) + "there is no volume translation for this fluid.";
    case TranslationOutcome::non_positive_volume:
        return formatString("%sthe volume translation of %.2lf cm3/mol would leave the tank oil (%.2lf cm3/mol) no "
                            "positive volume.",
                            kLead, tank.dorvane_translation_volume, tank.liquid_molar_volume)
            .toStdString();
    }
    return {};
}

void CalculationInterface::logTranslationNote() const
{
    if (const std::string note = translationNote(); !note.empty())
        CLogWindow::sharedLogWindowCtroller()->appendText((note + "\n").c_str());
}

// ---- Flash --------------------------------------------------------------------------------

void CalculationInterface::printFlashProperties(double T, double P)
{
    Report report;
    const auto failure = [&] {
        report.line(kFailureLine);
        report.line("\n");
    };
    const auto conditions = [&] {
        report.temperatureAndPressure("\tFlash temperature        : %.2lf K (%.2lf°C, %.2lf°F, %.2lf°R)\n",
                                      "\tFlash pressure           : %.2lf bar (%.2lf psi)\n\n", T, P);
    };
    if (!isEngineReady()) {
        conditions();
        failure();
        return;
    }
    // The report replaces the feed by each flashed phase in turn: give it back at the end.
    const FeedKeeper keeper(*oil);
    const Oil::FlashResult flashed = runFlash(T, P);
    conditions();
    if (!flashed.twoPhases()) {
        failure();
        return;
    }

    const Oil& e = *oil;
    const std::vector<double>& z = keeper.feed();
    const std::vector<double>& x = flashed.liquid_composition;
    const std::vector<double>& y = flashed.vapour_composition;
    // Liquid amount per mole of feed.
    const double L = 1 - flashed.molar_gas_fraction;
    report.line("\t\tComponent    Liquid (mole %%)   Vapour (mole %%)   Initial (mole %%)    Loss/Enrichment (%%)\n");
    for (short i = 0; i < e.componentCount(); ++i) {
        if (z[i] != 0)
            report.line("\t\t%8s     %12.2f     %12.2f     %12.2f     %12.2f\n", e.componentName()[i], x[i] * 100,
                        y[i] * 100, z[i] * 100, (x[i] * L - z[i]) / z[i] * 100);
        else
            report.line("\t\t%8s     %12.2f     %12.2f     %12.2f     %12s\n", e.componentName()[i], x[i] * 100,
                        y[i] * 100, z[i] * 100, "-");
    }
    report.line("\n");
    // The engine keeps the gas mole and mass amounts as fractions.
    report.line("\tGas mole %%                               : %8.2lf %%\n", flashed.molar_gas_fraction * 100);
    report.line("\tGas mass %%                               : %8.2lf %%\n", flashed.mass_gas_fraction * 100);
    report.line("\tGas volume %%, PR EOS                     : %8.2lf %%\n",
                flashed.volumetric_gas_fraction[0] * 100);
    report.line("\tGas volume %%, SK method                  : %8.2lf %%\n",
                flashed.volumetric_gas_fraction[1] * 100);
    report.line("\tGas volume %%, AK method                  : %8.2lf %%\n",
                flashed.volumetric_gas_fraction[2] * 100);
    const auto [Bo, Bg] = oil->formationVolumeFactors();

    report.line("\n\tProperties of the flashed liquid:\n");
    report.line("\t" + std::string(33, '-') + "\n");
    report.line("\t\tOil formation volume factor (Bo)    : %8.2lf \n", Bo);
    for (short i = 0; i < e.componentCount(); ++i)
        oil->composition(i, x[i]);
    if (calculateBulkDensity(T, P, PhaseModel::liquid)) {
        report.line("\t\tBulk Density, non translated PR EOS : %8.2lf g/cm3, %8.2lf lb/ft3\n", e.bulkDensity(),
                    e.bulkDensity() * kLbFt3PerGcm3);
        report.densityWithRange("\t\tBulk Density, SK Method             : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                "\t\t                                    : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                e.bulkDensityStandingKatz(), e.bulkDensityStandingKatzRange());
        report.densityWithRange("\t\tBulk Density, AK Method             : %8.2lf g/cm3  (min: %5.2lf; max: %5.2lf)\n",
                                "\t\t                                    : %8.2lf lb/ft3 (min: %5.2lf; max: %5.2lf)\n",
                                e.bulkDensityAlaniKennedy(), e.bulkDensityAlaniKennedyRange());
        report.line("\t\tLiquid molar weight                 : %8.2lf g/mol\n", e.bulkMolarWeight());
        report.line("\t\tLiquid C7+ mole percent             : %8.2lf %%\n", e.feedC7plusFraction() * 100);
        report.line("\t\tLiquid C7+ molar weight             : %8.2lf g/mol\n", e.feedC7plusMolarWeight());
        report.line("\t\tLiquid C7+ specific gravity         : %8.2lf g/cm3\n", e.feedC7plusSpecificGravity());
    }
    if (const Oil::StockTank& tank = runStockTank(); tank.failure == equilibrium_failure::none) {
        report.line("\t\tGOR, non translated PR EOS          : %8.2lf Stdm3/Stdm3\n", tank.gor[0]);
        report.lineOrNotAvailable("\t\tGOR, translated PR EOS              : ", "%8.2lf Stdm3/Stdm3\n", tank.gor[3]);
        report.withRange("\t\tGOR, SK Method                      : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                         tank.gor[1], tank.gor_standing_katz_range);
        report.withRange("\t\tGOR, AK Method                      : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                         tank.gor[2], tank.gor_alani_kennedy_range);
        report.line("\t\tAPI degree, non translated PR EOS   : %8.2lf°\n", tank.api[0]);
        report.lineOrNotAvailable("\t\tAPI degree, translated PR EOS       : ", "%8.2lf°\n", tank.api[3]);
        report.translationNote("\t\t", *this);
        report.withRange("\t\tAPI degree, SK Method               : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n",
                         tank.api[1], tank.api_standing_katz_range);
        report.withRange("\t\tAPI degree, AK Method               : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n",
                         tank.api[2], tank.api_alani_kennedy_range);
    }

    report.line("\n\tProperties of the flashed gas:\n");
    report.line("\t" + std::string(30, '-') + "\n");
    report.line("\t\tGas formation volume factor (Bg)    : %8.2lf \n", Bg);
    for (short i = 0; i < e.componentCount(); ++i)
        oil->composition(i, y[i]);
    if (calculateBulkDensity(T, P, PhaseModel::vapour))
        report.line("\t\tCompressibility factor (Z)          : %8.4f\n", flashed.gas_compressibility_factor);
    if (const Oil::StockTank& tank = runStockTank(); tank.failure == equilibrium_failure::none) {
        report.line("\t\tGOR, PR EOS                          : %8.2lf Stdm3/Stdm3\n", tank.gor[0]);
        report.withRange("\t\tGOR, SK Method                       : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                         tank.gor[1], tank.gor_standing_katz_range);
        report.withRange("\t\tGOR, AK Method                       : %8.2lf Stdm3/Stdm3 (min: %8.2lf; max: %8.2lf)\n",
                         tank.gor[2], tank.gor_alani_kennedy_range);
        report.line("\t\tAPI degree, PR EOS                   : %8.2lf°\n", tank.api[0]);
        report.withRange("\t\tAPI degree, SK Method                : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n",
                         tank.api[1], tank.api_standing_katz_range);
        report.withRange("\t\tAPI degree, AK Method                   : %8.2lf° (min: %5.2lf°; max: %5.2lf°)\n\n",
                         tank.api[2], tank.api_alani_kennedy_range);
    }
    report.line("\n");
}

} // namespace quorvel
