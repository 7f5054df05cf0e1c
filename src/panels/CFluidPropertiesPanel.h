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

// Unit codes of the panel, numbered from 1.
enum PressureUnitCode { kBar = 1, kPsia = 2, kPascal = 3, kMegapascal = 4 };
enum TemperatureUnitCode { kKelvin = 1, kCelsius = 2, kFahrenheit = 3, kRankine = 4 };

// A value converted between unit codes; unchanged when the codes are equal or one is unknown.
double convertPressure(double value, int from, int to);
double convertTemperature(double value, int from, int to);

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
    int mUnitPressureIndex = kBar;
    int mUnitTemperatureIndex = kCelsius;
    int mUnitPressureIndex1 = kBar;
    int mUnitTemperatureIndex1 = kCelsius;
    Controls m;
};

}  // namespace quorvel
