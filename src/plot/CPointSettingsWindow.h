#pragma once
// The marker settings panel: size factor (1 to 10), marker shape and colour of a point,
// a marker list or a labelled marker list, applied at once; OK keeps the changes,
// Cancel (or the close box) puts back size factor, colour and marker code as they were
// when the panel was given the object. Nothing is registered for undo.

#include "plot/MarkerCode.h"
#include "plot/SettingsPanelController.h"

class QComboBox;

namespace quorvel {

class CPointSettingsWindow : public SettingsPanelController {
    Q_OBJECT
public:
    static CPointSettingsWindow* sharedPointsSettingsCtroller();

    // Remembers the object's marker code, size factor and colour and shows them.
    void setGraphObject(CGraphObject* object);
    CGraphObject* graphObject() const { return mGraphObject; }

    void onChangeMarkerSize(QObject* sender = nullptr);
    void onChangeMarkerType(QObject* sender = nullptr);
    void onCancelButton(QObject* sender = nullptr) override;

    QComboBox* sizeMenu() { window(); return mSizeMenu; }
    QComboBox* markerTypeMenu() { window(); return mMarkerTypeMenu; }

    static constexpr int kSizeCount = 10;
    static constexpr int kMarkerTypeCount = 12; // codes 1 to 12

protected:
    void buildControls(QGridLayout* grid) override;
    CGraphObject* editedObject() const override { return mGraphObject; }

private:
    CPointSettingsWindow();

    QComboBox* mMarkerTypeMenu = nullptr;
    QComboBox* mSizeMenu = nullptr;
    CGraphObject* mGraphObject = nullptr;
    MarkerCode mOldMarkerType = MarkerCode::Unset;
    float mOldToolSizeFactor = 1.0f;
};

} // namespace quorvel
