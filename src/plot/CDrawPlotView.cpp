#include "plot/CDrawPlotView.h"

#include "plot/PlotToolImages.h"

#include <QLineEdit>
#include <QToolButton>

#include <utility>

namespace quorvel {

namespace {
constexpr int kButtonPitch = 26;  // from one button's left edge to the next
constexpr int kStatusLeft = 130;  // where the status field starts
constexpr int kGapAboveButtons = 3;
} // namespace

CDrawPlotView::CDrawPlotView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
}

void CDrawPlotView::setPlotView(std::unique_ptr<CPlotView> view)
{
    if (!view)
        return;
    view->setGeometry(rect());
    adopt(std::move(view));
}

void CDrawPlotView::installPlotView(std::unique_ptr<CPlotView> view)
{
    if (view)
        adopt(std::move(view));
}

void CDrawPlotView::adopt(std::unique_ptr<CPlotView> view)
{
    mPlotView = view.release(); // a subview from now on
    mPlotView->setParent(this);
    mPlotView->setDrawPlotView(this);
    mPlotView->show();
    layoutChildren();
}

QToolButton* CDrawPlotView::makeButton(const char* image, const QString& toolTip)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(image));
    button->setIcon(plotToolImage(QLatin1String(image)));
    button->setIconSize(QSize(18, 18));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(toolTip);
    button->show();
    return button;
}

void CDrawPlotView::installButtons()
{
    if (mHasButtons)
        return;
    mZoomInButton = makeButton("biggerUp", QString());
    mZoomOutButton = makeButton("smallerUp", QString());
    mGridButton = makeButton("grid", QString());
    mResetButton = makeButton("resetOff", tr("To return to the axis ranges by default"));
    mAxisButton = makeButton("axis", tr("To set the axes ranges"));
    mGridButton->setCheckable(true);

    mStatusMessage = new QLineEdit(this);
    mStatusMessage->setObjectName(QStringLiteral("mStatusMessage"));
    mStatusMessage->setReadOnly(true); // selectable, not editable
    mStatusMessage->setAlignment(Qt::AlignLeft);
    mStatusMessage->setFrame(false);
    mStatusMessage->setFocusPolicy(Qt::ClickFocus);
    mStatusMessage->setToolTip(tr("The status bar"));
    mStatusMessage->show();

    // Each button runs its plot command on the installed view.
    const std::pair<QToolButton*, PlotCommand> commands[] = {
        {mZoomInButton, PlotCommand::ZoomIn},     {mZoomOutButton, PlotCommand::ZoomOut},
        {mGridButton, PlotCommand::ShowGrid},     {mResetButton, PlotCommand::AxisRangesByDefault},
        {mAxisButton, PlotCommand::ShowAxisRangePanel},
    };
    for (const auto& [button, command] : commands)
        connect(button, &QToolButton::clicked, this, [this, button, command] {
            if (mPlotView)
                mPlotView->perform(command, button);
        });

    mHasButtons = true;
    layoutChildren();
}

void CDrawPlotView::setStatusMessage(const QString& message)
{
    if (mHasButtons)
        mStatusMessage->setText(message);
}

void CDrawPlotView::setEnabledZoomingControls(bool enabled)
{
    if (!mHasButtons)
        return;
    mZoomInButton->setEnabled(enabled);
    mZoomOutButton->setEnabled(enabled);
    if (enabled) {
        mZoomInButton->setToolTip(tr("To zoom in the rectangular area"));
        mZoomOutButton->setToolTip(tr("To zoom out of the rectangular area."));
    } else {
        const QString disabled =
            tr("Disabled. To enable it, press and drag the mouse on the plot to delimit the area to zoom.");
        mZoomInButton->setToolTip(disabled);
        mZoomOutButton->setToolTip(disabled);
    }
}

void CDrawPlotView::updateGridButton(bool on)
{
    if (mHasButtons)
        mGridButton->setChecked(on);
}

void CDrawPlotView::resizeEvent(QResizeEvent*)
{
    layoutChildren();
}

void CDrawPlotView::layoutChildren()
{
    const int side = static_cast<int>(mButtonOffsety);
    if (!mHasButtons) {
        if (mPlotView)
            mPlotView->setGeometry(rect());
        return;
    }
    // Qt places children from the top: the row sits at the bottom edge.
    const int rowTop = height() - side;
    QToolButton* const buttons[] = {mZoomInButton, mZoomOutButton, mGridButton, mResetButton, mAxisButton};
    int x = 0;
    for (QToolButton* button : buttons) {
        button->setGeometry(x, rowTop, side, side);
        x += kButtonPitch;
    }
    mStatusMessage->setGeometry(kStatusLeft, rowTop, width() - kStatusLeft, side);
    if (mPlotView)
        mPlotView->setGeometry(0, 0, width(), height() - side - kGapAboveButtons);
}

} // namespace quorvel
