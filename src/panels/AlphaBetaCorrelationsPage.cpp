// The correlations page of the alpha-beta panel: the correlation lines of the document,
// the fluids of the selected one, its line and labels shown or hidden, and the boxes of
// the reference curves.

#include "panels/CAlphaBetaPanel.h"
#include "panels/RecordTable.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "calc/FluidRecordKeys.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPlotView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <typeinfo>

namespace quorvel {

namespace {

const QString kNoDocumentRow = QStringLiteral("No alpha-beta plot document");

CGraphStringPointCurve* correlationLine(const CPlotView* view, const Dictionary& correlation)
{
    return dynamic_cast<CGraphStringPointCurve*>(plotObjectOfRecord(view, correlation));
}

}  // namespace

QWidget* CAlphaBetaPanel::makeCorrelationsPage()
{
    auto* page = new QWidget;
    m.correlationsView = new RecordTable(
        {{alphabetakey::name, tr("Correlation")}},
        {[this] { return mDocument ? correlations().size() : 1; },
         [this](const QString& key, int row) {
             return mDocument ? recordCell(correlations(), row, key) : Value(kNoDocumentRow);
         },
         nullptr},
        page);
    m.correlationsView->setObjectName(QStringLiteral("mCorrelationsView"));
    // Rows and cells of the selected correlation's fluids come from the same record.
    m.correlationsView1 = new RecordTable(
        {{fluidkey::name, tr("Fluid")},
         {fluidkey::alpha, tr("Alpha")},
         {fluidkey::beta, tr("Beta")},
         {fluidkey::gor, tr("GOR")},
         {fluidkey::api, tr("API")}},
        {[this] { return mCurrentCorrelation ? mCurrentCorrelation->arrayValue(alphabetakey::data).size() : 0; },
         [this](const QString& key, int row) {
             return mCurrentCorrelation ? recordCell(mCurrentCorrelation->arrayValue(alphabetakey::data), row, key)
                                        : Value();
         },
         nullptr},
        page);
    m.correlationsView1->setObjectName(QStringLiteral("mCorrelationsView1"));
    m.addCorrelationButton = new QPushButton(tr("Add..."), page);
    m.removeCorrelationButton = new QPushButton(tr("Remove"), page);
    m.showCorrelation = new QCheckBox(tr("Show line"), page);
    m.showCorrelationLabels = new QCheckBox(tr("Show labels"), page);
    m.showIsoGORCheckBox = new QCheckBox(tr("Iso-GOR curves"), page);
    m.showIsoAPICheckBox = new QCheckBox(tr("Iso-API curves"), page);
    m.showIsoCH4CheckBox = new QCheckBox(tr("Iso-CH4 curves"), page);
    m.showIsoC7plusCheckBox = new QCheckBox(tr("Iso-C7+ curves"), page);
    m.showMcCainCheckBox = new QCheckBox(tr("McCain curves"), page);

    auto* buttons = new QHBoxLayout;
    for (QWidget* control : {static_cast<QWidget*>(m.addCorrelationButton), static_cast<QWidget*>(m.removeCorrelationButton),
                             static_cast<QWidget*>(m.showCorrelation), static_cast<QWidget*>(m.showCorrelationLabels)})
        buttons->addWidget(control);
    buttons->addStretch();

    auto* reference = new QGroupBox(tr("Reference curves"), page);
    auto* boxes = new QGridLayout(reference);
    boxes->addWidget(m.showIsoGORCheckBox, 0, 0);
    boxes->addWidget(m.showIsoAPICheckBox, 0, 1);
    boxes->addWidget(m.showIsoCH4CheckBox, 1, 0);
    boxes->addWidget(m.showIsoC7plusCheckBox, 1, 1);
    boxes->addWidget(m.showMcCainCheckBox, 2, 0);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Correlation lines:"), page));
    layout->addWidget(m.correlationsView, 1);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(tr("Fluids of the selected line:"), page));
    layout->addWidget(m.correlationsView1, 2);
    layout->addWidget(reference);
    return page;
}

void CAlphaBetaPanel::connectCorrelationsPage()
{
    connect(m.correlationsView, &RecordTable::selectionDidChange, this, &CAlphaBetaPanel::onCorrelationSelected);
    connect(m.addCorrelationButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onAddCorrelation);
    connect(m.removeCorrelationButton, &QPushButton::clicked, this, &CAlphaBetaPanel::onRemoveCorrelation);
    connect(m.showCorrelationLabels, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowCorrelationLabels);
    connect(m.showCorrelation, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowCorrelation);
    connect(m.showIsoGORCheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowHideIsoGORCurves);
    connect(m.showIsoAPICheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowHideIsoAPICurves);
    connect(m.showIsoCH4CheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowHideIsoCH4Curves);
    connect(m.showIsoC7plusCheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowHideIsoC7plusCurves);
    connect(m.showMcCainCheckBox, &QCheckBox::clicked, this, &CAlphaBetaPanel::onShowHideMcCainCurves);
}

void CAlphaBetaPanel::updateCorrelationsPage(bool attached)
{
    setControlsEnabled({m.addCorrelationButton, m.removeCorrelationButton, m.showIsoGORCheckBox,
                        m.showIsoAPICheckBox, m.showCorrelationLabels, m.showIsoCH4CheckBox, m.showIsoC7plusCheckBox,
                        m.showMcCainCheckBox, m.correlationsView, m.correlationsView1, m.showCorrelation},
                       attached);
    m.correlationsView->reloadData();
    onCorrelationSelected();
    if (!mDocument)
        return;
    m.showIsoGORCheckBox->setChecked(mDocument->areIsoGORCurvesVisible());
    m.showIsoAPICheckBox->setChecked(mDocument->areIsoAPICurvesVisible());
    m.showIsoCH4CheckBox->setChecked(mDocument->areIsoCH4CurvesVisible());
    m.showIsoC7plusCheckBox->setChecked(mDocument->areIsoC7plusCurvesVisible());
    m.showMcCainCheckBox->setChecked(mDocument->areMcCainCurvesVisible());
}

void CAlphaBetaPanel::onCorrelationSelected()
{
    const Array lines = correlations();
    const int row = m.correlationsView->selectedRow();
    if (!mDocument) {
        mCurrentCorrelation.reset();
    } else if (row < 0 || row >= lines.size()) {
        setControlsEnabled({m.showCorrelationLabels, m.showCorrelation, m.removeCorrelationButton}, false);
        m.addCorrelationButton->setEnabled(true);
        mCurrentCorrelation.reset();
    } else {
        mCurrentCorrelation = lines.at(row).toDictionary();
        setControlsEnabled({m.showCorrelationLabels, m.showCorrelation, m.addCorrelationButton,
                            m.removeCorrelationButton},
                           true);
    }
    m.correlationsView1->reloadData();
}

void CAlphaBetaPanel::onAddCorrelation()
{
    if (!mDocument)
        return;
    const std::optional<Dictionary> added = mDocument->addAlphaBetaCorrelation();
    updatePanel();
    const int row = added ? correlations().indexOf(*added) : -1;
    if (row >= 0)
        m.correlationsView->selectRowAndScroll(row);
}

void CAlphaBetaPanel::onRemoveCorrelation()
{
    const Array lines = correlations();
    const int row = m.correlationsView->selectedRow();
    if (!mDocument || row < 0 || row >= lines.size())
        return;
    mDocument->removeAlphaBetaCorrelation(lines.at(row).toDictionary());
    updatePanel();
}

void CAlphaBetaPanel::onShowCorrelationLabels()
{
    if (!mCurrentCorrelation)
        return;
    if (CGraphStringPointCurve* line = correlationLine(mPlotView, *mCurrentCorrelation))
        line->setShowLabels(m.showCorrelationLabels->isChecked());
    redrawPlot();
}

void CAlphaBetaPanel::onShowCorrelation()
{
    if (!mCurrentCorrelation)
        return;
    if (CGraphStringPointCurve* line = correlationLine(mPlotView, *mCurrentCorrelation))
        line->setHidden(!m.showCorrelation->isChecked());
    redrawPlot();
}

void CAlphaBetaPanel::onShowHideIsoGORCurves()
{
    if (mDocument)
        mDocument->showIsoGORCurves(m.showIsoGORCheckBox->isChecked());
}

void CAlphaBetaPanel::onShowHideIsoAPICurves()
{
    if (mDocument)
        mDocument->showIsoAPICurves(m.showIsoAPICheckBox->isChecked());
}

void CAlphaBetaPanel::onShowHideIsoCH4Curves()
{
    if (mDocument)
        mDocument->showIsoCH4Curves(m.showIsoCH4CheckBox->isChecked());
}

void CAlphaBetaPanel::onShowHideIsoC7plusCurves()
{
    if (mDocument)
        mDocument->showIsoC7plusCurves(m.showIsoC7plusCheckBox->isChecked());
}

void CAlphaBetaPanel::onShowHideMcCainCurves()
{
    if (mDocument)
        mDocument->showMcCainCurves(m.showMcCainCheckBox->isChecked());
}

void CAlphaBetaPanel::correlationsPageTakesPlotSelection(CGraphObject* selected)
{
    if (!selected || typeid(*selected) != typeid(CGraphStringPointCurve))
        return;
    const int row = correlations().indexOf(selected->referenceObject());
    if (row >= 0)
        m.correlationsView->selectRowAndScroll(row);
}

}  // namespace quorvel
