#include "characterisation/ComponentRecord.h"

#include <cmath>

namespace quorvel {

namespace {

bool acceptable(const RecordValue& output)
{
    if (!std::isfinite(output.value))
        return false;
    const auto is = [&](const QString& key) { return output.key == key; };
    if (is(componentkey::tc) || is(componentkey::tb))
        return celsiusToKelvin(output.value) > 0;
    if (is(componentkey::pc) || is(componentkey::vc) || is(componentkey::mw) || is(componentkey::sg))
        return output.value > 0;
    return true;
}

}  // namespace

QString describeStatus(CorrelationStatus status)
{
    switch (status) {
    case CorrelationStatus::Applied:
        return QStringLiteral("applied");
    case CorrelationStatus::OutOfRange:
        return QStringLiteral("its carbon number is outside the correlation's range");
    case CorrelationStatus::InvalidResult:
        return QStringLiteral("the correlation gives no valid properties from its inputs");
    case CorrelationStatus::UnknownCode:
        return QStringLiteral("the correlation code is unknown");
    }
    return {};
}

CorrelationStatus writeCorrelationResult(Dictionary component, std::initializer_list<RecordValue> values,
                                         CorrelationCode code)
{
    for (const RecordValue& output : values)
        if (!acceptable(output))
            return CorrelationStatus::InvalidResult;
    for (const RecordValue& output : values)
        component.setValue(output.key, output.value);
    component.setValue(componentkey::corr, code_number(code));
    return CorrelationStatus::Applied;
}

}  // namespace quorvel
