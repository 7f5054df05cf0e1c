// The fluids page of the alpha-beta panel: one alpha-beta fluid (typed, stepped, clicked in
// the plot, taken on a curve or from a marker), its stock-tank properties and petroleum
// type, and the markers of the document.

#include "panels/CAlphaBetaPanel.h"
#include "panels/NumberField.h"
#include "panels/PanelAlerts.h"
#include "panels/RecordTable.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/InclusionRecord.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPlotView.h"
#include "widgets/CLogWindow.h"
#include "widgets/ValueStepper.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <typeinfo>

namespace quorvel {

namespace {

constexpr double kNotOnCurve = -1;
// The stock-tank pair the interface's own report labels "translated PR EOS".
constexpr int kTranslatedEosResult = 3;
constexpr double kStepperIncrement = 0.01;

// Petroleum type limits (mole percent, Sm3/Sm3, degrees API).
constexpr double kHeavyC7plus = 20, kLightC7plus = 12.5;
constexpr double kHeavyOilAPI = 20, kVolatileOilAPI = 45;
constexpr double kWetGasGOR = 10000;
constexpr double kDryGasLightEnds = 95;

const QString kNewPointRow = QStringLiteral("New alpha-beta point");
const QString kGasText = QStringLiteral("Gas");

void showValue(QLabel* field, double value, NumberFormat format)
{
    field->setText(std::isfinite(value) ? formatNumber(value, format) : QString::fromLatin1(kNotAvailableText));
}

// The field's number with two decimals for the log ("Gas" gives 0); a value that is not
// available stays so.
QString loggedNumber(const QLabel* field)
{
    if (field->text() == QLatin1String(kNotAvailableText))
        return field->text();
    return QString::asprintf("%.2f", numberOfText(field->text()).value_or(0));
}

}  // namespace

QString petroleumTypeText(double GOR, double API, double C7plus, double CH4, double CO2, double N2, double H2S)
{
    if (GOR > 0) {
        if (C7plus > kHeavyC7plus) {
            if (API < kHeavyOilAPI)
                return QStringLiteral("Heavy black oil");
            return API < kVolatileOilAPI ? QStringLiteral("Black oil") : QStringLiteral("Volatile oil");
        }
        if (C7plus > kLightC7plus)
            return QStringLiteral("Volatile oil");
        return GOR > kWetGasGOR ? QStringLiteral("Wet gas") : QStringLiteral("Gas condensate");
    }
    return CO2 + CH4 + N2 + H2S > kDryGasLightEnds ? QStringLiteral("Dry gas") : QStringLiteral("Wet gas");
}

QWidget* CAlphaBetaPanel::makeFluidsPage()
{
    auto* page = new QWidget;
    auto makeField = [page](const char* name, std::function<void()> alert) {
        auto* field = new NumberField(page);
        field->setObjectName(QLatin1String(name));
        field->setInvalidNumberAlert(std::move(alert));
        field->setMaximumWidth(90);
        return field;
    };
    auto makeResult = [page](const char* name) {
        auto* field = new QLabel(page);
        field->setObjectName(QLatin1String(name));
        field->setFrameShape(QFrame::StyledPanel);
        field->setMinimumWidth(90);
        return field;
    };
    m.alphaField = makeField("mAlphaFluidsEditField", Msg_AlphaNotValid);
    m.betaField = makeField("mBetaFluidsEditField", Msg_BetaNotValid);
    m.co2Field = makeField("mCO2FluidsEditField", Msg_CO2NotValid);
    m.n2Field = makeField("mN2FluidsEditField", Msg_N2NotValid);
    m.h2sField = makeField("mH2SFluidsEditField", Msg_H2SNotValid);
    m.phField = makeField("mPhEditField", nullptr);
    m.phField->setReadOnly(true);
    m.alphaStep = new ValueStepper(page);
    m.betaStep = new ValueStepper(page);
    for (ValueStepper* stepper : {m.alphaStep, m.betaStep}) {
        stepper->setFixedSize(16, 24);
        stepper->setMinimum(0);
        stepper->setMaximum(1);
        stepper->setIncrement(kStepperIncrement);
    }
    m.isOnCurveCheckBox = new QCheckBox(tr("On the curve"), page);
    m.showLabelsCheck = new QCheckBox(tr("Show labels"), page);
    m.gorField = makeResult("mGOREditField");
    m.apiField = makeResult("mAPIEditField");
    m.ch4Field = makeResult("mCH4EditField");
    m.c7plusField = makeResult("mC7plusEditField");
    m.petroleumLabel = new QLabel(page);
    m.petroleumLabel->setObjectName(QStringLiteral("mPetroleumLabel"));
    m.newFluidButton = new QPushButton(tr("New marker"), page);
    m.deleteFluidButton = new QPushButton(tr("Remove"), page);
    m.generateButton = new QPushButton(tr("Generate fluid"), page);
    m.logButton = new QPushButton(tr("Log"), page);

    m.pointsView = new RecordTable(
        {{fluidkey::name, tr("Marker")}, {fluidkey::alpha, tr("Alpha")}, {fluidkey::beta, tr("Beta")}},
        {[this] { return mDocument ? points().size() + 1 : 0; },
         [this](const QString& key, int row) { return row == 0 ? Value(kNewPointRow) : recordCell(points(), row - 1, key); },
         nullptr},
        page);
    m.pointsView->setObjectName(QStringLiteral("mAlphaBetaPointsView"));
    m.curvesView =
        new RecordTable({{inclusionkey::name, tr("Curve")}},
                        {[this] { return curves().size(); },
                         [this](const QString& key, int row) { return recordCell(curves(), row, key); }, nullptr},
                        page);
    m.curvesView->setObjectName(QStringLiteral("mAlphaBetaCurvesView"));

    auto* fluid = new QGroupBox(tr("Alpha-beta fluid"), page);
    auto* grid = new QGridLayout(fluid);
    grid->addWidget(new QLabel(tr("Alpha"), fluid), 0, 0);
    grid->addWidget(m.alphaField, 0, 1);
    grid->addWidget(m.alphaStep, 0, 2);
    grid->addWidget(new QLabel(tr("Beta"), fluid), 1, 0);
    grid->addWidget(m.betaField, 1, 1);
    grid->addWidget(m.betaStep, 1, 2);
    grid->addWidget(new QLabel(tr("Ph (bar)"), fluid), 2, 0);
    grid->addWidget(m.phField, 2, 1);
    grid->addWidget(new QLabel(tr("CO2 (mol %)"), fluid), 0, 3);
    grid->addWidget(m.co2Field, 0, 4);
    grid->addWidget(new QLabel(tr("N2 (mol %)"), fluid), 1, 3);
    grid->addWidget(m.n2Field, 1, 4);
    grid->addWidget(new QLabel(tr("H2S (mol %)"), fluid), 2, 3);
    grid->addWidget(m.h2sField, 2, 4);
    grid->addWidget(m.isOnCurveCheckBox, 3, 0, 1, 3);
    grid->addWidget(m.curvesView, 4, 0, 1, 5);

    auto* results = new QGroupBox(tr("Stock-tank properties"), page);
    auto* resultGrid = new QGridLayout(results);
    resultGrid->addWidget(new QLabel(tr("GOR (Sm3/Sm3)"), results), 0, 0);
    resultGrid->addWidget(m.gorField, 0, 1);
    resultGrid->addWidget(new QLabel(tr("API"), results), 0, 2);
    resultGrid->addWidget(m.apiField, 0, 3);
    resultGrid->addWidget(new QLabel(tr("CH4 (mol %)"), results), 1, 0);
    resultGrid->addWidget(m.ch4Field, 1, 1);
    resultGrid->addWidget(new QLabel(tr("C7+ (mol %)"), results), 1, 2);
    resultGrid->addWidget(m.c7plusField, 1, 3);
    resultGrid->addWidget(m.petroleumLabel, 2, 0, 1, 4);

    auto* buttons = new QHBoxLayout;
    for (QWidget* button : {m.newFluidButton, m.deleteFluidButton, m.generateButton, m.logButton})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m.pointsView, 1);
    layout->addWidget(m.showLabelsCheck);
    layout->addWidget(fluid, 1);
    layout->addWidget(results);
    layout->addLayout(buttons);
    return page;
}

void CAlphaBetaPanel::connectFluidsPage()
{
    connect(m.pointsView, &RecordTable::selectionDidChange, this, &CAlphaBetaPanel::onAlphaBetaPointSelectionChanged);
    connect(m.curvesView, &RecordTable::selectionDidChange, this, &CAlphaBetaPanel::onCurveSelect);
    connect(m.alphaField, &NumberField::numberEntered, this, &CAlphaBetaPanel::onAlphaChange);
    connect(m.betaField, &NumberField::numberEntered, this, &CAlphaBetaPanel::onBetaChange);
    for (NumberField* gas : {m.co2Field, m.n2Field, m.h2sField})
        connect(gas, &NumberField::numberEntered, this, &CAlphaBetaPanel::onChangeParameters1);
    connect(m.alphaStep, &ValueStepper::stepped, this, &CAlphaBetaPanel::onSpinAlpha);
    connect(m.betaStep, &ValueStepper::stepped, this, &CAlphaBetaPanel::onSpinBeta);
    connect(m.isOnCurveCheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onCurvesCheckBox);
    connect(m.showLabelsCheck, &QCheckBox::clicked, this, &CAlphaBetaPanel::onCheckShowLabels);
    connect(m.newFluidButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onAddNewButton);
    connect(m.deleteFluidButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onRemoveFluidMarker);
    connect(m.generateButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onGenerateFluid);
    connect(m.logButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onWriteLogButton);
}

void CAlphaBetaPanel::updateFluidsPage(bool attached)
{
    setControlsEnabled({m.alphaField, m.betaField, m.co2Field, m.n2Field, m.h2sField, m.isOnCurveCheckBox,
                        m.newFluidButton, m.deleteFluidButton, m.alphaStep, m.betaStep, m.generateButton, m.gorField,
                        m.apiField, m.ch4Field, m.c7plusField, m.logButton, m.phField, m.showLabelsCheck,
                        m.pointsView, m.curvesView},
                       attached);
    m.pointsView->reloadData();
    m.curvesView->reloadData();
}

std::optional<Dictionary> CAlphaBetaPanel::selectedCurveOfFluidsPage() const
{
    const Array documentCurves = curves();
    const int row = m.curvesView->selectedRow();
    if (row < 0 || row >= documentCurves.size())
        return std::nullopt;
    return documentCurves.at(row).toDictionary();
}

void CAlphaBetaPanel::selectNewPointRow()
{
    if (m.pointsView->numberOfRows() > 0)
        m.pointsView->selectRowAndScroll(0);
}

void CAlphaBetaPanel::forgetFluid()
{
    mAlpha = mBeta = mCO2 = mN2 = mH2S = 0;
    showFluidFields(true);
    setGORAPI();
}

void CAlphaBetaPanel::showFluidFields(bool editable)
{
    m.alphaField->setDoubleValue(mAlpha, NumberFormat::Decimals4);
    m.betaField->setDoubleValue(mBeta, NumberFormat::Decimals4);
    m.co2Field->setDoubleValue(mCO2, NumberFormat::Decimals2);
    m.n2Field->setDoubleValue(mN2, NumberFormat::Decimals2);
    m.h2sField->setDoubleValue(mH2S, NumberFormat::Decimals2);
    for (NumberField* field : {m.alphaField, m.betaField, m.co2Field, m.n2Field, m.h2sField})
        field->setReadOnly(!editable);
    m.alphaStep->setValue(mAlpha);
    m.betaStep->setValue(mBeta);
}

// On a curve the fluid takes the curve's gases, and the gas fields show them: a marker
// added there carries the gases its beta was computed with.
bool CAlphaBetaPanel::followCurveFromAlpha(const Dictionary& curve)
{
    double pressure = 0;
    const double beta = mDocument ? mDocument->getBetaFromAlpha(curve, mAlpha, &pressure) : kNotOnCurve;
    if (beta == kNotOnCurve)
        return false;
    mBeta = beta;
    m.betaField->setDoubleValue(mBeta, NumberFormat::Decimals4);
    m.betaStep->setValue(mBeta);
    m.phField->setDoubleValue(pressure, NumberFormat::Decimals2);
    return true;
}

bool CAlphaBetaPanel::followCurveFromBeta(const Dictionary& curve)
{
    double pressure = 0;
    const double alpha = mDocument ? mDocument->getAlphaFromBeta(curve, mBeta, &pressure) : kNotOnCurve;
    if (alpha == kNotOnCurve)
        return false;
    mAlpha = alpha;
    m.alphaField->setDoubleValue(mAlpha, NumberFormat::Decimals2);
    m.alphaStep->setValue(mAlpha);
    m.phField->setDoubleValue(pressure, NumberFormat::Decimals2);
    return true;
}

void CAlphaBetaPanel::takeGases(double CO2, double N2, double H2S)
{
    mCO2 = CO2;
    mN2 = N2;
    mH2S = H2S;
    m.co2Field->setDoubleValue(mCO2, NumberFormat::Decimals2);
    m.n2Field->setDoubleValue(mN2, NumberFormat::Decimals2);
    m.h2sField->setDoubleValue(mH2S, NumberFormat::Decimals2);
}

void CAlphaBetaPanel::takeCurveGases(const Dictionary& curve)
{
    takeGases(curve.doubleValue(inclusionkey::CO2), curve.doubleValue(inclusionkey::N2),
              curve.doubleValue(inclusionkey::H2S));
}

void CAlphaBetaPanel::leaveCurve()
{
    m.isOnCurveCheckBox->setChecked(false);
    m.phField->clearValue();
    mCO2 = m.co2Field->doubleValue();
    mN2 = m.n2Field->doubleValue();
    mH2S = m.h2sField->doubleValue();
}

// Alpha given: on a curve beta follows from it.
void CAlphaBetaPanel::takeAlpha()
{
    mAlpha = m.alphaField->doubleValue();
    m.alphaStep->setValue(mAlpha);
    const std::optional<Dictionary> curve = selectedCurveOfFluidsPage();
    if (m.isOnCurveCheckBox->isChecked() && curve) {
        if (followCurveFromAlpha(*curve))
            takeCurveGases(*curve);
        else
            leaveCurve();
    }
    const bool onCurve = m.isOnCurveCheckBox->isChecked();
    for (NumberField* gas : {m.co2Field, m.n2Field, m.h2sField})
        gas->setReadOnly(onCurve);
}

void CAlphaBetaPanel::onAlphaChange()
{
    // The new-point row first: its selection shows the typed fluid, which the curve then completes.
    mAlpha = m.alphaField->doubleValue();
    selectNewPointRow();
    takeAlpha();
    m.newFluidButton->setEnabled(true);
    m.deleteFluidButton->setEnabled(false);
    setGORAPI();
    showPreviewPoint();
}

void CAlphaBetaPanel::onCurveSelect()
{
    takeAlpha();
    setGORAPI();
    showPreviewPoint();
}

void CAlphaBetaPanel::onBetaChange()
{
    mBeta = m.betaField->doubleValue();
    selectNewPointRow();
    m.betaStep->setValue(mBeta);
    const std::optional<Dictionary> curve = selectedCurveOfFluidsPage();
    if (m.isOnCurveCheckBox->isChecked() && curve) {
        if (followCurveFromBeta(*curve))
            takeCurveGases(*curve);
        else
            leaveCurve();
    }
    setGORAPI();
    showPreviewPoint();
}

void CAlphaBetaPanel::onSpinAlpha()
{
    mAlpha = m.alphaStep->value();
    m.alphaField->setDoubleValue(mAlpha, NumberFormat::Decimals4);
    onAlphaChange();
}

void CAlphaBetaPanel::onSpinBeta()
{
    mBeta = m.betaStep->value();
    m.betaField->setDoubleValue(mBeta, NumberFormat::Decimals4);
    onBetaChange();
}

void CAlphaBetaPanel::onChangeParameters1()
{
    // Selecting the new-point row starts a fluid without gases: the typed ones are taken after it.
    const double CO2 = m.co2Field->doubleValue();
    const double N2 = m.n2Field->doubleValue();
    const double H2S = m.h2sField->doubleValue();
    selectNewPointRow();
    takeGases(CO2, N2, H2S);
    m.isOnCurveCheckBox->setChecked(false);
    m.newFluidButton->setEnabled(true);
    m.deleteFluidButton->setEnabled(false);
    setGORAPI();
}

void CAlphaBetaPanel::onCurvesCheckBox()
{
    const bool on = m.isOnCurveCheckBox->isChecked();
    m.curvesView->setEnabled(on);
    m.phField->setEnabled(on);
    if (!on)
        m.phField->clearValue();
    onAlphaChange();
}

void CAlphaBetaPanel::onAlphaBetaPointSelectionChanged()
{
    const int row = m.pointsView->selectedRow();
    const Array markers = points();
    if (row == 0) {
        hilite(nullptr);
        mCO2 = mN2 = mH2S = 0;
        showFluidFields(true);
        m.phField->clearValue();
        m.newFluidButton->setEnabled(true);
        m.deleteFluidButton->setEnabled(false);
    } else if (row > 0 && row - 1 < markers.size()) {
        const Dictionary marker = markers.at(row - 1).toDictionary();
        CGraphObject* plotted = plotObjectOfRecord(mPlotView, marker);
        if (mPlotView)
            mPlotView->setSelectedObject(plotted);
        hilite(plotted);
        mAlpha = marker.doubleValue(fluidkey::alpha);
        mBeta = marker.doubleValue(fluidkey::beta);
        mCO2 = marker.doubleValue(fluidkey::CO2);
        mN2 = marker.doubleValue(fluidkey::N2);
        mH2S = marker.doubleValue(fluidkey::H2S);
        showFluidFields(false);
        m.newFluidButton->setEnabled(false);
        m.deleteFluidButton->setEnabled(true);
        const Value curve = marker.value(fluidkey::curve);
        m.isOnCurveCheckBox->setChecked(curve.isDictionary());
        if (curve.isDictionary()) {
            const int curveRow = curves().indexOf(curve);
            if (curveRow >= 0)
                m.curvesView->selectRowAndScroll(curveRow);
            double pressure = 0;
            if (mDocument && mDocument->getBetaFromAlpha(curve.toDictionary(), mAlpha, &pressure) != kNotOnCurve)
                m.phField->setDoubleValue(pressure, NumberFormat::Decimals2);
            else
                m.phField->clearValue();
        }
    } else {
        return;
    }
    setGORAPI();
    showPreviewPoint();
}

void CAlphaBetaPanel::setGORAPI()
{
    if (!(mAlpha > 0)) {
        for (QLabel* field : {m.gorField, m.apiField, m.ch4Field, m.c7plusField})
            showValue(field, 0, NumberFormat::Decimals2);
        m.petroleumLabel->setText(tr("Petroleum type: undetermined"));
        return;
    }
    // Marker gases are percent; the engine takes fractions through the documents' own conversion.
    const Dictionary fluid = alphaBetaFluidFromMarker(newAlphaBetaPoint(mAlpha, mBeta, mCO2, mN2, mH2S));
    CalculationInterface& stockTank = *mCalculationInterface;
    stockTank.setAlpha(fluid.doubleValue(fluidkey::alpha));
    stockTank.setBeta(fluid.doubleValue(fluidkey::beta));
    stockTank.setCO2(fluid.doubleValue(fluidkey::CO2));
    stockTank.setN2(fluid.doubleValue(fluidkey::N2));
    stockTank.setH2S(fluid.doubleValue(fluidkey::H2S));
    stockTank.finalize();
    stockTank.calculateGOR();
    stockTank.logTranslationNote();
    const double GOR = stockTank.getGOR()[kTranslatedEosResult];
    const double API = stockTank.getAPI()[kTranslatedEosResult];
    const double CH4 = stockTank.getCH4();
    const double C7plus = stockTank.getC7plus();
    if (GOR == 0) {
        m.gorField->setText(kGasText);
        m.apiField->setText(kGasText);
    } else {
        showValue(m.gorField, GOR, NumberFormat::Decimals4);
        showValue(m.apiField, API, NumberFormat::Decimals4);
    }
    showValue(m.ch4Field, CH4, NumberFormat::Decimals2);
    showValue(m.c7plusField, C7plus, NumberFormat::Decimals2);
    if (std::isfinite(GOR) && std::isfinite(API))
        m.petroleumLabel->setText(petroleumTypeText(GOR, API, C7plus, CH4, mCO2, mN2, mH2S));
    else
        m.petroleumLabel->setText(tr("Petroleum type: undetermined"));
    m.logButton->setEnabled(true);
}

void CAlphaBetaPanel::showPreviewPoint()
{
    if (!mDocument || !mPlotView)
        return;
    mPlotView->setSelectedPoint(float(mAlpha), float(mBeta));
    mPlotView->showSelectionPoint(true);
}

void CAlphaBetaPanel::onAddNewButton()
{
    if (!mDocument)
        return;
    mCO2 = m.co2Field->doubleValue();
    mN2 = m.n2Field->doubleValue();
    mH2S = m.h2sField->doubleValue();
    double pressure = 0;
    std::optional<Dictionary> curve;
    if (m.isOnCurveCheckBox->isChecked()) {
        pressure = m.phField->doubleValue();
        curve = selectedCurveOfFluidsPage();
    }
    mDocument->setAlphaBetaMarker(mAlpha, mBeta, mCO2, mN2, mH2S, pressure, curve);
}

void CAlphaBetaPanel::onRemoveFluidMarker()
{
    const int row = m.pointsView->selectedRow();
    const Array markers = points();
    if (!mDocument || row < 1 || row - 1 >= markers.size())
        return;
    mDocument->removeAlphaBetaPoint(markers.at(row - 1).toDictionary());
    m.pointsView->reloadData();
}

void CAlphaBetaPanel::onGenerateFluid()
{
    if (!mDocument)
        return;
    mAlpha = m.alphaField->doubleValue();
    mBeta = m.betaField->doubleValue();
    mCO2 = m.co2Field->doubleValue();
    mN2 = m.n2Field->doubleValue();
    mH2S = m.h2sField->doubleValue();
    const Dictionary fluid = alphaBetaFluidFromMarker(newAlphaBetaPoint(mAlpha, mBeta, mCO2, mN2, mH2S));
    mDocument->generateFluidModel(mAlpha, mBeta, fluid.doubleValue(fluidkey::CO2), fluid.doubleValue(fluidkey::N2),
                                  fluid.doubleValue(fluidkey::H2S));
}

void CAlphaBetaPanel::onCheckShowLabels()
{
    if (!mDocument)
        return;
    mDocument->setShowLabels(m.showLabelsCheck->isChecked());
    redrawPlot();
}

void CAlphaBetaPanel::onWriteLogButton()
{
    CGraphObject* selected = mPlotView ? mPlotView->selectedObject() : nullptr;
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    QWidget* plotWindow = mPlotView ? mPlotView->window() : nullptr;
    log->showWindow();
    const double alpha = m.alphaField->doubleValue();
    const double beta = m.betaField->doubleValue();
    if (alpha == 0 || beta == 0)
        return;
    log->appendString(QStringLiteral("Alpha-beta fluid : %1\n").arg(m.petroleumLabel->text()));
    QString source;
    if (dynamic_cast<CGraphPoint*>(selected))
        source = selected->referenceObject().toDictionary().stringValue(fluidkey::name);
    else if (selected && typeid(*selected) == typeid(CGraphStringPointCurve))
        source = static_cast<CGraphStringPointCurve*>(selected)->getHitPointName();
    if (source.isNull())
        log->appendString(QString::asprintf("\talpha = %.4f, beta = %.4f\n", alpha, beta));
    else
        log->appendString(QString::asprintf("\talpha = %.4f, beta = %.4f, ", alpha, beta) + source + "\n");
    log->appendString(QString::asprintf("\tCO2 = %.2f%%, N2 = %.2f%%, H2S = %.2f%%\n", m.co2Field->doubleValue(),
                                        m.n2Field->doubleValue(), m.h2sField->doubleValue()));
    log->appendString(QStringLiteral("        GOR (Stdm3/Stdm3) : %1\n").arg(loggedNumber(m.gorField)));
    log->appendString(QStringLiteral("        API degree        : %1\n").arg(loggedNumber(m.apiField)));
    log->appendString(QStringLiteral("        CH4 mole %        : %1\n").arg(loggedNumber(m.ch4Field)));
    log->appendString(QStringLiteral("        C7+ mole %        : %1\n\n\n").arg(loggedNumber(m.c7plusField)));
    if (plotWindow) {
        plotWindow->raise();
        plotWindow->activateWindow();
    }
}

void CAlphaBetaPanel::fluidsPageTakesPlotSelection(CGraphObject* selected)
{
    mCO2 = mN2 = mH2S = 0;
    hilite(nullptr);
    if (dynamic_cast<CGraphCurve*>(selected)) {
        selectNewPointRow();
        m.newFluidButton->setEnabled(true);
        m.deleteFluidButton->setEnabled(false);
        if (!m.isOnCurveCheckBox->isChecked()) {
            m.isOnCurveCheckBox->setChecked(true);
            m.curvesView->setEnabled(true);
        }
        m.alphaField->setDoubleValue(mAlpha, NumberFormat::Decimals4);
        const int row = curves().indexOf(selected->referenceObject());
        if (row >= 0) {
            if (m.curvesView->selectedRow() != row)
                m.curvesView->selectRowAndScroll(row);
            else
                onCurveSelect();
        }
        hilite(selected);
        return;
    }
    if (dynamic_cast<CGraphPoint*>(selected)) {
        const int row = points().indexOf(selected->referenceObject());
        if (row >= 0)
            m.pointsView->selectRowAndScroll(row + 1);
        return;
    }
    if (m.pointsView->selectedRow() != 0)
        selectNewPointRow();
    else
        onAlphaBetaPointSelectionChanged();
}

}  // namespace quorvel
