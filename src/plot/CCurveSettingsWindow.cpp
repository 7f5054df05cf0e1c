#include "plot/CCurveSettingsWindow.h"

#include "plot/CGraphCurve.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace quorvel {

CCurveSettingsWindow* CCurveSettingsWindow::sharedCurvesSettingsCtroller()
{
    static CCurveSettingsWindow* const gCurvesSettingsCtroller = new CCurveSettingsWindow;
    return gCurvesSettingsCtroller;
}

CCurveSettingsWindow::CCurveSettingsWindow()
    : SettingsPanelController(QStringLiteral("CCurvesSettingsPanel"), tr("Curve Settings"),
                              QStringLiteral("CurvesSettingsPanel"))
{
}

void CCurveSettingsWindow::buildControls(QGridLayout* grid)
{
    QWidget* panel = grid->parentWidget();
    mThicknessMenu = new QComboBox(panel);
    mThicknessMenu->setObjectName(QStringLiteral("mThicknessMenu"));
    mThicknessMenu->addItems({tr("Normal"), tr("Double"), tr("Triple")});
    grid->addWidget(new QLabel(tr("Thickness:"), panel), 0, 0);
    grid->addWidget(mThicknessMenu, 0, 1);
    connect(mThicknessMenu, &QComboBox::activated, this, [this] { onChangeThickness(mThicknessMenu); });
}

CGraphObject* CCurveSettingsWindow::editedObject() const
{
    return mGraphCurve;
}

void CCurveSettingsWindow::setGraphCurve(CGraphCurve* curve)
{
    mGraphCurve = curve;
    if (!curve)
        return;
    mOldToolSizeFactor = curve->getToolSizeFactor();
    mOldSize = curve->size();
    window();
    if (mOldToolSizeFactor == 1.0f)
        mThicknessMenu->setCurrentIndex(0);
    else if (mOldToolSizeFactor == 2.0f)
        mThicknessMenu->setCurrentIndex(1);
    else if (mOldToolSizeFactor == 3.0f)
        mThicknessMenu->setCurrentIndex(2);
    rememberColor(*curve);
}

void CCurveSettingsWindow::onChangeThickness(QObject*)
{
    const int item = mThicknessMenu->currentIndex();
    if (mGraphCurve && item >= 0 && item <= 2) {
        // A curve draws with its size, so the size changes with the factor to show.
        const float factor = static_cast<float>(item + 1);
        mGraphCurve->setToolSizeFactor(factor);
        mGraphCurve->setSize(factor);
    }
    redraw();
}

void CCurveSettingsWindow::onCancelButton(QObject*)
{
    if (mGraphCurve) {
        mGraphCurve->setToolSizeFactor(mOldToolSizeFactor);
        mGraphCurve->setSize(mOldSize);
        restoreColor(*mGraphCurve);
    }
    redraw();
    endSession();
}

} // namespace quorvel
