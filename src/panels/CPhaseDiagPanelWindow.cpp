// The window of the phase-diagram panel ("PhaseDiagPanel1"): six pages in a tab view, their
// lists, fields and buttons, each wired to its action.

#include "panels/CPhaseDiagPanel.h"

#include "panels/PhaseDiagOutlineModel.h"
#include "plot/CPlotView.h"
#include "widgets/ValueStepper.h"

#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorvel {

namespace {

const QString kLayoutName = QStringLiteral("PhaseDiagPanel1");
constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 600;
constexpr int kVolumePlotHeight = 260;
// The trapping temperature's stepper: 1 °C a step, up to the plot's own maximum.
constexpr double kTrapStepperIncrement = 1;
constexpr double kTrapStepperMaximum = 1000;
constexpr int kVolumeTicks = 10;
constexpr int kVolumeTickDigits = 1;

QLabel* titleLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, bool readOnly = false)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setAlignment(Qt::AlignLeft);
    field->setReadOnly(readOnly);
    field->setMinimumWidth(70);
    return field;
}

QPushButton* makeButton(const QString& title, QWidget* parent, const char* name)
{
    auto* button = new QPushButton(title, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

RecordTable* CPhaseDiagPanel::makeList(QWidget* parent, const char* name, const QStringList& columns, bool multiple)
{
    QList<RecordTableModel::Column> keyed;
    for (const QString& column : columns) {
        const QStringList parts = column.split(QLatin1Char('|'));
        keyed.append({parts.first(), parts.value(1, parts.first()), false});
    }
    // The panel answers for the list once it exists.
    auto shown = std::make_shared<QAbstractItemView*>(nullptr);
    RecordTableModel::DataSource source{
        [this, shown] { return numberOfRows(*shown); },
        [this, shown](const QString& key, int row) { return objectValue(*shown, key, row); }, {}};
    auto* view = new RecordTable(keyed, source, parent);
    *shown = view;
    view->setObjectName(QLatin1String(name));
    view->setDelegate(this);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (multiple)
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->setDefaultSectionSize(20);
    view->setAlternatingRowColors(true);
    // The lists are grooved boxes without scrollers.
    view->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(view, &RecordTable::selectionDidChange, this, [this, view] { tableViewSelectionDidChange(view); });
    return view;
}

QWidget* CPhaseDiagPanel::makeWindow()
{
    QWidget* panel = makePanelWindow(kLayoutName, tr("Phase Diagram"));
    mTabView = new PanelPages(panel);
    mTabView->setObjectName(QStringLiteral("mTabView"));
    const std::tuple<QWidget* (CPhaseDiagPanel::*)(), QString, QString> pages[] = {
        {&CPhaseDiagPanel::buildIsoplethsPage, kIsoplethsPage, tr("Isopleths")},
        {&CPhaseDiagPanel::buildIsochorsPage, kIsochorsPage, tr("Isochors")},
        {&CPhaseDiagPanel::buildVolumesPage, kVolumesPage, tr("Volumes")},
        {&CPhaseDiagPanel::buildTrappingPage, kTrappingPage, tr("Trapping")},
        {&CPhaseDiagPanel::buildAqueousPage, kAqueousPage, tr("Aqueous")},
        {&CPhaseDiagPanel::buildSummaryPage, kSummaryPage, tr("Summary")}};
    for (const auto& [build, identifier, title] : pages)
        mTabView->addPage((this->*build)(), identifier, title);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(mTabView);
    panel->resize(kPanelWidth, kPanelHeight);
    connect(mTabView, &PanelPages::willSelectPage, this, [this](const QString& page) { updatePanel(page); });
    connect(mTabView, &PanelPages::didSelectPage, this, [this] {
        // The page now in front takes up the plot's current selection.
        if (mDocument)
            postSelection();
    });
    return panel;
}

QWidget* CPhaseDiagPanel::buildIsoplethsPage()
{
    auto* page = new QWidget;
    page->setObjectName(kIsoplethsPage);
    mIsoplethsView = makeList(page, "mIsoplethsView", {QStringLiteral("name|Phase envelopes")});
    mModelTabView = new QTabWidget(page);
    mModelTabView->setObjectName(QStringLiteral("mModelTabView"));
    mAlphaBetaModelsView = makeList(
        nullptr, "mAlphaBetaModelsView",
        {QStringLiteral("name|Fluid"), QStringLiteral("alpha|Alpha"), QStringLiteral("beta|Beta")});
    mFluidModelsView = makeList(nullptr, "mFluidModelsView", {QStringLiteral("name|Fluid"), QStringLiteral("comment|Comment")});
    mModelTabView->addTab(mAlphaBetaModelsView, tr("Alpha-beta fluids"));
    mModelTabView->addTab(mFluidModelsView, tr("Fluid models"));
    // Nothing refreshes the newly shown fluid list by itself: the page is refreshed here.
    connect(mModelTabView, &QTabWidget::currentChanged, this, [this] { updatePanel(kIsoplethsPage); });

    mAlphaEdit = makeField(page, "mAlphaEdit");
    mBetaEdit = makeField(page, "mBetaEdit");
    mCO2Edit = makeField(page, "mCO2Edit");
    mN2Edit = makeField(page, "mN2Edit");
    mH2SEdit = makeField(page, "mH2SEdit");
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("Alpha:"), page), 0, 0);
    fields->addWidget(mAlphaEdit, 0, 1);
    fields->addWidget(new QLabel(tr("Beta:"), page), 0, 2);
    fields->addWidget(mBetaEdit, 0, 3);
    fields->addWidget(new QLabel(tr("CO2 (%):"), page), 1, 0);
    fields->addWidget(mCO2Edit, 1, 1);
    fields->addWidget(new QLabel(tr("N2 (%):"), page), 1, 2);
    fields->addWidget(mN2Edit, 1, 3);
    fields->addWidget(new QLabel(tr("H2S (%):"), page), 2, 0);
    fields->addWidget(mH2SEdit, 2, 1);
    for (QLineEdit* field : {mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit})
        connect(field, &QLineEdit::editingFinished, this, [this, field] { textShouldEndEditing(field); });

    mIsoplethCalcButton = makeButton(tr("Calculate"), page, "mIsoplethCalcButton");
    mIsoplethDeleteButton = makeButton(tr("Delete"), page, "mIsoplethDeleteButton");
    connect(mIsoplethCalcButton, &QPushButton::clicked, this, [this] { onCalculateIsopleth(mIsoplethCalcButton); });
    connect(mIsoplethDeleteButton, &QPushButton::clicked, this, [this] { onDeleteIsopleth(mIsoplethDeleteButton); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mIsoplethDeleteButton);
    buttons->addWidget(mIsoplethCalcButton);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Phase envelopes of the document"), page));
    layout->addWidget(mIsoplethsView, 2);
    layout->addWidget(titleLabel(tr("Fluid of a new phase envelope"), page));
    layout->addWidget(mModelTabView, 3);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    return page;
}

QWidget* CPhaseDiagPanel::buildIsochorsPage()
{
    auto* page = new QWidget;
    page->setObjectName(kIsochorsPage);
    mIsoplethsView1 = makeList(page, "mIsoplethsView1", {QStringLiteral("name|Phase envelopes")});
    mInclusionsView = makeList(page, "mInclusionsView",
                               {QStringLiteral("name|Inclusion"), QStringLiteral("Th|Th (°C)"),
                                QStringLiteral("homog|Homog.")});
    mIsochorsView = makeList(page, "mIsochorsView", {QStringLiteral("name|Isochors")});
    mThEdit = makeField(page, "mThEdit");
    mLiquidRadio = new QRadioButton(tr("Liquid"), page);
    mLiquidRadio->setObjectName(QStringLiteral("mLiquidRadio"));
    mGasRadio = new QRadioButton(tr("Vapour"), page);
    mGasRadio->setObjectName(QStringLiteral("mGasRadio"));
    // The two actions keep the radios exclusive; both may also be cleared.
    mLiquidRadio->setAutoExclusive(false);
    mGasRadio->setAutoExclusive(false);
    mIsochorCalcButton = makeButton(tr("Calculate"), page, "mIsochorCalcButton");
    mIsochorDeleteButton = makeButton(tr("Delete"), page, "mIsochorDeleteButton");
    mWriteLogButton = makeButton(tr("Log"), page, "mWriteLogButton");
    mDensityEdit = makeField(page, "mDensityEdit", true);
    mPhEdit = makeField(page, "mPhEdit", true);
    mAPIEdit = makeField(page, "mAPIEdit", true);
    mGOREdit = makeField(page, "mGOREdit", true);
    connect(mThEdit, &QLineEdit::returnPressed, this, [this] { onThChanged(mThEdit); });
    connect(mLiquidRadio, &QRadioButton::clicked, this, [this] { onSetLiquidHomog(mLiquidRadio); });
    connect(mGasRadio, &QRadioButton::clicked, this, [this] { onSetVapourHomog(mGasRadio); });
    connect(mIsochorCalcButton, &QPushButton::clicked, this, [this] { onCalculateIsochor(mIsochorCalcButton); });
    connect(mIsochorDeleteButton, &QPushButton::clicked, this, [this] { onDeleteIsochor(mIsochorDeleteButton); });
    connect(mWriteLogButton, &QPushButton::clicked, this, [this] { onWriteLogButton(mWriteLogButton); });

    auto* homog = new QHBoxLayout;
    homog->addWidget(new QLabel(tr("Th (°C):"), page));
    homog->addWidget(mThEdit);
    homog->addWidget(mLiquidRadio);
    homog->addWidget(mGasRadio);
    homog->addWidget(mIsochorCalcButton);
    auto* results = new QGridLayout;
    results->addWidget(new QLabel(tr("Density (g/cm3):"), page), 0, 0);
    results->addWidget(mDensityEdit, 0, 1);
    results->addWidget(new QLabel(tr("Ph (bar):"), page), 0, 2);
    results->addWidget(mPhEdit, 0, 3);
    results->addWidget(new QLabel(tr("API:"), page), 1, 0);
    results->addWidget(mAPIEdit, 1, 1);
    results->addWidget(new QLabel(tr("GOR:"), page), 1, 2);
    results->addWidget(mGOREdit, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mWriteLogButton);
    buttons->addStretch();
    buttons->addWidget(mIsochorDeleteButton);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Phase envelope"), page));
    layout->addWidget(mIsoplethsView1, 2);
    layout->addWidget(titleLabel(tr("Inclusion"), page));
    layout->addWidget(mInclusionsView, 2);
    layout->addLayout(homog);
    layout->addWidget(titleLabel(tr("Isochors of the phase envelope"), page));
    layout->addWidget(mIsochorsView, 2);
    layout->addLayout(results);
    layout->addLayout(buttons);
    return page;
}

QWidget* CPhaseDiagPanel::buildVolumesPage()
{
    auto* page = new QWidget;
    page->setObjectName(kVolumesPage);
    mIsochorsView2 = makeList(page, "mIsochorsView2", {QStringLiteral("name|Isochors")}, true);
    mInclusionsView2 = makeList(page, "mInclusionsView2", {QStringLiteral("name|Inclusions")}, true);
    mVolumePlotView = new CPlotView(QRect(0, 0, kPanelWidth - 40, kVolumePlotHeight), page);
    mVolumePlotView->setObjectName(QStringLiteral("mVolumePlotView"));
    mVolumePlotView->setMinimumHeight(kVolumePlotHeight);
    auto* lists = new QHBoxLayout;
    lists->addWidget(mIsochorsView2);
    lists->addWidget(mInclusionsView2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Bubble volumes: computed and measured"), page));
    layout->addLayout(lists, 1);
    layout->addWidget(mVolumePlotView, 2);
    return page;
}

QWidget* CPhaseDiagPanel::buildTrappingPage()
{
    auto* page = new QWidget;
    page->setObjectName(kTrappingPage);
    mIsochorsView1 = makeList(page, "mIsochorsView1", {QStringLiteral("name|Isochors")});
    mTrappingsView = makeList(page, "mTrappingsView", {QStringLiteral("name|Trapping lines")});
    mThAqEdit = makeField(page, "mThAqEdit");
    mThAqStepper = new ValueStepper(page);
    mThAqStepper->setObjectName(QStringLiteral("mThAqStepper"));
    mThAqStepper->setFixedSize(16, 24);
    mPtrapEdit = makeField(page, "mPtrapEdit", true);
    mSetTrappingButton = makeButton(tr("Set trapping line"), page, "mSetTrappingButton");
    mWriteLogButton1 = makeButton(tr("Log"), page, "mWriteLogButton1");
    mTrapLineDeleteButton = makeButton(tr("Delete"), page, "mTrapLineDeleteButton");
    connect(mThAqEdit, &QLineEdit::returnPressed, this, [this] { onChangeTrapTemp(mThAqEdit); });
    connect(mThAqStepper, &ValueStepper::stepped, this, [this] { onSpinTrapTemp(mThAqStepper); });
    connect(mSetTrappingButton, &QPushButton::clicked, this, [this] { onSetTrappingLine(mSetTrappingButton); });
    connect(mWriteLogButton1, &QPushButton::clicked, this, [this] { onWriteLogButton1(mWriteLogButton1); });
    connect(mTrapLineDeleteButton, &QPushButton::clicked, this, [this] { onDeleteTrapping(mTrapLineDeleteButton); });

    auto* temperature = new QGridLayout;
    temperature->addWidget(new QLabel(tr("Th (Aq.) (°C):"), page), 0, 0);
    temperature->addWidget(mThAqEdit, 0, 1);
    temperature->addWidget(mThAqStepper, 0, 2);
    temperature->addWidget(new QLabel(tr("P trap (bar):"), page), 1, 0);
    temperature->addWidget(mPtrapEdit, 1, 1);
    temperature->addWidget(mSetTrappingButton, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mWriteLogButton1);
    buttons->addStretch();
    buttons->addWidget(mTrapLineDeleteButton);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Isochors"), page));
    layout->addWidget(mIsochorsView1, 3);
    layout->addLayout(temperature);
    layout->addWidget(titleLabel(tr("Trapping lines"), page));
    layout->addWidget(mTrappingsView, 2);
    layout->addLayout(buttons);
    return page;
}

QWidget* CPhaseDiagPanel::buildAqueousPage()
{
    auto* page = new QWidget;
    page->setObjectName(kAqueousPage);
    mAqueousView = makeList(page, "mAqueousView", {QStringLiteral("name|Aqueous isopleths")});
    mCH4MolalityEdit = makeField(page, "mCH4MolalityEdit");
    mNaClMolalityEdit = makeField(page, "mNaClMolalityEdit");
    mTrapAqEdit = makeField(page, "mTrapAqEdit");
    mPtrapAqEdit = makeField(page, "mPtrapAqEdit");
    mAqueousCalcButton = makeButton(tr("Calculate"), page, "mAqueousCalcButton");
    mAqueousDeleteButton = makeButton(tr("Delete"), page, "mAqueousDeleteButton");
    mAqueousLogButton = makeButton(tr("Log"), page, "mAqueousLogButton");
    connect(mAqueousCalcButton, &QPushButton::clicked, this, [this] { onCalculateAqueousButton(mAqueousCalcButton); });
    connect(mAqueousDeleteButton, &QPushButton::clicked, this, [this] { onDeleteAqueousButton(mAqueousDeleteButton); });
    connect(mAqueousLogButton, &QPushButton::clicked, this, [this] { onLogAqueousButton(mAqueousLogButton); });

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("CH4 molality:"), page), 0, 0);
    fields->addWidget(mCH4MolalityEdit, 0, 1);
    fields->addWidget(new QLabel(tr("NaCl molality:"), page), 0, 2);
    fields->addWidget(mNaClMolalityEdit, 0, 3);
    fields->addWidget(new QLabel(tr("T trap (°C):"), page), 1, 0);
    fields->addWidget(mTrapAqEdit, 1, 1);
    fields->addWidget(new QLabel(tr("P trap (bar):"), page), 1, 2);
    fields->addWidget(mPtrapAqEdit, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAqueousLogButton);
    buttons->addStretch();
    buttons->addWidget(mAqueousDeleteButton);
    buttons->addWidget(mAqueousCalcButton);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Aqueous isopleths"), page));
    layout->addWidget(mAqueousView, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    return page;
}

QWidget* CPhaseDiagPanel::buildSummaryPage()
{
    auto* page = new QWidget;
    page->setObjectName(kSummaryPage);
    mPhaseDiagView = new MyOutlineView(page);
    mPhaseDiagView->setObjectName(QStringLiteral("mPhaseDiagView"));
    mPhaseDiagView->setDelegate(this);
    mPhaseDiagView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mPhaseDiagView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mPhaseDiagView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mOutlineModel = new PhaseDiagOutlineModel(mPhaseDiagView);
    mPhaseDiagView->setModel(mOutlineModel);
    mPhaseDiagView->header()->resizeSection(0, 260);
    connect(mPhaseDiagView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { tableViewSelectionDidChange(mPhaseDiagView); });
    mDeleteButton = makeButton(tr("Delete"), page, "mDeleteButton");
    connect(mDeleteButton, &QPushButton::clicked, this, [this] { onRemovePhaseDiagramElement(mDeleteButton); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mDeleteButton);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel(tr("Content of the document"), page));
    layout->addWidget(mPhaseDiagView, 1);
    layout->addLayout(buttons);
    return page;
}

void CPhaseDiagPanel::windowDidLoad()
{
    // The alpha-beta fields form a keyboard loop.
    const QList<QLineEdit*> loop{mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit};
    for (int i = 0; i < loop.size(); ++i)
        QWidget::setTabOrder(loop[i], loop[(i + 1) % loop.size()]);
    for (RecordTable* deletable : {mIsoplethsView, mIsochorsView, mTrappingsView})
        deletable->setDeletable(true);
    mVolumePlotView->setLabels(QStringLiteral("T (°C)"), QStringLiteral("Bubble (%)"));
    mVolumePlotView->setTicksDigits(kVolumeTickDigits, kVolumeTickDigits);
    mVolumePlotView->setTicksNumber(kVolumeTicks, kVolumeTicks);
    mThAqStepper->setIncrement(kTrapStepperIncrement);
    mThAqStepper->setMaximum(kTrapStepperMaximum);
}

}  // namespace quorvel
