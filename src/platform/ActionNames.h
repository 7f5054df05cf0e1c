#pragma once
// The name of every action a menu item or toolbar button sends, each spelled here once.
// Menus, toolbars and responders refer to these constants, so a mistyped name does not
// compile instead of leaving an item that nobody answers.

#include <QString>

namespace quorvel::actionname {

// Documents and their controller.
inline const QString newDocument = QStringLiteral("newDocument:");
inline const QString openDocument = QStringLiteral("openDocument:");
inline const QString openRecentDocument = QStringLiteral("openRecentDocument:");
inline const QString clearRecentDocuments = QStringLiteral("clearRecentDocuments:");
inline const QString terminate = QStringLiteral("terminate:");
inline const QString saveDocument = QStringLiteral("saveDocument:");
inline const QString saveDocumentAs = QStringLiteral("saveDocumentAs:");
inline const QString revertDocumentToSaved = QStringLiteral("revertDocumentToSaved:");
inline const QString performClose = QStringLiteral("performClose:");
inline const QString printDocument = QStringLiteral("printDocument:");
inline const QString undo = QStringLiteral("undo:");
inline const QString redo = QStringLiteral("redo:");

// Tables of records.
inline const QString copy = QStringLiteral("copy:");
inline const QString paste = QStringLiteral("paste:");
inline const QString addRow = QStringLiteral("onAddRow:");
inline const QString deleteRow = QStringLiteral("onDeleteRow:");

// New and open, one pair per document type.
inline const QString newInclusionDataDocument = QStringLiteral("onNewInclusionDataDocument:");
inline const QString openInclusionDataDocument = QStringLiteral("onOpenInclusionDataDocument:");
inline const QString newFluidModelDocument = QStringLiteral("onNewFluidModelDocument:");
inline const QString openFluidModelDocument = QStringLiteral("onOpenFluidModelDocument:");
inline const QString newPhaseDiagDocument = QStringLiteral("onNewPhaseDiagDocument:");
inline const QString openPhaseDiagDocument = QStringLiteral("onOpenPhaseDiagDocument:");
inline const QString newAlphaBetaPlotDocument = QStringLiteral("onNewAlphaBetaPlotDocument:");
inline const QString openAlphaBetaPlotDocument = QStringLiteral("onOpenAlphaBetaPlotDocument:");
inline const QString newCorrelationDocument = QStringLiteral("onNewCorrelationDocument:");
inline const QString openCorrelationDocument = QStringLiteral("onOpenCorrelationDocument:");

// Shared windows and panels.
inline const QString showToolBarWindow = QStringLiteral("onShowToolBarWindow:");
inline const QString showLogWindow = QStringLiteral("onShowLogWindow:");
inline const QString showAxisRangePanel = QStringLiteral("onShowAxisRangePanel:");
inline const QString showFluidPropertiesPanel = QStringLiteral("showFluidPropertiesPanel:");

// Inclusion data exports.
inline const QString exportToASCII = QStringLiteral("exportToASCII:");
inline const QString exportToLaTeX = QStringLiteral("exportToLaTeX:");
inline const QString exportToHTML = QStringLiteral("exportToHTML:");

// The pages of the alpha-beta and phase-diagram panels.
inline const QString showAlphaBetaPanelPage1 = QStringLiteral("onShowAlphaBetaPanelPage1:");
inline const QString showAlphaBetaPanelPage2 = QStringLiteral("onShowAlphaBetaPanelPage2:");
inline const QString showAlphaBetaPanelPage3 = QStringLiteral("onShowAlphaBetaPanelPage3:");
inline const QString showPhaseDiagPanelPage1 = QStringLiteral("onShowPhaseDiagPanelPage1:");
inline const QString showPhaseDiagPanelPage2 = QStringLiteral("onShowPhaseDiagPanelPage2:");
inline const QString showPhaseDiagPanelPage3 = QStringLiteral("onShowPhaseDiagPanelPage3:");
inline const QString showPhaseDiagPanelPage4 = QStringLiteral("onShowPhaseDiagPanelPage4:");

// The alpha-beta model's grids.
inline const QString calculateCompoGrid = QStringLiteral("calculateCompoGrid:");
inline const QString calculateGORAPIGrid = QStringLiteral("calculateGORAPIGrid:");
inline const QString calculateFvGrid = QStringLiteral("calculateFvGrid:");
inline const QString calculateMacCainGrid = QStringLiteral("calculateMacCainGrid:");

}  // namespace quorvel::actionname
