#include "platform/NotificationCenter.h"

#include <QObject>

#include <gtest/gtest.h>

#include <memory>

using namespace quorvel;

namespace {

class NotificationCenterTest : public testing::Test
{
protected:
    NotificationCenter center;  // a private centre per test
    QStringList log;
    QObject document;
    QObject panel;
};

}  // namespace

TEST_F(NotificationCenterTest, DeliversInRegistrationOrderToObserversOfTheName)
{
    center.addObserver("PTPlotModified", &panel, [&](const Notification& n) {
        log << "panel:" + n.name + ":" + (n.object == &document ? "document" : "other");
    });
    center.addObserver("AlphaBetaPlotModified", &panel, [&](const Notification&) { log << "wrong name"; });
    center.addObserver("PTPlotModified", nullptr, [&](const Notification&) { log << "second"; });

    center.postNotification("PTPlotModified", &document);
    center.postNotification("PTPlotModified");  // any sender, even none
    EXPECT_EQ(log, QStringList({"panel:PTPlotModified:document", "second", "panel:PTPlotModified:other", "second"}));
}

TEST_F(NotificationCenterTest, ObserversRemovedDuringDeliveryAreNotCalledAndNewOnesWaitForTheNext)
{
    NotificationCenter::ObserverId second = 0;
    NotificationCenter::ObserverId first = center.addObserver("PlotSelection", nullptr, [&](const Notification&) {
        log << "first";
        center.removeObserver(first);   // itself
        center.removeObserver(second);  // a later one
        center.addObserver("PlotSelection", nullptr, [&](const Notification&) { log << "added"; });
    });
    second = center.addObserver("PlotSelection", nullptr, [&](const Notification&) { log << "second"; });
    center.addObserver("PlotSelection", nullptr, [&](const Notification&) { log << "third"; });

    center.postNotification("PlotSelection");
    EXPECT_EQ(log, QStringList({"first", "third"}));
    log.clear();
    center.postNotification("PlotSelection");
    EXPECT_EQ(log, QStringList({"third", "added"}));
}

TEST_F(NotificationCenterTest, NestedPostsAndOwnersGoingAway)
{
    auto owner = std::make_unique<QObject>();
    center.addObserver("RefreshFluidPropPanel", owner.get(), [&](const Notification&) { log << "refresh"; });
    center.addObserver("FluidModelDataDocModified", &panel, [&](const Notification&) {
        log << "modified";
        center.postNotification("RefreshFluidPropPanel");
    });
    center.addObserver("FluidModelDataDocModified", &panel, [&](const Notification&) { log << "after"; });

    center.postNotification("FluidModelDataDocModified", &document);
    EXPECT_EQ(log, QStringList({"modified", "refresh", "after"}));

    log.clear();
    owner.reset();  // its observation ends with it
    center.removeObserver(&panel, "FluidModelDataDocModified");
    center.postNotification("FluidModelDataDocModified");
    center.postNotification("RefreshFluidPropPanel");
    EXPECT_TRUE(log.isEmpty());
}
