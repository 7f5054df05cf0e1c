#pragma once

// A small chart of one value per category, drawn as bars, as a polyline or as a
// polyline with markers, on a linear or a logarithmic value axis, with the category
// labels under the horizontal axis, an optional grid and an optional reference series
// drawn as dots. Its context menu "Barplot" switches the scale, the grid and the drawing
// mode and exports the chart as PDF or Igor text; a stepper in its top-left corner sets
// the top of the value axis.
//
// The setters do not redraw; call update() after them.

#include "plot/BarPlotLayout.h"

#include <QByteArray>
#include <QFont>
#include <QSizeF>
#include <QStringList>
#include <QWidget>

#include <vector>

class QMenu;
class QPainter;

namespace quorvel {

class ValueStepper;

class CBarPlotView : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Bars = 0, Lines = 1, LinesAndMarkers = 2 };

    explicit CBarPlotView(QWidget* parent = nullptr);
    ~CBarPlotView() override;

    // One value per bar and one label per value, in category order.
    void setValues(const std::vector<double>& values) { mValues = values; }
    void setLabels(const QStringList& labels) { mLabels = labels; }
    // A reference series drawn as dots over the bars whose labels it names; empty lists
    // remove it.
    void setReferenceLabels(const QStringList& labels, const std::vector<double>& values);
    // The value range; also the limits of the stepper (whose value stays as it is).
    void setMinimum(float minimum, float maximum);
    void setIsLogarithmic(bool logarithmic) { mLogarithmic = logarithmic ? 1 : 0; }

    const std::vector<double>& values() const { return mValues; }
    const QStringList& labels() const { return mLabels; }
    float minimum() const { return mMinimum; }
    float maximum() const { return mMaximum; }
    bool isLogarithmic() const { return mLogarithmic != 0; }
    bool showsGrid() const { return mShowGrid != 0; }
    Mode mode() const { return mMode; }
    int igorIndex() const { return mIgorIndex; }
    const QFont& ticksFont() const { return mTicksFont; }

    QMenu* menuForEvent(QContextMenuEvent* event) const;
    ValueStepper* stepper() const { return mStepper; }
    // Brings the titles and check marks of the menu up to date.
    void validateMenuItems();

    // Geometry of a drawing of the chart at the given size (drawing of the chart).
    BarPlotLayout chartLayout(QSizeF bounds) const;
    // Paints the whole chart, without the stepper, into a painter of the given size.
    void drawChart(QPainter& painter, QSizeF bounds) const;

    // The chart as a one-page PDF of the view's size, in points; empty when the PDF
    // cannot be drawn.
    QByteArray pdfData() const;
    // The Igor text of the values and labels, with waves numbered by the export counter.
    QByteArray igorText() const;
    // Writes the PDF or the Igor text to a file; a failure is reported and writes
    // nothing. A written Igor file advances the export counter.
    bool writePdf(const QString& path);
    bool writeIgorText(const QString& path);

public slots:
    void onToggleScale();
    void onToggleGrid();
    void onSetBars();
    void onSetLines();
    void onSetLinesMarkers();
    void onStepYmax();
    void onPrintPlot();
    void onExportToIgor();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void buildMenu();
    void buildStepper();

    std::vector<double> mValues;
    QStringList mLabels;
    QFont mTicksFont;
    float mMarginLeft = 20;
    float mMarginBottom = 20;
    float mMarginTop = 20;
    float mMarginRight = 20;
    float mMaximum = 0;
    float mMinimum = 0;
    float mSepBarRatio = 0.2f;
    int mLogarithmic = 0;
    int mShowGrid = 0;
    QMenu* mPlotMenu = nullptr;
    int mIgorIndex = 0;
    Mode mMode = Mode::LinesAndMarkers;
    QStringList mReferenceLabels;
    std::vector<double> mReferenceValues;
    ValueStepper* mStepper = nullptr;
};

} // namespace quorvel
