#pragma once
// The frame of a plot in a window: the plot view and, once installButtons has run, a
// row of five tool buttons (zoom in, zoom out, grid, default ranges, axis-range panel)
// along the bottom edge followed by a one-line status field. The buttons act on the
// plot view; the plot view writes its selection reports into the status field and
// switches the zoom buttons as a zoom rectangle comes and goes.
//
// Layout in view units (y growing upward, as the plot view sees it): buttons of side
// 22 every 26 units from the left edge, the status field from x = 130 to the right
// edge, and the plot view above the row with a gap of 3. The plot view and the status
// field stretch with the frame; the buttons keep their place at the lower left.

#include "plot/CPlotView.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QLineEdit;
class QToolButton;

namespace quorvel {

class CDrawPlotView : public QWidget {
    Q_OBJECT
public:
    explicit CDrawPlotView(const QRect& frame = QRect(0, 0, 400, 300), QWidget* parent = nullptr);

    CPlotView* plotView() const { return mPlotView; }
    // Takes a new plot view, gives it the frame view's bounds and shows it.
    void setPlotView(std::unique_ptr<CPlotView> view);
    // Takes a plot view as it is (a copy made elsewhere) and shows it.
    void installPlotView(std::unique_ptr<CPlotView> view);
    // Makes the buttons and the status field and moves the plot view above them.
    void installButtons();
    bool hasButtons() const { return mHasButtons; }

    // Shown only once the buttons are installed.
    void setStatusMessage(const QString& message);
    void setEnabledZoomingControls(bool enabled);
    void updateGridButton(bool on);

    QToolButton* zoomInButton() const { return mZoomInButton; }
    QToolButton* zoomOutButton() const { return mZoomOutButton; }
    QToolButton* gridButton() const { return mGridButton; }
    QToolButton* resetButton() const { return mResetButton; }
    QToolButton* axisButton() const { return mAxisButton; }
    QLineEdit* statusMessage() const { return mStatusMessage; }
    float buttonOffsety() const { return mButtonOffsety; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void adopt(std::unique_ptr<CPlotView> view);
    QToolButton* makeButton(const char* image, const QString& toolTip);
    void layoutChildren();

    QPointer<CPlotView> mPlotView;
    bool mHasButtons = false;
    QToolButton* mZoomInButton = nullptr;
    QToolButton* mZoomOutButton = nullptr;
    QToolButton* mGridButton = nullptr;
    QToolButton* mResetButton = nullptr;
    QToolButton* mAxisButton = nullptr;
    QLineEdit* mStatusMessage = nullptr;
    float mButtonOffsety = 22.0f;
};

} // namespace quorvel
