#pragma once
// The settings of one plot view that a document keeps between sessions: default and
// current axis ranges, the legend position (data units) and the text formats of the
// legend, the axis labels and the tick labels. Archived as "CPlotFormat".

#include "plot/CTextFormat.h"

#include "platform/ArchivableObject.h"

#include <memory>

namespace quorvel {

// Registers CPlotFormat, CTextFormat, CCurveFormat and CPointFormat with the keyed
// archives; needed before an archive holding them is read. Making any of them
// registers them too.
void registerPlotFormatClasses();

class CPlotFormat : public ArchivableObject {
public:
    CPlotFormat();
    CPlotFormat(const CPlotFormat&) = delete;
    CPlotFormat& operator=(const CPlotFormat&) = delete;

    float minX() const { return mMinX; }
    void setMinX(float v) { mMinX = v; }
    float minY() const { return mMinY; }
    void setMinY(float v) { mMinY = v; }
    float maxX() const { return mMaxX; }
    void setMaxX(float v) { mMaxX = v; }
    float maxY() const { return mMaxY; }
    void setMaxY(float v) { mMaxY = v; }
    float currentMinX() const { return mCurrentMinX; }
    void setCurrentMinX(float v) { mCurrentMinX = v; }
    float currentMaxX() const { return mCurrentMaxX; }
    void setCurrentMaxX(float v) { mCurrentMaxX = v; }
    float currentMinY() const { return mCurrentMinY; }
    void setCurrentMinY(float v) { mCurrentMinY = v; }
    float currentMaxY() const { return mCurrentMaxY; }
    void setCurrentMaxY(float v) { mCurrentMaxY = v; }
    float legendX() const { return mLegendX; }
    void setLegendX(float v) { mLegendX = v; }
    float legendY() const { return mLegendY; }
    void setLegendY(float v) { mLegendY = v; }

    // Never none: a format given none keeps a new default text format.
    const std::shared_ptr<CTextFormat>& legendFormat() const { return mLegendFormat; }
    void setLegendFormat(std::shared_ptr<CTextFormat> format);
    const std::shared_ptr<CTextFormat>& labelsFormat() const { return mLabelsFormat; }
    void setLabelsFormat(std::shared_ptr<CTextFormat> format);
    const std::shared_ptr<CTextFormat>& ticksFormat() const { return mTicksFormat; }
    void setTicksFormat(std::shared_ptr<CTextFormat> format);

    void encodeWithCoder(KeyedArchiver& coder) const override;
    // An archive whose ranges or legend position are not finite numbers is refused.
    void initWithCoder(KeyedUnarchiver& coder) override;

private:
    float mMinX = 0.0f, mMinY = 0.0f, mMaxX = 1.0f, mMaxY = 1.0f;
    float mCurrentMinX = 0.0f, mCurrentMaxX = 1.0f, mCurrentMinY = 0.0f, mCurrentMaxY = 1.0f;
    float mLegendX = 0.0f, mLegendY = 0.0f;
    std::shared_ptr<CTextFormat> mLegendFormat;
    std::shared_ptr<CTextFormat> mLabelsFormat;
    std::shared_ptr<CTextFormat> mTicksFormat;
};

} // namespace quorvel
