#include "plot/CAxisRangeWindow.h"

#include "plot/PlotViewProvider.h"

#include "widgets/ValueStepper.h"
#include "widgets/WindowFrame.h"

#include "platform/AlertService.h"
#include "platform/MainWindowTracker.h"
#include "platform/NotificationCenter.h"
#include "platform/ScreenPlacement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cmath>

namespace quorvel {

AxisRangeStep axisRangeStep(float width)
{
    struct Row {
        float bound;
        float increment;
        int digits;
    };
    static constexpr std::array<Row, 9> rows{{{1000.0f, 50.0f, 0},
                                              {500.0f, 20.0f, 0},
                                              {200.0f, 10.0f, 0},
                                              {100.0f, 5.0f, 0},
                                              {10.0f, 1.0f, 1},
                                              {1.0f, 0.1f, 1},
                                              {0.1f, 0.01f, 2},
                                              {0.01f, 0.001f, 3},
                                              {0.001f, 0.0001f, 4}}};
    for (const Row& row : rows)
        if (width > row.bound)
            return {static_cast<double>(row.increment), row.digits};
    return {static_cast<double>(width), std::nullopt};
}

namespace {

QString rangeText(double value)
{
    return QString::number(static_cast<float>(value), 'g', 7);
}

std::optional<float> fieldValue(const QLineEdit* field)
{
    bool ok = false;
    const float value = field->text().trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

CAxisRangeWindow* CAxisRangeWindow::sharedAxisRangeWindowCtroller()
{
    static CAxisRangeWindow* const gAxisRangeWindowCtroller = new CAxisRangeWindow;
    return gAxisRangeWindowCtroller;
}

CAxisRangeWindow::CAxisRangeWindow() = default;

QWidget* CAxisRangeWindow::window()
{
    if (!mWindow) {
        buildWindow();
        windowDidLoad();
    }
    return mWindow;
}

bool CAxisRangeWindow::isWindowVisible()
{
    return window()->isVisible();
}

void CAxisRangeWindow::showWindow(QObject*)
{
    QWidget* panel = window();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void CAxisRangeWindow::buildWindow()
{
    // A panel, not a document window: it never becomes the main window.
    mWindow = new QWidget(nullptr, Qt::Dialog);
    mWindow->setObjectName(QStringLiteral("CAxisRangePanel"));
    mWindow->setWindowTitle(tr("Axis Ranges"));

    auto makeField = [this](const char* name) {
        auto* field = new QLineEdit(mWindow);
        field->setObjectName(QLatin1String(name));
        field->setAlignment(Qt::AlignRight);
        field->setMinimumWidth(90);
        connect(field, &QLineEdit::returnPressed, this, [this] { onChangeCoordinates(nullptr); });
        return field;
    };
    auto makeStepper = [this](const char* name) {
        auto* stepper = new ValueStepper(mWindow);
        stepper->setObjectName(QLatin1String(name));
        stepper->setFixedSize(16, 24);
        return stepper;
    };
    mXminEditField = makeField("mXminEditField");
    mXmaxEditField = makeField("mXmaxEditField");
    mYminEditField = makeField("mYminEditField");
    mYmaxEditField = makeField("mYmaxEditField");
    mStepXmin = makeStepper("mStepXmin");
    mStepXmax = makeStepper("mStepXmax");
    mStepYmin = makeStepper("mStepYmin");
    mStepYmax = makeStepper("mStepYmax");
    connect(mStepXmin, &ValueStepper::stepped, this, [this] { onStepXmin(mStepXmin); });
    connect(mStepXmax, &ValueStepper::stepped, this, [this] { onStepXmax(mStepXmax); });
    connect(mStepYmin, &ValueStepper::stepped, this, [this] { onStepYmin(mStepYmin); });
    connect(mStepYmax, &ValueStepper::stepped, this, [this] { onStepYmax(mStepYmax); });

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("X min:"), mWindow), 0, 0);
    grid->addWidget(mXminEditField, 0, 1);
    grid->addWidget(mStepXmin, 0, 2);
    grid->addWidget(new QLabel(tr("X max:"), mWindow), 0, 3);
    grid->addWidget(mXmaxEditField, 0, 4);
    grid->addWidget(mStepXmax, 0, 5);
    grid->addWidget(new QLabel(tr("Y min:"), mWindow), 1, 0);
    grid->addWidget(mYminEditField, 1, 1);
    grid->addWidget(mStepYmin, 1, 2);
    grid->addWidget(new QLabel(tr("Y max:"), mWindow), 1, 3);
    grid->addWidget(mYmaxEditField, 1, 4);
    grid->addWidget(mStepYmax, 1, 5);

    mUseDefaultButton = new QPushButton(tr("Default"), mWindow);
    mUseDefaultButton->setObjectName(QStringLiteral("mUseDefaultButton"));
    mUseMaxButton = new QPushButton(tr("Maximum"), mWindow);
    mUseMaxButton->setObjectName(QStringLiteral("mUseMaxButton"));
    mCancelButton = new QPushButton(tr("Cancel"), mWindow);
    mCancelButton->setObjectName(QStringLiteral("mCancelButton"));
    mOKButton = new QPushButton(tr("OK"), mWindow);
    mOKButton->setObjectName(QStringLiteral("mOKButton"));
    connect(mUseDefaultButton, &QPushButton::clicked, this, [this] { onUseDefaultRangeValues(mUseDefaultButton); });
    connect(mUseMaxButton, &QPushButton::clicked, this, [this] { onUseMaximumRangeValues(mUseMaxButton); });
    connect(mCancelButton, &QPushButton::clicked, this, [this] { onCancelButton(mCancelButton); });
    connect(mOKButton, &QPushButton::clicked, this, [this] { onOKButton(mOKButton); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mUseDefaultButton);
    buttons->addWidget(mUseMaxButton);
    buttons->addStretch();
    buttons->addWidget(mCancelButton);
    buttons->addWidget(mOKButton);

    auto* layout = new QVBoxLayout(mWindow);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    mWindow->adjustSize();
    setFrameAutosaveName(mWindow, QStringLiteral("AxisPanel"));
}

void CAxisRangeWindow::windowDidLoad()
{
    MainWindowTracker& tracker = MainWindowTracker::instance();
    setCurrentPlotWindow(tracker.mainWindow());
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(WindowDidBecomeMainNotification, this,
                       [this](const Notification& note) { mainWindowChanged(note); });
    center.addObserver(WindowDidResignMainNotification, this,
                       [this](const Notification& note) { mainWindowResigned(note); });
    for (ValueStepper* stepper : {mStepXmin, mStepXmax, mStepYmin, mStepYmax}) {
        stepper->setMinimum(-kStepperLimit);
        stepper->setMaximum(kStepperLimit);
    }
    // Places the panel beside the main window at once (every follower of the main window hears it).
    center.postNotification(WindowDidBecomeMainNotification, tracker.mainWindow());
}

void CAxisRangeWindow::takeView(CPlotView* view)
{
    mPlotView = view;
    if (view)
        view->getXYRange(mOldXmin, mOldXmax, mOldYmin, mOldYmax);
}

void CAxisRangeWindow::setCurrentPlotView(CPlotView* view)
{
    takeView(view);
    updatePanel();
}

void CAxisRangeWindow::setCurrentPlotWindow(QWidget* window)
{
    PlotViewProvider* document = PlotViewProvider::documentOfWindow(window);
    takeView(document ? document->plotView() : nullptr);
    updatePanel();
}

void CAxisRangeWindow::mainWindowChanged(const Notification& notification)
{
    auto* mainWindow = qobject_cast<QWidget*>(notification.object);
    setCurrentPlotWindow(mainWindow);
    if (mPlotView && mainWindow && mWindow) {
        // 10 points right of the main window, its bottom 10 points above the main window's bottom.
        const QRect frame = mainWindow->frameGeometry();
        const QRect panel = mWindow->frameGeometry();
        moveInsideScreen(mWindow, QPoint(frame.x() + frame.width() + 10, frame.y() + frame.height() - 10 - panel.height()));
    }
    updatePanel();
}

void CAxisRangeWindow::mainWindowResigned(const Notification&)
{
    setCurrentPlotView(nullptr);
}

void CAxisRangeWindow::setControlsEnabled(bool enabled)
{
    const std::array<QWidget*, 12> controls{mXminEditField, mXmaxEditField, mYminEditField,   mYmaxEditField,
                                            mStepXmin,      mStepXmax,      mStepYmin,        mStepYmax,
                                            mUseDefaultButton, mUseMaxButton, mCancelButton, mOKButton};
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

void CAxisRangeWindow::updatePanel()
{
    if (!mWindow)
        return;
    if (!mPlotView) {
        setControlsEnabled(false);
        return;
    }
    setControlsEnabled(true);
    float xMin, xMax, yMin, yMax;
    mPlotView->getXYRange(xMin, xMax, yMin, yMax);

    const AxisRangeStep x = axisRangeStep(xMax - xMin);
    const AxisRangeStep y = axisRangeStep(yMax - yMin);
    if (x.tickDigits)
        mPlotView->setMXTicksDigits(*x.tickDigits);
    if (y.tickDigits)
        mPlotView->setMYTicksDigits(*y.tickDigits);
    mStepXmin->setIncrement(x.increment);
    mStepXmax->setIncrement(x.increment);
    mStepYmin->setIncrement(y.increment);
    mStepYmax->setIncrement(y.increment);

    mXminEditField->setText(rangeText(xMin));
    mXmaxEditField->setText(rangeText(xMax));
    mYminEditField->setText(rangeText(yMin));
    mYmaxEditField->setText(rangeText(yMax));
    mStepXmin->setValue(xMin);
    mStepXmax->setValue(xMax);
    mStepYmin->setValue(yMin);
    mStepYmax->setValue(yMax);
}

bool CAxisRangeWindow::onChangeCoordinates(QObject*)
{
    if (!mPlotView || !mWindow)
        return false;
    const std::optional<float> xMin = fieldValue(mXminEditField);
    const std::optional<float> xMax = fieldValue(mXmaxEditField);
    const std::optional<float> yMin = fieldValue(mYminEditField);
    const std::optional<float> yMax = fieldValue(mYmaxEditField);
    if (!xMin || !xMax || !yMin || !yMax) {
        showAlert(tr("Each axis range must be a number."));
        return false;
    }
    if (!(*xMin < *xMax) || !(*yMin < *yMax)) {
        showAlert(tr("The minimum of each axis must be less than its maximum."));
        return false;
    }
    mPlotView->setXYRange(*xMin, *xMax, *yMin, *yMax);
    mPlotView->update();
    return true;
}

void CAxisRangeWindow::step(ValueStepper* stepper, QLineEdit* field)
{
    field->setText(rangeText(stepper->value()));
    // A refused step leaves the panel showing the ranges in force.
    if (!onChangeCoordinates(this))
        updatePanel();
}

void CAxisRangeWindow::onStepXmin(QObject*)
{
    step(mStepXmin, mXminEditField);
}

void CAxisRangeWindow::onStepXmax(QObject*)
{
    step(mStepXmax, mXmaxEditField);
}

void CAxisRangeWindow::onStepYmin(QObject*)
{
    step(mStepYmin, mYminEditField);
}

void CAxisRangeWindow::onStepYmax(QObject*)
{
    step(mStepYmax, mYmaxEditField);
}

void CAxisRangeWindow::onUseDefaultRangeValues(QObject* sender)
{
    if (mPlotView)
        mPlotView->onAxisRangesByDefault(sender);
    updatePanel();
}

void CAxisRangeWindow::onUseMaximumRangeValues(QObject* sender)
{
    if (mPlotView)
        mPlotView->onMaximumAxisRanges(sender);
    updatePanel();
}

void CAxisRangeWindow::onOKButton(QObject*)
{
    if (!mPlotView || onChangeCoordinates(nullptr))
        window()->hide();
}

void CAxisRangeWindow::onCancelButton(QObject*)
{
    if (mPlotView) {
        mPlotView->setXYRange(mOldXmin, mOldXmax, mOldYmin, mOldYmax);
        mPlotView->update();
    }
    window()->hide();
}

} // namespace quorvel
