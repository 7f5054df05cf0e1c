// Every window and panel of the application on a laptop screen (1366 x 768): none is
// larger than the screen at its smallest, panels open inside the screen, new document
// windows cascade below the toolbar window, and Window > Show Toolbar brings the toolbar
// window back when it is hidden or covered. The program also runs on an X server under a
// window manager, where the frames and the screen are real.

#include "workflow/support/RunningApplication.h"

#include "app/CCQuorvelDocumentController.h"
#include "app/CInclusionDataDocument.h"
#include "app/InclusionDataController.h"
#include "app/ToolBarWindow.h"
#include "editor/FluidModelController.h"
#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaCurveNamePanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/CFluidPropertiesPanel.h"
#include "panels/CPhaseDiagPanel.h"
#include "panels/FloatingPanel.h"
#include "panels/InstalledPanels.h"
#include "panels/RecordTable.h"
#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/Responder.h"
#include "platform/WindowController.h"
#include "plot/CAxisRangeWindow.h"
#include "plot/CCurveSettingsWindow.h"
#include "plot/CPointSettingsWindow.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace quorvel;

namespace {

// A laptop screen, less what a window manager's frame takes around a window.
const QSize kLaptopScreen(1366, 768);
const QSize kFrameAllowance(2 * 4, 30 + 4);
constexpr int kCascadeStep = WindowController::kCascadeStep;

void settle()
{
    QCoreApplication::processEvents();
    QTest::qWait(20);
}

// Runs the event loop until `done` holds or two seconds have passed.
bool waitUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(10);
    return done();
}

QString nameOf(const QWidget* window)
{
    return window->objectName().isEmpty() ? QString::fromLatin1(window->metaObject()->className())
                                          : window->objectName();
}

// The smallest a window can be made: its own minimum, or its layout's.
QSize smallestSize(const QWidget* window)
{
    return window->minimumSize().expandedTo(window->minimumSizeHint());
}

// Whether the screen can hold the window whole: the offscreen platform's screen is smaller
// than a laptop's.
bool fitsOn(const QRect& available, const QWidget* window)
{
    const QSize needed = smallestSize(window) + kFrameAllowance;
    return needed.width() <= available.width() && needed.height() <= available.height();
}

struct ScreenFit : ::testing::Test, test::RunningApplication
{
    RecordingAlertService alerts;

    void SetUp() override
    {
        QSettings().remove(QStringLiteral("WindowFrames"));  // a new user's: no frame remembered
        start();
        settle();
    }

    void TearDown() override { stop(); }

    // File > New of a kind, from the toolbar window.
    QWidget* newDocumentWindow(const QString& action)
    {
        QAction item;
        setActionName(&item, action);
        const QList<Document*> before = controller->documents();
        EXPECT_TRUE(sendAction(&item, toolBar.get())) << action.toStdString();
        settle();
        for (const Document* document : controller->documents())
            if (!before.contains(document) && !document->windowControllers().empty())
                return document->windowControllers().front()->window();
        return nullptr;
    }

    void newDocumentOfEveryKind()
    {
        for (const char* action : {"onNewInclusionDataDocument:", "onNewFluidModelDocument:",
                                   "onNewPhaseDiagDocument:", "onNewAlphaBetaPlotDocument:"})
            EXPECT_NE(newDocumentWindow(QString::fromLatin1(action)), nullptr) << action;
    }
};

} // namespace

TEST_F(ScreenFit, EveryWindowAndPanelFitsALaptopScreen)
{
    newDocumentOfEveryKind();
    // The panels and the application's own windows, each made once.
    const QList<QWidget*> panels{CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->window(),
                                 CPhaseDiagPanel::sharedPhaseDiagPanelCtroller()->window(),
                                 CFluidPropertiesPanel::sharedFluidPropertiesPanel()->window(),
                                 CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller()->window(),
                                 CAlphaBetaCurveNamePanel::sharedAlphaBetaCurveNameCtroller()->window(),
                                 CLogWindow::sharedLogWindowCtroller()->window(),
                                 CAxisRangeWindow::sharedAxisRangeWindowCtroller()->window(),
                                 CCurveSettingsWindow::sharedCurvesSettingsCtroller()->window(),
                                 CPointSettingsWindow::sharedPointsSettingsCtroller()->window()};
    EXPECT_EQ(panels.count(nullptr), 0);

    const QSize largest = kLaptopScreen - kFrameAllowance;
    int windows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isWindow() || qobject_cast<QMenu*>(window) || window->windowType() == Qt::ToolTip)
            continue;
        ++windows;
        const QSize smallest = smallestSize(window);
        EXPECT_LE(smallest.width(), largest.width()) << nameOf(window).toStdString() << " is at least "
                                                     << smallest.width() << " wide";
        EXPECT_LE(smallest.height(), largest.height()) << nameOf(window).toStdString() << " is at least "
                                                       << smallest.height() << " high";
    }
    EXPECT_GE(windows, 4 + panels.size());
}

TEST_F(ScreenFit, NewDocumentWindowsCascadeBelowTheToolbarWindow)
{
    toolBar->activateWindow();
    ASSERT_TRUE(waitUntil([this] { return toolBar->isActiveWindow(); }));
    const QRect available = toolBar->screen()->availableGeometry();
    const QRect toolBarFrame = toolBar->frameGeometry();
    EXPECT_TRUE(available.contains(toolBarFrame)) << "the toolbar window's title is on screen";

    QList<QPoint> places;
    for (int i = 0; i < 3; ++i) {
        QWidget* window = newDocumentWindow(QStringLiteral("onNewInclusionDataDocument:"));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(waitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
        const QRect frame = window->frameGeometry();
        // Room for three windows a cascade step apart below the toolbar window; the offscreen
        // platform's screen is too small for it.
        const QRect room = available.adjusted(0, toolBarFrame.bottom() + 3 * kCascadeStep, -2 * kCascadeStep, 0);
        if (!fitsOn(room, window))
            continue;
        EXPECT_FALSE(frame.intersects(toolBarFrame)) << "window " << i << " covers the toolbar window";
        EXPECT_TRUE(available.contains(frame)) << "window " << i << " leaves the screen";
        EXPECT_FALSE(places.contains(frame.topLeft())) << "window " << i << " covers an earlier one exactly ";
        places << frame.topLeft();
    }
}

TEST_F(ScreenFit, FloatingPanelsBesideAWindowAtTheScreensEdgeStayOnScreen)
{
    QWidget* document = newDocumentWindow(QStringLiteral("onNewInclusionDataDocument:"));
    ASSERT_NE(document, nullptr);
    const QRect available = document->screen()->availableGeometry();
    const QList<QWidget*> panels{CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->window(),
                                 CPhaseDiagPanel::sharedPhaseDiagPanelCtroller()->window(),
                                 CFluidPropertiesPanel::sharedFluidPropertiesPanel()->window()};
    // A main window pushed against the right edge, its title bar just above the screen.
    document->move(available.right() - document->frameGeometry().width() / 2, available.top() - 20);
    for (QWidget* panel : panels) {
        placeBesideWindow(panel, document, 0);
        panel->show();
        ASSERT_TRUE(waitUntil([panel] { return panel->windowHandle() && panel->windowHandle()->isExposed(); }));
        if (!fitsOn(available, panel))
            continue;
        EXPECT_TRUE(available.contains(panel->frameGeometry()))
            << nameOf(panel).toStdString() << " at " << panel->frameGeometry().x() << ", "
            << panel->frameGeometry().y();
        panel->hide();
    }
}

TEST_F(ScreenFit, ShowToolbarBringsTheToolbarWindowBackWhenHiddenOrCovered)
{
    QWidget* document = newDocumentWindow(QStringLiteral("onNewFluidModelDocument:"));
    ASSERT_NE(document, nullptr);
    QAction showToolBar;
    setActionName(&showToolBar, QStringLiteral("onShowToolBarWindow:"));

    // Covered: the document's window in front of it, over it.
    document->move(toolBar->frameGeometry().topLeft());
    document->activateWindow();
    ASSERT_TRUE(waitUntil([document] { return document->isActiveWindow(); }));
    EXPECT_TRUE(validateMenuItem(&showToolBar, document));
    EXPECT_TRUE(sendAction(&showToolBar, document));
    EXPECT_TRUE(waitUntil([this] { return toolBar->isActiveWindow(); }));

    // Hidden.
    toolBar->hide();
    EXPECT_TRUE(validateMenuItem(&showToolBar, document));
    EXPECT_TRUE(sendAction(&showToolBar, document));
    EXPECT_TRUE(toolBar->isVisible());
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {  // which activates no window shown again
        EXPECT_TRUE(waitUntil([this] { return toolBar->isActiveWindow(); }));
    }
}

TEST_F(ScreenFit, TheEditorOnALaptopScreenAndATableOfLongNumbersReadWhole)
{
    // One folder per platform: the program runs offscreen and under a window manager at once.
    const QString folder = QDir(QCoreApplication::applicationDirPath())
                               .filePath(QStringLiteral("screen_fit_renders/") + QGuiApplication::platformName());
    ASSERT_TRUE(QDir().mkpath(folder));

    // The fluid model editor with one fluid, on the whole of a laptop screen.
    QWidget* editor = newDocumentWindow(QStringLiteral("onNewFluidModelDocument:"));
    ASSERT_NE(editor, nullptr);
    if (auto* add = editor->findChild<QPushButton*>(QStringLiteral("mFluidAddButton")))
        add->click();
    editor->resize(kLaptopScreen - kFrameAllowance);
    // A window manager answers the resize in its own time, later on a loaded machine.
    EXPECT_TRUE(waitUntil([editor] { return editor->size() == kLaptopScreen - kFrameAllowance; }))
        << editor->width() << " x " << editor->height();
    EXPECT_TRUE(editor->grab().save(folder + QStringLiteral("/fluid_model_editor_1366x768.png")));

    // A panel's list of curves whose values carry every digit of a double.
    const Array records{Dictionary{{"name", Value(QStringLiteral("New alpha-beta curve of FI-12 liquid"))},
                                   {"Th", Value(123.45678901234567)},
                                   {"alpha0", Value(0.8228254228150703)}},
                        Dictionary{{"name", Value(QStringLiteral("FI-3"))},
                                   {"Th", Value(87.9)},
                                   {"alpha0", Value(0.904814541123)}}};
    RecordTable table({{"name", QStringLiteral("Curve")}, {"Th", QStringLiteral("Th (\u00b0C)")},
                       {"alpha0", QStringLiteral("First alpha")}},
                      {[&] { return int(records.size()); },
                       [&](const QString& key, int row) { return recordCell(records, row, key); },
                       [](const Value&, const QString&, int) {}});
    table.resize(420, 120);
    table.show();
    settle();
    const QFontMetrics metrics(table.font());
    const QStringList expected{"New alpha-beta curve of FI-12 liquid", "123.46", "0.82283", "FI-3", "87.9", "0.90481"};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QModelIndex cell = table.model()->index(row, column);
            const QString text = cell.data(Qt::DisplayRole).toString();
            EXPECT_EQ(text, expected[row * 3 + column]);
            // The whole text within its column, beside the cell's margins.
            EXPECT_GE(table.columnWidth(column), metrics.horizontalAdvance(text) + 2 * 3) << text.toStdString();
        }
    }
    EXPECT_EQ(table.model()->index(0, 2).data(Qt::ToolTipRole).toString(), "0.8228254228150703");
    EXPECT_EQ(table.model()->index(0, 2).data(Qt::EditRole).toString(), "0.8228254228150703");
    EXPECT_TRUE(table.grab().save(folder + QStringLiteral("/table_of_long_numbers.png")));
}
