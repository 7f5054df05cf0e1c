// The whole inclusion workflow as a geologist runs it from the application's windows,
// panels and menus: two inclusions typed into the inclusion editor, the first with CO2, N2
// and H2S; their alpha-beta curves from the alpha-beta panel, a marker on the first from the
// plot's menu, reference curves; a fluid model generated from the marker on the alpha-beta
// panel and reworked with the fluid model editor's
// controls and sheets; a phase diagram with both fluids' envelopes and the first
// inclusion's isochore from the phase-diagram panel, and a trapping line; the reports and
// a plot as PDF; Quit with unsaved work. The real documents, windows and engine throughout.
// Every document is saved, closed and reopened by the File menu, and every step leaves a
// screenshot under the build tree.

#include "workflow/support/RunningApplication.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CAlphaBetaPlotView.h"
#include "app/CCQuorvelDocumentController.h"
#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "app/InclusionDataController.h"
#include "app/InclusionExports.h"
#include "app/ToolBarWindow.h"
#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "editor/FluidModelController.h"
#include "editor/LumpSplitSheets.h"
#include "editor/SheetUnits.h"
#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/CPhaseDiagPanel.h"
#include "panels/PhaseDiagIsochorsPage.h"
#include "panels/PhaseDiagIsoplethsPage.h"
#include "panels/NumberField.h"
#include "panels/InstalledPanels.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"
#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/FileChooser.h"
#include "platform/PrintPanel.h"
#include "platform/Responder.h"
#include "platform/UndoManager.h"
#include "platform/WindowController.h"
#include "plot/CGraphObject.h"
#include "plot/CPlotView.h"
#include "thermo/CorrelationCodes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using namespace quorvel;
using quorvel::test::RunningApplication;
using quorvel::test::settle;

namespace {

// The two inclusions of the workflow, as typed into the editor.
struct TypedInclusion
{
    QString name;
    QString Th, Fv, Tv;      // °C, %, °C
    int homogCell;           // 0 liquid, 1 gas
    QString CO2, N2, H2S;    // mole %
};
const TypedInclusion kLiquidInclusion{"FI-1 liquid", "100", "10", "20", 0, "5", "2", "1"};
const TypedInclusion kVapourInclusion{"FI-2 vapour", "80", "70", "20", 1, "0", "0", "0"};

// Temperature of aqueous homogenisation (°C) at which the first inclusion is trapped.
constexpr double kTrappingTemperature = 150;

// How far apart the envelopes of the marker's fluid and of the fluid generated from it may
// lie (relative): the same fluid, once as an alpha-beta model and once written out component
// by component.
constexpr double kEnvelopeAgreement = 1e-6;

// The name column of the editor's fluids table (the first is the reference mark).
constexpr int kFluidNameColumn = 1;

// How close a click puts a temperature on the phase diagram (°C, well under a pixel).
constexpr double kClickPrecision = 0.01;

// Most turns the all-inclusions calculation may take; the real one takes a few hundred.
constexpr int kMaxCalculationTurns = 20000;
// The turn at which the running calculation panel is pictured.
constexpr int kRunningRenderTurn = 10;

// Points of the empty alpha-beta plot (alpha, beta) and phase diagram (°C, bar), clear of their legends.
constexpr struct
{
    double x, y;
} kEmptyAlphaBeta{0.6, 0.4}, kEmptyDiagram{150, 250};


QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProcessResult
{
    int exitCode;
    QString output;
};

ProcessResult run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

// The print panel as the user answers it: Save as PDF, into the file.
class SaveAsPdfPrintPanel : public PrintPanel
{
public:
    explicit SaveAsPdfPrintPanel(const QString& file) : file(file) { setCurrent(this); }
    ~SaveAsPdfPrintPanel() override { setCurrent(nullptr); }
    bool runModal(QPrinter& printer, QWidget*) override
    {
        ++runs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    }
    QString file;
    int runs = 0;
};

// The item of a context menu with the title.
QAction* menuAction(QMenu* menu, const QString& title)
{
    for (QAction* item : menu->actions())
        if (item->text() == title)
            return item;
    return nullptr;
}

// A right click in the plot at data (x, y): the menu it opens, which must have the title.
QMenu* contextMenuAt(CPlotView* view, double x, double y, const QString& title)
{
    QMenu* menu = view->menuForEvent(QPointF(view->getXValue(float(x)), view->getYValue(float(y))));
    EXPECT_TRUE(menu && menu->title() == title) << "no " << title.toStdString() << " menu at " << x << ", " << y;
    return menu && menu->title() == title ? menu : nullptr;
}

// Chooses the item of an open context menu, as the user does once it shows.
bool chooseItem(QMenu* menu, const QString& title)
{
    if (!menu)
        return false;
    emit menu->aboutToShow();
    QAction* item = menuAction(menu, title);
    EXPECT_TRUE(item && item->isEnabled()) << title.toStdString();
    if (!item || !item->isEnabled())
        return false;
    item->trigger();
    QCoreApplication::processEvents();
    return true;
}

// The texts of a table's column, row by row.
QStringList columnTexts(const QTableView* table, int column = 0)
{
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts << table->model()->index(row, column).data().toString();
    return texts;
}

// The rows selected in a table, in order.
QList<int> selectedRows(const QTableView* table)
{
    QList<int> rows;
    for (const QModelIndex& index : table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---- Independent arithmetic on curves (shares nothing with the application) ----

struct CurvePoint
{
    double x, y;
};

// y at x by the straight line through the two neighbours of x; none outside the points.
std::optional<double> linearAt(std::vector<CurvePoint> points, double x)
{
    std::sort(points.begin(), points.end(), [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; });
    for (size_t i = 1; i < points.size(); ++i)
        if (points[i - 1].x <= x && x <= points[i].x && points[i].x > points[i - 1].x) {
            const double w = (x - points[i - 1].x) / (points[i].x - points[i - 1].x);
            return points[i - 1].y + w * (points[i].y - points[i - 1].y);
        }
    return std::nullopt;
}

// y at x by the parabola through the three points nearest to x (Lagrange's form).
std::optional<double> quadraticAt(std::vector<CurvePoint> points, double x)
{
    if (points.size() < 3)
        return linearAt(points, x);
    std::sort(points.begin(), points.end(),
              [x](const CurvePoint& a, const CurvePoint& b) { return std::abs(a.x - x) < std::abs(b.x - x); });
    const CurvePoint p[3] = {points[0], points[1], points[2]};
    double y = 0;
    for (int i = 0; i < 3; ++i) {
        double weight = 1;
        for (int j = 0; j < 3; ++j)
            if (j != i)
                weight *= (x - p[j].x) / (p[i].x - p[j].x);
        y += weight * p[i].y;
    }
    return y;
}

// (alpha, beta) of an alpha-beta curve record's points.
std::vector<CurvePoint> alphaBetaPoints(const Dictionary& curve)
{
    std::vector<CurvePoint> points;
    for (const Value& point : curve.arrayValue("data"))
        points.push_back({point.toArray().at(0).toDouble(), point.toArray().at(1).toDouble()});
    return points;
}

// (alpha, homogenisation pressure) of an alpha-beta curve record's points.
std::vector<CurvePoint> alphaPressurePoints(const Dictionary& curve)
{
    std::vector<CurvePoint> points;
    for (const Value& point : curve.arrayValue("data"))
        points.push_back({point.toArray().at(0).toDouble(), point.toArray().at(2).toDouble()});
    return points;
}

// ---- Independent arithmetic on fluids ----

// Whether a component belongs to the heavy end: a carbon number of 7 or more, or a plus
// fraction (species 2000 up); not the light isomers iC4 and iC5 (1004, 1005) nor the gases.
bool isHeavyComponent(const Dictionary& component)
{
    const int nc = component.intValue("nc");
    return nc >= 7 && nc != 1004 && nc != 1005;
}

QStringList heavyComponentNames(const Dictionary& fluid)
{
    QStringList names;
    for (const Value& component : fluid.arrayValue("components"))
        if (isHeavyComponent(component.toDictionary()))
            names << component.toDictionary().stringValue("name");
    return names;
}

// Whether two lists of fluids hold the same fluids: names and components, value by value.
bool sameNamesAndComponents(const Array& fluids, const Array& others)
{
    if (fluids.size() != others.size())
        return false;
    for (int i = 0; i < fluids.size(); ++i) {
        const Dictionary fluid = fluids.at(i).toDictionary(), other = others.at(i).toDictionary();
        if (fluid.stringValue("name") != other.stringValue("name") ||
            !fluid.arrayValue("components").isEqualTo(other.arrayValue("components")))
            return false;
    }
    return true;
}

// Mole percent of the whole fluid, and of its heavy end.
double totalMoles(const Dictionary& fluid)
{
    double sum = 0;
    for (const Value& component : fluid.arrayValue("components"))
        sum += component.toDictionary().doubleValue("mole");
    return sum;
}

double heavyMoles(const Dictionary& fluid)
{
    double sum = 0;
    for (const Value& component : fluid.arrayValue("components"))
        if (isHeavyComponent(component.toDictionary()))
            sum += component.toDictionary().doubleValue("mole");
    return sum;
}

// Riazi and Daubert's critical temperature of a petroleum fraction from its molar weight
// and specific gravity, theta = a M^b SG^c exp(d M + e SG), in degrees Rankine (Ahmed,
// Equations of State and PVT Analysis, 2007, eq. 2-4 and table 2-2); here in °C.
double riaziDaubertTcCelsius(double M, double SG)
{
    const double rankine = 544.4 * std::pow(M, 0.2998) * std::pow(SG, 1.0555) * std::exp(-1.3478e-4 * M - 0.61641 * SG);
    return rankine / 1.8 - 273.15;
}

// (T, P) of a curve record of the phase diagram.
template <class Record>
std::vector<CurvePoint> temperaturePressure(const Record& record)
{
    std::vector<CurvePoint> points;
    for (const auto& point : record.points())
        points.push_back({point->T(), point->P()});
    return points;
}

// ---- The application, as main starts it ----

struct InclusionWorkflow : ::testing::Test, RunningApplication
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;
    QStringList openedReports;

    // Carried from step to step.
    QString inclusionsFile, plotFile, fluidsFile, diagramFile;
    Array savedInclusions;
    Dictionary marker;
    Dictionary generatedFluid;
    QStringList generatedFrom;  // alpha, beta, CO2, N2, H2S as the alpha-beta panel showed them

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        start();
        InclusionExports::setReportOpener([this](const QString& path) { openedReports << path; });
        settle();
    }

    void TearDown() override
    {
        InclusionExports::setReportOpener(nullptr);
        stop();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    static QString rendersFolder()
    {
        const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("workflow_renders");
        QDir().mkpath(folder);
        return folder;
    }

    // A screenshot of the window as it shows, for a look.
    static void render(QWidget* window, const QString& name)
    {
        window->show();
        settle();
        const QImage image = window->grab().toImage();
        EXPECT_FALSE(image.isNull()) << name.toStdString();
        EXPECT_TRUE(image.save(rendersFolder() + "/" + name)) << name.toStdString();
    }

    static QWidget* windowOf(const Document* document)
    {
        return document->windowControllers().empty() ? nullptr : document->windowControllers().front()->window();
    }

    // Chooses the menu item of the action in the window's menu bar, as the user does.
    static bool choose(QWidget* window, const QString& action)
    {
        QAction* item = nullptr;
        for (QMenuBar* bar : window->findChildren<QMenuBar*>())
            for (QAction* menu : bar->actions())
                for (QAction* candidate : menu->menu()->actions())
                    if (actionNameOf(candidate) == action)
                        item = candidate;
        if (!item) {
            ADD_FAILURE() << "no menu item " << action.toStdString();
            return false;
        }
        if (!validateMenuItem(item, window)) {
            ADD_FAILURE() << "menu item disabled: " << action.toStdString();
            return false;
        }
        const bool sent = sendAction(item, window);
        settle();
        EXPECT_TRUE(sent) << action.toStdString();
        return sent;
    }

    // File > New of a type, from the toolbar window.
    template <class DocumentClass>
    DocumentClass* newDocument(const QString& action)
    {
        const int before = int(controller->documents().size());
        if (!choose(toolBar.get(), action) || controller->documents().size() != before + 1)
            return nullptr;
        return dynamic_cast<DocumentClass*>(controller->documents().last());
    }

    // File > Save As... into the temporary folder.
    QString saveAs(Document* document, const QString& name)
    {
        chooser.queuePath(path(name));
        choose(windowOf(document), "saveDocumentAs:");
        EXPECT_FALSE(document->isDocumentEdited()) << name.toStdString();
        EXPECT_TRUE(QFile::exists(path(name))) << name.toStdString();
        return path(name);
    }

    // File > Close: the document leaves the application.
    void close(Document* document)
    {
        choose(windowOf(document), "performClose:");
        settle();
        EXPECT_FALSE(controller->documents().contains(document));
    }

    // File > Open <type>... of a saved file, from the toolbar window.
    template <class DocumentClass>
    DocumentClass* reopen(const QString& action, const QString& file)
    {
        chooser.queuePath(file);
        choose(toolBar.get(), action);
        auto* document = dynamic_cast<DocumentClass*>(controller->documentForFile(file));
        EXPECT_NE(document, nullptr) << file.toStdString();
        if (document) {
            EXPECT_TRUE(windowOf(document) && windowOf(document)->isVisible());
        }
        return document;
    }

    // Types the text into the field, replacing what it shows, and presses Return.
    static void typeInto(QLineEdit* field, const QString& text)
    {
        ASSERT_NE(field, nullptr);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        settle();
    }

    // A click on the tab of the page.
    static void clickTab(QTabWidget* tabs, int index)
    {
        ASSERT_GE(index, 0);
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        settle();
        EXPECT_EQ(tabs->currentIndex(), index);
    }

    // A click on a row of a table, in the column; none on the row already chosen alone,
    // which would start editing its cell.
    static void clickRow(QTableView* table, int row, int column = 0)
    {
        ASSERT_LT(row, table->model()->rowCount());
        if (selectedRows(table) == QList<int>{row})
            return;
        const QModelIndex index = table->model()->index(row, column);
        table->scrollTo(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
        settle();
        EXPECT_EQ(selectedRows(table), QList<int>{row});
    }

    static void typeInclusion(InclusionDataController& editor, const TypedInclusion& inclusion)
    {
        typeInto(editor.field("name"), inclusion.name);
        typeInto(editor.field("Th"), inclusion.Th);
        typeInto(editor.field("Fv"), inclusion.Fv);
        typeInto(editor.field("Tv"), inclusion.Tv);
        typeInto(editor.field("CO2"), inclusion.CO2);
        typeInto(editor.field("N2"), inclusion.N2);
        typeInto(editor.field("H2S"), inclusion.H2S);
        editor.homogCell(inclusion.homogCell)->click();
        settle();
    }

    CInclusionDataDocument* openInclusions() const
    {
        return dynamic_cast<CInclusionDataDocument*>(controller->documentForFile(inclusionsFile));
    }

    void step1InclusionData();
    void step2AlphaBetaCurves();
    void step3FluidModel();
    void step4PhaseDiagram();
    void step5Exports();
    void step6QuitWithUnsavedWork();
};

// ---- Step 1: two inclusions typed, saved, closed and reopened ----

void InclusionWorkflow::step1InclusionData()
{
    auto* document = newDocument<CInclusionDataDocument>("onNewInclusionDataDocument:");
    ASSERT_NE(document, nullptr);
    InclusionDataController* editor = document->controller();
    ASSERT_NE(editor, nullptr);
    QWidget* window = windowOf(document);
    ASSERT_TRUE(window && window->isVisible());

    // The new document's inclusion becomes the liquid one; Edit > Add Row makes the vapour one.
    ASSERT_EQ(document->getInclusions().size(), 1);
    typeInclusion(*editor, kLiquidInclusion);
    ASSERT_TRUE(choose(window, "onAddRow:"));
    ASSERT_EQ(document->getInclusions().size(), 2);
    ASSERT_EQ(editor->selectedInclusionRow(), 1);
    typeInclusion(*editor, kVapourInclusion);

    const Array inclusions = document->getInclusions();
    for (int row = 0; row < 2; ++row) {
        const TypedInclusion& typed = row == 0 ? kLiquidInclusion : kVapourInclusion;
        const Dictionary record = inclusions.at(row).toDictionary();
        SCOPED_TRACE(typed.name.toStdString());
        EXPECT_EQ(record.stringValue("name"), typed.name);
        EXPECT_EQ(record.doubleValue("Th"), typed.Th.toDouble());
        EXPECT_EQ(record.doubleValue("Fv"), typed.Fv.toDouble());
        EXPECT_EQ(record.doubleValue("Tv"), typed.Tv.toDouble());
        EXPECT_EQ(record.stringValue("homog"), typed.homogCell == 0 ? "liquid" : "gas");
        EXPECT_EQ(record.doubleValue("CO2"), typed.CO2.toDouble());
        EXPECT_EQ(record.doubleValue("N2"), typed.N2.toDouble());
        EXPECT_EQ(record.doubleValue("H2S"), typed.H2S.toDouble());
        EXPECT_EQ(record.stringValue("type0"), "Oil");  // petroleum inclusions
    }
    EXPECT_TRUE(document->isDocumentEdited());
    render(window, "step1_inclusion_editor.png");

    inclusionsFile = saveAs(document, "inclusions.inc");
    savedInclusions = document->getInclusions().deepCopy();
    close(document);

    auto* reopened = reopen<CInclusionDataDocument>("onOpenInclusionDataDocument:", inclusionsFile);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->getInclusions().isEqualTo(savedInclusions));
    EXPECT_FALSE(reopened->isDocumentEdited());
    render(windowOf(reopened), "step1_inclusion_editor_reopened.png");
}

// ---- Step 2: the curves of all inclusions, a marker, reference curves; saved and reopened ----

void InclusionWorkflow::step2AlphaBetaCurves()
{
    auto* plot = newDocument<CAlphaBetaPlotDocument>("onNewAlphaBetaPlotDocument:");
    ASSERT_NE(plot, nullptr);
    auto* view = dynamic_cast<CAlphaBetaPlotView*>(plot->plotView());
    ASSERT_NE(view, nullptr);
    ASSERT_NE(openInclusions(), nullptr);

    // "New Alpha-Beta Curve..." on the empty plot brings the alpha-beta panel, beside the
    // plot and attached to it, at its curves page: the placeholder, then the oil inclusions.
    ASSERT_TRUE(chooseItem(contextMenuAt(view, kEmptyAlphaBeta.x, kEmptyAlphaBeta.y, "Plot"), "New Alpha-Beta Curve..."));
    CAlphaBetaPanel* panel = CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    ASSERT_TRUE(panel->isWindowVisible());
    ASSERT_EQ(panel->attachedDocument(), plot);
    const CAlphaBetaPanel::Controls& page = panel->controls();
    EXPECT_EQ(page.tabView->selectedIdentifier(), CAlphaBetaPanel::kCurvesPage);
    EXPECT_EQ(columnTexts(page.inclusionsView),
              (QStringList{"New Inclusion", kLiquidInclusion.name, kVapourInclusion.name}));
    ASSERT_TRUE(page.calculateAllButton->isEnabled());

    // Calculate all: the calculation panel turns its loop to the end of the list. A guard
    // counts the turns and presses Stop should the loop not end by itself.
    CAlphaBetaCalcPanel* calculation = CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller();
    int turns = 0;
    int ends = 0;
    QTimer guard;
    guard.setInterval(0);
    QImage running;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (!calculation->isRunning())
            return;
        if (++turns == kRunningRenderTurn)
            running = calculation->window()->grab().toImage();
        if (turns == kMaxCalculationTurns)
            calculation->stopButton()->click();
    });
    const QMetaObject::Connection ended =
        QObject::connect(calculation, &CAlphaBetaCalcPanel::calculationEnded, [&ends] { ++ends; });
    guard.start();
    page.calculateAllButton->click();
    guard.stop();
    QObject::disconnect(ended);
    settle();
    ASSERT_LT(turns, kMaxCalculationTurns) << "the calculation ends by itself";
    EXPECT_GT(turns, 0) << "the calculation panel turned the loop";
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(calculation->isRunning());
    EXPECT_FALSE(calculation->window()->isVisible());
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();
    ASSERT_FALSE(running.isNull()) << "the calculation panel showed while it ran";
    EXPECT_TRUE(running.save(rendersFolder() + "/step2_alpha_beta_calculation.png"));

    const Array curves = plot->alphaBetaCurves();
    ASSERT_EQ(curves.size(), 2) << alerts.messages().join("|").toStdString();
    for (int i = 0; i < 2; ++i) {
        const Dictionary curve = curves.at(i).toDictionary();
        const std::vector<CurvePoint> points = alphaBetaPoints(curve);
        SCOPED_TRACE(curve.stringValue("name").toStdString());
        EXPECT_EQ(curve.stringValue("name"), (i == 0 ? kLiquidInclusion : kVapourInclusion).name);
        ASSERT_GE(points.size(), 3u);
        EXPECT_EQ(points.front().y, 0.0) << "every curve starts on beta = 0";
        for (const CurvePoint& p : points) {
            EXPECT_TRUE(p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1) << p.x << " " << p.y;
        }
    }
    // Both inclusions have their curve now: the panel lists the curves and no inclusion left.
    EXPECT_EQ(columnTexts(page.inclusionsView), QStringList{"New Inclusion"});
    EXPECT_EQ(columnTexts(page.curvesView1), (QStringList{kLiquidInclusion.name, kVapourInclusion.name}));
    EXPECT_TRUE(plot->isDocumentEdited());
    render(panel->window(), "step2_alpha_beta_panel_curves.png");

    // A right click on the first curve half way along its alpha range, "Set a marker...":
    // the marker sits on the curve at the clicked alpha, with the curve's pressure there.
    const Dictionary firstCurve = curves.at(0).toDictionary();
    const std::vector<CurvePoint> firstPoints = alphaBetaPoints(firstCurve);
    const auto [lowest, highest] = std::minmax_element(
        firstPoints.begin(), firstPoints.end(), [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; });
    const double halfWay = (lowest->x + highest->x) / 2;
    const std::optional<double> betaHalfWay = linearAt(firstPoints, halfWay);
    ASSERT_TRUE(betaHalfWay);
    QMenu* curveMenu = contextMenuAt(view, halfWay, *betaHalfWay, "Curves");
    ASSERT_TRUE(view->selectedObject() && view->selectedObject()->referenceObject().identity() == firstCurve.identity())
        << "the click hits the first curve";
    const double clickedAlpha = view->selectedPointX();
    ASSERT_TRUE(chooseItem(curveMenu, "Set a marker..."));
    ASSERT_EQ(plot->alphaBetaPoints().size(), 1);
    marker = plot->alphaBetaPoints().at(0).toDictionary();
    EXPECT_EQ(marker.doubleValue("alpha"), clickedAlpha);
    EXPECT_NEAR(marker.doubleValue("alpha"), halfWay, 1e-4) << "the click lands where it was aimed";
    const std::optional<double> betaOnCurve = linearAt(firstPoints, clickedAlpha);
    const std::optional<double> pressureOnCurve = linearAt(alphaPressurePoints(firstCurve), clickedAlpha);
    ASSERT_TRUE(betaOnCurve && pressureOnCurve);
    EXPECT_NEAR(marker.doubleValue("beta"), *betaOnCurve, 1e-12);
    EXPECT_NEAR(marker.doubleValue("Ph"), *pressureOnCurve, 1e-9 * *pressureOnCurve);
    EXPECT_GT(marker.doubleValue("Ph"), 0) << "the pressure of the curve at the marker";
    EXPECT_EQ(marker.stringValue("name"), QString::asprintf("%s: %.3f", qPrintable(kLiquidInclusion.name), clickedAlpha));
    EXPECT_EQ(marker.dictionaryValue("curve"), firstCurve);
    const QString typedGases[] = {kLiquidInclusion.CO2, kLiquidInclusion.N2, kLiquidInclusion.H2S};
    for (int i = 0; const char* gas : {"CO2", "N2", "H2S"}) {
        EXPECT_EQ(firstCurve.doubleValue(gas), typedGases[i++].toDouble()) << "the inclusion's " << gas;
        EXPECT_EQ(marker.doubleValue(gas), firstCurve.doubleValue(gas)) << gas;
    }

    // The fluids page lists the marker after its placeholder row.
    clickTab(page.tabView, page.tabView->indexOfIdentifier(CAlphaBetaPanel::kFluidsPage));
    EXPECT_EQ(columnTexts(page.pointsView), (QStringList{"New alpha-beta point", marker.stringValue("name")}));

    // The correlations page's boxes show McCain's classes and the iso-API curves.
    clickTab(page.tabView, page.tabView->indexOfIdentifier(CAlphaBetaPanel::kCorrelationsPage));
    ASSERT_EQ(page.tabView->selectedIdentifier(), CAlphaBetaPanel::kCorrelationsPage);
    ASSERT_FALSE(page.showMcCainCheckBox->isChecked());
    ASSERT_FALSE(page.showIsoAPICheckBox->isChecked());
    page.showMcCainCheckBox->click();
    page.showIsoAPICheckBox->click();
    settle();
    EXPECT_TRUE(plot->areMcCainCurvesVisible());
    EXPECT_TRUE(plot->areIsoAPICurvesVisible());
    EXPECT_FALSE(plot->areIsoGORCurvesVisible() || plot->areIsoCH4CurvesVisible() || plot->areIsoC7plusCurvesVisible());
    EXPECT_TRUE(page.showMcCainCheckBox->isChecked() && page.showIsoAPICheckBox->isChecked());
    // The plot's own menu now offers to hide the iso-API curves.
    emit view->plotMenu()->aboutToShow();
    EXPECT_NE(menuAction(view->plotMenu(), "Hide iso-API curves"), nullptr);
    render(panel->window(), "step2_alpha_beta_panel_correlations.png");
    render(windowOf(plot), "step2_alpha_beta_plot.png");

    plotFile = saveAs(plot, "curves.abp");
    const Array savedCurves = plot->alphaBetaCurves().deepCopy();
    close(plot);
    EXPECT_EQ(panel->attachedDocument(), nullptr) << "the panel lets the closed plot go";

    auto* reopened = reopen<CAlphaBetaPlotDocument>("onOpenAlphaBetaPlotDocument:", plotFile);
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->alphaBetaCurves().size(), 2);
    for (int i = 0; i < 2; ++i) {
        const Dictionary curve = reopened->alphaBetaCurves().at(i).toDictionary();
        const Dictionary saved = savedCurves.at(i).toDictionary();
        EXPECT_EQ(curve.stringValue("name"), saved.stringValue("name"));
        EXPECT_TRUE(curve.arrayValue("data").isEqualTo(saved.arrayValue("data"))) << i;
    }
    // The marker is still on its curve: the same record, at the curve's own beta.
    ASSERT_EQ(reopened->alphaBetaPoints().size(), 1);
    marker = reopened->alphaBetaPoints().at(0).toDictionary();
    const Dictionary reopenedFirst = reopened->alphaBetaCurves().at(0).toDictionary();
    EXPECT_EQ(marker.dictionaryValue("curve"), reopenedFirst);
    const std::optional<double> onCurve = linearAt(alphaBetaPoints(reopenedFirst), marker.doubleValue("alpha"));
    ASSERT_TRUE(onCurve);
    EXPECT_NEAR(marker.doubleValue("beta"), *onCurve, 1e-12);
    EXPECT_DOUBLE_EQ(marker.doubleValue("alpha"), clickedAlpha);
    EXPECT_FALSE(reopened->isDocumentEdited());

    // The reference curves are a view of the moment, not kept in the file: the reopened plot
    // shows none, and the panel, attached to it again, has its boxes off.
    EXPECT_FALSE(reopened->areMcCainCurvesVisible());
    EXPECT_FALSE(reopened->areIsoAPICurvesVisible());
    ASSERT_EQ(panel->attachedDocument(), reopened);
    EXPECT_FALSE(page.showMcCainCheckBox->isChecked());
    EXPECT_FALSE(page.showIsoAPICheckBox->isChecked());
    render(windowOf(reopened), "step2_alpha_beta_plot_reopened.png");
}

// ---- Step 3: a fluid model generated from the marker, characterised, lumped and split with undo; saved ----

void InclusionWorkflow::step3FluidModel()
{
    auto* plot = dynamic_cast<CAlphaBetaPlotDocument*>(controller->documentForFile(plotFile));
    ASSERT_NE(plot, nullptr);
    CPlotView* view = plot->plotView();
    ASSERT_NE(view, nullptr);

    // The marker chosen on the alpha-beta panel's fluids page shows its fluid with the gases
    // of its curve in percent; "Generate fluid": a new fluid-model document, shown in the fluid
    // model editor, holds that fluid, its gases as fractions.
    CAlphaBetaPanel* alphaBetaPanel = CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    ASSERT_EQ(alphaBetaPanel->attachedDocument(), plot);
    const CAlphaBetaPanel::Controls& page = alphaBetaPanel->controls();
    clickTab(page.tabView, page.tabView->indexOfIdentifier(CAlphaBetaPanel::kFluidsPage));
    clickRow(page.pointsView, 1);
    EXPECT_NEAR(page.alphaField->doubleValue(), marker.doubleValue("alpha"), 5e-5) << "shown to four decimals";
    // The marker is on its curve: beta is the curve's at the alpha shown.
    const std::optional<double> betaAtShownAlpha =
        linearAt(alphaBetaPoints(marker.dictionaryValue("curve")), page.alphaField->doubleValue());
    ASSERT_TRUE(betaAtShownAlpha);
    EXPECT_NEAR(page.betaField->doubleValue(), *betaAtShownAlpha, 5e-5);
    const double typedGases[] = {kLiquidInclusion.CO2.toDouble(), kLiquidInclusion.N2.toDouble(),
                                 kLiquidInclusion.H2S.toDouble()};
    EXPECT_EQ(page.co2Field->doubleValue(), typedGases[0]);
    EXPECT_EQ(page.n2Field->doubleValue(), typedGases[1]);
    EXPECT_EQ(page.h2sField->doubleValue(), typedGases[2]);
    for (const NumberField* field : {page.alphaField, page.betaField, page.co2Field, page.n2Field, page.h2sField})
        generatedFrom << field->text();
    const int documentsBefore = int(controller->documents().size());
    page.generateButton->click();
    settle();
    ASSERT_EQ(controller->documents().size(), documentsBefore + 1);
    auto* fluids = dynamic_cast<CFluidModelDataDocument*>(controller->documents().last());
    ASSERT_NE(fluids, nullptr);
    ASSERT_EQ(fluids->fluids().size(), 1);
    EXPECT_FALSE(plot->isDocumentEdited()) << "generating a fluid leaves the plot as it is";
    auto* editor = dynamic_cast<FluidModelController*>(fluids->windowControllers().front().get());
    ASSERT_NE(editor, nullptr) << "the fluid model editor is the document's window";
    QWidget* window = windowOf(fluids);
    ASSERT_TRUE(window->isVisible());
    ASSERT_EQ(editor->selectedFluidRow(), 0);
    generatedFluid = fluids->fluids().at(0).toDictionary();
    EXPECT_EQ(generatedFluid.arrayValue("components").size(), 17);
    EXPECT_EQ(generatedFluid.stringValue("comment"),
              QString::asprintf("Generated from alpha-beta model with alpha=%s, beta=%s, CO2=%.4lf, N2=%.4lf, H2S=%.4lf",
                                qPrintable(generatedFrom[0]), qPrintable(generatedFrom[1]), typedGases[0] / 100,
                                typedGases[1] / 100, typedGases[2] / 100));
    const Dictionary generatedAsMade = generatedFluid.deepCopy();
    render(window, "step3_fluid_model_generated.png");

    QTableView* fluidsTable = editor->fluidsView();
    const auto selectFluid = [&](const Dictionary& fluid) {
        const int row = int(fluids->fluids().indexOf(fluid));
        ASSERT_GE(row, 0);
        clickRow(fluidsTable, row, kFluidNameColumn);
        ASSERT_EQ(editor->selectedFluidRow(), row);
    };
    const auto press = [&](const QString& outlet) {
        auto* button = editor->control<QPushButton>(outlet);
        ASSERT_TRUE(button && button->isEnabled()) << outlet.toStdString();
        button->click();
        settle();
    };
    // Edit > Undo gives back the fluids as they were before the step, Edit > Redo as they
    // were after it, with the same records. (Their saturation pressures are the editor's
    // last successful calculation, which may have been of another composition on the way.)
    const auto undoAndRedo = [&](const Array& before, const char* what) {
        SCOPED_TRACE(what);
        const Array after = fluids->fluids().copy();
        const Array afterValues = fluids->fluids().deepCopy();
        ASSERT_TRUE(choose(window, "undo:"));
        EXPECT_TRUE(sameNamesAndComponents(fluids->fluids(), before));
        if (editor->selectedFluidRow() < 0) {
            // The chosen fluid went with the undo: no components are shown, none can be edited.
            EXPECT_EQ(editor->componentsView()->model()->rowCount(), 0);
            EXPECT_FALSE(editor->control<QLineEdit>("mMoleEditField")->isEnabled());
            EXPECT_TRUE(editor->control<QLineEdit>("mMoleEditField")->text().isEmpty());
        }
        ASSERT_TRUE(choose(window, "redo:"));
        EXPECT_TRUE(sameNamesAndComponents(fluids->fluids(), afterValues));
        ASSERT_EQ(fluids->fluids().size(), after.size());
        for (int i = 0; i < after.size(); ++i)
            EXPECT_EQ(fluids->fluids().at(i).identity(), after.at(i).identity()) << i;
    };

    // Duplicate: a copy to rework after the generated fluid, which stays as made.
    selectFluid(generatedFluid);
    Array before = fluids->fluids().deepCopy();
    press("mDuplicateButton");
    ASSERT_EQ(fluids->fluids().size(), 2);
    EXPECT_EQ(editor->selectedFluidRow(), 1);
    const Dictionary copy = fluids->fluids().at(1).toDictionary();
    EXPECT_EQ(copy.stringValue("name"), "New - duplicated");
    undoAndRedo(before, "duplicate");

    // Characterisation: "Select C7+" picks the copy's heavy components, the correlation
    // pop-up re-estimates them by Riazi and Daubert; the light ones keep their data.
    selectFluid(copy);
    const Array copyComponents = copy.arrayValue("components");
    QList<int> heavyRows;
    for (int row = 0; row < copyComponents.size(); ++row)
        if (isHeavyComponent(copyComponents.at(row).toDictionary()))
            heavyRows << row;
    ASSERT_FALSE(heavyRows.isEmpty());
    clickRow(editor->componentsView(), 0);  // a component chosen makes the component controls active
    press("mSelectC7plus");
    EXPECT_EQ(selectedRows(editor->componentsView()), heavyRows);
    before = fluids->fluids().deepCopy();
    auto* correlations = editor->control<QComboBox>("mCorrelationChoice");
    ASSERT_NE(correlations, nullptr);
    const int riaziDaubert = correlations->findData(code_number(CorrelationCode::riaziDaubert));
    ASSERT_GE(riaziDaubert, 0);
    correlations->setCurrentIndex(riaziDaubert);
    emit correlations->activated(riaziDaubert);
    settle();
    const Array copyBefore = before.at(1).toDictionary().arrayValue("components");
    for (int row = 0; row < copyComponents.size(); ++row) {
        const Dictionary component = copyComponents.at(row).toDictionary();
        SCOPED_TRACE(component.stringValue("name").toStdString());
        if (!heavyRows.contains(row)) {
            EXPECT_TRUE(component.isEqualTo(copyBefore.at(row).toDictionary()));
            continue;
        }
        EXPECT_EQ(component.intValue("corr"), code_number(CorrelationCode::riaziDaubert));
        const double expected = riaziDaubertTcCelsius(component.doubleValue("mw"), component.doubleValue("SG"));
        EXPECT_NEAR(component.doubleValue("Tc"), expected, 1e-6 * (expected + 273.15));
    }
    EXPECT_TRUE(fluids->fluids().at(0).toDictionary().isEqualTo(generatedAsMade));
    undoAndRedo(before, "characterise");
    render(window, "step3_fluid_model_characterised.png");

    // Lumping, by the lump sheet over the editor: the characterised copy's heavy end into one
    // "C7+" with all its moles, the new fluid after its source and selected.
    selectFluid(copy);
    press("mLumpButton");
    QWidget* lumpSheet = editor->sheets().lumpSheet()->panel();
    ASSERT_TRUE(lumpSheet->isVisible());
    auto* scheme = lumpSheet->findChild<QComboBox*>("mLumpChoice");
    ASSERT_NE(scheme, nullptr);
    scheme->setCurrentIndex(code_number(LumpScheme::c7plus));
    render(lumpSheet, "step3_lump_sheet.png");
    before = fluids->fluids().deepCopy();
    lumpSheet->findChild<QPushButton*>("mLumpDoButton")->click();
    settle();
    EXPECT_FALSE(lumpSheet->isVisible());
    ASSERT_EQ(fluids->fluids().size(), 3);
    EXPECT_EQ(editor->selectedFluidRow(), 2);
    const Dictionary lumped = fluids->fluids().at(2).toDictionary();
    EXPECT_EQ(lumped.stringValue("name"), "New - duplicated - lumped");
    EXPECT_EQ(heavyComponentNames(lumped), QStringList{"C7+"});
    EXPECT_NEAR(heavyMoles(lumped), heavyMoles(copy), 1e-9);
    EXPECT_NEAR(totalMoles(lumped), 100, 1e-6);
    undoAndRedo(before, "lump");

    // Splitting, by the split sheet: the lumped fluid's C7+ by Katz's method up to C20, its moles kept.
    selectFluid(lumped);
    press("mSplitButton");
    SplitSheet* split = editor->sheets().splitSheet();
    QWidget* splitSheet = split->panel();
    ASSERT_TRUE(splitSheet->isVisible());
    split->methodPopup()->setCurrentIndex(code_number(SplitMethod::katz));
    split->lastCarbonNumberCombo()->setCurrentIndex(split->lastCarbonNumberCombo()->findText("20"));
    render(splitSheet, "step3_split_sheet.png");
    before = fluids->fluids().deepCopy();
    splitSheet->findChild<QPushButton*>("mSplitDoButton")->click();
    settle();
    EXPECT_FALSE(splitSheet->isVisible());
    ASSERT_EQ(fluids->fluids().size(), 4);
    EXPECT_EQ(editor->selectedFluidRow(), 3);
    const Dictionary splitFluid = fluids->fluids().at(3).toDictionary();
    EXPECT_EQ(splitFluid.stringValue("name"), "New - duplicated - lumped - Katz");
    EXPECT_GT(heavyComponentNames(splitFluid).size(), 10) << "single carbon numbers C7 to C20";
    EXPECT_NEAR(heavyMoles(splitFluid), heavyMoles(lumped), 1e-6);
    EXPECT_NEAR(totalMoles(splitFluid), 100, 1e-6);
    undoAndRedo(before, "split");
    selectFluid(splitFluid);
    EXPECT_EQ(editor->componentsView()->model()->rowCount(), splitFluid.arrayValue("components").size());
    render(window, "step3_fluid_model_reworked.png");

    // The generated fluid was never changed by the reworks of its copy.
    EXPECT_TRUE(fluids->fluids().at(0).toDictionary().isEqualTo(generatedAsMade));
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();

    fluidsFile = saveAs(fluids, "fluids.flu");
    const Array saved = fluids->fluids().deepCopy();
    close(fluids);
    auto* reopened = reopen<CFluidModelDataDocument>("onOpenFluidModelDocument:", fluidsFile);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->fluids().isEqualTo(saved));
    generatedFluid = reopened->fluids().at(0).toDictionary();
}

// ---- Step 4: envelopes, the first inclusion's isochore and a trapping line; saved ----

void InclusionWorkflow::step4PhaseDiagram()
{
    auto* diagram = newDocument<CPhaseDiagDocument>("onNewPhaseDiagDocument:");
    ASSERT_NE(diagram, nullptr);
    CPlotView* view = diagram->plotView();
    ASSERT_NE(view, nullptr);

    // "New Phase Envelope..." on the empty diagram brings the phase-diagram panel, attached
    // to the diagram, at its envelopes page.
    ASSERT_TRUE(chooseItem(contextMenuAt(view, kEmptyDiagram.x, kEmptyDiagram.y, "Plot"), "New Phase Envelope..."));
    CPhaseDiagPanel* panel = CPhaseDiagPanel::sharedPhaseDiagPanelCtroller();
    ASSERT_TRUE(panel->isWindowVisible());
    ASSERT_EQ(panel->document(), diagram);
    EXPECT_EQ(panel->selectedPageIdentifier(), CPhaseDiagPanel::kIsoplethsPage);
    const PhaseDiagIsoplethsPage::Controls& isoplethsUi = panel->isoplethsPage().controls();
    const PhaseDiagIsochorsPage::Controls& isochorsUi = panel->isochorsPage().controls();

    const double typedGases[] = {kLiquidInclusion.CO2.toDouble(), kLiquidInclusion.N2.toDouble(),
                                 kLiquidInclusion.H2S.toDouble()};

    // The alpha-beta fluids offer a typed fluid and the plot's marker, whose gases show in percent.
    clickTab(isoplethsUi.mModelTabView, PhaseDiagIsoplethsPage::kAlphaBetaFluidsTab);
    EXPECT_EQ(columnTexts(isoplethsUi.mAlphaBetaModelsView),
              (QStringList{PhaseDiagIsoplethsPage::kNewAlphaBetaFluid, marker.stringValue("name")}));
    clickRow(isoplethsUi.mAlphaBetaModelsView, 1);
    EXPECT_EQ(isoplethsUi.mAlphaEdit->text(), marker.stringValue("alpha"));
    EXPECT_EQ(isoplethsUi.mBetaEdit->text(), marker.stringValue("beta"));
    const QStringList gasTexts{isoplethsUi.mCO2Edit->text(), isoplethsUi.mN2Edit->text(),
                               isoplethsUi.mH2SEdit->text()};
    EXPECT_EQ(gasTexts, (QStringList{"5.00", "2.00", "1.00"})) << "the marker's gases in percent";

    // The envelope of the fluid typed as the alpha-beta panel showed the marker when the fluid
    // model was generated from it: alpha and beta to four decimals, the gases in percent.
    clickRow(isoplethsUi.mAlphaBetaModelsView, 0);
    const QList<QLineEdit*> modelFields{isoplethsUi.mAlphaEdit, isoplethsUi.mBetaEdit, isoplethsUi.mCO2Edit,
                                        isoplethsUi.mN2Edit, isoplethsUi.mH2SEdit};
    for (int i = 0; i < modelFields.size(); ++i)
        typeInto(modelFields[i], generatedFrom[i]);
    ASSERT_TRUE(isoplethsUi.mIsoplethCalcButton->isEnabled());
    alerts.clear();
    isoplethsUi.mIsoplethCalcButton->click();
    settle();
    ASSERT_EQ(diagram->phaseDiagrams().size(), 1u) << alerts.messages().join("|").toStdString();
    EXPECT_EQ(columnTexts(isoplethsUi.mAlphaBetaModelsView), QStringList{PhaseDiagIsoplethsPage::kNewAlphaBetaFluid})
        << "the marker, the typed fluid to the list's precision, is offered no more";

    // The generated fluid's envelope: the component fluids are those of the fluid-model document.
    clickTab(isoplethsUi.mModelTabView, PhaseDiagIsoplethsPage::kComponentFluidsTab);
    const QStringList reworked{"New - duplicated", "New - duplicated - lumped", "New - duplicated - lumped - Katz"};
    EXPECT_EQ(columnTexts(isoplethsUi.mFluidModelsView), QStringList{"New"} + reworked);
    for (const QString& name : reworked)
        EXPECT_LE(isoplethsUi.mFluidModelsView->fontMetrics().horizontalAdvance(name),
                  isoplethsUi.mFluidModelsView->columnWidth(0))
            << "the fluid's whole name shows: " << name.toStdString();
    clickRow(isoplethsUi.mFluidModelsView, 0);
    ASSERT_TRUE(isoplethsUi.mIsoplethCalcButton->isEnabled());
    isoplethsUi.mIsoplethCalcButton->click();
    settle();
    ASSERT_EQ(diagram->phaseDiagrams().size(), 2u) << alerts.messages().join("|").toStdString();
    EXPECT_FALSE(columnTexts(isoplethsUi.mFluidModelsView).contains("New"));
    EXPECT_EQ(isoplethsUi.mIsoplethsView->numberOfRows(), 2);
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();
    const PhaseDiagramPtr ofTyped = diagram->phaseDiagrams()[0];
    const PhaseDiagramPtr ofModel = diagram->phaseDiagrams()[1];
    const Dictionary typedFluid = ofTyped->thermoModel();
    EXPECT_EQ(typedFluid.stringValue("name"),
              QString::asprintf("AB %.3f %.3f %.1f %.1f %.1f", generatedFrom[0].toDouble(), generatedFrom[1].toDouble(),
                                typedGases[0], typedGases[1], typedGases[2]));
    for (int i = 0; const char* key : {"alpha", "beta", "CO2", "N2", "H2S"}) {
        const double typed = generatedFrom[i].toDouble() / (i < 2 ? 1 : 100);
        EXPECT_DOUBLE_EQ(typedFluid.doubleValue(key), typed) << key << ": the gases as fractions";
        ++i;
    }
    EXPECT_TRUE(ofModel->thermoModel().isEqualTo(generatedFluid));
    render(panel->window(), "step4_phase_diagram_panel_envelopes.png");

    // The generated fluid is the typed alpha-beta fluid written out component by
    // component, with the model's own critical constants: both envelopes are one.
    ASSERT_TRUE(ofTyped->liquidIsopleth() && ofModel->liquidIsopleth());
    ASSERT_TRUE(ofTyped->vapourIsopleth() && ofModel->vapourIsopleth());
    const auto criticalEnd = [](const CPhaseDiagram& d) { return d.liquidIsopleth()->points().back(); };
    EXPECT_NEAR(criticalEnd(*ofModel)->T() + 273.15, criticalEnd(*ofTyped)->T() + 273.15,
                kEnvelopeAgreement * (criticalEnd(*ofTyped)->T() + 273.15));
    EXPECT_NEAR(criticalEnd(*ofModel)->P(), criticalEnd(*ofTyped)->P(), kEnvelopeAgreement * criticalEnd(*ofTyped)->P());
    const auto samePoints = [](const auto& ofTypedBranch, const auto& ofModelBranch, const char* branch) {
        const std::vector<CurvePoint> markerPoints = temperaturePressure(ofTypedBranch);
        const std::vector<CurvePoint> modelPoints = temperaturePressure(ofModelBranch);
        ASSERT_EQ(modelPoints.size(), markerPoints.size()) << branch;
        for (size_t i = 0; i < markerPoints.size(); ++i) {
            const CurvePoint& m = markerPoints[i];
            EXPECT_NEAR(modelPoints[i].x + 273.15, m.x + 273.15, kEnvelopeAgreement * (m.x + 273.15)) << branch << " " << i;
            EXPECT_NEAR(modelPoints[i].y, m.y, kEnvelopeAgreement * m.y) << branch << " " << i;
        }
    };
    samePoints(*ofTyped->liquidIsopleth(), *ofModel->liquidIsopleth(), "bubble");
    samePoints(*ofTyped->vapourIsopleth(), *ofModel->vapourIsopleth(), "dew");

    // The marker sits on the first inclusion's curve at the pressure of that curve there,
    // which is its bubble pressure at Th: the liquid branch of the typed fluid, the marker's
    // to four decimals, passes there.
    const std::optional<double> bubbleAtTh =
        linearAt(temperaturePressure(*ofTyped->liquidIsopleth()), kLiquidInclusion.Th.toDouble());
    ASSERT_TRUE(bubbleAtTh);
    EXPECT_NEAR(*bubbleAtTh, marker.doubleValue("Ph"), 0.02 * marker.doubleValue("Ph"));

    // The isochore of the first inclusion on the typed fluid's diagram, from the isochores
    // page that "Isochors Panel..." on an envelope brings.
    const IsoplethPointPtr onBranch = ofTyped->liquidIsopleth()->points()[ofTyped->liquidIsopleth()->points().size() / 2];
    ASSERT_TRUE(chooseItem(contextMenuAt(view, onBranch->T(), onBranch->P(), "Isopleths"), "Isochors Panel..."));
    EXPECT_EQ(panel->selectedPageIdentifier(), CPhaseDiagPanel::kIsochorsPage);
    clickRow(isochorsUi.mIsoplethsView1, 0);
    ASSERT_EQ(panel->isochorsPage().selectedPhaseDiagram(), ofTyped);
    // The new-inclusion row, then the oil inclusions of the open inclusion-data document (a
    // typed fluid carries no inclusion of its own).
    CInclusionDataDocument* inclusions = openInclusions();
    ASSERT_NE(inclusions, nullptr);
    const Dictionary first = inclusions->getInclusions().at(0).toDictionary();
    EXPECT_EQ(columnTexts(isochorsUi.mInclusionsView),
              (QStringList{PhaseDiagIsochorsPage::kNewInclusion, kLiquidInclusion.name, kVapourInclusion.name}));
    clickRow(isochorsUi.mInclusionsView, 1);
    EXPECT_EQ(isochorsUi.mThEdit->text().toDouble(), first.doubleValue("Th"));
    EXPECT_TRUE(isochorsUi.mThEdit->isReadOnly());
    EXPECT_TRUE(isochorsUi.mLiquidRadio->isChecked());
    ASSERT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());
    alerts.clear();
    isochorsUi.mIsochorCalcButton->click();
    settle();
    ASSERT_EQ(ofTyped->monophasicIsochors().size(), 1u) << alerts.messages().join("|").toStdString();
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();
    // A complete calculation makes both parts of the isochore, the two-phase one below Th
    // and the one-phase one above, each the other's sister.
    ASSERT_EQ(ofTyped->biphasicIsochors().size(), 1u);
    const IsochorPtr isochore = ofTyped->monophasicIsochors().front();
    EXPECT_EQ(isochore->sister(), ofTyped->biphasicIsochors().front());
    EXPECT_EQ(ofTyped->biphasicIsochors().front()->sister(), isochore);
    EXPECT_EQ(isochore->Th(), first.doubleValue("Th"));
    EXPECT_TRUE(ofModel->monophasicIsochors().empty());
    EXPECT_EQ(isochorsUi.mIsochorsView->numberOfRows(), 1) << "the page lists the diagram's isochore";
    render(panel->window(), "step4_phase_diagram_panel_isochore.png");

    // Trapped where the aqueous inclusions homogenise: a right click on the isochore at that
    // temperature, "Set Th(Aq.) line". The trapping pressure is the isochore's own pressure
    // there, read off its points here.
    render(windowOf(diagram), "step4_phase_diagram_isochore.png");
    const std::vector<CurvePoint> isochorePoints = temperaturePressure(*isochore);
    const std::optional<double> atTrapping = quadraticAt(isochorePoints, kTrappingTemperature);
    ASSERT_TRUE(atTrapping);
    QMenu* menu = view->menuForEvent(QPointF(view->getXValue(kTrappingTemperature), view->getYValue(*atTrapping)));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->title(), "Isochors") << "the click hits the isochore";
    ASSERT_TRUE(menuAction(menu, "Set Th(Aq.) line"));
    menuAction(menu, "Set Th(Aq.) line")->trigger();
    settle();
    ASSERT_EQ(isochore->trappingLines().size(), 1u) << alerts.messages().join("|").toStdString();
    const TrappingLinePtr line = isochore->trappingLines().front();
    EXPECT_NEAR(line->trapCelsius(), kTrappingTemperature, kClickPrecision);
    const std::optional<double> onIsochore = quadraticAt(isochorePoints, line->trapCelsius());
    EXPECT_GT(line->Ptrap(), marker.doubleValue("Ph")) << "the one-phase isochore rises above Ph";
    EXPECT_NEAR(line->Ptrap(), *onIsochore, 1e-3 * *onIsochore);
    settle();
    render(windowOf(diagram), "step4_phase_diagram.png");

    diagramFile = saveAs(diagram, "diagram.ptd");
    const double savedPtrap = line->Ptrap();
    const size_t savedLiquidPoints = ofTyped->liquidIsopleth()->points().size();
    const std::vector<CurvePoint> savedIsochore = temperaturePressure(*isochore);
    close(diagram);

    auto* reopened = reopen<CPhaseDiagDocument>("onOpenPhaseDiagDocument:", diagramFile);
    ASSERT_NE(reopened, nullptr);
    ASSERT_EQ(reopened->phaseDiagrams().size(), 2u);
    const PhaseDiagramPtr back = reopened->phaseDiagrams()[0];
    EXPECT_EQ(back->liquidIsopleth()->points().size(), savedLiquidPoints);
    ASSERT_EQ(back->monophasicIsochors().size(), 1u);
    const IsochorPtr reopenedIsochore = back->monophasicIsochors().front();
    const std::vector<CurvePoint> reopenedPoints = temperaturePressure(*reopenedIsochore);
    ASSERT_EQ(reopenedPoints.size(), savedIsochore.size());
    for (size_t i = 0; i < reopenedPoints.size(); ++i) {
        EXPECT_EQ(reopenedPoints[i].x, savedIsochore[i].x) << i;
        EXPECT_EQ(reopenedPoints[i].y, savedIsochore[i].y) << i;
    }
    ASSERT_EQ(reopenedIsochore->trappingLines().size(), 1u);
    EXPECT_EQ(reopenedIsochore->trappingLines().front()->Ptrap(), savedPtrap);
    EXPECT_FALSE(reopened->isDocumentEdited());
    render(windowOf(reopened), "step4_phase_diagram_reopened.png");
}

// ---- Step 5: the inclusions as text, LaTeX (compiled) and HTML (parsed); a plot as PDF ----

void InclusionWorkflow::step5Exports()
{
    CInclusionDataDocument* inclusions = openInclusions();
    ASSERT_NE(inclusions, nullptr);
    QWidget* window = windowOf(inclusions);

    chooser.queuePath(path("inclusions"));
    ASSERT_TRUE(choose(window, "exportToASCII:"));
    const QString text = QString::fromUtf8(readBytes(path("inclusions.txt")));
    EXPECT_TRUE(text.contains("2 inclusions")) << text.toStdString();
    for (const TypedInclusion& typed : {kLiquidInclusion, kVapourInclusion})
        EXPECT_TRUE(text.contains("Volume data for " + typed.name)) << typed.name.toStdString();

    const QString latexFolder = path("latex");
    chooser.queuePath(latexFolder);
    ASSERT_TRUE(choose(window, "exportToLaTeX:"));
    ASSERT_TRUE(QFile::exists(latexFolder + "/latex.tex"));
    const ProcessResult latex =
        run("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "latex.tex"}, latexFolder);
    EXPECT_EQ(latex.exitCode, 0) << latex.output.right(2000).toStdString();
    EXPECT_TRUE(readBytes(latexFolder + "/latex.pdf").startsWith("%PDF-"));

    const QString page = path("inclusions.html");
    chooser.queuePath(page);
    ASSERT_TRUE(choose(window, "exportToHTML:"));
    const ProcessResult images = run("xmllint", {"--html", "--noout", "--xpath", "count(//img)", page}, path(""));
    EXPECT_EQ(images.exitCode, 0) << images.output.toStdString();
    EXPECT_TRUE(images.output.trimmed().startsWith("2")) << images.output.toStdString();
    const QString html = QString::fromUtf8(readBytes(page));
    for (const TypedInclusion& typed : {kLiquidInclusion, kVapourInclusion})
        EXPECT_TRUE(html.contains(typed.name)) << typed.name.toStdString();
    EXPECT_EQ(openedReports, (QStringList{latexFolder + "/latex.tex", page}));

    // The phase diagram's plot, by File > Print... and the print panel's Save as PDF.
    auto* diagram = dynamic_cast<CPhaseDiagDocument*>(controller->documentForFile(diagramFile));
    ASSERT_NE(diagram, nullptr);
    SaveAsPdfPrintPanel printPanel(path("diagram.pdf"));
    ASSERT_TRUE(choose(windowOf(diagram), "printDocument:"));
    EXPECT_EQ(printPanel.runs, 1);
    const QByteArray pdf = readBytes(path("diagram.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/"), 1) << "one page";
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();
}

// ---- Step 6: Quit with one unsaved document; Cancel keeps everything ----

void InclusionWorkflow::step6QuitWithUnsavedWork()
{
    CInclusionDataDocument* inclusions = openInclusions();
    ASSERT_NE(inclusions, nullptr);
    InclusionDataController* editor = inclusions->controller();
    editor->selectInclusionRow(0);
    typeInto(editor->field("comment"), "quartz, zone 2");
    ASSERT_TRUE(inclusions->isDocumentEdited());
    const QList<Document*> open = controller->documents();
    for (Document* document : open)
        if (document != inclusions) {
            ASSERT_FALSE(document->isDocumentEdited()) << document->displayName().toStdString();
        }

    alerts.clear();
    alerts.queueResponse(AlertResponse::Other);  // Cancel
    ASSERT_TRUE(choose(windowOf(inclusions), "terminate:"));
    ASSERT_EQ(alerts.alerts().size(), 1) << "one prompt, for the one unsaved document";
    EXPECT_TRUE(alerts.alerts()[0].message.contains("inclusions.inc")) << alerts.alerts()[0].message.toStdString();
    EXPECT_EQ(alerts.alerts()[0].otherButton, "Cancel");

    EXPECT_EQ(controller->documents(), open);
    EXPECT_TRUE(inclusions->isDocumentEdited());
    EXPECT_EQ(inclusions->getInclusions().at(0).toDictionary().stringValue("comment"), "quartz, zone 2");
    for (Document* document : open)
        EXPECT_TRUE(windowOf(document) && windowOf(document)->isVisible()) << document->displayName().toStdString();
    EXPECT_EQ(readBytes(inclusionsFile).isEmpty(), false);
    render(windowOf(inclusions), "step6_after_cancelled_quit.png");
}

TEST_F(InclusionWorkflow, FromMeasuredInclusionsToTheTrappingPressure)
{
    {
        SCOPED_TRACE("step 1: inclusion data");
        ASSERT_NO_FATAL_FAILURE(step1InclusionData());
    }
    {
        SCOPED_TRACE("step 2: alpha-beta curves and a marker");
        ASSERT_NO_FATAL_FAILURE(step2AlphaBetaCurves());
    }
    {
        SCOPED_TRACE("step 3: a fluid model from the marker");
        ASSERT_NO_FATAL_FAILURE(step3FluidModel());
    }
    {
        SCOPED_TRACE("step 4: phase diagram, isochore and trapping pressure");
        ASSERT_NO_FATAL_FAILURE(step4PhaseDiagram());
    }
    {
        SCOPED_TRACE("step 5: exports");
        ASSERT_NO_FATAL_FAILURE(step5Exports());
    }
    {
        SCOPED_TRACE("step 6: quit with unsaved work");
        ASSERT_NO_FATAL_FAILURE(step6QuitWithUnsavedWork());
    }
}

}  // namespace
