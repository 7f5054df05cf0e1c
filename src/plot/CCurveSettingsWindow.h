#pragma once
// The curve settings panel: line thickness (normal, double, triple) and colour of one
// curve, applied at once; OK keeps the changes, Cancel (or the close box) puts back
// what the curve had when the panel was given it. Nothing is registered for undo.

#include "plot/SettingsPanelController.h"

class QComboBox;

namespace quorvel {

class CGraphCurve;

class CCurveSettingsWindow : public SettingsPanelController {
    Q_OBJECT
public:
    static CCurveSettingsWindow* sharedCurvesSettingsCtroller();

    // Remembers the curve's thickness and colour and shows them.
    void setGraphCurve(CGraphCurve* curve);
    CGraphCurve* graphCurve() const { return mGraphCurve; }

    void onChangeThickness(QObject* sender = nullptr);
    void onCancelButton(QObject* sender = nullptr) override;

    QComboBox* thicknessMenu() { window(); return mThicknessMenu; }

protected:
    void buildControls(QGridLayout* grid) override;
    CGraphObject* editedObject() const override;

private:
    CCurveSettingsWindow();

    QComboBox* mThicknessMenu = nullptr;
    CGraphCurve* mGraphCurve = nullptr;
    float mOldToolSizeFactor = 1.0f;
    float mOldSize = 1.0f;
};

} // namespace quorvel
