#include "panels/CAlphaBetaCalcPanel.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "platform/ModalSession.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quorvel {

namespace {

// The bar's range as laid out; single-curve runs keep whatever range the bar has.
constexpr int kLaidOutMaximum = 100;

class DocumentCalculation final : public AlphaBetaCalculation
{
public:
    explicit DocumentCalculation(CAlphaBetaPlotDocument* document) : mDocument(document) {}
    AlphaBetaTurn calculateAlphaBetaPoint(double* alpha, double* beta) override
    {
        return mDocument ? mDocument->calculateAlphaBetaPoint(alpha, beta) : AlphaBetaTurn::done;
    }
    AlphaBetaTurn calculateAlphaBetaPoint1(double* alpha, double* beta) override
    {
        return mDocument ? mDocument->calculateAlphaBetaPoint1(alpha, beta) : AlphaBetaTurn::done;
    }
    QString getCurveName() const override { return mDocument ? mDocument->getCurveName() : QString(); }

private:
    QPointer<CAlphaBetaPlotDocument> mDocument;
};

}  // namespace

std::shared_ptr<AlphaBetaCalculation> calculationOfDocument(CAlphaBetaPlotDocument* document)
{
    return std::make_shared<DocumentCalculation>(document);
}

CAlphaBetaCalcPanel* CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller()
{
    static CAlphaBetaCalcPanel* const panel = new CAlphaBetaCalcPanel;  // lives as long as the application
    return panel;
}

CAlphaBetaCalcPanel::CAlphaBetaCalcPanel() : WindowController(QStringLiteral("alphaBetaCalc")) {}

CAlphaBetaCalcPanel::~CAlphaBetaCalcPanel()
{
    destroyWindow();
}

QWidget* CAlphaBetaCalcPanel::makeWindow()
{
    auto* panel = new QWidget(nullptr, Qt::Dialog);
    panel->setObjectName(QStringLiteral("alphaBetaCalc"));
    panel->setWindowTitle(tr("Alpha-Beta Calculation"));
    mInclusionName = new QLabel(panel);
    mInclusionName->setObjectName(QStringLiteral("mInclusionName"));
    QFont bold = mInclusionName->font();
    bold.setBold(true);
    mInclusionName->setFont(bold);
    mMessage = new QLabel(panel);
    mMessage->setObjectName(QStringLiteral("mMessage"));
    mProgressBar = new QProgressBar(panel);
    mProgressBar->setObjectName(QStringLiteral("mProgressBar"));
    mProgressBar->setRange(0, kLaidOutMaximum);
    mProgressBar->setValue(0);
    mProgressBar->setTextVisible(false);
    mStopButton = new QPushButton(tr("Stop"), panel);
    mStopButton->setObjectName(QStringLiteral("mStopButton"));
    connect(mStopButton, &QPushButton::clicked, this, &CAlphaBetaCalcPanel::stopCalculations);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mStopButton);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(mInclusionName);
    layout->addWidget(mMessage);
    layout->addWidget(mProgressBar);
    layout->addLayout(buttons);
    panel->setMinimumWidth(360);
    panel->adjustSize();
    return panel;
}

bool CAlphaBetaCalcPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the panel while it runs is a Stop: the run ends the way the Stop button ends it.
    if (watched == window() && event->type() == QEvent::Close && isRunning())
        stopCalculations();
    return WindowController::eventFilter(watched, event);
}

void CAlphaBetaCalcPanel::setAlphaBetaPlotDocument(CAlphaBetaPlotDocument* document)
{
    mCalculation = calculationOfDocument(document);
}

void CAlphaBetaCalcPanel::setInclusionName(const QString& name)
{
    inclusionNameField()->setText(name);
}

void CAlphaBetaCalcPanel::showPoint(const QString& prefix, double alpha, double beta)
{
    messageField()->setText(prefix + QString::asprintf("Alpha : %.3f, Beta : %.3f", alpha, beta));
}

void CAlphaBetaCalcPanel::advanceProgress()
{
    QProgressBar* bar = progressBar();
    bar->setValue(std::min(bar->value() + 1, bar->maximum()));
}

bool CAlphaBetaCalcPanel::beginRun(Step step, double* alpha, double* beta)
{
    mSession = std::make_unique<ModalSession>(window());
    const AlphaBetaTurn code = mCalculation ? ((*mCalculation).*step)(alpha, beta) : AlphaBetaTurn::done;
    if (code == AlphaBetaTurn::point)
        return true;
    stopCalculations();
    endSession();
    return false;
}

void CAlphaBetaCalcPanel::runTurns(Step step, double alpha, double beta,
                                   const std::function<void(AlphaBetaTurn, double, double)>& onTurn)
{
    // The loop's own alpha and beta: a step writes them only with a new point, so a turn
    // without one shows the last point again.
    while (mSession) {
        const AlphaBetaTurn code = mCalculation ? ((*mCalculation).*step)(&alpha, &beta) : AlphaBetaTurn::done;
        onTurn(code, alpha, beta);
        if (code == AlphaBetaTurn::done) {
            stopCalculations();
            break;
        }
        if (!mSession || mSession->runOnce() != ModalResponse::Continue) {
            // Stopped (Stop or closing already ended the run), or the panel went away.
            if (isRunning() && !mSession->isStopped())
                stopCalculations();
            break;
        }
    }
    endSession();
}

void CAlphaBetaCalcPanel::doModal()
{
    double alpha = 0, beta = 0;
    if (!beginRun(&AlphaBetaCalculation::calculateAlphaBetaPoint, &alpha, &beta))
        return;
    showPoint(QString(), alpha, beta);
    progressBar()->setValue(0);
    runTurns(&AlphaBetaCalculation::calculateAlphaBetaPoint, alpha, beta, [this](AlphaBetaTurn code, double a, double b) {
        if (code == AlphaBetaTurn::point) {
            showPoint(QString(), a, b);
            advanceProgress();
        }
    });
}

void CAlphaBetaCalcPanel::doModalForAll()
{
    double alpha = 0, beta = 0;
    if (!beginRun(&AlphaBetaCalculation::calculateAlphaBetaPoint1, &alpha, &beta))
        return;
    const QString name = mCalculation->getCurveName();
    setInclusionName(tr("Inclusion %1").arg(name));
    showPoint(name + QLatin1Char(' '), alpha, beta);
    progressBar()->setRange(0, std::max(mInclusionsCount, 0));
    progressBar()->setValue(0);
    runTurns(&AlphaBetaCalculation::calculateAlphaBetaPoint1, alpha, beta, [this](AlphaBetaTurn code, double a, double b) {
        setInclusionName(tr("Inclusion %1").arg(mCalculation->getCurveName()));
        if (code != AlphaBetaTurn::point)
            return;
        showPoint(QString(), a, b);
        // Every curve starts on beta = 0: the bar counts the curves begun after the first.
        if (b == 0.0)
            advanceProgress();
    });
}

void CAlphaBetaCalcPanel::stopCalculations()
{
    if (!isRunning() || mSession->isStopped())
        return;
    mSession->stop();
    window()->close();
    emit calculationEnded();
}

void CAlphaBetaCalcPanel::endSession()
{
    if (!mSession)
        return;
    mSession->end();
    mSession.reset();
}

}  // namespace quorvel
