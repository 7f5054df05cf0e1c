#pragma once
// The progress panel of alpha-beta curve calculations. It runs a modal session in
// which each turn asks the alpha-beta plot document for one step of the curve being
// computed, shows the point found and advances a progress bar, until the document
// reports the end or the user presses Stop (or closes the panel, which stops too).
// Every run ends with exactly one calculationEnded.

#include "app/AlphaBetaTurn.h"
#include "platform/WindowController.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quorvel {

class CAlphaBetaPlotDocument;
class ModalSession;

// What the calculation loops use of a document: one step at a time and the curve's name.
class AlphaBetaCalculation
{
public:
    virtual ~AlphaBetaCalculation() = default;
    // One step of a single curve; the point is written on AlphaBetaTurn::point.
    [[nodiscard]] virtual AlphaBetaTurn calculateAlphaBetaPoint(double* alpha, double* beta) = 0;
    // One step of the all-inclusions run.
    [[nodiscard]] virtual AlphaBetaTurn calculateAlphaBetaPoint1(double* alpha, double* beta) = 0;
    virtual QString getCurveName() const = 0;
};

// The calculation of an alpha-beta plot document; a document gone answers the end.
std::shared_ptr<AlphaBetaCalculation> calculationOfDocument(CAlphaBetaPlotDocument* document);

class CAlphaBetaCalcPanel : public WindowController
{
    Q_OBJECT

public:
    static CAlphaBetaCalcPanel* sharedAlphaBetaCalcCtroller();
    CAlphaBetaCalcPanel();
    ~CAlphaBetaCalcPanel() override;

    void setAlphaBetaPlotDocument(CAlphaBetaPlotDocument* document);
    void setCalculation(std::shared_ptr<AlphaBetaCalculation> calculation) { mCalculation = std::move(calculation); }
    void setInclusionsCount(int count) { mInclusionsCount = count; }
    void setInclusionName(const QString& name);

    // The curve of one inclusion, and the curves of every listed inclusion, each to its end.
    void doModal();
    void doModalForAll();
    // Ends the running calculation (the Stop button, closing the panel, the loops at the end).
    void stopCalculations();
    bool isRunning() const { return mSession != nullptr; }

    // Outlets, for the panel's users and tests (the window is loaded first).
    QLabel* inclusionNameField() { window(); return mInclusionName; }
    QLabel* messageField() { window(); return mMessage; }
    QProgressBar* progressBar() { window(); return mProgressBar; }
    QPushButton* stopButton() { window(); return mStopButton; }

signals:
    // Once per run, when it has ended for whatever reason.
    void calculationEnded();

protected:
    QWidget* makeWindow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Step = AlphaBetaTurn (AlphaBetaCalculation::*)(double*, double*);
    // Begins the session and asks for the first step; false when the run ended there.
    bool beginRun(Step step, double* alpha, double* beta);
    // Turns until the end; `onTurn` shows each step's result.
    void runTurns(Step step, double alpha, double beta,
                  const std::function<void(AlphaBetaTurn, double, double)>& onTurn);
    void endSession();
    void showPoint(const QString& prefix, double alpha, double beta);
    void advanceProgress();

    QLabel* mInclusionName = nullptr;
    QLabel* mMessage = nullptr;
    QProgressBar* mProgressBar = nullptr;
    QPushButton* mStopButton = nullptr;
    std::shared_ptr<AlphaBetaCalculation> mCalculation;
    int mInclusionsCount = 0;
    std::unique_ptr<ModalSession> mSession;
};

}  // namespace quorvel
