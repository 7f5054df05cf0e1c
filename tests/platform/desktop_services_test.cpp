#include "platform/AlertService.h"
#include "platform/FileChooser.h"
#include "platform/KeyedArchiver.h"
#include "platform/MainWindowTracker.h"
#include "platform/ModalSession.h"
#include "platform/NotificationCenter.h"
#include "platform/Pasteboard.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace quorvel;

TEST(Alerts, GoThroughTheInstalledServiceAndAnswerWithTheButtonPressed)
{
    RecordingAlertService alerts;
    showAlert("Th is too low !");
    showTitledAlert("Alert", "Cannot find the file of iso-GOR curves !");
    showCriticalAlert("An experimental (P-T) saturation point is required.", "Provide these data");
    alerts.queueResponse(AlertResponse::Alternate);
    const AlertResponse answer = confirm("", "Do you confirm this model change ?", "OK", "Cancel");

    EXPECT_EQ(answer, AlertResponse::Alternate);
    EXPECT_EQ(confirm("", "Again ?", "OK", "Cancel"), AlertResponse::Default) << "default when nothing is queued";
    ASSERT_EQ(alerts.alerts().size(), 5);
    EXPECT_TRUE(alerts.alerts()[0].title.isEmpty());
    EXPECT_EQ(alerts.alerts()[1].title, "Alert");
    EXPECT_EQ(alerts.alerts()[2].style, Alert::Style::Critical);
    EXPECT_EQ(alerts.alerts()[3].alternateButton, "Cancel");

    {
        RecordingAlertService inner;
        showAlert("inner");
        EXPECT_EQ(inner.messages(), QStringList({"inner"}));
    }
    showAlert("outer again");
    EXPECT_EQ(alerts.messages().last(), "outer again") << "the previous service is back";
}

TEST(FileChoosers, PresetPathsAnswerInOrderThenCancel)
{
    PresetFileChooser chooser;
    chooser.queuePath("/home/user/a.flu");
    EXPECT_EQ(FileChooser::current().chooseFileToOpen("Open", {"flu"}), "/home/user/a.flu");
    EXPECT_TRUE(FileChooser::current().chooseFileToSave("Save", "plot.pdf", {"pdf"}).isEmpty());
    ASSERT_EQ(chooser.requests().size(), 2);
    EXPECT_EQ(chooser.requests()[0].extensions, QStringList({"flu"}));
    EXPECT_EQ(chooser.requests()[1].proposedName, "plot.pdf");
}

TEST(UserDefaults, ReadsBooleansAndArchivedColours)
{
    QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QCoreApplication::setOrganizationName("QuorvelTest");
    QCoreApplication::setApplicationName("UserDefaultsTest");

    EXPECT_FALSE(UserDefaults::debugMode());
    EXPECT_FALSE(UserDefaults::backColorPlotArea());
    {
        QSettings settings;
        settings.setValue("debugMode", "YES");
        settings.setValue("backColorPlotArea", KeyedArchiver::archivedData(Color::fromWhite(0.9)));
        settings.setValue("backColorMarginArea", QByteArray("not an archive"));
    }
    EXPECT_TRUE(UserDefaults::debugMode());
    EXPECT_EQ(UserDefaults::backColorPlotArea(), Color::fromWhite(0.9));
    EXPECT_FALSE(UserDefaults::backColorMarginArea()) << "an unreadable value counts as absent";

    QSettings().setValue("debugMode", false);
    EXPECT_FALSE(UserDefaults::debugMode());
}

TEST(Pasteboard, CarriesArchivedFluidRecordsAsNewMutableRecords)
{
    Dictionary fluid;
    fluid.setValue("name", "Oil");
    fluid.setValue("components", Array{Dictionary()});
    ASSERT_TRUE(Pasteboard::setArchivedValue(Pasteboard::fluidsDataType, Array{fluid}));
    ASSERT_TRUE(Pasteboard::hasType(Pasteboard::fluidsDataType));

    QString error;
    const Array pasted = Pasteboard::archivedValue(Pasteboard::fluidsDataType, &error).toArray();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(pasted.size(), 1);
    Dictionary copy = pasted.at(0).toDictionary();
    EXPECT_NE(copy, fluid);
    EXPECT_TRUE(copy.isEqualTo(fluid));
    copy.arrayValue("components").append(Dictionary());
    EXPECT_EQ(fluid.arrayValue("components").size(), 1);

    Pasteboard::setData(Pasteboard::fluidsDataType, "garbage");
    EXPECT_TRUE(Pasteboard::archivedValue(Pasteboard::fluidsDataType, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    Pasteboard::clear();
    EXPECT_TRUE(Pasteboard::archivedValue(Pasteboard::fluidsDataType, &error).isNull());
    EXPECT_TRUE(error.isEmpty()) << "nothing to paste is no error";
}

TEST(ModalSession, TurnsContinueUntilStoppedAndTheWindowGetsItsModalityBack)
{
    QWidget panel;
    {
        ModalSession session(&panel);
        EXPECT_TRUE(panel.isVisible());
        EXPECT_EQ(panel.windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(ModalSession::current(), &session);

        // The calculation loop: one step per turn until the Stop button acts.
        EXPECT_EQ(session.runOnce(), ModalResponse::Continue);
        QTimer::singleShot(0, [] { ModalSession::stopCurrent(); });
        EXPECT_EQ(session.runOnce(), ModalResponse::Stop);
        EXPECT_EQ(session.runOnce(), ModalResponse::Stop);
    }
    EXPECT_EQ(ModalSession::current(), nullptr);
    EXPECT_TRUE(panel.isVisible());
    panel.hide();
    EXPECT_EQ(panel.windowModality(), Qt::NonModal) << "given back once the window is hidden";

    // A settings panel: runs until its OK button stops it.
    ModalSession settings(&panel);
    QTimer::singleShot(0, [&] { settings.stop(ModalResponse{7}); });
    EXPECT_EQ(settings.run(), ModalResponse{7});

    // A session whose window has been closed does not run on.
    ModalSession closed(&panel);
    panel.close();
    EXPECT_EQ(closed.run(), ModalResponse::Abort);
}

namespace {
// Counts a window's show and hide events, and whether it was modal when shown.
class ShowHideCounter : public QObject
{
public:
    explicit ShowHideCounter(QWidget& window) { window.installEventFilter(this); }
    int shows = 0;
    int hides = 0;
    bool modalWhenShown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++shows;
            modalWhenShown = static_cast<QWidget*>(watched)->windowModality() == Qt::ApplicationModal;
        }
        hides += event->type() == QEvent::Hide;
        return false;
    }
};
}  // namespace

TEST(ModalSession, ShowsItsWindowOnceModalFromTheStartAndNeverHidesIt)
{
    QWidget hidden;
    ShowHideCounter hiddenEvents(hidden);
    {
        ModalSession session(&hidden);
        EXPECT_EQ(hiddenEvents.shows, 1);
        EXPECT_EQ(hiddenEvents.hides, 0);
        EXPECT_TRUE(hiddenEvents.modalWhenShown);
        EXPECT_EQ(QGuiApplication::modalWindow(), hidden.windowHandle());
        hidden.close();
    }
    EXPECT_EQ(hidden.windowModality(), Qt::NonModal);
    EXPECT_EQ(QGuiApplication::modalWindow(), nullptr);

    // A window already on screen stays there, as it was shown.
    QWidget shown;
    shown.show();
    ShowHideCounter shownEvents(shown);
    {
        ModalSession session(&shown);
        EXPECT_EQ(shownEvents.hides, 0);
        EXPECT_TRUE(shown.isVisible());
        QTimer::singleShot(0, [&] { session.stop(); });
        EXPECT_EQ(session.run(), ModalResponse::Stop);
    }
    EXPECT_EQ(shownEvents.hides, 0);
    EXPECT_EQ(shown.windowModality(), Qt::NonModal);
}

TEST(MainWindowTracker, DocumentWindowsBecomeMainPanelsDoNot)
{
    MainWindowTracker& tracker = MainWindowTracker::instance();
    QStringList log;
    QWidget first;
    QWidget second;
    QWidget panel(nullptr, Qt::Tool);
    QWidget floating;
    MainWindowTracker::setFloatingPanel(&floating);
    auto nameOf = [&](QObject* object) {
        return object == &first ? "first" : object == &second ? "second" : object == &panel ? "panel" : "other";
    };
    QObject observer;
    for (const QString& name : {WindowDidBecomeMainNotification, WindowDidResignMainNotification, WindowWillCloseNotification})
        NotificationCenter::defaultCenter().addObserver(name, &observer, [&](const Notification& n) {
            log << n.name.mid(8) + " " + nameOf(n.object);
        });

    for (QWidget* w : {&first, &second, &panel, &floating})
        w->show();
    QCoreApplication::processEvents();
    auto activate = [](QWidget& window) {  // through the platform's events
        window.activateWindow();
        QCoreApplication::processEvents();
    };
    activate(first);
    log.clear();
    activate(panel);
    activate(floating);
    EXPECT_EQ(tracker.mainWindow(), &first) << "panels leave the main window as it is";
    activate(second);
    EXPECT_EQ(log.join(" | "), "DidResignMainNotification first | DidBecomeMainNotification second");

    log.clear();
    second.close();
    panel.close();
    EXPECT_EQ(log.join(" | "),
              "WillCloseNotification second | DidResignMainNotification second | WillCloseNotification panel");
    EXPECT_EQ(tracker.mainWindow(), nullptr);
}
