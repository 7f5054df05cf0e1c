#pragma once
// The trapping page of the phase-diagram panel: the pressure of a one-phase isochore at a
// trapping temperature, the temporary aqueous homogenisation line there, and the stored
// trapping lines of the document.

#include "panels/PhaseDiagPage.h"

namespace quorvel {

class ValueStepper;

class PhaseDiagTrappingPage : public PhaseDiagPage
{
    Q_OBJECT

public:
    PhaseDiagTrappingPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;
    void takePlotSelection(const PlotClick& click) override;
    void documentDetached() override;
    void windowDidLoad() override;
    void tableViewDeleteSelectedRow(MyTableView* view) override;
    // The list of the document's isochores reads them again.
    void reloadIsochors();

    void refreshTrappingsList();
    // The trapping pressure of the isochore at T (°C) and the temporary line there; no
    // isochore, or T below its Th, or an isochore of another document hides the line.
    void showAqueousHomogLine(const IsochorPtr& isochor, double T);
    void onSelectIsochor1();
    void onSpinTrapTemp(QObject* sender = nullptr);
    void onChangeTrapTemp(QObject* sender = nullptr);
    void onSetTrappingLine(QObject* sender = nullptr);
    void onSelectTrapping();
    void onDeleteTrapping(QObject* sender = nullptr);
    // The log button has no function.
    void onWriteLogButton1(QObject* sender = nullptr);

    struct Controls
    {
        RecordTable *mIsochorsView1 = nullptr, *mTrappingsView = nullptr;
        QLineEdit *mThAqEdit = nullptr, *mPtrapEdit = nullptr;
        QPushButton* mSetTrappingButton = nullptr;
        ValueStepper* mThAqStepper = nullptr;
        QPushButton *mWriteLogButton1 = nullptr, *mTrapLineDeleteButton = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    // The isochore of the chosen row; none without one.
    IsochorPtr selectedIsochor() const;
    void showTrappingLine(const TrappingLinePtr& line);
    void takeClickOnCurve(const PlotClick& click);

    Controls ui;
    std::vector<TrappingLinePtr> mTrappingsArray;
};

// The aqueous page: its list, fields and buttons read and change nothing.
class PhaseDiagAqueousPage : public PhaseDiagPage
{
    Q_OBJECT

public:
    PhaseDiagAqueousPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;

    void refreshAqueousList();
    void onSelectAqueousIsopleth();
    void onCalculateAqueousButton(QObject* sender = nullptr);
    void onDeleteAqueousButton(QObject* sender = nullptr);
    void onLogAqueousButton(QObject* sender = nullptr);

    struct Controls
    {
        RecordTable* mAqueousView = nullptr;
        QLineEdit *mCH4MolalityEdit = nullptr, *mNaClMolalityEdit = nullptr, *mTrapAqEdit = nullptr,
                  *mPtrapAqEdit = nullptr;
        QPushButton *mAqueousCalcButton = nullptr, *mAqueousDeleteButton = nullptr, *mAqueousLogButton = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    Controls ui;
    Array mAqueousArray;
};

}  // namespace quorvel
