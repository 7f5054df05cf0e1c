#pragma once
// What the phase-diagram records share: their registration as archivable classes, the plot
// objects they own, and the coding of their arrays.

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "plot/CCurveFormat.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphObject.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace quorvel {

// Registers CPhaseDiagram, CIsopleth, CIsoplethPoint, CIsochor, CIsochorPoint,
// CBiphasicIsochorPoint and CTrappingLine (and the plot formats they hold) under their
// archived class names. Every record constructor calls it; a reader of phase-diagram
// archives calls it before reading.
void registerPhaseDiagramClasses();

// Takes a plot object out of the legend and the list of the plot view it was added to;
// nothing when it is in no view (never added, removed, or the view is gone).
void takeOutOfPlotView(CGraphObject& object);

// A plot object that a record owns: whenever the record lets go of it (a new object set,
// or the record freed), the object leaves the plot view that shows it.
template <class T>
class OwnedPlotObject
{
public:
    OwnedPlotObject() = default;
    ~OwnedPlotObject() { release(); }
    OwnedPlotObject(const OwnedPlotObject&) = delete;
    OwnedPlotObject& operator=(const OwnedPlotObject&) = delete;

    const std::shared_ptr<T>& get() const { return mObject; }
    void reset(std::shared_ptr<T> object = nullptr)
    {
        if (object == mObject)
            return;
        release();
        mObject = std::move(object);
    }

private:
    void release()
    {
        if (mObject)
            takeOutOfPlotView(*mObject);
        mObject.reset();
    }

    std::shared_ptr<T> mObject;
};

// ---- Coding of the records' arrays

void encodeNumbers(KeyedArchiver& coder, const std::vector<double>& numbers, const QString& key);
// The numbers under the key (none when absent); an entry that is not a number fails the reading.
std::vector<double> decodeNumbers(KeyedUnarchiver& coder, const QString& key);

template <class Record>
void encodeRecords(KeyedArchiver& coder, const std::vector<std::shared_ptr<Record>>& records, const QString& key)
{
    Array array;
    for (const auto& record : records)
        array.append(Value(record));
    coder.encodeObject(array, key);
}

// Fails the reading with a message naming the key and the records it should hold.
void failWithWrongRecords(KeyedUnarchiver& coder, const QString& key, const QString& recordClass);

// The records under the key (none when absent); anything but an array of Record fails the reading.
template <class Record>
std::vector<std::shared_ptr<Record>> decodeRecords(KeyedUnarchiver& coder, const QString& key,
                                                   const QString& recordClass)
{
    std::vector<std::shared_ptr<Record>> records;
    const Value value = coder.decodeObject(key);
    if (value.isNull())
        return records;
    if (!value.isArray()) {
        failWithWrongRecords(coder, key, recordClass);
        return {};
    }
    for (const Value& entry : value.toArray()) {
        auto record = entry.toObject<Record>();
        if (!record) {
            failWithWrongRecords(coder, key, recordClass);
            return {};
        }
        records.push_back(std::move(record));
    }
    return records;
}

// A name key; a record without a name writes none in its place and reads back without one.
void encodeName(KeyedArchiver& coder, const QString& name, const QString& key);
// The string under the key, a null string when absent; another kind fails the reading.
QString decodeName(KeyedUnarchiver& coder, const QString& key);

// What a record drawn as one curve keeps (an envelope branch, an isochore): its points,
// name and line style, and at run time the curve that draws it. Archived as its first
// three keys, "curveFormat", "points" and "name".
template <class Point>
class CurveRecord
{
public:
    using PointPtr = std::shared_ptr<Point>;

    std::vector<PointPtr>& points() { return mPoints; }
    const std::vector<PointPtr>& points() const { return mPoints; }
    void setPoints(std::vector<PointPtr> points) { mPoints = std::move(points); }
    const std::shared_ptr<CCurveFormat>& curveFormat() const { return mCurveFormat; }
    void setCurveFormat(std::shared_ptr<CCurveFormat> format) { mCurveFormat = std::move(format); }
    // The plot curve drawing the record (run time only). A curve let go of, by a new one or
    // by freeing the record, leaves the legend and the plot view.
    const std::shared_ptr<CGraphCurve>& graphCurve() const { return mGraphCurve.get(); }
    void setGraphCurve(std::shared_ptr<CGraphCurve> curve) { mGraphCurve.reset(std::move(curve)); }
    const QString& name() const { return mName; }
    void setName(const QString& name) { mName = name; }

protected:
    CurveRecord() : mCurveFormat(std::make_shared<CCurveFormat>()) { registerPhaseDiagramClasses(); }

    void encodeCurveKeys(KeyedArchiver& coder) const
    {
        coder.encodeObject(mCurveFormat, QStringLiteral("curveFormat"));
        encodeRecords(coder, mPoints, QStringLiteral("points"));
        encodeName(coder, mName, QStringLiteral("name"));
    }

    // A record without a format in the file keeps the default one.
    void decodeCurveKeys(KeyedUnarchiver& coder, const QString& pointClass)
    {
        if (auto format = coder.decodeObjectOfClass<CCurveFormat>(QStringLiteral("curveFormat")))
            mCurveFormat = std::move(format);
        mPoints = decodeRecords<Point>(coder, QStringLiteral("points"), pointClass);
        mName = decodeName(coder, QStringLiteral("name"));
    }

private:
    std::vector<PointPtr> mPoints;
    std::shared_ptr<CCurveFormat> mCurveFormat;
    OwnedPlotObject<CGraphCurve> mGraphCurve;
    QString mName;
};

} // namespace quorvel
