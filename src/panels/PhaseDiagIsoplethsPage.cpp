#include "panels/PhaseDiagIsoplethsPage.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "calc/FluidRecordKeys.h"
#include "panels/FloatingPanel.h"
#include "panels/PanelAlerts.h"
#include "platform/DocumentController.h"
#include "widgets/NumberFields.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <typeinfo>

namespace quorvel {

namespace {

const QStringList kModelKeys{fluidkey::alpha, fluidkey::beta, fluidkey::CO2, fluidkey::N2, fluidkey::H2S};
constexpr double kMaxFraction = 1;
constexpr double kMaxPercent = 100;

// The open documents of exactly that class, in the controller's order.
template <class Kind>
QList<Kind*> openDocumentsOf()
{
    QList<Kind*> found;
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents())
            if (document && typeid(*document) == typeid(Kind))
                found << static_cast<Kind*>(document);
    return found;
}

QString zeroText()
{
    return formatNumber(0, NumberFormat::Decimals2);
}

// The model fields' texts of an alpha-beta fluid: the gases always in percent, whether the
// record holds fractions (fluids) or percents (markers).
QStringList modelFieldTexts(const Dictionary& record, bool gasesInPercent)
{
    const double toPercent = gasesInPercent ? 1.0 : 100.0;
    QStringList texts{record.stringValue(kModelKeys[0]), record.stringValue(kModelKeys[1])};
    for (int i = 2; i < kModelKeys.size(); ++i)
        texts << formatNumber(record.doubleValue(kModelKeys[i]) * toPercent, NumberFormat::Decimals2);
    return texts;
}

}  // namespace

PhaseDiagIsoplethsPage::PhaseDiagIsoplethsPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mIsoplethsView = makeList("mIsoplethsView", {QStringLiteral("name|Phase envelopes")}, diagramsSource(),
                                 [this] { onSelectPhaseEnvelope(); });
    ui.mModelTabView = new QTabWidget(mWidget);
    ui.mModelTabView->setObjectName(QStringLiteral("mModelTabView"));
    ui.mAlphaBetaModelsView = makeList(
        "mAlphaBetaModelsView",
        {QStringLiteral("name|Fluid"), QStringLiteral("alpha|Alpha"), QStringLiteral("beta|Beta")},
        recordsSource(mAlphaBetaModelsArray, true), [this] { onSelectAlphaBetaModel(); });
    ui.mFluidModelsView = makeList(
        "mFluidModelsView", {QStringLiteral("name|Fluid"), QStringLiteral("comment|Comment")},
        recordsSource(mFluidModelsArray, false), [this] { onSelectFluidModel(); });
    ui.mModelTabView->addTab(ui.mAlphaBetaModelsView, tr("Alpha-beta fluids"));
    ui.mModelTabView->addTab(ui.mFluidModelsView, tr("Fluid models"));
    // Nothing refreshes the newly shown fluid list by itself: the page is refreshed here.
    connect(ui.mModelTabView, &QTabWidget::currentChanged, this, [this, identifier] { mHost.updatePanel(identifier); });

    ui.mAlphaEdit = makeField("mAlphaEdit");
    ui.mBetaEdit = makeField("mBetaEdit");
    ui.mCO2Edit = makeField("mCO2Edit");
    ui.mN2Edit = makeField("mN2Edit");
    ui.mH2SEdit = makeField("mH2SEdit");
    QGridLayout* fields = labelledFields({{tr("Alpha:"), ui.mAlphaEdit},
                                          {tr("Beta:"), ui.mBetaEdit},
                                          {tr("CO2 (%):"), ui.mCO2Edit},
                                          {tr("N2 (%):"), ui.mN2Edit},
                                          {tr("H2S (%):"), ui.mH2SEdit}},
                                         2);
    for (QLineEdit* field : alphaBetaFields())
        connect(field, &QLineEdit::editingFinished, this, [this, field] { textShouldEndEditing(field); });

    ui.mIsoplethCalcButton = makeButton(tr("Calculate"), "mIsoplethCalcButton");
    ui.mIsoplethDeleteButton = makeButton(tr("Delete"), "mIsoplethDeleteButton");
    connect(ui.mIsoplethCalcButton, &QPushButton::clicked, this,
            [this] { onCalculateIsopleth(ui.mIsoplethCalcButton); });
    connect(ui.mIsoplethDeleteButton, &QPushButton::clicked, this,
            [this] { onDeleteIsopleth(ui.mIsoplethDeleteButton); });
    QHBoxLayout* buttons = buttonRow({}, {ui.mIsoplethDeleteButton, ui.mIsoplethCalcButton});

    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Phase envelopes of the document")));
    layout->addWidget(ui.mIsoplethsView, 2);
    layout->addWidget(titleLabel(tr("Fluid of a new phase envelope")));
    layout->addWidget(ui.mModelTabView, 3);
    layout->addLayout(fields);
    layout->addLayout(buttons);
}

void PhaseDiagIsoplethsPage::windowDidLoad()
{
    // The alpha-beta fields form a keyboard loop.
    const QList<QLineEdit*> loop = alphaBetaFields();
    for (int i = 0; i < loop.size(); ++i)
        QWidget::setTabOrder(loop[i], loop[(i + 1) % loop.size()]);
    ui.mIsoplethsView->setDeletable(true);
}

QList<QLineEdit*> PhaseDiagIsoplethsPage::alphaBetaFields() const
{
    return {ui.mAlphaEdit, ui.mBetaEdit, ui.mCO2Edit, ui.mN2Edit, ui.mH2SEdit};
}

void PhaseDiagIsoplethsPage::refresh(bool attached)
{
    setControlsEnabled({ui.mIsoplethsView, ui.mAlphaBetaModelsView, ui.mFluidModelsView, ui.mAlphaEdit, ui.mBetaEdit,
                        ui.mCO2Edit, ui.mN2Edit, ui.mH2SEdit, ui.mIsoplethCalcButton, ui.mIsoplethDeleteButton},
                       attached);
    ui.mIsoplethsView->setEnabled(attached && !mHost.diagrams().empty());
    ui.mIsoplethsView->reloadData();
    refreshAlphaBetaFluidsList();
    refreshFluidModelsList();
}

Dictionary PhaseDiagIsoplethsPage::envelopeFluidOf(const Dictionary& record) const
{
    return mMarkers.contains(record.identity()) ? alphaBetaFluidFromMarker(record) : record;
}

void PhaseDiagIsoplethsPage::appendOpenAlphaBetaFluids(bool leaveOutUsed)
{
    const auto offer = [&](const Dictionary& record, bool isMarker) {
        const Dictionary fluid = isMarker ? alphaBetaFluidFromMarker(record) : record;
        if (leaveOutUsed && isFluidModelAlreadyUsed(mHost.diagrams(), fluid))
            return;
        if (isMarker)
            mMarkers.insert(record.identity());
        mAlphaBetaModelsArray.append(record);
    };
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents()) {
            if (!document)
                continue;
            if (typeid(*document) == typeid(CAlphaBetaPlotDocument)) {
                for (const Value& marker : static_cast<CAlphaBetaPlotDocument*>(document)->alphaBetaPoints())
                    offer(marker.toDictionary(), true);
            } else if (typeid(*document) == typeid(CFluidModelDataDocument)) {
                for (const Value& fluid : static_cast<CFluidModelDataDocument*>(document)->fluids())
                    if (fluidTypeOf(fluid.toDictionary()) == FluidType::alphaBeta)
                        offer(fluid.toDictionary(), false);
            }
        }
}

void PhaseDiagIsoplethsPage::refreshAlphaBetaFluidsList()
{
    if (ui.mModelTabView->currentIndex() != kAlphaBetaFluidsTab)
        return;
    const bool attached = mHost.document() != nullptr;
    mAlphaBetaModelsArray.clear();
    mMarkers.clear();
    mAlphaBetaModelsArray.append(kNewAlphaBetaFluid);
    appendOpenAlphaBetaFluids(attached);
    ui.mAlphaBetaModelsView->setEnabled(attached);
    ui.mAlphaBetaModelsView->reloadData();
}

void PhaseDiagIsoplethsPage::refreshFluidModelsList()
{
    if (ui.mModelTabView->currentIndex() != kComponentFluidsTab)
        return;
    const bool attached = mHost.document() != nullptr;
    mFluidModelsArray.clear();
    for (CFluidModelDataDocument* document : openDocumentsOf<CFluidModelDataDocument>())
        for (const Value& entry : document->fluids()) {
            const Dictionary fluid = entry.toDictionary();
            const FluidType type = fluidTypeOf(fluid);
            if (type != FluidType::componentList && type != FluidType::carbonNumbers)
                continue;
            if (attached && isFluidModelAlreadyUsed(mHost.diagrams(), fluid))
                continue;
            mFluidModelsArray.append(fluid);
        }
    if (!attached) {
        ui.mFluidModelsView->setEnabled(false);
    } else if (mFluidModelsArray.isEmpty()) {
        ui.mIsoplethCalcButton->setEnabled(false);
        ui.mFluidModelsView->setEnabled(false);
    } else {
        ui.mFluidModelsView->setEnabled(true);
    }
    ui.mFluidModelsView->reloadData();
}

void PhaseDiagIsoplethsPage::onSelectPhaseEnvelope()
{
    const PhaseDiagramPtr diagram = mHost.diagramAt(ui.mIsoplethsView->selectedRow());
    if (!diagram) {
        mHost.hiliteOff();
        ui.mIsoplethDeleteButton->setEnabled(false);
        return;
    }
    // The fluid lists let go of their choice first, so that the fields then keep the diagram's fluid.
    deselectAll(ui.mAlphaBetaModelsView);
    deselectAll(ui.mFluidModelsView);
    const Dictionary& fluid = diagram->thermoModel();
    if (fluidTypeOf(fluid) == FluidType::alphaBeta) {
        const QList<QLineEdit*> fields = alphaBetaFields();
        const QStringList texts = modelFieldTexts(fluid, false);
        for (int i = 0; i < fields.size(); ++i)
            setAlphaBetaField(fields[i], texts[i]);
        setAlphaBetaFieldsEditable(false);
    }
    ui.mIsoplethCalcButton->setEnabled(false);
    ui.mIsoplethDeleteButton->setEnabled(true);
    mHost.hiliteTheIsopleths(diagram);
}

void PhaseDiagIsoplethsPage::onSelectAlphaBetaModel()
{
    const QList<QLineEdit*> fields = alphaBetaFields();
    const int row = ui.mAlphaBetaModelsView->selectedRow();
    if (row < 0) {
        setAlphaBetaFieldsEditable(false);
        for (QLineEdit* field : fields)
            setAlphaBetaField(field, QString());
        ui.mIsoplethCalcButton->setEnabled(false);
        return;
    }
    if (row == 0) {
        setAlphaBetaFieldsEditable(true);
        for (QLineEdit* field : fields)
            setAlphaBetaField(field, zeroText());
        mHost.hiliteOff();
        deselectAll(ui.mIsoplethsView);
        ui.mIsoplethCalcButton->setEnabled(true);
        ui.mIsoplethDeleteButton->setEnabled(false);
        return;
    }
    setAlphaBetaFieldsEditable(false);
    ui.mIsoplethCalcButton->setEnabled(true);
    ui.mIsoplethDeleteButton->setEnabled(false);
    mHost.hiliteOff();
    deselectAll(ui.mIsoplethsView);
    const Dictionary record = mAlphaBetaModelsArray.at(row).toDictionary();
    const QStringList texts = modelFieldTexts(record, mMarkers.contains(record.identity()));
    for (int i = 0; i < fields.size(); ++i)
        setAlphaBetaField(fields[i], texts[i]);
}

void PhaseDiagIsoplethsPage::onSelectFluidModel()
{
    if (ui.mFluidModelsView->selectedRow() < 0) {
        ui.mIsoplethCalcButton->setEnabled(false);
        return;
    }
    ui.mIsoplethCalcButton->setEnabled(true);
    ui.mIsoplethDeleteButton->setEnabled(false);
    mHost.hiliteOff();
    deselectAll(ui.mIsoplethsView);
}

void PhaseDiagIsoplethsPage::onCalculateIsopleth(QObject*)
{
    if (!mHost.document())
        return;
    QPointer<CPhaseDiagDocument> target = mHost.document();
    if (ui.mModelTabView->currentIndex() == kAlphaBetaFluidsTab) {
        const int row = ui.mAlphaBetaModelsView->selectedRow();
        if (row < 0)
            return;
        if (row == 0) {
            // Typed gases are percent, as a marker's: the fluid is named from them and calculates with fractions.
            target->calculateImmiscibilityLoop(alphaBetaFluidFromMarker(
                newAlphaBetaPoint(fieldDouble(ui.mAlphaEdit), fieldDouble(ui.mBetaEdit), fieldDouble(ui.mCO2Edit),
                                  fieldDouble(ui.mN2Edit), fieldDouble(ui.mH2SEdit))));
        } else {
            target->calculateImmiscibilityLoop(envelopeFluidOf(mAlphaBetaModelsArray.at(row).toDictionary()));
        }
    } else {
        const int row = ui.mFluidModelsView->selectedRow();
        if (row < 0)
            return;
        target->calculateImmiscibilityLoop(mFluidModelsArray.at(row).toDictionary());
    }
    mHost.updatePanel();
}

void PhaseDiagIsoplethsPage::onDeleteIsopleth(QObject*)
{
    if (const PhaseDiagramPtr diagram = mHost.diagramAt(ui.mIsoplethsView->selectedRow());
        diagram && mHost.document())
        mHost.document()->removeFluidPhaseDiagram(diagram);
}

void PhaseDiagIsoplethsPage::tableViewDeleteSelectedRow(MyTableView* view)
{
    if (view == ui.mIsoplethsView)
        onDeleteIsopleth(this);
}

// ---- The alpha-beta fields ----

void PhaseDiagIsoplethsPage::setAlphaBetaField(QLineEdit* field, const QString& text)
{
    field->setText(text);
    mAcceptedText[field] = text;
}

bool PhaseDiagIsoplethsPage::textShouldEndEditing(QLineEdit* control)
{
    struct Check
    {
        QLineEdit* field;
        double upper;
        void (*alert)();
    };
    const Check checks[] = {{ui.mAlphaEdit, kMaxFraction, Msg_AlphaNotValid},
                            {ui.mBetaEdit, kMaxFraction, Msg_BetaNotValid},
                            {ui.mCO2Edit, kMaxPercent, Msg_CO2NotValid},
                            {ui.mN2Edit, kMaxPercent, Msg_N2NotValid},
                            {ui.mH2SEdit, kMaxPercent, Msg_H2SNotValid}};
    for (const Check& check : checks) {
        if (check.field != control)
            continue;
        bool isNumber = false;
        const double value = control->text().trimmed().toDouble(&isNumber);
        if (isNumber && value >= 0 && value <= check.upper) {
            mAcceptedText[control] = control->text();
            return true;
        }
        check.alert();
        // The field gets back what it showed before: a refused value never replaces it.
        control->setText(mAcceptedText.value(control, zeroText()));
        control->setFocus();
        return false;
    }
    return true;
}

void PhaseDiagIsoplethsPage::setAlphaBetaFieldsEditable(bool editable)
{
    for (QLineEdit* field : alphaBetaFields())
        field->setReadOnly(!editable);
}

// ---- A click in the plot ----

void PhaseDiagIsoplethsPage::takePlotSelection(const PlotClick& click)
{
    if (click.kind != PlotClickKind::Nothing) {
        // Another curve, or a marker standing for no diagram of the document, selects nothing.
        selectRow(ui.mIsoplethsView, mHost.rowOfDiagram(click.diagram()));
        return;
    }
    deselectAll(ui.mIsoplethsView);
    if (ui.mModelTabView->currentIndex() == kAlphaBetaFluidsTab) {
        if (ui.mAlphaBetaModelsView->selectedRow() == 0)
            onSelectAlphaBetaModel();
        else
            selectRow(ui.mAlphaBetaModelsView, 0, true);
        setAlphaBetaFieldsEditable(true);
        for (QLineEdit* field : alphaBetaFields())
            setAlphaBetaField(field, zeroText());
        ui.mIsoplethCalcButton->setEnabled(true);
        ui.mIsoplethDeleteButton->setEnabled(false);
    } else {
        deselectAll(ui.mFluidModelsView);
        ui.mIsoplethCalcButton->setEnabled(false);
        ui.mIsoplethDeleteButton->setEnabled(false);
    }
}

}  // namespace quorvel
