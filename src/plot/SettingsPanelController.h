#pragma once
// What the curve and marker settings panels share: a panel window loaded on first use,
// the plot view to redraw, a colour well, OK and Cancel buttons, and a modal session
// that runs until OK or Cancel. Closing the panel by its close box acts as Cancel, and
// closing it in any way also closes the shared colour panel.

#include "plot/CPlotView.h"

#include "platform/Color.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QGridLayout;
class QPushButton;
class QWidget;

namespace quorvel {

class CGraphObject;
class ColorWell;
class ModalSession;

class SettingsPanelController : public QObject {
    Q_OBJECT
public:
    ~SettingsPanelController() override;

    // The panel window, built the first time it is asked for.
    QWidget* window();
    bool isWindowLoaded() const { return mWindow != nullptr; }
    // Loads the window if needed and brings it to the front.
    void showWindow(QObject* sender = nullptr);

    void setPlotView(CPlotView* view) { mPlotView = view; }
    CPlotView* plotView() const { return mPlotView; }

    // Runs the panel modally until OK, Cancel or its close box ends the session.
    void startModalSession();
    bool isRunningModal() const { return mSession != nullptr; }

    void onOKButton(QObject* sender = nullptr);
    virtual void onCancelButton(QObject* sender = nullptr) = 0;
    // The colour well's action: the edited object takes the well's colour.
    void onChangeColor(QObject* sender = nullptr);

    ColorWell* foreColorWell() { window(); return mForeColorWell; }
    QPushButton* okButton() { window(); return mOKButton; }
    QPushButton* cancelButton() { window(); return mCancelButton; }

protected:
    SettingsPanelController(const QString& description, const QString& title, const QString& frameAutosaveName);

    // Adds the panel's own controls to the grid, from row 0; OK and Cancel go below.
    virtual void buildControls(QGridLayout* grid) = 0;
    virtual CGraphObject* editedObject() const = 0;

    // The colour of the object when it was bound, and putting it back.
    void rememberColor(const CGraphObject& object);
    void restoreColor(CGraphObject& object) const;
    void redraw();
    // Stops the modal loop and closes the panel.
    void endSession();

private:
    class PanelWindow;
    friend class PanelWindow;
    void windowWillClose();
    void closedByUser();

    QString mDescription;
    QString mTitle;
    QString mFrameAutosaveName;
    PanelWindow* mWindow = nullptr;
    ColorWell* mForeColorWell = nullptr;
    QPushButton* mOKButton = nullptr;
    QPushButton* mCancelButton = nullptr;
    QPointer<CPlotView> mPlotView;
    std::optional<Color> mOldForeColor;
    ModalSession* mSession = nullptr;
    bool mClosingFromButton = false;
};

} // namespace quorvel
