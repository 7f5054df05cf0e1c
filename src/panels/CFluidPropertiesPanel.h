#pragma once
// The fluid-properties panel: writes property reports of an alpha-beta marker of the
// alpha-beta plot document whose window is main into the log window: at standard
// conditions, the bulk properties at a temperature and pressure, and the flash at a
// temperature and pressure. The reports are the document's; the panel picks the marker
// (the one selected in the plot) and converts its fields to kelvin and bar.
//
// Built inert: the unit pop-ups (fixed to degrees Celsius and bar), the fluid list (it
// lists no fluids), the GOR and API fields, and the two buttons that would make a
// fluid-model document from a flash.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "panels/FloatingPanel.h"
#include "platform/Value.h"

#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvel {

class NumberField;
class PanelPages;
class RecordTable;

// The panel's units, numbered from 1 in the order of the editor's sheets.
enum class PanelPressureUnit : int { bar = 1, psia = 2, pa = 3, mpa = 4 };
enum class PanelTemperatureUnit : int { kelvin = 1, celsius = 2, fahrenheit = 3, rankine = 4 };

[[nodiscard]] constexpr int code_number(PanelPressureUnit unit) { return static_cast<int>(unit); }
[[nodiscard]] constexpr int code_number(PanelTemperatureUnit unit) { return static_cast<int>(unit); }
// A number of no unit keeps its value and equals no named unit.
[[nodiscard]] constexpr PanelPressureUnit panelPressureUnitFromNumber(int number)
{
    return static_cast<PanelPressureUnit>(number);
}
[[nodiscard]] constexpr PanelTemperatureUnit panelTemperatureUnitFromNumber(int number)
{
    return static_cast<PanelTemperatureUnit>(number);
}

// A value converted between units; unchanged when the units are equal or one is unknown.
[[nodiscard]] double convertPressure(double value, PanelPressureUnit from, PanelPressureUnit to);
[[nodiscard]] double convertTemperature(double value, PanelTemperatureUnit from, PanelTemperatureUnit to);

inline const QString RefreshFluidPropPanel = QStringLiteral("RefreshFluidPropPanel");

class CFluidPropertiesPanel : public FloatingPanel
{
    Q_OBJECT

public:
    static CFluidPropertiesPanel* sharedFluidPropertiesPanel();
    CFluidPropertiesPanel();
    ~CFluidPropertiesPanel() override;

    void mainWindowChanged(const Notification& notification);
    void onDocumentsModified(const Notification& notification);
    void updatePanel();
    void refreshFluidsList();

    void showSTProperties();
    void onCalculateBulkProperties();
    void onCalculateFlashProperties();

    CAlphaBetaPlotDocument* alphaBetaDocument() const { return mAlphaBetaDoc; }
    CFluidModelDataDocument* fluidModelDocument() const { return mFluidModelDoc; }
    Array fluids() const { return mFluidsArray; }
    // The marker the reports are about: the one selected in the document's plot; -1 when none is.
    int alphaBetaIndex() const;

    struct Controls
    {
        PanelPages* tabView = nullptr;
        RecordTable* fluidsView = nullptr;
        QLineEdit *gorField = nullptr, *apiField = nullptr;
        QPushButton* logButton = nullptr;
        NumberField *trapTemperature = nullptr, *trapPressure = nullptr;
        QComboBox *unitTemperature = nullptr, *unitPressure = nullptr;
        QPushButton* logButton1 = nullptr;
        NumberField *flashTemperature = nullptr, *flashPressure = nullptr;
        QComboBox *unitTemperature1 = nullptr, *unitPressure1 = nullptr;
        QPushButton* logButton2 = nullptr;
        QPushButton *flashLiquidButton = nullptr, *flashVapourButton = nullptr;
    };
    const Controls& controls() { window(); return m; }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    QWidget* makePropertiesPage();
    QWidget* makeBulkPage();
    QWidget* makeFlashPage();
    // The chosen document and marker, or an alert saying what is missing; -1 then.
    int reportedMarker() const;

    QPointer<CFluidModelDataDocument> mFluidModelDoc;
    QPointer<CAlphaBetaPlotDocument> mAlphaBetaDoc;
    Array mFluidsArray;
    // The fields are read in these units; the unit pop-ups do not change them.
    PanelPressureUnit mUnitPressureIndex = PanelPressureUnit::bar;
    PanelTemperatureUnit mUnitTemperatureIndex = PanelTemperatureUnit::celsius;
    PanelPressureUnit mUnitPressureIndex1 = PanelPressureUnit::bar;
    PanelTemperatureUnit mUnitTemperatureIndex1 = PanelTemperatureUnit::celsius;
    Controls m;
};

}  // namespace quorvel
