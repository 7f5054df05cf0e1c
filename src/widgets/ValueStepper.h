#pragma once

// A stepper control: two small arrow buttons that move a value up or down by an
// increment within limits, without wrapping. Each step emits stepped().

#include <QWidget>

class QToolButton;

namespace quorvel {

class ValueStepper : public QWidget {
    Q_OBJECT
public:
    explicit ValueStepper(QWidget* parent = nullptr);

    double value() const { return mValue; }
    // Setting the value or the limits neither clamps the value nor emits anything;
    // the next step brings the value within the limits.
    void setValue(double value) { mValue = value; }
    double minimum() const { return mMinimum; }
    double maximum() const { return mMaximum; }
    void setMinimum(double minimum) { mMinimum = minimum; }
    void setMaximum(double maximum) { mMaximum = maximum; }
    double increment() const { return mIncrement; }
    void setIncrement(double increment) { mIncrement = increment; }

    void stepUp() { stepBy(mIncrement); }
    void stepDown() { stepBy(-mIncrement); }

signals:
    void stepped(double value);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void stepBy(double delta);

    QToolButton* mUp;
    QToolButton* mDown;
    double mValue = 0;
    double mMinimum = 0;
    double mMaximum = 100;
    double mIncrement = 1;
};

} // namespace quorvel
