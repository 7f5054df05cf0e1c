#pragma once
// Shared pieces of the application tests: a temporary folder per test, a document
// controller with the application's types, and recording fakes of the panels and editor.

#include "app/CCQuorvelDocumentController.h"
#include "app/Ports.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"
#include "platform/PrintPanel.h"
#include "platform/Responder.h"
#include "platform/WindowController.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace quorvel::test {

// Lets queued work run: undo groups close and deferred deletions happen.
inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A menu item of the window's menu bar, found by its action.
inline QAction* menuItem(QWidget* window, const QString& action)
{
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* menu : bar->actions())
            for (QAction* item : menu->menu()->actions())
                if (actionNameOf(item) == action)
                    return item;
    return nullptr;
}

// The print panel: answers OK with the printer writing a PDF file (or Cancel when told),
// and counts its runs. Installs itself while it lives.
class PdfPrintPanel : public PrintPanel
{
public:
    explicit PdfPrintPanel(const QString& pdfPath) : pdfPath(pdfPath) { setCurrent(this); }
    ~PdfPrintPanel() override { setCurrent(nullptr); }

    bool runModal(QPrinter& printer, QWidget*) override
    {
        ++runs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return !cancel;
    }

    QString pdfPath;
    bool cancel = false;
    int runs = 0;
};

// The panels: every call recorded by name.
class RecordingPanels : public InspectorPanels
{
public:
    RecordingPanels() { install(this); }
    ~RecordingPanels() override { install(nullptr); }

    void showAlphaBetaPanel(QObject*) override { calls << "showAlphaBetaPanel"; }
    bool isAlphaBetaPanelVisible() const override { return alphaBetaVisible; }
    AlphaBetaPanelPage alphaBetaSelectedPage() const override { return AlphaBetaPanelPage::Curves; }
    void selectAlphaBetaPage(AlphaBetaPanelPage page) override
    {
        calls << QStringLiteral("selectAlphaBetaPage %1").arg(static_cast<int>(page));
    }
    void showPhaseDiagPanel(QObject*) override { calls << "showPhaseDiagPanel"; }
    bool isPhaseDiagPanelVisible() const override { return phaseDiagVisible; }
    std::optional<PhaseDiagPanelPage> phaseDiagSelectedPage() const override { return phaseDiagPage; }
    void selectPhaseDiagPage(PhaseDiagPanelPage page) override
    {
        calls << QStringLiteral("selectPhaseDiagPage %1").arg(static_cast<int>(page));
    }
    void showAqueousHomogLine(const Value& isochore, double temperature) override
    {
        calls << "showAqueousHomogLine";
        aqueousIsochore = isochore;
        aqueousTemperature = temperature;
    }
    QString askCurveName(const QString& proposed) override
    {
        calls << "askCurveName";
        proposedCurveNames << proposed;
        return curveNameAnswer.isEmpty() ? proposed : curveNameAnswer;
    }
    void showFluidPropertiesPanel(QObject*) override { calls << "showFluidPropertiesPanel"; }

    QStringList calls;
    bool alphaBetaVisible = false;
    bool phaseDiagVisible = false;
    PhaseDiagPanelPage phaseDiagPage = PhaseDiagPanelPage::Isopleths;
    Value aqueousIsochore;
    double aqueousTemperature = 0;
    QStringList proposedCurveNames;
    QString curveNameAnswer;  // empty: the proposed name is kept
};

// The fluid model editor: a plain window that records the fluid lists it is given.
class RecordingFluidEditor : public WindowController, public FluidModelEditor
{
public:
    void setFluids(const Array& fluids) override { given.append(fluids); }
    void finishGenerateAlphaBetaFluid() override { ++finished; }
    QList<Array> given;
    int finished = 0;

protected:
    QWidget* makeWindow() override { return new QWidget; }
};

class RecordingEditorFactory : public FluidModelEditorFactory
{
public:
    RecordingEditorFactory() { install(this); }
    ~RecordingEditorFactory() override { install(nullptr); }
    std::unique_ptr<WindowController> makeFluidModelController() override
    {
        auto editor = std::make_unique<RecordingFluidEditor>();
        made.append(editor.get());
        return editor;
    }
    QList<RecordingFluidEditor*> made;
};

// The root keys of a keyed-archive file, read by Python's own property-list reader.
inline QSet<QString> archiveRootKeys(const QString& file)
{
    QProcess python;
    python.start("python3", {"-c",
                             "import plistlib,sys\n"
                             "d=plistlib.load(open(sys.argv[1],'rb'))\n"
                             "print(','.join(d['$top'].keys()))",
                             file});
    python.waitForFinished();
    const QStringList roots = QString::fromUtf8(python.readAllStandardOutput()).trimmed().split(',');
    return QSet<QString>(roots.begin(), roots.end());
}

// Records the names of the notifications of the given names, in the order posted.
struct PostedNotifications
{
    QStringList names;
    QList<NotificationCenter::ObserverId> ids;
    explicit PostedNotifications(const QStringList& observed)
    {
        for (const QString& name : observed)
            ids << NotificationCenter::defaultCenter().addObserver(
                name, nullptr, [this](const Notification& n) { names << n.name; });
    }
    ~PostedNotifications()
    {
        for (auto id : ids)
            NotificationCenter::defaultCenter().removeObserver(id);
    }
    int count(const QString& name) const { return int(names.count(name)); }
};

// Everything a document test needs: a folder, the controller, the alert and chooser fakes.
struct AppFixture
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;
    std::unique_ptr<CCQuorvelDocumentController> controller = std::make_unique<CCQuorvelDocumentController>();

    QString path(const QString& name) const { return dir.filePath(name); }
    // A listed untitled document of the type with its window shown, so that records are drawn.
    template <class PlotDocument>
    PlotDocument* shownDocumentOfType(const QString& type)
    {
        std::unique_ptr<Document> made = controller->makeUntitledDocumentOfType(type);
        auto* document = dynamic_cast<PlotDocument*>(made.get());
        controller->addDocument(std::move(made));
        document->makeWindowControllers();
        document->showWindows();
        settle();
        return document;
    }
    ~AppFixture()
    {
        controller.reset();
        settle();
    }
};

}  // namespace quorvel::test
