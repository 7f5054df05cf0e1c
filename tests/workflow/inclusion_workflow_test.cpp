// The whole inclusion workflow as a geologist runs it from the application's windows:
// two inclusions typed into the inclusion editor; their alpha-beta curves with a marker
// on the first; a fluid model generated from the marker and reworked in the fluid model
// editor; a phase diagram with both fluids' envelopes, the first inclusion's isochore and
// a trapping line; the reports and a plot as PDF; Quit with unsaved work. The real
// documents, windows and engine throughout. Every document is saved, closed and reopened
// by the File menu, and every step leaves a screenshot under the build tree.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CCQuorvelDocumentController.h"
#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "app/InclusionDataController.h"
#include "app/InclusionExports.h"
#include "app/ToolBarWindow.h"
#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "characterisation/Lumping.h"
#include "characterisation/SplittingMethods.h"
#include "editor/FluidModelController.h"
#include "panels/InstalledPanels.h"
#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/FileChooser.h"
#include "platform/PrintPanel.h"
#include "platform/Responder.h"
#include "platform/UndoManager.h"
#include "platform/WindowController.h"
#include "plot/CPlotView.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

using namespace quorvel;

namespace {

// The two inclusions of the workflow, as typed into the editor.
struct TypedInclusion
{
    QString name;
    QString Th, Fv, Tv;  // °C, %, °C
    int homogCell;       // 0 liquid, 1 gas
};
const TypedInclusion kLiquidInclusion{"FI-1 liquid", "100", "10", "20", 0};
const TypedInclusion kVapourInclusion{"FI-2 vapour", "80", "70", "20", 1};

// Temperature of aqueous homogenisation (°C) at which the first inclusion is trapped.
constexpr double kTrappingTemperature = 150;

// How far apart the envelopes of the model fluid and of its component copy may lie
// (relative pressure): they differ by their interaction parameters only.
constexpr double kInteractionTableEffect = 0.1;

// How close a click puts a temperature on the phase diagram (°C, well under a pixel).
constexpr double kClickPrecision = 0.01;

// Most turns the all-inclusions calculation may take; the real one takes a few hundred.
constexpr int kMaxCalculationTurns = 20000;

// Lets queued work run: undo groups close and deferred deletions happen.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

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

struct InclusionWorkflow : ::testing::Test
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;
    QStringList openedReports;
    std::unique_ptr<CCQuorvelDocumentController> controller;
    std::unique_ptr<ToolBarWindow> toolBar;

    // Carried from step to step.
    QString inclusionsFile, plotFile, fluidsFile, diagramFile;
    Array savedInclusions;
    Dictionary marker;
    Dictionary generatedFluid;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        installFluidModelEditor();
        installInspectorPanels();
        controller = std::make_unique<CCQuorvelDocumentController>();
        toolBar = std::make_unique<ToolBarWindow>(*controller);
        toolBar->show();
        controller->applicationDidFinishLaunching();
        InclusionExports::setReportOpener([this](const QString& path) { openedReports << path; });
        settle();
    }

    void TearDown() override
    {
        InclusionExports::setReportOpener(nullptr);
        for (Document* document : controller->documents()) {
            document->updateChangeCount(Document::ChangeCleared);
            document->close();
        }
        settle();
        toolBar.reset();
        controller.reset();
        settle();
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

    static void typeInclusion(InclusionDataController& editor, const TypedInclusion& inclusion)
    {
        typeInto(editor.field("name"), inclusion.name);
        typeInto(editor.field("Th"), inclusion.Th);
        typeInto(editor.field("Fv"), inclusion.Fv);
        typeInto(editor.field("Tv"), inclusion.Tv);
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
    ASSERT_NE(plot->plotView(), nullptr);
    CInclusionDataDocument* inclusions = openInclusions();
    ASSERT_NE(inclusions, nullptr);

    // The curves page's "all inclusions" run: its list holds a placeholder row, then the
    // inclusions of the open inclusion-data documents; the calculation panel turns the loop.
    Array list{Dictionary{{"name", "All inclusions"}}};
    for (const Value& inclusion : inclusions->getInclusions())
        list.append(inclusion.toDictionary().deepCopy());
    plot->prepareCalculation(list);
    int turns = 0;
    for (signed char code = kAlphaBetaStepPoint; code != kAlphaBetaStepDone && turns < kMaxCalculationTurns; ++turns) {
        double alpha = 0, beta = 0;
        code = plot->calculateAlphaBetaPoint1(&alpha, &beta);
        ASSERT_FALSE(turns == 0 && code != kAlphaBetaStepPoint) << alerts.messages().join("|").toStdString();
    }
    ASSERT_LT(turns, kMaxCalculationTurns) << "the calculation ends by itself";
    plot->onCalculationEnd();
    settle();
    EXPECT_TRUE(alerts.alerts().isEmpty()) << alerts.messages().join("|").toStdString();

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

    // A marker on the first curve, half way along it, as the curve's "Set a marker..." puts it.
    const Dictionary firstCurve = curves.at(0).toDictionary();
    const std::vector<CurvePoint> firstPoints = alphaBetaPoints(firstCurve);
    const auto [lowest, highest] = std::minmax_element(
        firstPoints.begin(), firstPoints.end(), [](const CurvePoint& a, const CurvePoint& b) { return a.x < b.x; });
    const double alpha = (lowest->x + highest->x) / 2;
    double pressure = 0;
    const double beta = plot->getBetaFromAlpha(firstCurve, alpha, &pressure);
    ASSERT_NE(beta, -1.0);
    marker = plot->setAlphaBetaMarker(alpha, beta, firstCurve.doubleValue("CO2"), firstCurve.doubleValue("N2"),
                                      firstCurve.doubleValue("H2S"), pressure, firstCurve);
    settle();
    ASSERT_EQ(plot->alphaBetaPoints().size(), 1);
    EXPECT_GT(marker.doubleValue("Ph"), 0) << "the pressure of the curve at the marker";
    render(windowOf(plot), "step2_alpha_beta_plot.png");

    plotFile = saveAs(plot, "curves.abp");
    const Array savedCurves = plot->alphaBetaCurves().deepCopy();
    close(plot);

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
    EXPECT_DOUBLE_EQ(marker.doubleValue("alpha"), alpha);
    EXPECT_FALSE(reopened->isDocumentEdited());
    render(windowOf(reopened), "step2_alpha_beta_plot_reopened.png");
}

// ---- Step 3: a fluid model generated from the marker, lumped and split with undo; saved ----

void InclusionWorkflow::step3FluidModel()
{
    auto* plot = dynamic_cast<CAlphaBetaPlotDocument*>(controller->documentForFile(plotFile));
    ASSERT_NE(plot, nullptr);
    plot->generateFluidModel(marker.doubleValue("alpha"), marker.doubleValue("beta"), marker.doubleValue("CO2") / 100,
                             marker.doubleValue("N2") / 100, marker.doubleValue("H2S") / 100);
    settle();
    auto* fluids = dynamic_cast<CFluidModelDataDocument*>(controller->documents().last());
    ASSERT_NE(fluids, nullptr);
    ASSERT_EQ(fluids->fluids().size(), 1);
    auto* editor = dynamic_cast<FluidModelController*>(fluids->windowControllers().front().get());
    ASSERT_NE(editor, nullptr) << "the fluid model editor is the document's window";
    QWidget* window = windowOf(fluids);
    ASSERT_TRUE(window->isVisible());
    ASSERT_EQ(editor->selectedFluidRow(), 0);
    generatedFluid = fluids->fluids().at(0).toDictionary();
    EXPECT_EQ(generatedFluid.arrayValue("components").size(), 17);
    const Dictionary generatedAsMade = generatedFluid.deepCopy();
    render(window, "step3_fluid_model_generated.png");

    // Each rework adds a fluid after its source, selected; Edit > Undo takes it away, Redo
    // brings the same record back.
    auto addAfterSelected = [&](const Dictionary& made) {
        const int row = editor->selectedFluidRow();
        fluids->fluids().insert(row + 1, made);
        editor->finishAddFluid(made, row + 1);
        settle();
    };
    auto undoAndRedo = [&](const Dictionary& made, const char* what) {
        SCOPED_TRACE(what);
        const int count = fluids->fluids().size();
        ASSERT_TRUE(choose(window, "undo:"));
        EXPECT_EQ(fluids->fluids().size(), count - 1);
        EXPECT_EQ(fluids->fluids().indexOf(made), -1);
        ASSERT_TRUE(choose(window, "redo:"));
        EXPECT_EQ(fluids->fluids().size(), count);
        EXPECT_GE(fluids->fluids().indexOf(made), 0);
    };

    // Lumping (the lump sheet's first scheme): every heavy fraction into one "C7+".
    editor->selectFluidRow(0);
    const Dictionary lumped = lumpFluidC7plus(editor->selectedFluid());
    addAfterSelected(lumped);
    ASSERT_EQ(fluids->fluids().size(), 2);
    EXPECT_EQ(editor->selectedFluidRow(), 1);
    EXPECT_EQ(lumped.stringValue("name"), "New - lumped");
    undoAndRedo(lumped, "lump");

    // Splitting the lumped fluid's C7+ (the split sheet's Katz method) up to C20.
    editor->selectFluidRow(fluids->fluids().indexOf(lumped));
    const Dictionary split = getKatzSplittedFluid(editor->selectedFluid(), 20, false, false);
    addAfterSelected(split);
    ASSERT_EQ(fluids->fluids().size(), 3);
    EXPECT_EQ(split.stringValue("name"), "New - lumped - Katz");
    EXPECT_GT(split.arrayValue("components").size(), lumped.arrayValue("components").size());
    undoAndRedo(split, "split");
    render(window, "step3_fluid_model_reworked.png");

    // The source fluid was never changed by its reworks.
    EXPECT_TRUE(generatedFluid.isEqualTo(generatedAsMade));

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
    ASSERT_NE(diagram->plotView(), nullptr);

    diagram->calculateImmiscibilityLoop(alphaBetaFluidFromMarker(marker));
    diagram->calculateImmiscibilityLoop(generatedFluid);
    settle();
    ASSERT_EQ(diagram->phaseDiagrams().size(), 2u) << alerts.messages().join("|").toStdString();
    const PhaseDiagramPtr ofMarker = diagram->phaseDiagrams()[0];
    const PhaseDiagramPtr ofModel = diagram->phaseDiagrams()[1];

    // The generated fluid is the marker's alpha-beta fluid written out component by
    // component, with the model's own critical constants. The model fluid calculates with
    // its built-in interaction table, a component fluid with the generalised correlation:
    // that alone keeps the two envelopes apart, by a few percent of pressure.
    ASSERT_TRUE(ofMarker->liquidIsopleth() && ofModel->liquidIsopleth());
    ASSERT_TRUE(ofMarker->vapourIsopleth() && ofModel->vapourIsopleth());
    const auto criticalEnd = [](const CPhaseDiagram& d) { return d.liquidIsopleth()->points().back(); };
    EXPECT_NEAR(criticalEnd(*ofModel)->T(), criticalEnd(*ofMarker)->T(), 0.01 * (criticalEnd(*ofMarker)->T() + 273.15));
    EXPECT_NEAR(criticalEnd(*ofModel)->P(), criticalEnd(*ofMarker)->P(), kInteractionTableEffect * criticalEnd(*ofMarker)->P());
    const std::vector<CurvePoint> modelBubble = temperaturePressure(*ofModel->liquidIsopleth());
    for (double T = kLiquidInclusion.Th.toDouble(); T < criticalEnd(*ofMarker)->T(); T += 50) {
        const std::optional<double> P = linearAt(temperaturePressure(*ofMarker->liquidIsopleth()), T);
        const std::optional<double> modelP = linearAt(modelBubble, T);
        ASSERT_TRUE(P && modelP) << T;
        EXPECT_NEAR(*modelP, *P, kInteractionTableEffect * *P) << "bubble pressure at " << T << " °C";
    }

    // The marker sits on the first inclusion's curve at the pressure of that curve there,
    // which is its bubble pressure at Th: the marker fluid's liquid branch passes there.
    const std::optional<double> bubbleAtTh =
        linearAt(temperaturePressure(*ofMarker->liquidIsopleth()), kLiquidInclusion.Th.toDouble());
    ASSERT_TRUE(bubbleAtTh);
    EXPECT_NEAR(*bubbleAtTh, marker.doubleValue("Ph"), 0.02 * marker.doubleValue("Ph"));

    // The isochore of the first inclusion on the marker fluid's diagram.
    CInclusionDataDocument* inclusions = openInclusions();
    ASSERT_NE(inclusions, nullptr);
    const Dictionary first = inclusions->getInclusions().at(0).toDictionary();
    IsochorPtr isochore;
    alerts.clear();
    const int code =
        diagram->calculateIsochor(ofMarker, first, first.doubleValue("Th"), 1, &isochore, 0);
    ASSERT_EQ(code, step_code::end_of_curve) << alerts.messages().join("|").toStdString();
    ASSERT_TRUE(isochore);
    EXPECT_TRUE(alerts.alerts().isEmpty());

    // Trapped where the aqueous inclusions homogenise: a right click on the isochore at that
    // temperature, "Set Th(Aq.) line". The trapping pressure is the isochore's own pressure
    // there, read off its points here.
    render(windowOf(diagram), "step4_phase_diagram_isochore.png");
    const std::vector<CurvePoint> isochorePoints = temperaturePressure(*isochore);
    const std::optional<double> atTrapping = quadraticAt(isochorePoints, kTrappingTemperature);
    ASSERT_TRUE(atTrapping);
    CPlotView* view = diagram->plotView();
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
    const size_t savedLiquidPoints = ofMarker->liquidIsopleth()->points().size();
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
