#include "app/AppMenus.h"

#include "platform/ActionNames.h"

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
         {{tr("New Inclusion Data"), actionname::newInclusionDataDocument, "Ctrl+N"},
          {tr("New Fluid Model"), actionname::newFluidModelDocument, ""},
          {tr("New Phase Diagram"), actionname::newPhaseDiagDocument, ""},
          {tr("New Alpha-Beta Plot"), actionname::newAlphaBetaPlotDocument, ""},
          {tr("New Alpha-Beta Correlation"), actionname::newCorrelationDocument, ""},
          {},
          {tr("Open..."), actionname::openDocument, "Ctrl+O"},
          {tr("Open Inclusion Data..."), actionname::openInclusionDataDocument, ""},
          {tr("Open Fluid Model..."), actionname::openFluidModelDocument, ""},
          {tr("Open Phase Diagram..."), actionname::openPhaseDiagDocument, ""},
          {tr("Open Alpha-Beta Plot..."), actionname::openAlphaBetaPlotDocument, ""},
          {tr("Open Alpha-Beta Correlation..."), actionname::openCorrelationDocument, ""},
          {tr("Open Recent"), actionname::openRecentDocument, ""},
          {},
          {tr("Close"), actionname::performClose, "Ctrl+W"},
          {tr("Save"), actionname::saveDocument, "Ctrl+S"},
          {tr("Save As..."), actionname::saveDocumentAs, "Ctrl+Shift+S"},
          {tr("Revert to Saved"), actionname::revertDocumentToSaved, ""},
          {},
          {tr("Export as Text..."), actionname::exportToASCII, ""},
          {tr("Export as LaTeX..."), actionname::exportToLaTeX, ""},
          {tr("Export as HTML..."), actionname::exportToHTML, ""},
          {},
          {tr("Print..."), actionname::printDocument, "Ctrl+P"},
          {},
          {tr("Quit"), actionname::terminate, "Ctrl+Q"}}},
        {tr("&Edit"),
         {{tr("Undo"), actionname::undo, "Ctrl+Z"},
          {tr("Redo"), actionname::redo, "Ctrl+Shift+Z"},
          {},
          {tr("Copy"), actionname::copy, "Ctrl+C"},
          {tr("Paste"), actionname::paste, "Ctrl+V"},
          {},
          {tr("Add Row"), actionname::addRow, ""},
          {tr("Delete Row"), actionname::deleteRow, ""}}},
    };
}

MenuDefinition windowMenu()
{
    return {tr("&Window"),
            {{tr("Show Toolbar"), actionname::showToolBarWindow, ""},
             {tr("Show Log"), actionname::showLogWindow, "Ctrl+L"},
             {tr("Show Axis Range"), actionname::showAxisRangePanel, ""}}};
}

}  // namespace

void installApplicationMenus(QMainWindow* window, const QList<MenuDefinition>& documentMenus)
{
    buildMenuBar(window->menuBar(), fileAndEditMenus() + documentMenus + QList<MenuDefinition>{windowMenu()});
}

QList<MenuDefinition> alphaBetaPlotMenus()
{
    return {{tr("&Alpha-Beta"),
             {{tr("Alpha-Beta Curves"), actionname::showAlphaBetaPanelPage1, ""},
              {tr("Alpha-Beta Fluids and Markers"), actionname::showAlphaBetaPanelPage2, ""},
              {tr("Correlations and Reference Curves"), actionname::showAlphaBetaPanelPage3, ""},
              {},
              {tr("Fluid Properties..."), actionname::showFluidPropertiesPanel, ""},
              {},
              {tr("Save Composition Grid..."), actionname::calculateCompoGrid, ""},
              {tr("Save GOR-API Grid..."), actionname::calculateGORAPIGrid, ""},
              {tr("Save Fv Grid..."), actionname::calculateFvGrid, ""},
              {tr("Save McCain Classification Grid..."), actionname::calculateMacCainGrid, ""}}}};
}

QList<MenuDefinition> phaseDiagramMenus()
{
    return {{tr("&Phase Diagram"),
             {{tr("Isopleths (Phase Envelopes)"), actionname::showPhaseDiagPanelPage1, ""},
              {tr("Isochors"), actionname::showPhaseDiagPanelPage2, ""},
              {tr("Bubble Volumes"), actionname::showPhaseDiagPanelPage3, ""},
              {tr("Trapping"), actionname::showPhaseDiagPanelPage4, ""}}}};
}

}  // namespace quorvel
