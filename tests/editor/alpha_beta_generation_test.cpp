// A fluid generated from an alpha-beta point reaches the fluid model editor of the last
// fluid-model document, or of a new one, selected and undoable.

#include "support/EditorTestSupport.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CCQuorvelDocumentController.h"
#include "platform/AlertService.h"

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct AlphaBetaGeneration : ::testing::Test
{
    RecordingAlertService alerts;
    std::unique_ptr<CCQuorvelDocumentController> controller;
    CAlphaBetaPlotDocument plot;

    AlphaBetaGeneration()
    {
        installFluidModelEditor();
        controller = std::make_unique<CCQuorvelDocumentController>();
    }
    ~AlphaBetaGeneration() override
    {
        controller.reset();
        settle();
    }
    CFluidModelDataDocument* fluidDocument(int index) const
    {
        return dynamic_cast<CFluidModelDataDocument*>(controller->documents().at(index));
    }
    static FluidModelController* editorOf(CFluidModelDataDocument* document)
    {
        return dynamic_cast<FluidModelController*>(document->windowControllers().front().get());
    }
};

TEST_F(AlphaBetaGeneration, NewDocumentHoldsTheFluidSelectedAndUndoRemovesIt)
{
    plot.generateFluidModel(0.9, 0.1, 0, 0, 0);
    settle();
    ASSERT_EQ(controller->documents().size(), 1);
    CFluidModelDataDocument* document = fluidDocument(0);
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->fluids().size(), 1);
    EXPECT_EQ(document->fluids().at(0).toDictionary().arrayValue("components").size(), 17);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(editorOf(document)->selectedFluidRow(), 0);
    EXPECT_FALSE(plot.isDocumentEdited());

    ASSERT_TRUE(document->undoManager()->canUndo());
    document->undoManager()->undo();
    settle();
    EXPECT_TRUE(document->fluids().isEmpty());
    EXPECT_FALSE(document->isDocumentEdited());
}

TEST_F(AlphaBetaGeneration, LastFluidModelDocumentReceivesTheFluid)
{
    for (int i = 0; i < 2; ++i)
        controller->performAction("onNewFluidModelDocument:", nullptr);
    settle();
    ASSERT_EQ(controller->documents().size(), 2);
    const int first = fluidDocument(0)->fluids().size();
    const int last = fluidDocument(1)->fluids().size();
    plot.generateFluidModel(0.5, 0.2, 0.02, 0, 0);
    settle();
    EXPECT_EQ(fluidDocument(0)->fluids().size(), first);
    ASSERT_EQ(fluidDocument(1)->fluids().size(), last + 1);
    EXPECT_TRUE(fluidDocument(1)->fluids().at(last).toDictionary().stringValue("comment").contains("CO2=0.0200"));
    EXPECT_EQ(editorOf(fluidDocument(1))->selectedFluidRow(), last);
    fluidDocument(1)->undoManager()->undo();
    EXPECT_EQ(fluidDocument(1)->fluids().size(), last);
}

}  // namespace
