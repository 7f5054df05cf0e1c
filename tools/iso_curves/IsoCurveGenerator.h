#pragma once
// Lines of equal C7+ content, methane content, stock-tank API gravity and gas-oil ratio
// in the alpha-beta plane, computed with the alpha-beta model engine, and their text
// files: one index file per family (value and label position per line) and one file of
// alpha, beta pairs per line.

#include "calc/CAlphaBetaModelInterface.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

namespace quorvel::iso_curves {

// A point of a line, or none for a break (written as -1 in iso-API files only).
using LinePoint = std::optional<QPointF>;

struct IsoLine {
    double value = 0;
    std::vector<LinePoint> points;
    QPointF label;
};

struct IsoFamily {
    const char* indexName;   // resource name of the index file
    const char* curveFormat; // resource name of one line's file, from its value
    const char* labelFormat; // label text, from its value
    std::vector<IsoLine> lines;
};

// The values drawn of each family.
std::vector<double> c7plusValues();  // mole percent
std::vector<double> methaneValues(); // mole percent
std::vector<double> apiValues();     // degrees API
std::vector<double> gorValues();     // Sm3/Sm3

// The beta steps along which the lines are traced: 0 to 0.99 by 0.01.
std::vector<double> betaSteps();

// Mole percent of C7 and heavier, and of methane, in the model fluid of (alpha, beta)
// without CO2, N2 and H2S.
double c7plusPercent(CAlphaBetaModelInterface& model, double alpha, double beta);
double methanePercent(CAlphaBetaModelInterface& model, double alpha, double beta);
// Stock-tank API gravity and gas-oil ratio (Sm3/Sm3) of that fluid by the equation of
// state without volume translation; none when the engine finds no stock-tank separation.
std::optional<double> stockTankAPI(CAlphaBetaModelInterface& model, double alpha, double beta);
std::optional<double> stockTankGOR(CAlphaBetaModelInterface& model, double alpha, double beta);

// A line of equal composition: at each beta the alpha giving `value` (bisection; the
// content is monotonic in alpha), until no alpha below the model's limit gives it.
IsoLine c7plusLine(CAlphaBetaModelInterface& model, double value);
IsoLine methaneLine(CAlphaBetaModelInterface& model, double value);
// Lines of equal API gravity or gas-oil ratio, stepping beta with the model interface's
// searches: a failed step is a break in an API line and the end of a gas-oil ratio line.
IsoLine apiLine(CAlphaBetaModelInterface& model, double value);
IsoLine gorLine(CAlphaBetaModelInterface& model, double value);

// Sets the label of every line of the families, in order, on one of its points where the
// label's box meets no box placed before (the fixed boxes first) and stays in the plot.
struct LabelBox {
    QPointF centre;
    QPointF halfSize;
};
void placeLabels(std::vector<IsoFamily*> families, std::vector<LabelBox> fixed);
// The box of a label text centred at a point, in data units of the plot.
LabelBox labelBox(const QString& text, QPointF centre);

// The texts of the files.
QByteArray indexFileText(const IsoFamily& family);
QByteArray lineFileText(const IsoLine& line);
QString lineFileName(const IsoFamily& family, double value);
QString labelText(const IsoFamily& family, double value);

}  // namespace quorvel::iso_curves
