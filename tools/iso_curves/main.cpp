// Writes the iso-curve resource files of the alpha-beta plot into a folder, with the
// resource collection that lists them.
//   generate_iso_curves <folder>
#include "IsoCurveGenerator.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>

using namespace quorvel;
using namespace quorvel::iso_curves;

namespace {

// The fixed labels of the McCain boundaries, which the iso-curve labels keep clear of.
std::vector<LabelBox> mcCainLabels()
{
    return {labelBox(QStringLiteral("Dry Gas"), {0.24, 0.76}), labelBox(QStringLiteral("Gas condensate"), {0.45, 0.36}),
            labelBox(QStringLiteral("Volatile oil"), {0.58, 0.08}), labelBox(QStringLiteral("Black oil"), {0.84, 0.18})};
}

IsoFamily trace(const char* index, const char* curveFormat, const char* labelFormat, const std::vector<double>& values,
                IsoLine (*line)(CAlphaBetaModelInterface&, double))
{
    IsoFamily family{index, curveFormat, labelFormat, {}};
    CAlphaBetaModelInterface model;
    for (const double value : values) {
        family.lines.push_back(line(model, value));
        std::fprintf(stderr, "%s %g: %zu points\n", index, value, family.lines.back().points.size());
    }
    return family;
}

bool write(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(text) != text.size() || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    IsoFamily api = trace("APIs", "API.%.1f", "%.1f", apiValues(), apiLine);
    IsoFamily gor = trace("GORS", "GOR.%.0f", "%.0f", gorValues(), gorLine);
    IsoFamily c7plus = trace("c7plus", "c7%.0f", "%.0f", c7plusValues(), c7plusLine);
    IsoFamily methane = trace("ch4", "ch4%.0f", "%.0f", methaneValues(), methaneLine);
    placeLabels({&api, &gor, &c7plus, &methane}, mcCainLabels());

    // Resources of type "doc": the name with the extension ".doc".
    QByteArray collection = "<RCC>\n  <qresource prefix=\"/isocurves\">\n";
    bool written = true;
    const auto add = [&](const QString& name, const QByteArray& text) {
        const QString file = name + QStringLiteral(".doc");
        written = write(folder.filePath(file), text) && written;
        collection += "    <file>" + file.toUtf8() + "</file>\n";
    };
    for (const IsoFamily* family : {&c7plus, &methane, &api, &gor}) {
        add(QString::fromLatin1(family->indexName), indexFileText(*family));
        for (const IsoLine& line : family->lines)
            if (!line.points.empty())
                add(lineFileName(*family, line.value), lineFileText(line));
    }
    collection += "  </qresource>\n</RCC>\n";
    written = write(folder.filePath(QStringLiteral("isocurves.qrc")), collection) && written;
    return written ? 0 : 1;
}
