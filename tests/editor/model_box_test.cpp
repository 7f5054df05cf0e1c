// The model box: the change of model with its confirmation and the deferred click that
// takes back a cancelled one, the box's view of each model, and the refusal of model
// parameters the model cannot use.

#include "support/EditorTestSupport.h"

#include "platform/AlertService.h"
#include "widgets/ValueStepper.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kConfirmation =
    "Do you confirm this model change ? This will erase the present component distribution.";

struct ModelBox : ::testing::Test, EditorFixture
{
    RecordingAlertService alerts;

    QLineEdit* field(const char* outlet) { return editor->control<QLineEdit>(outlet); }
    ValueStepper* stepper(const char* outlet) { return editor->control<ValueStepper>(outlet); }
    QButtonGroup* radio() { return editor->window()->findChild<QButtonGroup*>("mModelRadio"); }
    void click(int tag)
    {
        radio()->button(tag)->click();
        settle();  // runs the deferred click of a cancelled change
    }
    // The fluid's model fields typed by the user, Return included.
    void type(const char* outlet, const QString& text)
    {
        field(outlet)->setText(text);
        field(outlet)->setModified(true);
        emit field(outlet)->editingFinished();
        settle();
    }
};

QStringList alphaBetaNames()
{
    return {"N2", "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6", "C7", "C8", "C9", "C10",
            "Cn1", "Cn2"};
}

QStringList expandedNames()
{
    QStringList names{"N2", "CO2", "H2S"};
    for (int n = 1; n <= 39; ++n)
        names << QStringLiteral("C%1").arg(n);
    return names << "C40+";
}

TEST_F(ModelBox, ModelSwitchTable)
{
    struct Case
    {
        const char* title;
        int startType;        // the selected fluid's model before the click
        int selectFirst;      // fluid row selected before the fluid acted on (-1: none)
        int tag;              // the cell clicked
        AlertResponse answer;
        int alerts;
        int typeAfter;
        int countAfter;       // components of the fluid acted on
        int radioAfter;       // the checked cell once the deferred click has run
        int changesAfter;
    };
    const int user = code_number(FluidType::componentList), ab = code_number(FluidType::alphaBeta), ex = code_number(FluidType::carbonNumbers),
              gamma = code_number(FluidType::gamma);
    const auto ok = AlertResponse::Default, cancel = AlertResponse::Alternate;
    const QList<Case> cases{
        {"user to alpha-beta, OK", user, -1, ab, ok, 1, ab, 17, ab, 2},
        {"user to alpha-beta, Cancel", user, -1, ab, cancel, 1, user, 3, user, 0},
        {"user to expanded, OK", user, -1, ex, ok, 1, ex, 43, ex, 2},
        {"user to expanded, Cancel", user, -1, ex, cancel, 1, user, 3, user, 0},
        {"user to gamma, OK", user, -1, gamma, ok, 1, gamma, -1, gamma, 2},
        {"user to gamma, Cancel", user, -1, gamma, cancel, 1, user, 3, user, 0},
        {"alpha-beta clicked again", ab, -1, ab, cancel, 0, ab, 17, ab, 2},
        {"user fluid after an alpha-beta one, Cancel", user, 0, ab, cancel, 1, user, 3, user, 0},
        // A cancelled change puts the cell back and leaves the fluid as it was: no change to mark.
        {"alpha-beta fluid after a user one, Cancel", ab, 0, gamma, cancel, 1, ab, 17, ab, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        FluidRecord acted = fluid("F", {"C1", "C2", "C3"});
        if (c.startType == ab) {
            open({});
            acted = editor->createAlphaBetaFluid(0.5, 0.2, 0, 0, 0, "F");
            document.reset();
            settle();
        }
        // The other fluid, selected first when the case says so, follows the other model.
        FluidRecord other = c.startType == ab ? fluid("U", {"C1"}) : FluidRecord();
        if (c.startType != ab) {
            open({});
            other = editor->createAlphaBetaFluid(0.4, 0.3, 0, 0, 0, "G");
            document.reset();
            settle();
        }
        open({other, acted});
        editor->selectFluidRow(c.selectFirst >= 0 ? c.selectFirst : 1);
        editor->selectFluidRow(1);
        settle();
        document->updateChangeCount(Document::ChangeCleared);
        const QStringList before = componentNames(1);
        alerts.clear();
        alerts.queueResponse(c.answer);

        click(c.tag);
        ASSERT_EQ(alerts.alerts().size(), c.alerts);
        if (c.alerts) {
            EXPECT_EQ(alerts.alerts().first().message, kConfirmation);
            EXPECT_EQ(alerts.alerts().first().defaultButton, "OK");
            EXPECT_EQ(alerts.alerts().first().alternateButton, "Cancel");
            EXPECT_TRUE(alerts.alerts().first().title.isEmpty());
        }
        EXPECT_EQ(acted.intValue("fluidType"), c.typeAfter);
        if (c.countAfter >= 0) {
            EXPECT_EQ(componentNames(1).size(), c.countAfter);
        }
        if (c.answer == cancel && c.alerts) {
            EXPECT_EQ(componentNames(1), before) << "a cancelled change keeps the list";
        }
        EXPECT_EQ(radio()->checkedId(), c.radioAfter);
        EXPECT_EQ(changes(), c.changesAfter);
        EXPECT_EQ(other.intValue("fluidType"), c.startType == ab ? user : ab) << "the other fluid is untouched";
        document.reset();
        settle();
    }
}

// A gamma fluid built from parameters of its own: cancelling a change to any other model leaves
// the record exactly as it was (no rebuild from the box's defaults) and the document unchanged.
TEST_F(ModelBox, CancelledChangeOfAGammaFluidLeavesItExactlyAsItWas)
{
    for (const int tag : {code_number(FluidType::alphaBeta), code_number(FluidType::carbonNumbers), code_number(FluidType::componentList)}) {
        SCOPED_TRACE(tag);
        open({fluid("F", {"C1", "C2", "C3"})});
        alerts.queueResponse(AlertResponse::Default);
        click(code_number(FluidType::gamma));
        type("mAlphaEditField", "4.5");
        type("mBetaEditField", "150");
        type("mDeltaEditField", "10");
        const FluidRecord gamma = fluids().at(0).toDictionary();
        ASSERT_EQ(gamma.doubleValue("alpha"), 4.5);
        ASSERT_EQ(gamma.intValue("delta"), 10);
        const FluidRecord before = gamma.deepCopy();
        const QStringList namesBefore = componentNames(0);
        const QString alphaShown = field("mAlphaEditField")->text();
        document->updateChangeCount(Document::ChangeCleared);
        alerts.clear();

        alerts.queueResponse(AlertResponse::Alternate);  // Cancel
        click(tag);
        EXPECT_EQ(alerts.alerts().size(), tag == code_number(FluidType::componentList) ? 0 : 1);
        if (tag == code_number(FluidType::componentList)) {  // the user-defined model asks nothing: the change is made
            document.reset();
            settle();
            continue;
        }
        EXPECT_TRUE(gamma.isEqualTo(before)) << "alpha, beta, delta and the components as they were";
        EXPECT_EQ(componentNames(0), namesBefore);
        EXPECT_EQ(radio()->checkedId(), code_number(FluidType::gamma));
        EXPECT_EQ(field("mAlphaEditField")->text(), alphaShown) << "not the default 3.00";
        EXPECT_EQ(field("mDeltaEditField")->text(), "10");
        EXPECT_EQ(changes(), 0);
        EXPECT_FALSE(document->isDocumentEdited());
        document.reset();
        settle();
    }
}

TEST_F(ModelBox, GeneratedListsAndTheirNames)
{
    open({fluid("F", {"C1", "C2", "C3"})});
    click(code_number(FluidType::alphaBeta));
    EXPECT_EQ(componentNames(0), alphaBetaNames());
    click(code_number(FluidType::componentList));
    EXPECT_EQ(componentNames(0), alphaBetaNames()) << "user-defined keeps the generated list";
    EXPECT_EQ(fluids().at(0).toDictionary().intValue("fluidType"), code_number(FluidType::componentList));
    EXPECT_TRUE(fluids().at(0).toDictionary().contains("alpha"));
    EXPECT_TRUE(editor->control<QPushButton>("mAddButton")->isEnabled());
    click(code_number(FluidType::carbonNumbers));
    EXPECT_EQ(componentNames(0), expandedNames());
}

TEST_F(ModelBox, ViewOfEachModel)
{
    open({});
    FluidRecord gamma = fluid("G", {"C1"}, FluidType::gamma);
    gamma.setValue("alpha", 2.5);
    gamma.setValue("beta", 120.0);
    gamma.setValue("delta", 7);
    gamma.setValue("CO2", 0.05);
    FluidRecord ab = editor->createAlphaBetaFluid(0.6, 0.15, 0, 0, 0, "AB");
    document.reset();
    settle();
    open({fluid("U", {"C1"}), gamma, ab});

    editor->selectFluidRow(0);
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.0000");
    EXPECT_EQ(field("mBetaEditField")->text(), "0.0000");
    EXPECT_EQ(field("mCO2EditField")->text(), "0.000");
    EXPECT_EQ(field("mDeltaEditField")->text(), "0.00");
    for (const char* outlet : {"mAlphaEditField", "mBetaEditField", "mDeltaEditField", "mCO2EditField"})
        EXPECT_FALSE(field(outlet)->isEnabled()) << outlet;
    EXPECT_TRUE(editor->componentsView()->isDeletable());

    editor->selectFluidRow(1);
    EXPECT_EQ(field("mAlphaEditField")->text(), "2.5000");
    EXPECT_EQ(field("mBetaEditField")->text(), "120.0000");
    EXPECT_EQ(field("mDeltaEditField")->text(), "7");
    EXPECT_EQ(field("mCO2EditField")->text(), "5.000");
    EXPECT_TRUE(field("mDeltaEditField")->isEnabled());
    EXPECT_TRUE(editor->control<QPushButton>("mAlphaBetaize")->isEnabled());
    EXPECT_FALSE(editor->control<QPushButton>("mAddButton")->isEnabled());
    EXPECT_FALSE(editor->componentsView()->isDeletable());
    EXPECT_FALSE(editor->componentsView()->isEditable());
    EXPECT_TRUE(field("mMWEditField")->isReadOnly());
    const QList<std::tuple<const char*, double, double, double, double>> gammaRanges{
        {"mSpinAlpha", 1, 100, 0.1, 2.5}, {"mSpinBeta", 0, 500, 1, 120}, {"mSpinDelta", 1, 50, 1, 7}};
    for (const auto& [outlet, minimum, maximum, increment, value] : gammaRanges) {
        SCOPED_TRACE(outlet);
        EXPECT_EQ(stepper(outlet)->minimum(), minimum);
        EXPECT_EQ(stepper(outlet)->maximum(), maximum);
        EXPECT_EQ(stepper(outlet)->increment(), increment);
        EXPECT_EQ(stepper(outlet)->value(), value);
    }

    editor->selectFluidRow(2);
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.6000");
    EXPECT_FALSE(editor->control<QPushButton>("mAlphaBetaize")->isEnabled());
    EXPECT_TRUE(field("mDeltaEditField")->isEnabled()) << "delta is left as the gamma fluid set it";
    for (const char* outlet : {"mSpinAlpha", "mSpinBeta"}) {
        EXPECT_EQ(stepper(outlet)->minimum(), 0);
        EXPECT_EQ(stepper(outlet)->maximum(), 1);
        EXPECT_EQ(stepper(outlet)->increment(), 0.01);
    }
}

TEST_F(ModelBox, ParametersFollowTheStepperAndTheFieldAndMarkTheDocument)
{
    open({});
    FluidRecord ab = editor->createAlphaBetaFluid(0.6, 0.15, 0, 0, 0, "AB");
    document.reset();
    settle();
    open({ab});
    document->updateChangeCount(Document::ChangeCleared);
    stepper("mSpinAlpha")->stepUp();
    settle();
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.6100");
    EXPECT_NEAR(ab.doubleValue("alpha"), 0.61, 1e-12);
    type("mBetaEditField", "0.2");
    EXPECT_EQ(stepper("mSpinBeta")->value(), 0.2);
    EXPECT_EQ(ab.doubleValue("beta"), 0.2);
    type("mN2EditField", "1.5");
    EXPECT_NEAR(ab.doubleValue("N2"), 0.015, 1e-15);
    EXPECT_NEAR(ab.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 1.5, 1e-9);
    EXPECT_EQ(changes(), 3);
    EXPECT_FALSE(undo()->canUndo()) << "a model parameter is not undoable";
}

TEST_F(ModelBox, ParametersTheModelCannotUseAreRefusedAndTheOldValueKept)
{
    struct Case
    {
        const char* title;
        int type;
        const char* outlet;
        QString typed;        // empty: the stepper below steps down from the value shown
        const char* message;  // start of the alert
        const char* shownAfter;
    };
    const QList<Case> cases{
        {"alpha 1.2", code_number(FluidType::alphaBeta), "mAlphaEditField", "1.2", "This is not a valid number for the alpha",
         "0.6000"},
        {"alpha -0.1", code_number(FluidType::carbonNumbers), "mAlphaEditField", "-0.1", "This is not a valid number for the alpha",
         "0.6000"},
        {"beta text", code_number(FluidType::alphaBeta), "mBetaEditField", "abc", "This is not a valid number for the beta",
         "0.1500"},
        {"gases over 100", code_number(FluidType::alphaBeta), "mCO2EditField", "100", "This is not a valid gas content", "0.000"},
        {"gamma scale 0", code_number(FluidType::gamma), "mBetaEditField", "0", "This is not a valid number for the beta",
         "1.0000"},
        {"gamma scale stepped to 0", code_number(FluidType::gamma), "mSpinBeta", "", "This is not a valid number for the beta",
         "1.0000"},
        {"gamma delta 0", code_number(FluidType::gamma), "mDeltaEditField", "0", "This is not a valid number for the delta", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        FluidRecord f = fluid("M", {"C1", "C2"}, fluidTypeFromNumber(c.type));
        f.setValue("alpha", c.type == code_number(FluidType::gamma) ? 3.0 : 0.6);
        f.setValue("beta", c.type == code_number(FluidType::gamma) ? 1.0 : 0.15);
        f.setValue("delta", 5);
        for (const char* gas : {"CO2", "N2", "H2S"})
            f.setValue(gas, 0.0);
        open({f});
        const FluidRecord before = f.deepCopy();
        alerts.clear();
        if (c.typed.isEmpty()) {
            stepper(c.outlet)->stepDown();
            settle();
        } else {
            type(c.outlet, c.typed);
        }
        ASSERT_EQ(alerts.alerts().size(), 1);
        EXPECT_TRUE(alerts.messages().first().startsWith(c.message)) << alerts.messages().first().toStdString();
        EXPECT_TRUE(f.isEqualTo(before)) << "the fluid keeps its parameters and components";
        EXPECT_EQ(changes(), 0);
        const char* shown = QByteArray(c.outlet).startsWith("mSpin") ? "mBetaEditField" : c.outlet;
        EXPECT_EQ(field(shown)->text(), c.shownAfter);
        document.reset();
        settle();
    }
}

}  // namespace
