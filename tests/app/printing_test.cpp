// Printing of the documents: the Print item's validation for each kind of document, and
// what a print through the print panel writes (a PDF file in the test's own folder).

#include "support/AppTestSupport.h"

#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionDataController.h"
#include "app/PlotPrinting.h"
#include "platform/PrintPanel.h"
#include "platform/Responder.h"
#include "plot/CPlotView.h"
#include "plot/PlotViewProvider.h"

#include <QAction>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kPrint = QStringLiteral("printDocument:");

// The number of page objects of a PDF file; -1 when the file is not a PDF.
int pdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray data = file.readAll();
    if (!data.startsWith("%PDF-"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(data).count(page));
}

struct Printing : ::testing::Test, AppFixture
{
    RecordingPanels panels;

    template <class DocumentClass>
    DocumentClass* newDocument(const QString& command)
    {
        controller->performAction(command, nullptr);
        settle();
        return dynamic_cast<DocumentClass*>(controller->documents().last());
    }
};

TEST_F(Printing, InclusionDataPrintsItsEditorWindowOnOnePage)
{
    auto* document = newDocument<CInclusionDataDocument>("onNewInclusionDataDocument:");
    ASSERT_NE(document, nullptr);
    QWidget* window = document->controller()->window();
    QAction* print = menuItem(window, kPrint);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(targetForAction(kPrint, window), document);
    EXPECT_TRUE(validateMenuItem(print, window));

    const int changes = document->changeCount();
    PdfPrintPanel panel(path("inclusions.pdf"));
    EXPECT_TRUE(sendAction(print, window));
    EXPECT_EQ(panel.runs, 1);
    EXPECT_EQ(pdfPageCount(panel.pdfPath), 1);
    EXPECT_GT(QFileInfo(panel.pdfPath).size(), 1000) << "the window is drawn, not an empty page";
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_EQ(document->changeCount(), changes) << "printing changes nothing";

    // The page as drawn, for a look: the editor's contents on an A4 page, without the menus.
    QImage page(595, 842, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        drawWidgetOnOnePage(painter, *qobject_cast<QMainWindow*>(window)->centralWidget());
    }
    QDir().mkpath("renders");
    EXPECT_TRUE(page.save("renders/print_inclusions.png"));
}

TEST_F(Printing, CancelWritesNothingAndAnUnwritablePrinterIsReportedOnce)
{
    auto* document = newDocument<CInclusionDataDocument>("onNewInclusionDataDocument:");
    ASSERT_NE(document, nullptr);

    PdfPrintPanel cancelled(path("cancelled.pdf"));
    cancelled.cancel = true;
    document->performAction(kPrint, nullptr);
    EXPECT_EQ(cancelled.runs, 1);
    EXPECT_FALSE(QFileInfo::exists(cancelled.pdfPath));
    EXPECT_TRUE(alerts.alerts().isEmpty());

    PdfPrintPanel unwritable(path("no such folder/out.pdf"));
    document->performAction(kPrint, nullptr);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts().front().message.contains(document->displayName()));
    EXPECT_FALSE(QFileInfo::exists(unwritable.pdfPath));
}

TEST_F(Printing, FluidModelPrintsOnlyWithItsEditorWindow)
{
    QAction item;
    {
        // Without the fluid model editor the document has no window: nothing to print.
        auto* bare = newDocument<CFluidModelDataDocument>("onNewFluidModelDocument:");
        ASSERT_NE(bare, nullptr);
        EXPECT_FALSE(bare->validateAction(kPrint, &item));
    }

    RecordingEditorFactory editors;
    auto* document = newDocument<CFluidModelDataDocument>("onNewFluidModelDocument:");
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(editors.made.size(), 1);
    EXPECT_TRUE(document->validateAction(kPrint, &item));
    editors.made.front()->window()->resize(400, 300);

    PdfPrintPanel panel(path("fluids.pdf"));
    document->performAction(kPrint, nullptr);
    EXPECT_EQ(panel.runs, 1);
    EXPECT_EQ(pdfPageCount(panel.pdfPath), 1);
}

TEST_F(Printing, PlotDocumentsPrintTheirViewAndTheSplashCannotPrint)
{
    QAction item;
    for (const QString& command : {QStringLiteral("onNewAlphaBetaPlotDocument:"), QStringLiteral("onNewPhaseDiagDocument:")}) {
        SCOPED_TRACE(command.toStdString());
        Document* plot = newDocument<Document>(command);
        ASSERT_NE(plot, nullptr);
        EXPECT_TRUE(plot->validateAction(kPrint, &item));
        PdfPrintPanel panel(path(plot->fileType() + ".pdf"));
        plot->performAction(kPrint, nullptr);
        EXPECT_EQ(panel.runs, 1);
        EXPECT_EQ(pdfPageCount(panel.pdfPath), 1);
    }

    // The splash window: nobody along its chain prints, so its Print item is disabled.
    Document* splash = nullptr;
    {
        std::unique_ptr<Document> made = controller->makeUntitledDocumentOfType(DocumentTypes::SplashWindow);
        splash = made.get();
        controller->addDocument(std::move(made));
        splash->makeWindowControllers();
        splash->showWindows();
    }
    QWidget* window = splash->windowControllers().front()->window();
    QAction* print = menuItem(window, kPrint);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(targetForAction(kPrint, window), nullptr);
    EXPECT_FALSE(validateMenuItem(print, window));
    PdfPrintPanel panel(path("splash.pdf"));
    EXPECT_FALSE(sendAction(print, window));
    EXPECT_EQ(panel.runs, 0);
}

TEST_F(Printing, APrintedPlotLeavesOutTheSelectionCross)
{
    Document* plot = newDocument<Document>("onNewPhaseDiagDocument:");
    auto* provider = dynamic_cast<PlotViewProvider*>(plot);
    ASSERT_NE(provider, nullptr);
    CPlotView& view = *provider->plotView();
    view.setSelectedPoint(150, 250);
    const auto page = [&view](bool cross) {
        view.showSelectionPoint(cross);
        QImage image(800, 600, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawPlotViewOnPage(painter, view);
        return image;
    };
    EXPECT_EQ(page(true), page(false));
}

}  // namespace
