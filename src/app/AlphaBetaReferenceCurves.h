#pragma once
// The text of the iso-curve files laid over the alpha-beta plot. An index file holds one
// record per curve: its value and the position of its label; a curve file holds the
// curve's alpha, beta pairs, and in iso-API files a lone -1 breaks the line. Numbers are
// separated by any white space; reading stops at the first record that is not complete.

#include "plot/CGraphCurve.h"

#include <QByteArray>

#include <vector>

namespace quorvel {

struct IsoCurveIndexRecord {
    double value = 0;
    PlotPoint label;
};

// Where the application finds its iso-curve files (resources of type "doc").
inline const QString kIsoCurveResourceFolder = QStringLiteral(":/isocurves");

std::vector<IsoCurveIndexRecord> readIsoCurveIndex(const QByteArray& text);
// With breakMarkers, an x of exactly -1 stands alone and adds a break point (0, 0).
std::vector<CurvePoint> readIsoCurvePoints(const QByteArray& text, bool breakMarkers);

}  // namespace quorvel
