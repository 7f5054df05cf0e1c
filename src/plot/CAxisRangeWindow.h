#pragma once
// The shared axis-range panel: four fields with steppers for the current x and y ranges
// of a plot view, and buttons for its default and maximum ranges, Cancel and OK. It
// follows the main window and edits the plot view of the main window's document, or
// the view that handed itself over ("Set Axis ranges...", the frame view's axis
// button). Refreshing the panel also sets the view's tick decimals from the widths of
// its ranges.

#include "plot/CPlotView.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvel {

class ValueStepper;
struct Notification;

// The stepper increment and tick decimals for a range of width `width`: the first row
// of the table whose bound the width exceeds; below every bound the increment is the
// width itself and the decimals stay as they are.
struct AxisRangeStep {
    double increment;
    std::optional<int> tickDigits;
};
AxisRangeStep axisRangeStep(float width);

class CAxisRangeWindow : public QObject {
    Q_OBJECT
public:
    static CAxisRangeWindow* sharedAxisRangeWindowCtroller();

    // The panel window, loaded the first time it is asked for (windowDidLoad).
    QWidget* window();
    bool isWindowLoaded() const { return mWindow != nullptr; }
    // Loads the window if needed and answers whether it is on screen.
    bool isWindowVisible();
    void showWindow(QObject* sender = nullptr);

    CPlotView* plotView() const { return mPlotView; }
    void setCurrentPlotView(CPlotView* view);
    // Takes the plot view of the window's document, if that document has one.
    void setCurrentPlotWindow(QWidget* window);
    void mainWindowChanged(const Notification& notification);
    void mainWindowResigned(const Notification& notification);
    void updatePanel();

    // Applies the four fields to the view. Text that is not a number, or a minimum not
    // below its maximum, is refused with a message; answers whether they were applied.
    bool onChangeCoordinates(QObject* sender = nullptr);
    void onStepXmin(QObject* sender = nullptr);
    void onStepXmax(QObject* sender = nullptr);
    void onStepYmin(QObject* sender = nullptr);
    void onStepYmax(QObject* sender = nullptr);
    void onUseDefaultRangeValues(QObject* sender = nullptr);
    void onUseMaximumRangeValues(QObject* sender = nullptr);
    void onOKButton(QObject* sender = nullptr);
    void onCancelButton(QObject* sender = nullptr);

    // Outlets, for the window's users and tests (the window is loaded first).
    QLineEdit* xminEditField() { window(); return mXminEditField; }
    QLineEdit* xmaxEditField() { window(); return mXmaxEditField; }
    QLineEdit* yminEditField() { window(); return mYminEditField; }
    QLineEdit* ymaxEditField() { window(); return mYmaxEditField; }
    ValueStepper* stepXmin() { window(); return mStepXmin; }
    ValueStepper* stepXmax() { window(); return mStepXmax; }
    ValueStepper* stepYmin() { window(); return mStepYmin; }
    ValueStepper* stepYmax() { window(); return mStepYmax; }
    QPushButton* useDefaultButton() { window(); return mUseDefaultButton; }
    QPushButton* useMaxButton() { window(); return mUseMaxButton; }
    QPushButton* cancelButton() { window(); return mCancelButton; }
    QPushButton* okButton() { window(); return mOKButton; }

    static constexpr double kStepperLimit = 100000.0;

private:
    CAxisRangeWindow();
    void buildWindow();
    void windowDidLoad();
    void takeView(CPlotView* view);
    void setControlsEnabled(bool enabled);
    void step(ValueStepper* stepper, QLineEdit* field);

    QPointer<CPlotView> mPlotView;
    float mOldXmin = 0.0f, mOldXmax = 0.0f, mOldYmin = 0.0f, mOldYmax = 0.0f;
    QLineEdit* mXmaxEditField = nullptr;
    QLineEdit* mXminEditField = nullptr;
    QLineEdit* mYmaxEditField = nullptr;
    QLineEdit* mYminEditField = nullptr;
    QPushButton* mUseDefaultButton = nullptr;
    QPushButton* mUseMaxButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPushButton* mOKButton = nullptr;
    ValueStepper* mStepXmin = nullptr;
    ValueStepper* mStepXmax = nullptr;
    ValueStepper* mStepYmin = nullptr;
    ValueStepper* mStepYmax = nullptr;
    QWidget* mWindow = nullptr;
};

} // namespace quorvel
