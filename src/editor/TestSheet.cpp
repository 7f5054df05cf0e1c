#include "editor/TestSheet.h"

#include "characterisation/FluidTestChain.h"
#include "characterisation/MeasuredPoint.h"
#include "editor/FluidModelController.h"
#include "editor/SaturationCells.h"
#include "editor/SheetUnits.h"
#include "widgets/CLogWindow.h"
#include "widgets/IgorText.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <limits>

namespace quorvel {

namespace {

constexpr double kStepperTemperatureLimit = 10000;
constexpr double kStepperPressureLimit = 1e7;

// The waves of the log, in column order: name, result key, factor.
struct TestWave
{
    const char* name;
    const QString& key;
    double factor;
};
constexpr int kWaveCount = 19;
const TestWave kWaves[kWaveCount] = {
    {"N2", fluidkey::N2, 100},       {"CO2", fluidkey::CO2, 100},      {"H2S", fluidkey::H2S, 100},
    {"C1", fluidkey::C1, 100},       {"C2", fluidkey::C2, 100},        {"C3", fluidkey::C3, 100},
    {"C4", fluidkey::C4, 100},       {"C5", fluidkey::C5, 100},        {"C6", fluidkey::C6, 100},
    {"C7p", fluidkey::c7plus, 100},  {"Mw7p", fluidkey::mwC7plus, 1},  {"SG7p", fluidkey::sgC7plus, 1},
    {"Texp", fluidkey::texp, 1},     {"Pexp", fluidkey::pexp, 1},      {"alpha0", fluidkey::alpha, 1},
    {"beta0", fluidkey::beta, 1},    {"Pcal", fluidkey::pcal, 1},      {"ardp", fluidkey::ardp, 1},
    {"aadp", fluidkey::aadp, 1}};
// The computed columns: without a computed saturation point they are missing values
// (Igor's NaN), never a zero deviation that would enter the statistics.
const QStringList kComputedKeys{fluidkey::pcal, fluidkey::ardp, fluidkey::aadp};

constexpr const char* kWavesFormat =
    "WAVES %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s %12s ";
constexpr const char* kValuesFormat =
    "%12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f %12f";

const QStringList kBatchCommands{"x make /N=2 pdum",
                                 "x pdum(0)=0",
                                 "x pdum(1)=500",
                                 "x display pdum vs pdum",
                                 "x modify lstyle(pdum)=1",
                                 "x append pcal vs pexp",
                                 "x modify mode(pcal)=3, marker(pcal)=8, opaque(pcal)=1",
                                 "x aadp *=100",
                                 "x sort aadp,aadp",
                                 "x display aadp",
                                 "x ardp *= 100",
                                 "x wavestats aadp",
                                 "x wavestats ardp"};

double waveValue(const FluidRecord& result, const TestWave& wave)
{
    const QString& key = wave.key;
    if (!result.contains(key) && kComputedKeys.contains(key))
        return std::numeric_limits<double>::quiet_NaN();
    const double value = result.doubleValue(key) * wave.factor;
    return std::isnan(value) ? std::numeric_limits<double>::quiet_NaN() : value;  // never "-nan"
}

// A result of a fluid with a measured point whose saturation pressure was not found.
bool saturationFailed(const FluidRecord& result)
{
    return result.contains(fluidkey::texp) && std::isnan(result.doubleValue(fluidkey::pcal));
}

QString failureLine(const FluidRecord& result)
{
    return QStringLiteral("%1: no saturation pressure was found; its deviations are left out.")
        .arg(QString::fromUtf8(escapeIgorString(result.stringValue(fluidkey::name))));
}

}  // namespace

QString testWavesLine()
{
    std::vector<FormatArg> names;
    for (const TestWave& wave : kWaves)
        names.emplace_back(wave.name);
    return formatString(kWavesFormat, std::span<const FormatArg>(names));
}

QString testValuesLine(const FluidRecord& result)
{
    std::vector<FormatArg> values;
    for (const TestWave& wave : kWaves)
        values.emplace_back(waveValue(result, wave));
    return formatString(kValuesFormat, std::span<const FormatArg>(values));
}

QStringList testBatchLog(const QList<FluidRecord>& results)
{
    QStringList lines{QString(), QStringLiteral("IGOR"), testWavesLine(), QStringLiteral("BEGIN")};
    for (const FluidRecord& result : results)
        lines << testValuesLine(result);
    lines << QStringLiteral("END") << QString() << kBatchCommands;
    for (const FluidRecord& result : results)
        if (saturationFailed(result))
            lines << QStringLiteral("x // ") + failureLine(result);  // an Igor comment
    return lines;
}

TestSheet::TestSheet(FluidModelController& editor, QWidget* window) : QObject(window), mEditor(editor)
{
    makePanel(window);
    connectActions();
}

void TestSheet::makePanel(QWidget* window)
{
    mTestPanel = new EditorSheet(window);
    mTestPanel->setObjectName("mTestPanel");
    mTestPanel->setWindowTitle(tr("Test"));
    auto makeStepper = [this](const QString& outlet, double minimum, double maximum) {
        auto* stepper = new ValueStepper(mTestPanel);
        stepper->setObjectName(outlet);
        stepper->setMinimum(minimum);
        stepper->setMaximum(maximum);
        stepper->setFixedWidth(18);
        return stepper;
    };
    auto makeField = [this](const QString& outlet) {
        auto* field = new QLineEdit(mTestPanel);
        field->setObjectName(outlet);
        return field;
    };
    auto makeCheckBox = [this](const QString& outlet, const QString& title) {
        auto* box = new QCheckBox(title, mTestPanel);
        box->setObjectName(outlet);
        return box;
    };
    mTestChoice = new QComboBox(mTestPanel);
    mTestChoice->setObjectName("mTestChoice");
    // Item i is the correlation set firstSet + i.
    for (int set = code_number(CorrelationCode::firstSet); set <= code_number(CorrelationCode::lastSet); ++set)
        mTestChoice->addItem(tr("Set %1").arg(set));
    mTestBatch = makeCheckBox("mTestBatch", tr("Test every fluid"));
    mTestTovik = makeCheckBox("mTestTovik", tr("Start from Tovik's estimate"));
    mTestT = makeField("mTestT");
    mTestP = makeField("mTestP");
    mSpinTestT = makeStepper("mSpinTestT", -kStepperTemperatureLimit, kStepperTemperatureLimit);
    mSpinTestP = makeStepper("mSpinTestP", 0, kStepperPressureLimit);
    mTestTUnit = new QComboBox(mTestPanel);
    mTestTUnit->setObjectName("mTestTUnit");
    addTemperatureUnitItems(*mTestTUnit);
    mTestPUnit = new QComboBox(mTestPanel);
    mTestPUnit->setObjectName("mTestPUnit");
    addPressureUnitItems(*mTestPUnit);
    mTestPhase = new QButtonGroup(mTestPanel);
    mTestPhase->setObjectName("mTestPhase");
    auto* bubble = new QRadioButton(tr("Bubble point"), mTestPanel);
    auto* dew = new QRadioButton(tr("Dew point"), mTestPanel);
    addSaturationCell(*mTestPhase, bubble, SaturationKind::bubblePoint);
    addSaturationCell(*mTestPhase, dew, SaturationKind::dewPoint);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Correlations"), mTestPanel), 0, 0);
    grid->addWidget(mTestChoice, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Temperature"), mTestPanel), 1, 0);
    grid->addWidget(mTestT, 1, 1);
    grid->addWidget(mSpinTestT, 1, 2);
    grid->addWidget(mTestTUnit, 1, 3);
    grid->addWidget(new QLabel(tr("Pressure"), mTestPanel), 2, 0);
    grid->addWidget(mTestP, 2, 1);
    grid->addWidget(mSpinTestP, 2, 2);
    grid->addWidget(mTestPUnit, 2, 3);
    grid->addWidget(bubble, 3, 1);
    grid->addWidget(dew, 3, 3);
    grid->addWidget(mTestTovik, 4, 0, 1, 4);
    grid->addWidget(mTestBatch, 5, 0, 1, 4);

    // The chain takes each fluid's own measured point: the point shown is not editable.
    for (QWidget* control : std::initializer_list<QWidget*>{mTestT, mTestP, mSpinTestT, mSpinTestP, mTestTUnit,
                                                            mTestPUnit, bubble, dew})
        control->setEnabled(false);
    auto* note = new QLabel(tr("Each fluid is tested at its own measured saturation point (Texp, Pexp);\n"
                               "the point shown is the selected fluid's."),
                            mTestPanel);
    note->setObjectName("mTestNote");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const auto& [outlet, title] : {std::pair{"mTestCloseButton", tr("Close")}, std::pair{"mTestButton", tr("Test")}}) {
        auto* button = new QPushButton(title, mTestPanel);
        button->setObjectName(outlet);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* column = new QVBoxLayout(mTestPanel);
    column->addLayout(grid);
    column->addWidget(note);
    column->addLayout(buttons);
}

void TestSheet::connectActions()
{
    connect(mSpinTestT, &ValueStepper::stepped, this, &TestSheet::onSpinTestT);
    connect(mSpinTestP, &ValueStepper::stepped, this, &TestSheet::onSpinTestP);
    connect(mTestT, &QLineEdit::editingFinished, this, &TestSheet::onChangeTestT);
    connect(mTestP, &QLineEdit::editingFinished, this, &TestSheet::onChangeTestP);
    connect(mTestTUnit, &QComboBox::activated, this, &TestSheet::onChangeTestTUnit);
    connect(mTestPUnit, &QComboBox::activated, this, &TestSheet::onChangeTestPUnit);
    connect(mTestPanel->findChild<QPushButton*>("mTestCloseButton"), &QPushButton::clicked, this,
            &TestSheet::onCloseTestPanel);
    connect(mTestPanel->findChild<QPushButton*>("mTestButton"), &QPushButton::clicked, this, &TestSheet::onDoTest);
}

// --- Opening and the fields

void TestSheet::onClickTest()
{
    if (!mEditor.hasSelectedFluid())
        return;
    const FluidRecord fluid = mEditor.selectedFluid();
    const double temperature = fluid.contains(fluidkey::texp)
                                   ? measuredTemperatureCelsius(fluid)
                                   : mEditor.control<QLineEdit>("mTsatEditField0")->text().trimmed().toDouble();
    const double pressure = fluid.contains(fluidkey::pexp)
                                ? fluid.doubleValue(fluidkey::pexp)
                                : mEditor.control<QLineEdit>("mPsatEditField0")->text().trimmed().toDouble();
    // The cell tagged with the stored number: a number of no kind checks none.
    const int storedKind = fluid.contains(fluidkey::hexp) ? fluid.intValue(fluidkey::hexp)
                                                          : mEditor.control<QButtonGroup>("mSatRadio")->checkedId();
    mTestTValue = temperature;
    mTestPValue = pressure;
    setDoubleValue2(*mTestT, temperature);
    setDoubleValue2(*mTestP, pressure);
    if (QAbstractButton* cell = mTestPhase->button(storedKind))
        cell->setChecked(true);
    mSpinTestT->setValue(temperature);
    mSpinTestP->setValue(pressure);
    mTestTUnitCode = TemperatureUnit::celsius;
    mTestPUnitCode = PressureUnit::bar;
    selectUnit(*mTestTUnit, TemperatureUnit::celsius);
    selectUnit(*mTestPUnit, PressureUnit::bar);
    mEditor.beginSheet(*mTestPanel);
}

void TestSheet::onSpinTestT()
{
    mTestTValue = mSpinTestT->value();
    setDoubleValue2(*mTestT, mTestTValue);
}

void TestSheet::onSpinTestP()
{
    mTestPValue = mSpinTestP->value();
    setDoubleValue2(*mTestP, mTestPValue);
}

void TestSheet::onChangeTestT()
{
    if (takeTypedNumber(*mTestT, mTestTValue))
        mSpinTestT->setValue(mTestTValue);
}

void TestSheet::onChangeTestP()
{
    if (takeTypedNumber(*mTestP, mTestPValue))
        mSpinTestP->setValue(mTestPValue);
}

void TestSheet::onChangeTestTUnit()
{
    convertTemperature(mTestTValue, mTestTUnitCode, *mTestT, *mTestTUnit);
}

void TestSheet::onChangeTestPUnit()
{
    convertPressure(mTestPValue, mTestPUnitCode, *mTestP, *mTestPUnit);
}

// --- The test

void TestSheet::writeLog(const QStringList& lines) const
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    for (const QString& line : lines)
        log->appendFormat1("%@", line);
}

void TestSheet::onDoTest()
{
    const TestStart start = mTestTovik->isChecked() ? TestStart::tovikEstimate : TestStart::quickFit;
    const CorrelationCode code =
        correlationCodeFromNumber(code_number(CorrelationCode::firstSet) + mTestChoice->currentIndex());
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->showWindow(this);
    Array fluids = mEditor.fluids();

    QList<FluidRecord> results;
    if (!mTestBatch->isChecked()) {
        const int row = mEditor.selectedFluidRow();
        if (row < 0)
            return;
        const FluidRecord result = doTestFluid(fluids.at(row).toDictionary(), code, start);
        fluids.insert(row + 1, result);
        results.append(result);
        QStringList lines{testWavesLine(), testValuesLine(result)};
        if (saturationFailed(result))
            lines << failureLine(result);
        writeLog(lines);
    } else {
        const Array sources = fluids.copy();  // the results are not tested themselves
        for (const Value& source : sources) {
            const FluidRecord result = doTestFluid(source.toDictionary(), code, start);
            fluids.insert(fluids.indexOf(source) + 1, result);
            results.append(result);
        }
        if (log->isWindowLoaded() && log->window()->isVisible()) {
            writeLog(testBatchLog(results));
            log->scrollToEnd();
        }
    }
    mEditor.finishAddFluids(results);
    mTestPanel->endSheet();
}

void TestSheet::onCloseTestPanel()
{
    mTestPanel->endSheet();
}

}  // namespace quorvel
