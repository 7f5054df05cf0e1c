#pragma once
// The application's document types, matched exactly by name, and their extensions.

#include <QString>

namespace quorvel::DocumentTypes {

inline const QString PhaseDiagram = QStringLiteral("Quorvel Phase Diagram");
inline const QString FluidModel = QStringLiteral("Quorvel Fluid Model");
inline const QString AlphaBetaCorrelation = QStringLiteral("Quorvel Alpha-Beta Correlation");
inline const QString AlphaBetaPlot = QStringLiteral("Quorvel Alpha-Beta Plot");
inline const QString InclusionData = QStringLiteral("Quorvel Inclusion Data");
inline const QString SplashWindow = QStringLiteral("Quorvel Splash Window");

inline const QString PhaseDiagramExtension = QStringLiteral("ptd");
inline const QString FluidModelExtension = QStringLiteral("flu");
inline const QString AlphaBetaCorrelationExtension = QStringLiteral("abe");
inline const QString AlphaBetaPlotExtension = QStringLiteral("abp");
inline const QString InclusionDataExtension = QStringLiteral("inc");

}  // namespace quorvel::DocumentTypes
