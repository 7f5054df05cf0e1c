#include "calc/PhaseDiagramRecords.h"

#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "calc/CPhaseDiagram.h"
#include "plot/CPlotFormat.h"
#include "plot/CPlotView.h"

namespace quorvel {

void registerPhaseDiagramClasses()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    registerPlotFormatClasses();
    registerArchivableClass<CPhaseDiagram>(QStringLiteral("CPhaseDiagram"));
    registerArchivableClass<CIsopleth>(QStringLiteral("CIsopleth"));
    registerArchivableClass<CIsoplethPoint>(QStringLiteral("CIsoplethPoint"));
    registerArchivableClass<CIsochor>(QStringLiteral("CIsochor"));
    registerArchivableClass<CTrappingLine>(QStringLiteral("CTrappingLine"), QStringLiteral("CIsochor"));
    registerArchivableClass<CIsochorPoint>(QStringLiteral("CIsochorPoint"));
    registerArchivableClass<CBiphasicIsochorPoint>(QStringLiteral("CBiphasicIsochorPoint"),
                                                   QStringLiteral("CIsochorPoint"));
}

void takeOutOfPlotView(CGraphObject& object)
{
    if (CPlotView* view = object.getPlotView())
        view->removeGraphObject(&object);
}

void encodeNumbers(KeyedArchiver& coder, const std::vector<double>& numbers, const QString& key)
{
    Array array;
    for (double number : numbers)
        array.append(number);
    coder.encodeObject(array, key);
}

std::vector<double> decodeNumbers(KeyedUnarchiver& coder, const QString& key)
{
    const Value value = coder.decodeObject(key);
    if (value.isNull())
        return {};
    std::vector<double> numbers;
    if (value.isArray()) {
        const Array array = value.toArray();
        numbers.reserve(array.size());
        for (const Value& entry : array) {
            if (!entry.isNumber())
                break;
            numbers.push_back(entry.toDouble());
        }
        if (int(numbers.size()) == array.size())
            return numbers;
    }
    coder.failWithError(QStringLiteral("The key \"%1\" of a phase-diagram record does not hold numbers.").arg(key));
    return {};
}

void failWithWrongRecords(KeyedUnarchiver& coder, const QString& key, const QString& recordClass)
{
    coder.failWithError(
        QStringLiteral("The key \"%1\" of a phase-diagram record does not hold %2 records.").arg(key, recordClass));
}

void encodeName(KeyedArchiver& coder, const QString& name, const QString& key)
{
    coder.encodeObject(name.isNull() ? Value() : Value(name), key);
}

QString decodeName(KeyedUnarchiver& coder, const QString& key)
{
    const Value value = coder.decodeObject(key);
    if (!value.isNull() && !value.isString())
        coder.failWithError(QStringLiteral("The key \"%1\" of a phase-diagram record does not hold a text.").arg(key));
    return value.isString() ? value.toString() : QString();
}

} // namespace quorvel
