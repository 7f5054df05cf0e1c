#pragma once
// The isopleths page of the phase-diagram panel: the document's phase envelopes, the fluids
// offered for a new one (alpha-beta fluids, typed or stored, and component-list fluids),
// their calculation and deletion.

#include "panels/PhaseDiagPage.h"

#include <QHash>
#include <QSet>

class QTabWidget;

namespace quorvel {

class PhaseDiagIsoplethsPage : public PhaseDiagPage
{
    Q_OBJECT

public:
    // Inner pages of the fluid lists.
    static constexpr int kAlphaBetaFluidsTab = 0;
    static constexpr int kComponentFluidsTab = 1;
    static inline const QString kNewAlphaBetaFluid = QStringLiteral("New alpha-beta fluid");

    PhaseDiagIsoplethsPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;
    void takePlotSelection(const PlotClick& click) override;
    void windowDidLoad() override;
    void tableViewDeleteSelectedRow(MyTableView* view) override;

    void refreshAlphaBetaFluidsList();
    void refreshFluidModelsList();
    void onSelectPhaseEnvelope();
    void onSelectAlphaBetaModel();
    void onSelectFluidModel();
    void onCalculateIsopleth(QObject* sender = nullptr);
    void onDeleteIsopleth(QObject* sender = nullptr);
    // The fluid an envelope is computed from for a row of a fluid list: a marker's gases
    // become fractions, as in every other fluid.
    Dictionary envelopeFluidOf(const Dictionary& record) const;

    // The check made when the user leaves one of the five alpha-beta fields: a value out of
    // range, or text that is no number, is refused with the field's alert and the field gets
    // back the value it had; answers whether the text is accepted.
    bool textShouldEndEditing(QLineEdit* control);

    struct Controls
    {
        RecordTable* mIsoplethsView = nullptr;
        QTabWidget* mModelTabView = nullptr;
        RecordTable* mAlphaBetaModelsView = nullptr;
        RecordTable* mFluidModelsView = nullptr;
        QLineEdit *mAlphaEdit = nullptr, *mBetaEdit = nullptr, *mCO2Edit = nullptr, *mN2Edit = nullptr,
                  *mH2SEdit = nullptr;
        QPushButton *mIsoplethCalcButton = nullptr, *mIsoplethDeleteButton = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    QList<QLineEdit*> alphaBetaFields() const;
    void appendOpenAlphaBetaFluids(bool leaveOutUsed);
    void setAlphaBetaField(QLineEdit* field, const QString& text);
    void setAlphaBetaFieldsEditable(bool editable);

    Controls ui;
    Array mAlphaBetaModelsArray;
    Array mFluidModelsArray;
    // Markers of alpha-beta plots in the alpha-beta fluid list (their gases are percent).
    QSet<const void*> mMarkers;
    // What each alpha-beta field showed before the user typed into it.
    QHash<QLineEdit*, QString> mAcceptedText;
};

}  // namespace quorvel
