#pragma once
// What the phase-diagram records share: their archive keys, their registration as archivable
// classes, the plot objects they own, and the coding of their arrays.

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

// The archive keys of the phase-diagram records, as documents store them.
namespace phasediagramkey {
inline const QString name = QStringLiteral("name");
inline const QString monophasicIsochors = QStringLiteral("monophasicIsochors");
inline const QString biphasicIsochors = QStringLiteral("biphasicIsochors");
inline const QString liquidIsopleth = QStringLiteral("liquidIsopleth");
inline const QString vapourIsopleth = QStringLiteral("vapourIsopleth");
inline const QString thermoModel = QStringLiteral("thermoModel");
inline const QString GOR = QStringLiteral("GOR");
inline const QString API = QStringLiteral("API");
inline const QString liqMolarWeight = QStringLiteral("liqMolarWeight");
inline const QString massVolLiq = QStringLiteral("massVolLiq");
inline const QString CH4 = QStringLiteral("CH4");
inline const QString T = QStringLiteral("T");
inline const QString P = QStringLiteral("P");
inline const QString Fv = QStringLiteral("Fv");
inline const QString otherV = QStringLiteral("otherV");
inline const QString N = QStringLiteral("N");
inline const QString otherz = QStringLiteral("otherz");
inline const QString Th = QStringLiteral("Th");
inline const QString Ph = QStringLiteral("Ph");
inline const QString Trap = QStringLiteral("Trap");
inline const QString Ptrap = QStringLiteral("Ptrap");
inline const QString homog = QStringLiteral("homog");
inline const QString isBiphasic = QStringLiteral("isBiphasic");
inline const QString bulkVolume = QStringLiteral("bulkVolume");
inline const QString bulkDensity0 = QStringLiteral("bulkDensity0");
inline const QString bulkDensity1 = QStringLiteral("bulkDensity1");
inline const QString bulkMolarWeight = QStringLiteral("bulkMolarWeight");
inline const QString minT = QStringLiteral("minT");
inline const QString maxT = QStringLiteral("maxT");
inline const QString minFv = QStringLiteral("minFv");
inline const QString maxFv = QStringLiteral("maxFv");
inline const QString trappingLines = QStringLiteral("trappingLines");
inline const QString sister = QStringLiteral("sister");
inline const QString phaseDiagram = QStringLiteral("phaseDiagram");
inline const QString trappingName = QStringLiteral("trappingName");
inline const QString isochor = QStringLiteral("isochor");
inline const QString liquidVolume = QStringLiteral("liquidVolume");
inline const QString vapourVolume = QStringLiteral("vapourVolume");
inline const QString liquidDensity = QStringLiteral("liquidDensity");
inline const QString vapourDensity = QStringLiteral("vapourDensity");
inline const QString skip = QStringLiteral("skip");
inline const QString xref = QStringLiteral("xref");
inline const QString minP = QStringLiteral("minP");
inline const QString maxP = QStringLiteral("maxP");
inline const QString curveFormat = QStringLiteral("curveFormat");
inline const QString points = QStringLiteral("points");
}  // namespace phasediagramkey

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
        coder.encodeObject(mCurveFormat, phasediagramkey::curveFormat);
        encodeRecords(coder, mPoints, phasediagramkey::points);
        encodeName(coder, mName, phasediagramkey::name);
    }

    // A record without a format in the file keeps the default one.
    void decodeCurveKeys(KeyedUnarchiver& coder, const QString& pointClass)
    {
        if (auto format = coder.decodeObjectOfClass<CCurveFormat>(phasediagramkey::curveFormat))
            mCurveFormat = std::move(format);
        mPoints = decodeRecords<Point>(coder, phasediagramkey::points, pointClass);
        mName = decodeName(coder, phasediagramkey::name);
    }

private:
    std::vector<PointPtr> mPoints;
    std::shared_ptr<CCurveFormat> mCurveFormat;
    OwnedPlotObject<CGraphCurve> mGraphCurve;
    QString mName;
};

} // namespace quorvel
