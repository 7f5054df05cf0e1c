// The calculation panel's two modal loops driven by a scripted document, and the
// curve-name prompt.

#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaCurveNamePanel.h"

#include "platform/ModalSession.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace quorvel {
namespace {

// A step's code as the script gives it: 0 a point, 1 a turn without one, -1 the end.
struct ScriptStep
{
    signed char code;
    double alpha = 0, beta = 0;
    QString name = {};  // the curve's name from this step on (none: unchanged)
};

// Plays its steps in order (both kinds of step alike), then ends (-1); runs a hook after step n.
class ScriptedCalculation : public AlphaBetaCalculation
{
public:
    explicit ScriptedCalculation(std::deque<ScriptStep> steps) : mSteps(std::move(steps)) {}
    AlphaBetaTurn calculateAlphaBetaPoint(double* alpha, double* beta) override { return turnOf(step(alpha, beta)); }
    AlphaBetaTurn calculateAlphaBetaPoint1(double* alpha, double* beta) override { return turnOf(step(alpha, beta)); }
    QString getCurveName() const override { return mName; }

    int stepsTaken = 0;
    int hookAfterStep = -1;
    std::function<void()> hook;

private:
    static AlphaBetaTurn turnOf(signed char code)
    {
        switch (code) {
        case 0: return AlphaBetaTurn::point;
        case -1: return AlphaBetaTurn::done;
        default: return AlphaBetaTurn::retry;
        }
    }
    signed char step(double* alpha, double* beta)
    {
        ++stepsTaken;
        ScriptStep next{-1};
        if (!mSteps.empty()) {
            next = mSteps.front();
            mSteps.pop_front();
        }
        if (!next.name.isEmpty())
            mName = next.name;
        if (next.code == 0 && !(next.alpha < 0))  // a negative alpha: a point-less 0 (a curve closed)
            *alpha = next.alpha, *beta = next.beta;
        if (stepsTaken == hookAfterStep && hook)
            hook();
        return next.code;
    }
    std::deque<ScriptStep> mSteps;
    QString mName;
};

struct CalcRun
{
    CAlphaBetaCalcPanel panel;
    std::shared_ptr<ScriptedCalculation> calculation;
    int ends = 0;
    explicit CalcRun(std::deque<ScriptStep> steps) : calculation(std::make_shared<ScriptedCalculation>(std::move(steps)))
    {
        panel.setCalculation(calculation);
        QObject::connect(&panel, &CAlphaBetaCalcPanel::calculationEnded, [this] { ++ends; });
    }
    // The run is over: one end, no session left open, the panel closed.
    void expectEnded()
    {
        EXPECT_EQ(ends, 1);
        EXPECT_FALSE(panel.isRunning());
        EXPECT_EQ(ModalSession::current(), nullptr);
        EXPECT_FALSE(panel.window()->isVisible());
    }
};

TEST(AlphaBetaCalcPanelTest, SingleCurveLoopShowsEachPointAndCountsThePointsAfterTheFirst)
{
    struct Case
    {
        const char* label;
        std::deque<ScriptStep> steps;
        QString message;  // empty: the message is never written
        int bar;          // -1: the bar is never set
        int steps_taken;
    };
    const std::vector<Case> cases{
        {"two points", {{0, 0.1, 0.0}, {0, 0.25, 0.125}, {-1}}, "Alpha : 0.250, Beta : 0.125", 1, 3},
        {"first step 1", {{1}}, "", -1, 1},
        {"first step -1", {{-1}}, "", -1, 1},
        {"turns without a point", {{0, 0.1, 0.0}, {1}, {1}, {0, 0.3, 0.2}, {-1}}, "Alpha : 0.300, Beta : 0.200", 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CalcRun run(c.steps);
        run.panel.progressBar()->setValue(37);  // left by an earlier run
        run.panel.doModal();
        EXPECT_EQ(run.panel.messageField()->text(), c.message);
        EXPECT_EQ(run.panel.progressBar()->value(), c.bar < 0 ? 37 : c.bar);
        EXPECT_EQ(run.calculation->stepsTaken, c.steps_taken);
        run.expectEnded();
    }
}

TEST(AlphaBetaCalcPanelTest, StopAfterSomeTurnsEndsTheRunOnceAndAsksForNoFurtherStep)
{
    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "window closed" : "Stop pressed");
        std::deque<ScriptStep> endless;
        for (int i = 0; i < 1000; ++i)
            endless.push_back({0, 0.001 * i, 0.001 * i});
        CalcRun run(endless);
        run.calculation->hookAfterStep = 4;
        run.calculation->hook = [&run, byClosing] {
            if (byClosing)
                run.panel.window()->close();
            else
                run.panel.stopButton()->click();
        };
        run.panel.doModal();
        EXPECT_EQ(run.calculation->stepsTaken, 4);
        EXPECT_EQ(run.panel.messageField()->text(), "Alpha : 0.003, Beta : 0.003");
        run.expectEnded();
    }
}

TEST(AlphaBetaCalcPanelTest, AllInclusionsLoopNamesEachInclusionAndCountsTheCurvesBegunAfterTheFirst)
{
    constexpr double closed = -1;  // a 0 without a point: the curve was stored
    CalcRun run({{0, 0.2, 0.0, "A"},
             {0, 0.3, 0.1},
             {0, closed},
             {0, 0.4, 0.0, "B"},
             {1},
             {0, 0.5, 0.2},
             {0, closed},
             {0, 0.6, 0.0, "C"},
             {0, 0.7, 0.3},
             {0, closed},
             {-1}});
    run.panel.setInclusionsCount(4);  // three inclusions and the placeholder
    QStringList titles;
    run.calculation->hookAfterStep = 3;
    run.calculation->hook = [&] {
        // Right after the first curve was closed: the turn has not been shown yet.
        titles << run.panel.inclusionNameField()->text();
    };
    run.panel.doModalForAll();
    EXPECT_EQ(run.panel.progressBar()->minimum(), 0);
    EXPECT_EQ(run.panel.progressBar()->maximum(), 4);
    EXPECT_EQ(run.panel.progressBar()->value(), 2);
    EXPECT_EQ(titles, QStringList{"Inclusion A"});
    EXPECT_EQ(run.panel.inclusionNameField()->text(), "Inclusion C");
    // The turn closing the last curve showed its last point again; the end changed nothing.
    EXPECT_EQ(run.panel.messageField()->text(), "Alpha : 0.700, Beta : 0.300");
    EXPECT_EQ(run.calculation->stepsTaken, 11);
    run.expectEnded();
}

TEST(AlphaBetaCalcPanelTest, AllInclusionsFirstStepShowsTheNameWithThePoint)
{
    CalcRun run({{0, 0.2, 0.0, "Q1"}});
    run.calculation->hookAfterStep = 2;
    QString firstMessage;
    run.calculation->hook = [&] { firstMessage = run.panel.messageField()->text(); };
    run.panel.setInclusionsCount(2);
    run.panel.doModalForAll();
    EXPECT_EQ(firstMessage, "Q1 Alpha : 0.200, Beta : 0.000");
    EXPECT_EQ(run.panel.progressBar()->value(), 0);
    run.expectEnded();
}

TEST(AlphaBetaCalcPanelTest, AllInclusionsRunThatCannotStartEndsAtOnce)
{
    CalcRun run(std::deque<ScriptStep>{{-1}});
    run.panel.setInclusionsCount(1);
    run.panel.doModalForAll();
    EXPECT_EQ(run.calculation->stepsTaken, 1);
    run.expectEnded();
}

TEST(AlphaBetaCurveNamePanelTest, ProposesTheNameAndAnswersTheConfirmedOneWhetherOKOrClosed)
{
    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "closed" : "OK");
        CAlphaBetaCurveNamePanel prompt;
        prompt.setCurveName("New inclusion");
        QString proposed;
        QTimer::singleShot(0, [&] {
            proposed = prompt.curveNameEditField()->text();
            prompt.curveNameEditField()->setText("Quartz 7");
            if (byClosing)
                prompt.window()->close();
            else
                prompt.okButton()->click();
        });
        prompt.doModal();
        EXPECT_EQ(proposed, "New inclusion");
        EXPECT_EQ(prompt.getCurveName(), "Quartz 7");
        EXPECT_EQ(ModalSession::current(), nullptr);
        EXPECT_FALSE(prompt.window()->isVisible());
    }
}

TEST(AlphaBetaCurveNamePanelTest, NestedInsideACalculationTurnOnlyItsOwnSessionStops)
{
    CAlphaBetaCurveNamePanel prompt;
    CalcRun run({{0, 0.1, 0.0}, {0, 0.2, 0.1}, {-1}});
    run.calculation->hookAfterStep = 3;  // the document names the finished curve inside its last step
    QString named;
    run.calculation->hook = [&] {
        prompt.setCurveName("New inclusion");
        QTimer::singleShot(0, [&] { prompt.okButton()->click(); });
        prompt.doModal();
        named = prompt.getCurveName();
        EXPECT_TRUE(run.panel.isRunning());
    };
    run.panel.doModal();
    EXPECT_EQ(named, "New inclusion");
    run.expectEnded();
}

}  // namespace
}  // namespace quorvel
