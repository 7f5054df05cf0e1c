#pragma once
// The isochores page of the phase-diagram panel: a diagram of the document, an inclusion (or
// a typed Th and type) on it, the isochores it has already, and their calculation and
// deletion. The diagram chosen here is held weakly and dropped as soon as it leaves the
// attached document.

#include "panels/PhaseDiagPage.h"

class QRadioButton;

namespace quorvel {

class PhaseDiagIsochorsPage : public PhaseDiagPage
{
    Q_OBJECT

public:
    static inline const QString kNewInclusion = QStringLiteral("New inclusion");
    static inline const QString kNoPhaseDiagram = QStringLiteral("No phase diagram");

    PhaseDiagIsochorsPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;
    void takePlotSelection(const PlotClick& click) override;
    void documentDetached() override;
    void windowDidLoad() override;
    void tableViewDeleteSelectedRow(MyTableView* view) override;

    PhaseDiagramPtr selectedPhaseDiagram() const { return mSelectedPhaseDiagram.lock(); }
    // Forgets the chosen diagram once it is no longer one of the attached document's.
    void dropGoneDiagram();

    void refreshInclusionsList();
    void onSelectIsopleth();
    void onSelectInclusion();
    void onSetLiquidHomog(QObject* sender = nullptr);
    void onSetVapourHomog(QObject* sender = nullptr);
    void onThChanged(QObject* sender = nullptr);
    void onSelectIsochor();
    void onCalculateIsochor(QObject* sender = nullptr);
    void onDeleteIsochor(QObject* sender = nullptr);
    // The log button has no function.
    void onWriteLogButton(QObject* sender = nullptr);

    struct Controls
    {
        RecordTable *mIsoplethsView1 = nullptr, *mInclusionsView = nullptr, *mIsochorsView = nullptr;
        QPushButton* mIsochorDeleteButton = nullptr;
        QLineEdit* mThEdit = nullptr;
        QRadioButton *mLiquidRadio = nullptr, *mGasRadio = nullptr;
        QPushButton* mIsochorCalcButton = nullptr;
        QLineEdit *mDensityEdit = nullptr, *mPhEdit = nullptr, *mAPIEdit = nullptr, *mGOREdit = nullptr;
        QPushButton* mWriteLogButton = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    IsochorPtr monophasicIsochorAt(int row) const;
    int rowOfMonophasicIsochor(const IsochorPtr& isochor) const;
    void showDiagramStockTank(const PhaseDiagramPtr& diagram);
    void setHomogRadios(Homogenisation homog);
    Homogenisation checkedHomogenisation() const;
    void clearPlotSelection();
    void showClickedIsochor(const PhaseDiagramPtr& diagram, const IsochorPtr& isochor);

    Controls ui;
    Array mInclusionsArray;
    std::weak_ptr<CPhaseDiagram> mSelectedPhaseDiagram;
};

}  // namespace quorvel
