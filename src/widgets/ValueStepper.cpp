#include "widgets/ValueStepper.h"

#include <QToolButton>

#include <algorithm>

namespace quorvel {

ValueStepper::ValueStepper(QWidget* parent)
    : QWidget(parent), mUp(new QToolButton(this)), mDown(new QToolButton(this))
{
    mUp->setArrowType(Qt::UpArrow);
    mDown->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {mUp, mDown}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(mUp, &QToolButton::clicked, this, &ValueStepper::stepUp);
    connect(mDown, &QToolButton::clicked, this, &ValueStepper::stepDown);
}

void ValueStepper::stepBy(double delta)
{
    // std::max then std::min: limits set the wrong way round leave the maximum.
    mValue = std::min(std::max(mValue + delta, mMinimum), mMaximum);
    emit stepped(mValue);
}

void ValueStepper::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    mUp->setGeometry(0, 0, width(), half);
    mDown->setGeometry(0, half, width(), height() - half);
}

} // namespace quorvel
