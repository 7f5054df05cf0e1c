#pragma once
// What the documents use of the fluid model editor and the inspector panels, which
// are built in layers above this one. main installs the real ones; until then the
// application runs without them (a panel reads as hidden) and tests install fakes.

#include "platform/Value.h"

#include <QString>
#include <memory>
#include <optional>

class QObject;

namespace quorvel {

class WindowController;

// The pages of the alpha-beta panel, in the order of its tabs and of the document's page items.
enum class AlphaBetaPanelPage { Curves, Fluids, Correlations };

// The pages of the phase-diagram panel, in the order of its tabs; the document's page items
// reach the first four.
enum class PhaseDiagPanelPage { Isopleths, Isochors, Volumes, Trapping, Aqueous, Summary };

// The alpha-beta panel, the phase-diagram panel, the curve-name prompt and the
// fluid-properties panel.
class InspectorPanels
{
public:
    virtual ~InspectorPanels() = default;

    virtual void showAlphaBetaPanel(QObject* sender) = 0;
    virtual bool isAlphaBetaPanelVisible() const = 0;
    virtual AlphaBetaPanelPage alphaBetaSelectedPage() const = 0;
    virtual void selectAlphaBetaPage(AlphaBetaPanelPage page) = 0;

    virtual void showPhaseDiagPanel(QObject* sender) = 0;
    virtual bool isPhaseDiagPanelVisible() const = 0;
    // None before the panel's window is made.
    virtual std::optional<PhaseDiagPanelPage> phaseDiagSelectedPage() const = 0;
    virtual void selectPhaseDiagPage(PhaseDiagPanelPage page) = 0;
    // The aqueous homogenisation line of an isochore (none: hide it) at a temperature in °C.
    virtual void showAqueousHomogLine(const Value& isochore, double temperature) = 0;

    // The curve-name prompt: proposes a name, runs modally until OK, answers the name.
    virtual QString askCurveName(const QString& proposedName) = 0;

    virtual void showFluidPropertiesPanel(QObject* sender) = 0;

    // The installed panels; a set that shows nothing and reads as hidden when none is.
    static InspectorPanels& current();
    static void install(InspectorPanels* panels);  // not owned; nullptr: none
};

// The fluid model editor: the window controller of a fluid-model document.
class FluidModelEditor
{
public:
    virtual ~FluidModelEditor() = default;
    // Shares the document's list of fluid records; the editor edits it in place.
    virtual void setFluids(const Array& fluids) = 0;
    // After the document appended a fluid generated from alpha-beta parameters.
    virtual void finishGenerateAlphaBetaFluid() = 0;
};

// Makes the editors of fluid-model documents.
class FluidModelEditorFactory
{
public:
    virtual ~FluidModelEditorFactory() = default;
    // A window controller that is also a FluidModelEditor.
    virtual std::unique_ptr<WindowController> makeFluidModelController() = 0;

    // The installed factory; none until the editor exists (the document then has no window).
    static FluidModelEditorFactory* current();
    static void install(FluidModelEditorFactory* factory);  // not owned
};

}  // namespace quorvel
