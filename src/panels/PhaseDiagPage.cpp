#include "panels/PhaseDiagPage.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CPlotView.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <typeinfo>

namespace quorvel {

namespace {

const QString kNameColumn = QStringLiteral("name");

template <class Record>
void hiliteCurveOf(const std::shared_ptr<Record>& record)
{
    if (record && record->graphCurve())
        record->graphCurve()->setHilited(true);
}

// Exact classes: a trapping line is a kind of isochore.
PlotClickKind kindOfCurveRecord(const ArchivableObject* record)
{
    if (!record)
        return PlotClickKind::OtherCurve;
    if (typeid(*record) == typeid(CIsopleth))
        return PlotClickKind::Isopleth;
    if (typeid(*record) == typeid(CIsochor))
        return PlotClickKind::Isochor;
    if (typeid(*record) == typeid(CTrappingLine))
        return PlotClickKind::TrappingLine;
    return PlotClickKind::OtherCurve;
}

}  // namespace

// ---- The host ----

const std::vector<PhaseDiagramPtr>& PhaseDiagPageHost::diagrams() const
{
    static const std::vector<PhaseDiagramPtr> none;
    return document() ? document()->phaseDiagrams() : none;
}

PhaseDiagramPtr PhaseDiagPageHost::diagramAt(int row) const
{
    const auto& held = diagrams();
    return row >= 0 && row < int(held.size()) ? held[row] : nullptr;
}

int PhaseDiagPageHost::rowOfDiagram(const PhaseDiagramPtr& diagram) const
{
    const auto& held = diagrams();
    const auto found = std::find(held.begin(), held.end(), diagram);
    return diagram && found != held.end() ? int(found - held.begin()) : -1;
}

void PhaseDiagPageHost::hiliteOff()
{
    if (CPlotView* view = plotView())
        view->hilite(nullptr);
}

void PhaseDiagPageHost::redrawPlot()
{
    if (CPlotView* view = plotView())
        view->update();
}

void PhaseDiagPageHost::hiliteTheIsopleths(const PhaseDiagramPtr& diagram)
{
    if (diagram) {
        hiliteCurveOf(diagram->liquidIsopleth());
        hiliteCurveOf(diagram->vapourIsopleth());
    }
    redrawPlot();
}

void PhaseDiagPageHost::hiliteTheIsochors(const IsochorPtr& isochor, const IsochorPtr& sister)
{
    hiliteCurveOf(isochor);
    hiliteCurveOf(sister);
    redrawPlot();
}

void PhaseDiagPageHost::hiliteTheTrappingLine(const IsochorPtr& line)
{
    hiliteCurveOf(line);
    redrawPlot();
}

void PhaseDiagPageHost::hiliteThePhaseDiagram(const PhaseDiagramPtr& diagram)
{
    hiliteOff();
    if (!diagram)
        return;
    hiliteCurveOf(diagram->liquidIsopleth());
    hiliteCurveOf(diagram->vapourIsopleth());
    for (const auto* list : {&diagram->biphasicIsochors(), &diagram->monophasicIsochors()})
        for (const IsochorPtr& isochor : *list)
            hiliteCurveOf(isochor);
    redrawPlot();
}

bool holdsIsochor(const CPhaseDiagDocument& document, const IsochorPtr& isochor)
{
    for (const PhaseDiagramPtr& diagram : document.phaseDiagrams())
        for (const auto* list : {&diagram->monophasicIsochors(), &diagram->biphasicIsochors()})
            if (std::find(list->begin(), list->end(), isochor) != list->end())
                return true;
    return false;
}

// ---- A click in the plot ----

PhaseDiagramPtr PlotClick::diagram() const
{
    switch (kind) {
    case PlotClickKind::Isopleth: return std::static_pointer_cast<CIsopleth>(record)->phaseDiagram();
    case PlotClickKind::Isochor:
    case PlotClickKind::TrappingLine: return std::static_pointer_cast<CIsochor>(record)->phaseDiagram();
    case PlotClickKind::Point: return std::dynamic_pointer_cast<CPhaseDiagram>(record);
    case PlotClickKind::OtherCurve:
    case PlotClickKind::Nothing: break;
    }
    return nullptr;
}

PlotClick plotClickOf(const CPlotView* view)
{
    PlotClick click;
    CGraphObject* selected = view ? view->selectedObject() : nullptr;
    click.X = view ? double(view->selectedPointX()) : 0.0;
    click.anythingSelected = selected != nullptr;
    click.curveClicked = dynamic_cast<CGraphCurve*>(selected) != nullptr;
    if (click.curveClicked) {
        click.record = selected->referenceObject().toObject();
        click.kind = kindOfCurveRecord(click.record.get());
    } else if (dynamic_cast<CGraphPoint*>(selected)) {
        click.record = selected->referenceObject().toObject();
        click.kind = PlotClickKind::Point;
    }
    return click;
}

// ---- The page ----

PhaseDiagPage::PhaseDiagPage(PhaseDiagPageHost& host, const QString& identifier) : mHost(host), mWidget(new QWidget)
{
    mWidget->setObjectName(identifier);
}

QString PhaseDiagPage::identifier() const
{
    return mWidget->objectName();
}

RecordTable* PhaseDiagPage::makeList(const char* name, const QStringList& columns, ListSource source,
                                     std::function<void()> selected, bool multiple)
{
    QList<RecordTableModel::Column> keyed;
    for (const QString& column : columns) {
        const QStringList parts = column.split(QLatin1Char('|'));
        keyed.append({parts.first(), parts.value(1, parts.first()), false});
    }
    RecordTableModel::DataSource rowsAndCells{std::move(source.rows), std::move(source.cell), {}};
    auto* view = new RecordTable(keyed, std::move(rowsAndCells), mWidget);
    view->setObjectName(QLatin1String(name));
    view->setDelegate(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (multiple)
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->setDefaultSectionSize(20);
    view->setAlternatingRowColors(true);
    // The lists are grooved boxes without scrollers.
    view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(view, &RecordTable::selectionDidChange, this, std::move(selected));
    return view;
}

QLineEdit* PhaseDiagPage::makeField(const char* name, bool readOnly)
{
    auto* field = new QLineEdit(mWidget);
    field->setObjectName(QLatin1String(name));
    field->setAlignment(Qt::AlignLeft);
    field->setReadOnly(readOnly);
    field->setMinimumWidth(70);
    return field;
}

QPushButton* PhaseDiagPage::makeButton(const QString& title, const char* name)
{
    auto* button = new QPushButton(title, mWidget);
    button->setObjectName(QLatin1String(name));
    return button;
}

QLabel* PhaseDiagPage::titleLabel(const QString& text)
{
    auto* label = new QLabel(text, mWidget);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QHBoxLayout* PhaseDiagPage::buttonRow(const QList<QWidget*>& left, const QList<QWidget*>& right)
{
    auto* row = new QHBoxLayout;
    for (QWidget* button : left)
        row->addWidget(button);
    row->addStretch();
    for (QWidget* button : right)
        row->addWidget(button);
    return row;
}

QGridLayout* PhaseDiagPage::labelledFields(const QList<std::pair<QString, QWidget*>>& fields, int perRow)
{
    auto* grid = new QGridLayout;
    for (int i = 0; i < fields.size(); ++i) {
        const int row = i / perRow;
        const int column = 2 * (i % perRow);
        grid->addWidget(new QLabel(fields[i].first, mWidget), row, column);
        grid->addWidget(fields[i].second, row, column + 1);
    }
    return grid;
}

PhaseDiagPage::ListSource PhaseDiagPage::recordsSource(const Array& records, bool placeholderFirst)
{
    return {[&records] { return records.size(); },
            [&records, placeholderFirst](const QString& column, int row) {
                if (placeholderFirst && row == 0)
                    return column == kNameColumn ? records.at(0) : Value();
                return recordCell(records, row, column);
            }};
}

PhaseDiagPage::ListSource PhaseDiagPage::diagramsSource() const
{
    return {[this] { return int(mHost.diagrams().size()); },
            [this](const QString&, int row) {
                const PhaseDiagramPtr diagram = mHost.diagramAt(row);
                return diagram ? Value(diagram->name()) : Value();
            }};
}

PhaseDiagPage::ListSource PhaseDiagPage::isochorsSource() const
{
    return {[this] { return mHost.document() ? int(mHost.isochors().size()) : 0; },
            [this](const QString&, int row) { return mHost.document() ? nameCell(mHost.isochors(), row) : Value(); }};
}

void PhaseDiagPage::selectRow(RecordTable* view, int row, bool scroll)
{
    if (!view || !view->model() || row < 0 || row >= view->model()->rowCount())
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (scroll)
        view->scrollTo(index);
}

void PhaseDiagPage::deselectAll(RecordTable* view)
{
    if (view)
        view->deselectAll();
}

double PhaseDiagPage::fieldDouble(const QLineEdit* field)
{
    return field->text().trimmed().toDouble();
}

}  // namespace quorvel
