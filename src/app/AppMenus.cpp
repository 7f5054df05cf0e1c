#include "app/AppMenus.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CPhaseDiagDocument.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QObject>

namespace quorvel {

namespace {

QString tr(const char* text)
{
    return QObject::tr(text);
}

QList<MenuDefinition> fileAndEditMenus()
{
    return {
        {tr("&File"),
         {{tr("New Inclusion Data"), "onNewInclusionDataDocument:", "Ctrl+N"},
          {tr("New Fluid Model"), "onNewFluidModelDocument:", ""},
          {tr("New Phase Diagram"), "onNewPhaseDiagDocument:", ""},
          {tr("New Alpha-Beta Plot"), "onNewAlphaBetaPlotDocument:", ""},
          {tr("New Alpha-Beta Correlation"), "onNewCorrelationDocument:", ""},
          {},
          {tr("Open..."), "openDocument:", "Ctrl+O"},
          {tr("Open Inclusion Data..."), "onOpenInclusionDataDocument:", ""},
          {tr("Open Fluid Model..."), "onOpenFluidModelDocument:", ""},
          {tr("Open Phase Diagram..."), "onOpenPhaseDiagDocument:", ""},
          {tr("Open Alpha-Beta Plot..."), "onOpenAlphaBetaPlotDocument:", ""},
          {tr("Open Alpha-Beta Correlation..."), "onOpenCorrelationDocument:", ""},
          {tr("Open Recent"), "openRecentDocument:", ""},
          {},
          {tr("Close"), "performClose:", "Ctrl+W"},
          {tr("Save"), "saveDocument:", "Ctrl+S"},
          {tr("Save As..."), "saveDocumentAs:", "Ctrl+Shift+S"},
          {tr("Revert to Saved"), "revertDocumentToSaved:", ""},
          {},
          {tr("Export as Text..."), "exportToASCII:", ""},
          {tr("Export as LaTeX..."), "exportToLaTeX:", ""},
          {tr("Export as HTML..."), "exportToHTML:", ""},
          {},
          {tr("Print..."), "printDocument:", "Ctrl+P"},
          {},
          {tr("Quit"), "terminate:", "Ctrl+Q"}}},
        {tr("&Edit"),
         {{tr("Undo"), "undo:", "Ctrl+Z"},
          {tr("Redo"), "redo:", "Ctrl+Shift+Z"},
          {},
          {tr("Copy"), "copy:", "Ctrl+C"},
          {tr("Paste"), "paste:", "Ctrl+V"},
          {},
          {tr("Add Row"), "onAddRow:", ""},
          {tr("Delete Row"), "onDeleteRow:", ""}}},
    };
}

MenuDefinition windowMenu()
{
    return {tr("&Window"),
            {{tr("Show Toolbar"), "onShowToolBarWindow:", ""},
             {tr("Show Log"), "onShowLogWindow:", "Ctrl+L"},
             {tr("Show Axis Range"), "onShowAxisRangePanel:", ""}}};
}

}  // namespace

void installApplicationMenus(QMainWindow* window, const QList<MenuDefinition>& documentMenus)
{
    buildMenuBar(window->menuBar(), fileAndEditMenus() + documentMenus + QList<MenuDefinition>{windowMenu()});
}

QList<MenuDefinition> alphaBetaPlotMenus()
{
    return {{tr("&Alpha-Beta"),
             {{tr("Alpha-Beta Curves"), kShowAlphaBetaPanelPage1, ""},
              {tr("Alpha-Beta Fluids and Markers"), kShowAlphaBetaPanelPage2, ""},
              {tr("Correlations and Reference Curves"), kShowAlphaBetaPanelPage3, ""},
              {},
              {tr("Fluid Properties..."), kShowFluidPropertiesPanel, ""},
              {},
              {tr("Save Composition Grid..."), kCalculateCompoGrid, ""},
              {tr("Save GOR-API Grid..."), kCalculateGORAPIGrid, ""},
              {tr("Save Fv Grid..."), kCalculateFvGrid, ""},
              {tr("Save McCain Classification Grid..."), kCalculateMacCainGrid, ""}}}};
}

QList<MenuDefinition> phaseDiagramMenus()
{
    return {{tr("&Phase Diagram"),
             {{tr("Isopleths (Phase Envelopes)"), kShowPhaseDiagPanelPage1, ""},
              {tr("Isochors"), kShowPhaseDiagPanelPage2, ""},
              {tr("Bubble Volumes"), kShowPhaseDiagPanelPage3, ""},
              {tr("Trapping"), kShowPhaseDiagPanelPage4, ""}}}};
}

}  // namespace quorvel
