#pragma once
// What the pages of the phase-diagram panel share: the host they work for (the attached
// document and its plot, the document's diagrams by row, the highlighting in the plot),
// what a click in the P-T plot selected, and the page base that makes a page's lists,
// fields and buttons.

#include "app/CPhaseDiagDocument.h"
#include "calc/CPhaseDiagram.h"
#include "panels/RecordTable.h"
#include "platform/Value.h"
#include "widgets/MyTableView.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvel {

class CPlotView;

// What the pages ask of the panel that holds them.
class PhaseDiagPageHost
{
public:
    // The attached document and its plot; none while the panel follows no document.
    virtual CPhaseDiagDocument* document() const = 0;
    virtual CPlotView* plotView() const = 0;
    // Refreshes the page of that identifier, or the selected page for an empty one.
    virtual void updatePanel(const QString& page = QString()) = 0;
    // The document's one-phase isochores as the volumes and trapping pages list them;
    // refreshing re-reads them and reloads both lists.
    virtual const std::vector<IsochorPtr>& isochors() const = 0;
    virtual void refreshIsochorsList() = 0;
    virtual void refreshTrappingsList() = 0;

    const std::vector<PhaseDiagramPtr>& diagrams() const;
    PhaseDiagramPtr diagramAt(int row) const;
    int rowOfDiagram(const PhaseDiagramPtr& diagram) const;

    // ---- Highlighting in the attached plot ----
    void hiliteOff();
    void redrawPlot();
    void hiliteTheIsopleths(const PhaseDiagramPtr& diagram);
    void hiliteTheIsochors(const IsochorPtr& isochor, const IsochorPtr& sister);
    void hiliteTheTrappingLine(const IsochorPtr& line);
    void hiliteThePhaseDiagram(const PhaseDiagramPtr& diagram);

protected:
    ~PhaseDiagPageHost() = default;
};

// Whether the isochore is one of the document's, one-phase or two-phase.
bool holdsIsochor(const CPhaseDiagDocument& document, const IsochorPtr& isochor);

// What a click in the P-T plot selected, decided in this order.
enum class PlotClickKind { Isopleth, Isochor, TrappingLine, OtherCurve, Point, Nothing };

struct PlotClick
{
    PlotClickKind kind = PlotClickKind::Nothing;
    std::shared_ptr<ArchivableObject> record;
    double X = 0;  // the selection point's temperature (°C)
    bool curveClicked = false;
    bool anythingSelected = false;

    // The kind for a page that follows curves only: a point counts as nothing.
    PlotClickKind curveKind() const { return curveClicked ? kind : PlotClickKind::Nothing; }
    // The diagram of the clicked isopleth, isochore, trapping line or point marker.
    PhaseDiagramPtr diagram() const;
};

// What the plot view has selected now.
PlotClick plotClickOf(const CPlotView* view);

// A page of the phase-diagram panel: its controls, refreshed from the attached document,
// following a click in the P-T plot, and the delegate of its lists (the Delete key).
class PhaseDiagPage : public QObject, public MyTableViewDelegate
{
    Q_OBJECT

public:
    PhaseDiagPage(PhaseDiagPageHost& host, const QString& identifier);

    // The page's widget, made with the page; the panel's tab view owns it.
    QWidget* widget() const { return mWidget; }
    QString identifier() const;

    // Brings the controls up to date with the attached document; all disabled without one.
    virtual void refresh(bool attached) = 0;
    virtual void takePlotSelection(const PlotClick&) {}
    // The panel lets go of its document: the page forgets what it chose there.
    virtual void documentDetached() {}
    // Settings made once the whole window is built.
    virtual void windowDidLoad() {}

    void tableViewShiftDownSelectedRow(MyTableView*) override {}
    void tableViewShiftUpSelectedRow(MyTableView*) override {}
    void tableViewDeleteSelectedRow(MyTableView*) override {}

protected:
    // The rows and cells of a list.
    struct ListSource
    {
        std::function<int()> rows;
        std::function<Value(const QString& column, int row)> cell;
    };
    // Columns as "key|Title"; `selected` answers every change of the list's selection.
    RecordTable* makeList(const char* name, const QStringList& columns, ListSource source,
                          std::function<void()> selected, bool multiple = false);
    QLineEdit* makeField(const char* name, bool readOnly = false);
    QPushButton* makeButton(const QString& title, const char* name);
    QLabel* titleLabel(const QString& text);
    // A grid of labelled fields, `perRow` label and field pairs a row.
    QGridLayout* labelledFields(const QList<std::pair<QString, QWidget*>>& fields, int perRow);
    // A row of buttons: those on the left, a stretch, those on the right.
    static QHBoxLayout* buttonRow(const QList<QWidget*>& left, const QList<QWidget*>& right);

    // The records of the page's own list; with a placeholder first, row 0 shows the
    // placeholder text itself, once, in the name column.
    static ListSource recordsSource(const Array& records, bool placeholderFirst);
    // The document's diagrams by name; its one-phase isochores by name (volumes and trapping pages).
    ListSource diagramsSource() const;
    ListSource isochorsSource() const;

    // Selects the row and runs the list's handler when that changes the selection; nothing
    // for a row the list does not have.
    static void selectRow(RecordTable* view, int row, bool scroll = false);
    static void deselectAll(RecordTable* view);
    static double fieldDouble(const QLineEdit* field);

    PhaseDiagPageHost& mHost;
    QWidget* mWidget;
};

template <class Record>
Value nameCell(const std::vector<std::shared_ptr<Record>>& list, int row)
{
    return row >= 0 && row < int(list.size()) && list[row] ? Value(list[row]->name()) : Value();
}

}  // namespace quorvel
