#include "editor/ComponentDetails.h"

#include "characterisation/Correlations.h"
#include "editor/EditorChanges.h"
#include "editor/EditorControls.h"
#include "editor/FluidTableEditor.h"
#include "editor/FluidTableModel.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace quorvel {

struct ComponentDetails::Controls
{
    QComboBox* componentCombo = nullptr;
    QComboBox* mwChoice = nullptr;
    QComboBox* correlationChoice = nullptr;
    QLineEdit* moleEditField = nullptr;
    ValueStepper* spinMole = nullptr;
    QLineEdit* mwEditField = nullptr;
    QLineEdit* sgEditField = nullptr;
    QLineEdit* tcEditField = nullptr;
    QLineEdit* tkEditField = nullptr;
    QLineEdit* tcREditField = nullptr;
    QLineEdit* pcEditField = nullptr;
    QLineEdit* pcPsiaEditField = nullptr;
    QLineEdit* omegaEditField = nullptr;
    QLineEdit* tbEditField = nullptr;
    QLineEdit* tbKEditField = nullptr;
    QLineEdit* tbREditField = nullptr;
    QLineEdit* vcEditField = nullptr;
    QLineEdit* vcFtEditField = nullptr;
    QLineEdit* moleSum = nullptr;
    QCheckBox* normalizeCheckBox = nullptr;

    // The property fields, in the order they are shown.
    QList<QLineEdit*> propertyFields() const
    {
        return {moleEditField, mwEditField,  sgEditField,  tcEditField,  tkEditField,  tcREditField, pcEditField,
                pcPsiaEditField, omegaEditField, tbEditField, tbKEditField, tbREditField, vcEditField, vcFtEditField};
    }
};

namespace {

const QStringList kSpeciesNames{"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6",
                                "C7", "C8", "C9", "C10", "C11", "C12", "C13", "C14", "C15", "C16", "C17",
                                "C18", "C19", "C20", "C7+", "C10+", "C12+", "C20+", "C30+", "Cn1", "Cn2"};

const QList<std::pair<CorrelationCode, QString>> kCorrelationItems{
    {CorrelationCode::jianzhong0, "Jianzhong (carbon number)"},
    {CorrelationCode::jianzhong1, "Jianzhong (mw, SG)"},
    {CorrelationCode::jianzhong2, "Jianzhong (Tb, SG)"},
    {CorrelationCode::katzFiroozabadi, "Katz-Firoozabadi"},
    {CorrelationCode::ahmed, "Ahmed"},
    {CorrelationCode::riaziDaubert, "Riazi-Daubert"},
    {CorrelationCode::edmister, "Edmister"},
    {CorrelationCode::leeKesler, "Lee-Kesler"},
    {CorrelationCode::winn, "Winn"},
    {CorrelationCode::cavett, "Cavett"},
    {CorrelationCode::pedersen, "Pedersen"},
    {CorrelationCode::montel, "Montel"},
    {CorrelationCode::twu, "Twu"},
    {CorrelationCode::riaziAlSahhaf, "Riazi-Al-Sahhaf"},
    {CorrelationCode::stamataki, "Stamataki"},
    {CorrelationCode::pedersenTb, "Pedersen (Tb)"},
    {CorrelationCode::whitsonTb, "Whitson (Tb)"}};

// Single carbon numbers that the molar-weight rules apply to.
constexpr int kFirstRuleCarbonNumber = 7;
constexpr int kLastRuleCarbonNumber = 99;

// The two rules of the molar-weight pop-up, in its item order.
enum class MolarWeightRule { fourteenNPlusTwo, fourteenNMinusFour };

double ruleMolarWeight(MolarWeightRule rule, int n)
{
    return rule == MolarWeightRule::fourteenNPlusTwo ? 14.0 * n + 2 : 14.0 * n - 4;
}

// Replaces every key of the component by those of the values.
void replaceContents(ComponentRecord component, const ComponentRecord& values)
{
    component.clear();
    for (const QString& key : values.keys())
        component.setValue(key, values.value(key));
}

}  // namespace

ComponentDetails::ComponentDetails(FluidTableEditor& tables, const EditorChanges& changes,
                                   std::function<void()> compositionChanged)
    : mTables(tables), mChanges(changes), mCompositionChanged(std::move(compositionChanged)),
      mControls(std::make_unique<Controls>())
{
}

ComponentDetails::~ComponentDetails() = default;

void ComponentDetails::makeControls(QWidget* box)
{
    Controls& c = *mControls;
    c.componentCombo = makePopup(box, "mComponentCombo");
    c.componentCombo->setEditable(true);
    c.componentCombo->setInsertPolicy(QComboBox::NoInsert);
    c.componentCombo->addItems(kSpeciesNames);
    c.mwChoice = makePopup(box, "mMwChoice");
    c.mwChoice->addItems({QStringLiteral("14n + 2"), QStringLiteral("14n - 4")});
    c.correlationChoice = makePopup(box, "mCorrelationChoice");
    // Each item holds its code's stored number.
    for (const auto& [code, title] : kCorrelationItems)
        c.correlationChoice->addItem(title, code_number(code));
    for (int set = code_number(CorrelationCode::firstSet); set <= code_number(CorrelationCode::lastSet); ++set)
        c.correlationChoice->addItem(tr("Set %1").arg(set), set);
    c.moleEditField = makeField(box, "mMoleEditField");
    c.spinMole = makeStepper(box, "mSpinMole", 0, 100, 0.1);
    c.mwEditField = makeField(box, "mMWEditField");
    c.sgEditField = makeField(box, "mSGEditField");
    c.tcEditField = makeField(box, "mTcEditField");
    c.tkEditField = makeField(box, "mTkEditField");
    c.tcREditField = makeField(box, "mTcREditField");
    c.pcEditField = makeField(box, "mPcEditField");
    c.pcPsiaEditField = makeField(box, "mPcPsiaEditField");
    c.omegaEditField = makeField(box, "mOmegaEditField");
    c.tbEditField = makeField(box, "mTbEditField");
    c.tbKEditField = makeField(box, "mTbKEditField");
    c.tbREditField = makeField(box, "mTbREditField");
    c.vcEditField = makeField(box, "mVcEditField");
    c.vcFtEditField = makeField(box, "mVcFtEditField");
    c.moleSum = makeField(box, "mMoleSum");
    c.moleSum->setReadOnly(true);
    c.normalizeCheckBox = new QCheckBox(tr("Keep 100 %"), box);
    c.normalizeCheckBox->setObjectName("mNormalizeCheckBox");

    connectControls();
}

void ComponentDetails::layOut(QGridLayout& grid, int firstRow, QWidget* box)
{
    const Controls& c = *mControls;
    auto addRow = [&grid, box](int row, const QString& label, QList<std::pair<QWidget*, QString>> cells) {
        grid.addWidget(new QLabel(label, box), row, 0);
        int column = 1;
        for (const auto& [widget, unit] : cells) {
            grid.addWidget(widget, row, column++);
            grid.addWidget(new QLabel(unit, box), row, column++);
        }
    };
    grid.addWidget(new QLabel(tr("Component"), box), firstRow, 0);
    grid.addWidget(c.componentCombo, firstRow, 1);
    grid.addWidget(new QLabel(tr("Correlation"), box), firstRow, 3);
    grid.addWidget(c.correlationChoice, firstRow, 4, 1, 2);
    grid.addWidget(c.mwChoice, firstRow, 6, 1, 2);
    addRow(firstRow + 1, tr("Mole"), {{withStepper(box, c.moleEditField, c.spinMole), "%"}, {c.moleSum, tr("% total")}});
    grid.addWidget(c.normalizeCheckBox, firstRow + 1, 5, 1, 2);
    addRow(firstRow + 2, tr("MW"), {{c.mwEditField, "g/mol"}, {c.sgEditField, "SG"}, {c.omegaEditField, tr("omega")}});
    addRow(firstRow + 3, tr("Tc"), {{c.tcEditField, "\u00b0C"}, {c.tkEditField, "K"}, {c.tcREditField, "\u00b0R"}});
    addRow(firstRow + 4, tr("Tb"), {{c.tbEditField, "\u00b0C"}, {c.tbKEditField, "K"}, {c.tbREditField, "\u00b0R"}});
    addRow(firstRow + 5, tr("Pc"), {{c.pcEditField, "bar"}, {c.pcPsiaEditField, "psia"}});
    addRow(firstRow + 6, tr("Vc"), {{c.vcEditField, "cm3/mol"}, {c.vcFtEditField, "ft3/lb"}});
}

void ComponentDetails::connectControls()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : c.propertyFields())
        onFieldEdited(field, this, [this, field] { onChangeComponentParameter(field); });
    connect(c.componentCombo->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { onChangeComponentParameter(mControls->componentCombo); });
    connect(c.componentCombo, &QComboBox::activated, this,
            [this](int index) { comboBoxSelectionDidChange(mControls->componentCombo->itemText(index)); });
    connect(c.spinMole, &ValueStepper::stepped, this, [this] { onSpinComposition(); });
    connect(c.correlationChoice, &QComboBox::activated, this, [this] { onChangeCorrelation(); });
    connect(c.mwChoice, &QComboBox::activated, this, [this] { onChangeMwCorrelation(); });
}

void ComponentDetails::finishControls()
{
    const Controls& c = *mControls;
    for (QLineEdit* field : {c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.tkEditField,
                             c.pcEditField, c.omegaEditField, c.tcREditField, c.tbREditField, c.pcPsiaEditField,
                             c.vcFtEditField})
        field->setAlignment(Qt::AlignLeft);
}

// --- Showing the component

void ComponentDetails::showComponent(const ComponentRecord& component)
{
    using namespace componentkey;
    const Controls& c = *mControls;
    c.componentCombo->setEditText(component.stringValue(name));
    const double tc = component.doubleValue(componentkey::tc);
    const double tb = component.doubleValue(componentkey::tb);
    const double pc = component.doubleValue(componentkey::pc);
    setDoubleValue2(*c.moleEditField, component.doubleValue(mole));
    setDoubleValue2(*c.mwEditField, component.doubleValue(mw));
    setDoubleValue4(*c.sgEditField, component.doubleValue(sg));
    setDoubleValue2(*c.tcEditField, tc);
    setDoubleValue2(*c.pcEditField, pc);
    setDoubleValue4(*c.omegaEditField, component.doubleValue(omega));
    setDoubleValue2(*c.tkEditField, units::kelvinOfCelsius(tc));
    setDoubleValue2(*c.tbEditField, tb);
    setDoubleValue2(*c.tbKEditField, units::kelvinOfCelsius(tb));
    setDoubleValue2(*c.vcEditField, component.doubleValue(vc));
    c.spinMole->setValue(component.doubleValue(mole));
    setDoubleValue2(*c.tcREditField, units::rankineOfCelsius(tc));
    setDoubleValue2(*c.tbREditField, units::rankineOfCelsius(tb));
    setDoubleValue2(*c.pcPsiaEditField, units::psiaOfBar(pc));
    setDoubleValue2(*c.vcFtEditField, units::ft3PerLbOfVc(component.doubleValue(vc), component.doubleValue(mw)));
    const int item = c.correlationChoice->findData(component.intValue(corr));
    if (item >= 0)
        c.correlationChoice->setCurrentIndex(item);
}

void ComponentDetails::showName(const QString& name)
{
    mControls->componentCombo->setEditText(name);
}

void ComponentDetails::showMoleSum(double sum)
{
    mControls->moleSum->setText(shownNumber(sum, NumberFormat::Decimals4));
}

void ComponentDetails::clear()
{
    for (QLineEdit* field : mControls->propertyFields())
        field->clear();
}

void ComponentDetails::enableProperties(bool enabled)
{
    const Controls& c = *mControls;
    for (QWidget* control : std::initializer_list<QWidget*>{
             c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.tkEditField, c.pcEditField,
             c.omegaEditField, c.spinMole, c.normalizeCheckBox, c.tbEditField, c.tbKEditField, c.vcEditField,
             c.tcREditField, c.tbREditField, c.pcPsiaEditField, c.vcFtEditField})
        control->setEnabled(enabled);
    enableCorrelations(enabled);
}

void ComponentDetails::enableNaming(bool enabled)
{
    mControls->componentCombo->setEnabled(enabled);
}

void ComponentDetails::enableCorrelations(bool enabled)
{
    mControls->correlationChoice->setEnabled(enabled);
    mControls->mwChoice->setEnabled(enabled);
}

void ComponentDetails::setEditable(bool editable)
{
    const Controls& c = *mControls;
    c.componentCombo->setEnabled(editable);
    c.componentCombo->lineEdit()->setReadOnly(!editable);
    for (QLineEdit* field : {c.moleEditField, c.mwEditField, c.sgEditField, c.tcEditField, c.pcEditField,
                             c.omegaEditField, c.tcREditField, c.tbREditField, c.pcPsiaEditField, c.vcFtEditField})
        field->setReadOnly(!editable);
}

// --- Edits

void ComponentDetails::onChangeComponentParameter(QObject* sender)
{
    const int row = mTables.selectedComponentRow();
    if (row < 0 || mTables.selectedComponentRows().size() != 1)
        return;
    const Controls& c = *mControls;
    ComponentRecord component = mTables.selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary();
    if (sender == c.componentCombo) {
        const QString name = typedComponentName(c.componentCombo->currentText());
        setComponentName(name, component, correlationCodeOf(component));
        mTables.afterComponentChange(mTables.selectedFluid());
        mChanges.markChanged();
        return;
    }
    auto* field = qobject_cast<QLineEdit*>(sender);
    const std::optional<double> typed = field ? typedNumber(field->text()) : std::nullopt;
    if (!typed) {  // not a number: the fields show the component again
        mTables.refreshComponents();
        return;
    }
    using Conversion = std::function<double(double)>;
    const Conversion none = [](double v) { return v; };
    const double mw = component.doubleValue(componentkey::mw);
    const QList<std::tuple<QLineEdit*, QString, Conversion>> fields{
        {c.moleEditField, componentkey::mole, none},
        {c.mwEditField, componentkey::mw, none},
        {c.sgEditField, componentkey::sg, none},
        {c.tcEditField, componentkey::tc, none},
        {c.tkEditField, componentkey::tc, units::celsiusOfKelvin},
        {c.tcREditField, componentkey::tc, units::celsiusOfRankine},
        {c.pcEditField, componentkey::pc, none},
        {c.pcPsiaEditField, componentkey::pc, units::barOfPsia},
        {c.omegaEditField, componentkey::omega, none},
        {c.tbEditField, componentkey::tb, none},
        {c.tbKEditField, componentkey::tb, units::celsiusOfKelvin},
        {c.tbREditField, componentkey::tb, units::celsiusOfRankine},
        {c.vcEditField, componentkey::vc, none},
        {c.vcFtEditField, componentkey::vc, [mw](double v) { return units::vcOfFt3PerLb(v, mw); }}};
    for (const auto& [control, key, convert] : fields)
        if (control == field) {
            mTables.setComponent(component, convert(*typed), key);
            return;
        }
}

void ComponentDetails::comboBoxSelectionDidChange(const QString& item)
{
    const int row = mTables.selectedComponentRow();
    if (row < 0 || mTables.selectedComponentRows().size() != 1)
        return;
    setComponentName(item, mTables.selectedFluid().arrayValue(fluidkey::components).at(row).toDictionary(),
                     CorrelationCode::jianzhong0);
    mTables.afterComponentChange(mTables.selectedFluid());
    mChanges.markChanged();
}

void ComponentDetails::onSpinComposition()
{
    const int row = mTables.selectedComponentRow();
    if (row < 0)
        return;
    const FluidRecord fluid = mTables.selectedFluid();
    const Array components = fluid.arrayValue(fluidkey::components);
    ComponentRecord stepped = components.at(row).toDictionary();
    const double value = mControls->spinMole->value();
    stepped.setValue(componentkey::mole, value);
    if (mControls->normalizeCheckBox->isChecked()) {
        double others = 0;
        for (const Value& component : components)
            if (component.toDictionary().identity() != stepped.identity())
                others += component.toDictionary().doubleValue(componentkey::mole);
        if (others > 0)
            for (const Value& element : components) {
                ComponentRecord component = element.toDictionary();
                if (component.identity() != stepped.identity())
                    component.setValue(componentkey::mole,
                                       component.doubleValue(componentkey::mole) * (100 - value) / others);
            }
    }
    mTables.afterComponentChange(fluid);
    mChanges.markChanged();
}

// --- Correlations

void ComponentDetails::onChangeCorrelation()
{
    if (!mTables.hasSelectedFluid())
        return;
    const Array components = mTables.selectedFluid().arrayValue(fluidkey::components);
    const CorrelationCode code = correlationCodeFromNumber(mControls->correlationChoice->currentData().toInt());
    bool changed = false;
    {
        const EditorChanges::Group step = mChanges.group();  // once closed, marks the document changed
        for (int row : mTables.selectedComponentRows()) {
            ComponentRecord component = components.at(row).toDictionary();
            if (component.intValue(componentkey::nc) < 0 || correlationCodeOf(component) == code)
                continue;  // the gases keep their data; the same code again recomputes nothing
            // The undo puts back the values themselves: re-applying the previous code would lose
            // typed values and could not restore a correlation that records no code.
            const ComponentRecord before = component.copy();
            applyCorrelation(component, code);
            changed = true;
            mChanges.registerUndo([this, before, component] { restoreCorrelationTo(before, component); });
        }
    }
    if (changed) {
        mTables.reloadComponents();
        mCompositionChanged();
        mTables.refreshComponents();
    }
}

void ComponentDetails::restoreCorrelationTo(const ComponentRecord& values, ComponentRecord component)
{
    if (component.isEqualTo(values))
        return;
    const ComponentRecord current = component.copy();
    replaceContents(component, values);
    mTables.reloadComponents();
    mCompositionChanged();
    mTables.refreshComponents();
    mChanges.registerUndo([this, current, component] { restoreCorrelationTo(current, component); });
}

void ComponentDetails::onChangeMwCorrelation()
{
    if (!mTables.hasSelectedFluid())
        return;
    const Array components = mTables.selectedFluid().arrayValue(fluidkey::components);
    const auto rule = static_cast<MolarWeightRule>(mControls->mwChoice->currentIndex());
    bool written = false;
    for (int row : mTables.selectedComponentRows()) {
        ComponentRecord component = components.at(row).toDictionary();
        const int nc = component.intValue(componentkey::nc);
        if (nc < kFirstRuleCarbonNumber || nc > kLastRuleCarbonNumber)
            continue;
        component.setValue(componentkey::mw, ruleMolarWeight(rule, nc));
        written = true;
    }
    if (written) {
        mTables.reloadComponents();
        mChanges.markChanged();
    }
}

}  // namespace quorvel
