#include "panels/CFluidPropertiesPanel.h"

#include "panels/NumberField.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/DocumentTypes.h"
#include "calc/FluidRecordKeys.h"
#include "editor/SheetUnits.h"
#include "platform/AlertService.h"
#include "platform/DocumentController.h"
#include "platform/MainWindowTracker.h"
#include "plot/CGraphPoint.h"
#include "plot/CPlotView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace quorvel {

namespace {

const QString kNoFluidModel = QStringLiteral("None");

// Unit pop-ups, their items in the order of the units (item i is the editor's unit number i).
template <class Unit>
QComboBox* unitPopUp(QWidget* parent, const QStringList& units, Unit selected)
{
    auto* popUp = new QComboBox(parent);
    popUp->addItems(units);
    popUp->setCurrentIndex(code_number(selected));
    popUp->setEnabled(false);  // the fields are always read in degrees Celsius and bar
    return popUp;
}

const QStringList kTemperatureUnits{"K", "°C", "°F", "°R"};
const QStringList kPressureUnits{"bar", "psia", "Pa", "MPa"};

void alertNotANumber()
{
    showAlert(QObject::tr("This is not a valid number."));
}

// The panel numbers its units from 1, the editor's sheets from 0, in the same order.
PressureUnit sheetUnit(PanelPressureUnit unit)
{
    return pressureUnitFromNumber(code_number(unit) - 1);
}

TemperatureUnit sheetUnit(PanelTemperatureUnit unit)
{
    return temperatureUnitFromNumber(code_number(unit) - 1);
}

}  // namespace

double convertPressure(double value, PanelPressureUnit from, PanelPressureUnit to)
{
    return convertedPressure(value, sheetUnit(from), sheetUnit(to));
}

double convertTemperature(double value, PanelTemperatureUnit from, PanelTemperatureUnit to)
{
    return convertedTemperature(value, sheetUnit(from), sheetUnit(to));
}

CFluidPropertiesPanel* CFluidPropertiesPanel::sharedFluidPropertiesPanel()
{
    static CFluidPropertiesPanel* const panel = new CFluidPropertiesPanel;  // lives as long as the application
    return panel;
}

CFluidPropertiesPanel::CFluidPropertiesPanel() : FloatingPanel(QStringLiteral("CalcPropPanel"))
{
    observe(WindowDidBecomeMainNotification, [this](const Notification& n) { mainWindowChanged(n); });
    for (const QString& name : {FluidModelDataDocModified, AlphaBetaPlotModified, RefreshFluidPropPanel})
        observe(name, [this](const Notification& n) { onDocumentsModified(n); });
}

CFluidPropertiesPanel::~CFluidPropertiesPanel()
{
    destroyWindow();
}

QWidget* CFluidPropertiesPanel::makeWindow()
{
    QWidget* panel = makePanelWindow(QStringLiteral("CalcPropPanel"), tr("Fluid Properties"));
    m.tabView = new PanelPages(panel);
    m.tabView->addPage(makePropertiesPage(), QStringLiteral("properties"), tr("Standard conditions"));
    m.tabView->addPage(makeBulkPage(), QStringLiteral("bulk"), tr("Bulk properties"));
    m.tabView->addPage(makeFlashPage(), QStringLiteral("flash"), tr("Flash"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m.tabView);
    panel->adjustSize();
    return panel;
}

QWidget* CFluidPropertiesPanel::makePropertiesPage()
{
    auto* page = new QWidget;
    m.fluidsView = new RecordTable({{fluidkey::name, tr("Fluid")}},
                                   {[this] { return mFluidsArray.size(); },
                                    [this](const QString&, int row) { return mFluidsArray.at(row); }, nullptr},
                                   page);
    m.fluidsView->setObjectName(QStringLiteral("mFluidsView"));
    m.gorField = new QLineEdit(page);
    m.apiField = new QLineEdit(page);
    for (QLineEdit* field : {m.gorField, m.apiField})
        field->setReadOnly(true);
    m.logButton = new QPushButton(tr("Write to log"), page);
    connect(m.logButton, &QPushButton::clicked, this, &CFluidPropertiesPanel::showSTProperties);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("GOR (Sm3/Sm3)"), page), 0, 0);
    fields->addWidget(m.gorField, 0, 1);
    fields->addWidget(new QLabel(tr("API"), page), 1, 0);
    fields->addWidget(m.apiField, 1, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m.fluidsView, 1);
    layout->addLayout(fields);
    layout->addWidget(m.logButton, 0, Qt::AlignRight);
    return page;
}

namespace {

// A temperature and a pressure with their unit pop-ups, and a report button.
QGridLayout* conditionsGrid(QWidget* page, NumberField* temperature, QComboBox* temperatureUnit, NumberField* pressure,
                            QComboBox* pressureUnit)
{
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QObject::tr("Temperature"), page), 0, 0);
    grid->addWidget(temperature, 0, 1);
    grid->addWidget(temperatureUnit, 0, 2);
    grid->addWidget(new QLabel(QObject::tr("Pressure"), page), 1, 0);
    grid->addWidget(pressure, 1, 1);
    grid->addWidget(pressureUnit, 1, 2);
    return grid;
}

NumberField* conditionField(QWidget* page, const char* name)
{
    auto* field = new NumberField(page);
    field->setObjectName(QLatin1String(name));
    field->setInvalidNumberAlert(alertNotANumber);
    return field;
}

}  // namespace

QWidget* CFluidPropertiesPanel::makeBulkPage()
{
    auto* page = new QWidget;
    m.trapTemperature = conditionField(page, "mTrapTemperature");
    m.trapPressure = conditionField(page, "mTrapPressure");
    m.unitTemperature = unitPopUp(page, kTemperatureUnits, sheetUnit(mUnitTemperatureIndex));
    m.unitPressure = unitPopUp(page, kPressureUnits, sheetUnit(mUnitPressureIndex));
    m.logButton1 = new QPushButton(tr("Write to log"), page);
    connect(m.logButton1, &QPushButton::clicked, this, &CFluidPropertiesPanel::onCalculateBulkProperties);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(conditionsGrid(page, m.trapTemperature, m.unitTemperature, m.trapPressure, m.unitPressure));
    layout->addStretch();
    layout->addWidget(m.logButton1, 0, Qt::AlignRight);
    return page;
}

QWidget* CFluidPropertiesPanel::makeFlashPage()
{
    auto* page = new QWidget;
    m.flashTemperature = conditionField(page, "mFlashTemperature");
    m.flashPressure = conditionField(page, "mFlashPressure");
    m.unitTemperature1 = unitPopUp(page, kTemperatureUnits, sheetUnit(mUnitTemperatureIndex1));
    m.unitPressure1 = unitPopUp(page, kPressureUnits, sheetUnit(mUnitPressureIndex1));
    m.logButton2 = new QPushButton(tr("Write to log"), page);
    connect(m.logButton2, &QPushButton::clicked, this, &CFluidPropertiesPanel::onCalculateFlashProperties);
    m.flashLiquidButton = new QPushButton(tr("Liquid as fluid model"), page);
    m.flashVapourButton = new QPushButton(tr("Vapour as fluid model"), page);
    for (QPushButton* inert : {m.flashLiquidButton, m.flashVapourButton})
        inert->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m.flashLiquidButton);
    buttons->addWidget(m.flashVapourButton);
    buttons->addStretch();
    buttons->addWidget(m.logButton2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(conditionsGrid(page, m.flashTemperature, m.unitTemperature1, m.flashPressure, m.unitPressure1));
    layout->addStretch();
    layout->addLayout(buttons);
    return page;
}

void CFluidPropertiesPanel::windowDidLoad()
{
    NotificationCenter::defaultCenter().postNotification(RefreshFluidPropPanel, this);
}

void CFluidPropertiesPanel::mainWindowChanged(const Notification&)
{
    if (isWindowLoaded())
        updatePanel();
}

void CFluidPropertiesPanel::onDocumentsModified(const Notification&)
{
    updatePanel();
}

void CFluidPropertiesPanel::updatePanel()
{
    refreshFluidsList();
}

void CFluidPropertiesPanel::refreshFluidsList()
{
    mFluidsArray.clear();
    bool fluidModelFound = false;
    const QWidget* mainWindow = MainWindowTracker::instance().mainWindow();
    const auto isMain = [mainWindow](const Document* document) {
        const auto& controllers = document->windowControllers();
        return mainWindow && !controllers.empty() && controllers.back()->isWindowLoaded()
               && controllers.back()->window() == mainWindow;
    };
    if (const DocumentController* documents = DocumentController::sharedDocumentController())
        for (Document* document : documents->documents()) {
            if (document->fileType() == DocumentTypes::AlphaBetaPlot && isMain(document)) {
                mAlphaBetaDoc = dynamic_cast<CAlphaBetaPlotDocument*>(document);
                mFluidModelDoc = nullptr;
            } else if (document->fileType() == DocumentTypes::FluidModel) {
                if (isMain(document)) {
                    mFluidModelDoc = dynamic_cast<CFluidModelDataDocument*>(document);
                    mAlphaBetaDoc = nullptr;
                }
                fluidModelFound = true;
            }
        }
    // The reports need no fluid-model document: without one the main plot stays chosen.
    if (!fluidModelFound) {
        mFluidModelDoc = nullptr;
        mFluidsArray.append(kNoFluidModel);
    }
    if (isWindowLoaded())
        m.fluidsView->reloadData();
}

int CFluidPropertiesPanel::alphaBetaIndex() const
{
    const CPlotView* view = mAlphaBetaDoc ? mAlphaBetaDoc->plotView() : nullptr;
    const auto* marker = view ? dynamic_cast<const CGraphPoint*>(view->selectedObject()) : nullptr;
    return marker ? mAlphaBetaDoc->alphaBetaPoints().indexOf(marker->referenceObject()) : -1;
}

int CFluidPropertiesPanel::reportedMarker() const
{
    if (mFluidModelDoc || !mAlphaBetaDoc) {
        showAlert(tr("The reports are about a marker of an alpha-beta plot: bring the plot's window to the front "
                     "and select the marker first."));
        return -1;
    }
    const int index = alphaBetaIndex();
    if (index < 0)
        showAlert(tr("Select an alpha-beta point in the plot first."));
    return index;
}

void CFluidPropertiesPanel::showSTProperties()
{
    const int index = reportedMarker();
    if (index >= 0)
        mAlphaBetaDoc->writeToLog(index);
}

void CFluidPropertiesPanel::onCalculateBulkProperties()
{
    const int index = reportedMarker();
    if (index < 0)
        return;
    const double T = convertTemperature(m.trapTemperature->doubleValue(), mUnitTemperatureIndex, PanelTemperatureUnit::kelvin);
    const double P = convertPressure(m.trapPressure->doubleValue(), mUnitPressureIndex, PanelPressureUnit::bar);
    mAlphaBetaDoc->writeToLog1(index, T, P);
}

void CFluidPropertiesPanel::onCalculateFlashProperties()
{
    const int index = reportedMarker();
    if (index < 0)
        return;
    const double T = convertTemperature(m.flashTemperature->doubleValue(), mUnitTemperatureIndex1, PanelTemperatureUnit::kelvin);
    const double P = convertPressure(m.flashPressure->doubleValue(), mUnitPressureIndex1, PanelPressureUnit::bar);
    mAlphaBetaDoc->writeToLog2(index, T, P);
}

}  // namespace quorvel
