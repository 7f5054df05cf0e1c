// The curves page of the alpha-beta panel: the oil inclusions still without a curve, the
// typed inclusion, the calculation of one or all curves, and the document's curves.

#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/NumberField.h"
#include "panels/PanelAlerts.h"
#include "panels/RecordTable.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionRecord.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace quorvel {

namespace {

constexpr double kKelvinOffset = 273.15;
constexpr double kPercent = 0.01;
constexpr double kSameValueTolerance = 1e-6;

const QString kPlaceholderName = QStringLiteral("New Inclusion");
const QString kOilType = QStringLiteral("Oil");
const QStringList kInclusionNumberKeys{inclusionkey::Th,  inclusionkey::Tv, inclusionkey::Fv,
                                       inclusionkey::CO2, inclusionkey::N2, inclusionkey::H2S};

// The typed inclusion's defaults.
constexpr double kDefaultTh = 100, kDefaultFv = 10, kDefaultTv = 20;

QString sortButtonTitle(bool sorted)
{
    return sorted ? QStringLiteral("Non sorted") : QStringLiteral("Sorted");
}

}  // namespace

bool curveMatchesInclusion(const Dictionary& curve, const Dictionary& inclusion)
{
    if (curve.stringValue(inclusionkey::name) != inclusion.stringValue(inclusionkey::name))
        return false;
    for (const QString& key : kInclusionNumberKeys)
        if (!(std::abs(curve.doubleValue(key) - inclusion.doubleValue(key)) < kSameValueTolerance))
            return false;
    return curve.stringValue(inclusionkey::homog) == inclusion.stringValue(inclusionkey::homog);
}

QWidget* CAlphaBetaPanel::makeCurvesPage()
{
    auto* page = new QWidget;
    auto makeField = [page](const char* name, std::function<void()> alert) {
        auto* field = new NumberField(page);
        field->setObjectName(QLatin1String(name));
        field->setInvalidNumberAlert(std::move(alert));
        field->setMaximumWidth(90);
        return field;
    };
    m.th = makeField("mThEditField", Msg_ThNotValid);
    m.fv = makeField("mFvEditField", Msg_FvNotValid);
    m.tv = makeField("mTvEditField", Msg_TfvNotValid);
    m.co2 = makeField("mCO2EditField", Msg_CO2NotValid);
    m.n2 = makeField("mN2EditField", Msg_N2NotValid);
    m.h2s = makeField("mH2SEditField", Msg_H2SNotValid);
    m.liquidRadio = new QRadioButton(tr("To liquid"), page);
    m.gasRadio = new QRadioButton(tr("To vapour"), page);

    m.inclusionsView = new RecordTable(
        {{inclusionkey::name, tr("Inclusion")}, {inclusionkey::Th, tr("Th (°C)")}, {inclusionkey::homog, tr("Homog.")}},
        {[this] { return mDocument ? mInclusionsArray.size() : 0; },
         [this](const QString& key, int row) { return recordCell(mInclusionsArray, row, key); }, nullptr},
        page);
    m.inclusionsView->setObjectName(QStringLiteral("mInclusionsView"));
    m.curvesView1 =
        new RecordTable({{inclusionkey::name, tr("Curve")},
                         {inclusionkey::Th, tr("Th (°C)")},
                         {alphabetakey::alpha0, tr("First alpha")}},
                        {[this] { return curves().size(); },
                         [this](const QString& key, int row) { return recordCell(curves(), row, key); }, nullptr},
                        page);
    m.curvesView1->setObjectName(QStringLiteral("mAlphaBetaCurvesView1"));
    m.calcButton = new QPushButton(tr("Calculate"), page);
    m.calculateAllButton = new QPushButton(tr("Calculate all"), page);
    m.removeCurveButton = new QPushButton(tr("Remove"), page);
    m.sortButton = new QPushButton(sortButtonTitle(false), page);

    auto* inclusion = new QGroupBox(tr("Inclusion"), page);
    auto* fields = new QGridLayout(inclusion);
    const std::pair<QString, NumberField*> rows[] = {{tr("Th (°C)"), m.th},  {tr("Fv (%)"), m.fv},
                                                     {tr("Tv (°C)"), m.tv},  {tr("CO2 (mol %)"), m.co2},
                                                     {tr("N2 (mol %)"), m.n2}, {tr("H2S (mol %)"), m.h2s}};
    for (int i = 0; i < 6; ++i) {
        fields->addWidget(new QLabel(rows[i].first, inclusion), i % 3, (i / 3) * 2);
        fields->addWidget(rows[i].second, i % 3, (i / 3) * 2 + 1);
    }
    fields->addWidget(m.liquidRadio, 3, 0, 1, 2);
    fields->addWidget(m.gasRadio, 3, 2, 1, 2);

    auto* calcButtons = new QHBoxLayout;
    calcButtons->addWidget(m.calcButton);
    calcButtons->addWidget(m.calculateAllButton);
    calcButtons->addStretch();
    auto* curveButtons = new QHBoxLayout;
    curveButtons->addWidget(m.removeCurveButton);
    curveButtons->addWidget(m.sortButton);
    curveButtons->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Oil inclusions without a curve:"), page));
    layout->addWidget(m.inclusionsView, 1);
    layout->addWidget(inclusion);
    layout->addLayout(calcButtons);
    layout->addWidget(new QLabel(tr("Alpha-beta curves:"), page));
    layout->addWidget(m.curvesView1, 1);
    layout->addLayout(curveButtons);
    return page;
}

void CAlphaBetaPanel::connectCurvesPage()
{
    connect(m.inclusionsView, &RecordTable::selectionDidChange, this, &CAlphaBetaPanel::onInclusionSelectionChanged);
    connect(m.curvesView1, &RecordTable::selectionDidChange, this, &CAlphaBetaPanel::onAlphaBetaCurveSelected);
    connect(m.calcButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onCalculateButton);
    connect(m.calculateAllButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onCalculateAllButton);
    connect(m.removeCurveButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onRemoveButton);
    connect(m.sortButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onSortButton);
}

void CAlphaBetaPanel::updateCurvesPage(bool attached)
{
    setControlsEnabled({m.th, m.fv, m.tv, m.co2, m.n2, m.h2s, m.liquidRadio, m.gasRadio, m.calcButton,
                        m.calculateAllButton, m.removeCurveButton, m.sortButton, m.inclusionsView, m.curvesView1},
                       attached);
    refreshViewsPage1();
}

void CAlphaBetaPanel::refreshViewsPage1()
{
    mInclusionsArray.clear();
    if (!mDocument) {
        m.inclusionsView->reloadData();
        m.curvesView1->reloadData();
        return;
    }
    m.inclusionsView->setEnabled(true);
    mInclusionsArray.append(Dictionary{{inclusionkey::name, kPlaceholderName}});
    const Array documentCurves = curves();
    const auto hasCurve = [&documentCurves](const Dictionary& inclusion) {
        for (const Value& curve : documentCurves)
            if (curveMatchesInclusion(curve.toDictionary(), inclusion))
                return true;
        return false;
    };
    if (const DocumentController* documents = DocumentController::sharedDocumentController())
        for (Document* document : documents->documents()) {
            const auto* inclusionData = dynamic_cast<const CInclusionDataDocument*>(document);
            if (!inclusionData || document->fileType() != DocumentTypes::InclusionData)
                continue;
            for (const Value& element : inclusionData->getInclusions()) {
                const Dictionary inclusion = element.toDictionary();
                if (element.isDictionary() && inclusion.stringValue(inclusionkey::type0) == kOilType &&
                    !hasCurve(inclusion))
                    mInclusionsArray.append(inclusion);
            }
        }
    m.inclusionsView->reloadData();
    m.curvesView1->reloadData();
    const int count = documentCurves.size();
    m.sortButton->setEnabled(count > 1);
    m.removeCurveButton->setEnabled(count > 0);
}

void CAlphaBetaPanel::showInclusionFields(const Dictionary& record)
{
    const std::pair<NumberField*, QString> fields[] = {{m.th, inclusionkey::Th}, {m.fv, inclusionkey::Fv},
                                                       {m.tv, inclusionkey::Tv}, {m.co2, inclusionkey::CO2},
                                                       {m.n2, inclusionkey::N2}, {m.h2s, inclusionkey::H2S}};
    for (const auto& [field, key] : fields) {
        field->setRecordValue(record.value(key));
        field->setReadOnly(true);
    }
    setHomogenisation(homogenisationOf(record), false);
}

void CAlphaBetaPanel::showTypedInclusionDefaults()
{
    const std::pair<NumberField*, double> fields[] = {{m.th, kDefaultTh}, {m.fv, kDefaultFv}, {m.tv, kDefaultTv},
                                                      {m.co2, 0},         {m.n2, 0},          {m.h2s, 0}};
    for (const auto& [field, value] : fields) {
        field->setRecordValue(Value(value));
        field->setReadOnly(false);
    }
    setHomogenisation(Homogenisation::toLiquid, true);
}

void CAlphaBetaPanel::setHomogenisation(Homogenisation homog, bool editable)
{
    const bool toLiquid = homog == Homogenisation::toLiquid;
    m.liquidRadio->setChecked(toLiquid);
    m.gasRadio->setChecked(!toLiquid);
    m.liquidRadio->setEnabled(editable);
    m.gasRadio->setEnabled(editable);
}

void CAlphaBetaPanel::onInclusionSelectionChanged()
{
    const int row = m.inclusionsView->selectedRow();
    if (row < 0 || row >= mInclusionsArray.size()) {
        m.calcButton->setEnabled(false);
        hilite(nullptr);
        if (m.curvesView1->selectedRow() < 0 && m.curvesView1->numberOfRows() > 0)
            m.curvesView1->selectRowAndScroll(0);
        m.calculateAllButton->setEnabled(mInclusionsArray.size() > 1);
        return;
    }
    m.calcButton->setEnabled(true);
    m.calculateAllButton->setEnabled(true);
    if (row == 0)
        showTypedInclusionDefaults();
    else
        showInclusionFields(mInclusionsArray.at(row).toDictionary());
    m.curvesView1->deselectAll();
    hilite(nullptr);
}

void CAlphaBetaPanel::onAlphaBetaCurveSelected()
{
    const int row = m.curvesView1->selectedRow();
    const Array documentCurves = curves();
    if (row < 0 || row >= documentCurves.size()) {
        hilite(nullptr);
        m.removeCurveButton->setEnabled(false);
        m.sortButton->setEnabled(false);
        const bool selectPlaceholder = row >= 0 || m.inclusionsView->selectedRow() < 0;
        if (selectPlaceholder && m.inclusionsView->numberOfRows() > 0)
            m.inclusionsView->selectRowAndScroll(0);
        return;
    }
    const Dictionary curve = documentCurves.at(row).toDictionary();
    showInclusionFields(curve);
    m.inclusionsView->deselectAll();
    CGraphObject* plotted = plotObjectOfRecord(mPlotView, curve);
    hilite(plotted);
    if (mPlotView) {
        mPlotView->setSelectedObject(plotted);
        mPlotView->updateColorPanel();
    }
    m.removeCurveButton->setEnabled(true);
    m.sortButton->setEnabled(documentCurves.size() > 1);
}

void CAlphaBetaPanel::onCalculateButton()
{
    const int row = m.inclusionsView->selectedRow();
    if (!mDocument || row < 0 || row >= mInclusionsArray.size())
        return;
    // Text typed but not yet taken is taken now; a refused one stops the calculation.
    for (NumberField* field : {m.th, m.fv, m.tv, m.co2, m.n2, m.h2s})
        if (field->isModified() && !field->takeTypedText())
            return;
    CAlphaBetaCalcPanel* calculation = CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller();
    calculation->setAlphaBetaPlotDocument(mDocument);
    double Th, Fv, Tv, CO2, N2, H2S;
    Homogenisation homog;
    QString name;
    std::optional<Dictionary> inclusion;
    if (row == 0) {
        Th = m.th->doubleValue();
        Fv = m.fv->doubleValue();
        Tv = m.tv->doubleValue();
        CO2 = m.co2->doubleValue();
        N2 = m.n2->doubleValue();
        H2S = m.h2s->doubleValue();
        homog = homogenisationFromFlag(m.liquidRadio->isChecked());
        calculation->setInclusionName(tr("Calculates alpha-beta curve..."));
        name = kNewInclusionCurveName;
    } else {
        const Dictionary record = mInclusionsArray.at(row).toDictionary();
        Th = record.doubleValue(inclusionkey::Th);
        Fv = record.doubleValue(inclusionkey::Fv);
        Tv = record.doubleValue(inclusionkey::Tv);
        CO2 = record.doubleValue(inclusionkey::CO2);
        N2 = record.doubleValue(inclusionkey::N2);
        H2S = record.doubleValue(inclusionkey::H2S);
        homog = homogenisationOf(record);
        name = record.stringValue(inclusionkey::name);
        calculation->setInclusionName(tr("Calculates alpha-beta curve of %1").arg(name));
        inclusion = record;
    }
    mDocument->prepareCalculation(Th + kKelvinOffset, Tv + kKelvinOffset, Fv * kPercent, CO2 * kPercent,
                                  N2 * kPercent, H2S * kPercent, homog, name, inclusion);
    calculation->doModal();
}

void CAlphaBetaPanel::onCalculateAllButton()
{
    if (!mDocument)
        return;
    mDocument->prepareCalculation(mInclusionsArray);
    CAlphaBetaCalcPanel* calculation = CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller();
    calculation->setAlphaBetaPlotDocument(mDocument);
    calculation->setInclusionsCount(mInclusionsArray.size());
    calculation->doModalForAll();
}

void CAlphaBetaPanel::onRemoveButton()
{
    const int row = m.curvesView1->selectedRow();
    const Array documentCurves = curves();
    if (mDocument && row >= 0 && row < documentCurves.size())
        mDocument->removeAlphaBetaCurve(documentCurves.at(row).toDictionary());
}

void CAlphaBetaPanel::onSortButton()
{
    if (!mDocument)
        return;
    mIsSorted = !mIsSorted;
    mDocument->sortAlphaBetaCurves(mIsSorted ? CurveOrder::byFirstAlpha : CurveOrder::byIndex);
    m.sortButton->setText(sortButtonTitle(mIsSorted));
    m.curvesView1->reloadData();
    onAlphaBetaCurveSelected();
    redrawPlot();
}

void CAlphaBetaPanel::onEndAlphaBetaCalculation()
{
    if (!isWindowLoaded())
        return;
    m.curvesView1->reloadData();
    const int count = curves().size();
    if (count > 0)
        m.curvesView1->selectRowAndScroll(count - 1);
    if (mDocument)
        mDocument->onCalculationEnd();
    makeKeyAndOrderFront();
}

void CAlphaBetaPanel::curvesPageTakesPlotSelection(CGraphObject* selected)
{
    if (!selected) {
        if (m.inclusionsView->selectedRow() != 0 && m.inclusionsView->numberOfRows() > 0)
            m.inclusionsView->selectRowAndScroll(0);
        else
            onInclusionSelectionChanged();
        m.curvesView1->deselectAll();
        hilite(nullptr);
        return;
    }
    if (!dynamic_cast<CGraphCurve*>(selected))
        return;
    const Value reference = selected->referenceObject();
    if (reference.isNull()) {
        hilite(nullptr);
        return;
    }
    const int row = curves().indexOf(reference);
    if (row < 0)
        return;
    m.curvesView1->selectRowAndScroll(row);
    hilite(selected);
}

}  // namespace quorvel
