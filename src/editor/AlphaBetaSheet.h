#pragma once
// The alpha-beta sheet of the fluid model editor: the measured saturation point of the
// selected fluid in chosen units, the Tovik estimate of its alpha and beta, and the two
// actions that turn fluids into alpha-beta model fluids, the Montel fit and the Tovik
// estimation, for the selected fluid or for every fluid of the list.

#include "editor/AlphaBetaFitting.h"
#include "editor/SheetUnits.h"

#include <QObject>
#include <QPointer>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quorvel {

class FluidModelController;
class ValueStepper;

class AlphaBetaSheet : public QObject
{
    Q_OBJECT

public:
    explicit AlphaBetaSheet(FluidModelController& editor);
    ~AlphaBetaSheet() override;

    // The sheet's window, made on first use; up while the sheet is open.
    EditorSheet* panel();
    bool isOpen() const;

    // Opens the sheet on the selected fluid (nothing without one).
    void onClickAlphaBetaize();
    // The field family: each acts on the sheet alone.
    void onSpinAlphaBetaT();
    void onSpinAlphaBetaP();
    void onChangeAlphaBetaT();
    void onChangeAlphaBetaP();
    void onChangeAlphaBetaTUnit();
    void onChangeAlphaBetaPUnit();
    void onConstrainAlpha();
    // Writes the sheet's point into the selected fluid and ends the sheet.
    void onCloseAlphaBetaPanel();
    void onFitAlphaBetaModel();
    void onTovikAlphaBetaModel();

    // The sheet's point by its unit codes: kelvin and bar.
    double temperatureKelvin() const;
    double pressureBar() const;

    template <class T>
    T* control(const QString& name)
    {
        return panel()->findChild<T*>(name);
    }

private:
    using Builder = std::function<std::optional<FluidRecord>(const FluidRecord&)>;

    void makePanel();
    void connectActions();
    void beginSheet();
    void endSheet();
    AlphaBetaFluidMaker fluidMaker() const;
    std::optional<double> readFixedAlpha() const;
    void showValue(QLineEdit* field, ValueStepper* stepper, double value);
    bool readTypedValue(QLineEdit* field, double& value);
    // Builds a result for every fluid of the list as it was when the batch began, each
    // inserted right after its own source, until build gives nothing.
    QList<FluidRecord> runBatch(const Builder& build);

    FluidModelController& mEditor;
    QPointer<EditorSheet> mAlphaBetaizePanel;
    QLineEdit* mAlphaBetaT = nullptr;
    QLineEdit* mAlphaBetaP = nullptr;
    ValueStepper* mSpinAlphaBetaT = nullptr;
    ValueStepper* mSpinAlphaBetaP = nullptr;
    QComboBox* mAlphaBetaTUnit = nullptr;
    QComboBox* mAlphaBetaPUnit = nullptr;
    QButtonGroup* mAlphaBetaPhase = nullptr;
    QCheckBox* mAlphaBetaBatch = nullptr;
    QCheckBox* mAlphaConstrain = nullptr;
    QLineEdit* mAlphaConstrainValue = nullptr;
    QLineEdit* mTovikAlpha = nullptr;
    QLineEdit* mTovikBeta = nullptr;
    QPushButton* mCloseButton = nullptr;
    QPushButton* mTovikButton = nullptr;
    QPushButton* mFitButton = nullptr;

    TemperatureUnit mAlphaBetaTUnitCode = TemperatureUnit::celsius;
    PressureUnit mAlphaBetaPUnitCode = PressureUnit::bar;
    double mAlphaBetaTValue = 0;
    double mAlphaBetaPValue = 0;
};

}  // namespace quorvel
