#include "editor/FluidImports.h"

#include "characterisation/Correlations.h"
#include "editor/EditorChanges.h"
#include "editor/FluidTableControls.h"
#include "platform/AlertService.h"
#include "platform/FileAccess.h"
#include "platform/FileChooser.h"

#include <QComboBox>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace quorvel {

// --- Files

namespace {

// What a file takes while it is read: its bytes, then its text in UTF-16.
constexpr qint64 kTextBytesPerFileByte = 3;

}  // namespace

ImportText readImportText(const QString& path)
{
    const FileContents file = readWholeFile(path, kMaxImportFileBytes);
    switch (file.status) {
    case FileReadStatus::Read: break;
    case FileReadStatus::Unreadable: return {{}, 0, ImportFileError::Unreadable};
    case FileReadStatus::NotARegularFile: return {{}, 0, ImportFileError::NotARegularFile};
    case FileReadStatus::TooLarge: return {{}, 0, ImportFileError::TooLarge};
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    ImportText result{decoder.decode(file.bytes), file.bytes.size(), ImportFileError::None};
    if (decoder.hasError())
        return {{}, 0, ImportFileError::NotUtf8};
    return result;
}

QString importFileErrorMessage(ImportFileError error)
{
    switch (error) {
    case ImportFileError::Unreadable: return QObject::tr("The file could not be read.");
    case ImportFileError::NotARegularFile: return QObject::tr("The file is not a regular file and was not imported.");
    case ImportFileError::TooLarge:
        return QObject::tr("The file is larger than %1 MB and was not imported.").arg(kMaxImportFileBytes / (1024 * 1024));
    case ImportFileError::NotUtf8:
        return QObject::tr("The file is not UTF-8 text and was not imported.");
    case ImportFileError::None: break;
    }
    return {};
}

qint64 importRecordBudget(qint64 fileBytes)
{
    return std::max(kImportMemoryFactor * fileBytes, kImportMemoryAllowance) - kTextBytesPerFileByte * fileBytes;
}

// --- What both tables share: lines, values and their ranges, the memory the records take

namespace {

// What the records take in memory, as measured on this system's records (bench/editor_bench.cpp
// reports what an import really takes beside the file).
// A new fluid with its five keys, the saturation point copied from the measured one and its place in the list.
constexpr qint64 kFluidRecordBytes = 1536;
constexpr qint64 kComponentRecordBytes = 2048;    // a named, characterised component with its mole amount
constexpr qint64 kImportedComponentBytes = 2048;  // a component of the component table, ten keys
constexpr qint64 kTextEntryBytes = 192;           // one more key of a record, its text apart

qint64 textBytes(QStringView text)
{
    return 2 * text.size() + 32;
}

QString tooMuchMemoryMessage(qint64 recordBudget)
{
    return QObject::tr("The file holds more than can be imported at once: its records would take more than "
                       "%1 of memory. Nothing was imported; import it in parts.")
        .arg(QLocale::c().formattedDataSize(recordBudget, 0));
}

bool isLineSeparator(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

// Each line with its number counted from 1 (CR LF ends one line) until the visit answers false;
// false when it did.
bool forEachLine(const QString& text, const std::function<bool(QStringView, qsizetype)>& visit)
{
    const QStringView all(text);
    qsizetype start = 0;
    qsizetype number = 1;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        if (i < all.size() && !isLineSeparator(all[i]))
            continue;
        if (!visit(all.mid(start, i - start), number++))
            return false;
        if (i + 1 < all.size() && all[i] == u'\r' && all[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    return true;
}

// A token of the file and where it stands: line and column counted from 1.
struct Cell
{
    QStringView token;
    qsizetype line = 0;
    qsizetype column = 0;
};

Cell cellIn(QStringView line, qsizetype number, QStringView token)
{
    return {token, number, token.data() - line.data() + 1};
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipDigits(QStringView token, qsizetype i)
{
    while (i < token.size() && isDigit(token[i]))
        ++i;
    return i;
}

// The token's value when it is wholly a decimal number: a sign, digits with at most one point
// and an exponent, nothing else (no comma, letter, "nan" or "inf"). Too large: infinite.
std::optional<double> wholeNumber(QStringView token)
{
    qsizetype i = 0;
    if (i < token.size() && (token[i] == u'+' || token[i] == u'-'))
        ++i;
    const qsizetype integer = i;
    i = skipDigits(token, i);
    qsizetype digits = i - integer;
    if (i < token.size() && token[i] == u'.') {
        const qsizetype fraction = ++i;
        i = skipDigits(token, i);
        digits += i - fraction;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < token.size() && (token[i] == u'e' || token[i] == u'E')) {
        if (++i < token.size() && (token[i] == u'+' || token[i] == u'-'))
            ++i;
        const qsizetype exponent = i;
        i = skipDigits(token, i);
        if (i == exponent)
            return std::nullopt;
    }
    if (i != token.size())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(token, &ok);
    if (!ok)  // beyond the range of a double
        return token[0] == u'-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    return value;
}

// The values a quantity can physically take: above (or from) low, up to high.
struct PhysicalRange
{
    double low;
    double high;
    bool lowIncluded;
    bool wholeNumbers = false;
};

constexpr PhysicalRange kMolePercent{0, 100, true};
constexpr PhysicalRange kMolarWeight{0, 10000, false};  // g/mol
constexpr PhysicalRange kSpecificGravity{0, 3, false};
constexpr PhysicalRange kCelsius{-273.15, 2000, false};
constexpr PhysicalRange kBar{0, 10000, false};
constexpr PhysicalRange kCriticalVolume{0, 100000, false};  // cm3/mol
constexpr PhysicalRange kAcentricFactor{-1, 5, false};
constexpr PhysicalRange kPhaseSelector{0, 1, true, true};  // dew point 0, bubble point 1

bool isWithin(double value, const PhysicalRange& range)
{
    if (!std::isfinite(value) || value > range.high)
        return false;
    if (range.wholeNumbers && value != std::floor(value))
        return false;
    return range.lowIncluded ? value >= range.low : value > range.low;
}

QString rangeText(const PhysicalRange& range)
{
    if (range.wholeNumbers)
        return QObject::tr("(whole numbers from %1 to %2)").arg(range.low).arg(range.high);
    const QString opening = range.lowIncluded ? QStringLiteral("[") : QStringLiteral("(");
    return QStringLiteral("%1%2, %3]").arg(opening).arg(range.low).arg(range.high);
}

// The token as an alert quotes it: a long one shortened.
QString quoted(QStringView token)
{
    constexpr qsizetype kShown = 40;
    const QString shown = token.size() > kShown ? token.left(kShown).toString() + u'\u2026' : token.toString();
    return QStringLiteral("\u201c%1\u201d").arg(shown);
}

QString refusalAt(const Cell& cell, const QString& problem)
{
    return QObject::tr("Line %1, column %2: %3 Nothing was imported.").arg(cell.line).arg(cell.column).arg(problem);
}

struct CheckedValue
{
    double value = 0;
    QString refusal;  // empty when the value is taken
};

CheckedValue checkedValue(const Cell& cell, const QString& columnName, const PhysicalRange& range)
{
    const std::optional<double> value = wholeNumber(cell.token);
    if (!value)
        return {0, refusalAt(cell, QObject::tr("%1 in the column \u201c%2\u201d is not a number.")
                                       .arg(quoted(cell.token), columnName))};
    if (!isWithin(*value, range))
        return {0, refusalAt(cell, QObject::tr("%1 in the column \u201c%2\u201d is outside its range %3.")
                                       .arg(quoted(cell.token), columnName, rangeText(range)))};
    return {*value, {}};
}

}  // namespace

// --- Fluid table

namespace {

const QString kMwColumn = QStringLiteral("Mw");
const QString kSgColumn = QStringLiteral("SG");
const QString kNameColumn = QStringLiteral("Name");
const QString kImportedFluidName = QStringLiteral("Fluid%1");
constexpr int kSrkPopupIndex = 1;

// Keys that the import builds itself; a column of that name would replace them by text.
const QSet<QString> kReservedColumns{fluidkey::components, fluidkey::fluidType};

const QSet<QString>& componentColumns()
{
    static const QSet<QString> columns = [] {
        QSet<QString> names{"N2",  "CO2", "H2S", "C1",  "CH4", "C2",  "C3",  "C4",
                            "C5",  "C6",  "C7",  "C7+", "iC4", "nC4", "iC5", "nC5"};
        for (int n = 8; n <= 45; ++n)
            names.insert(QStringLiteral("C%1").arg(n));
        return names;
    }();
    return columns;
}

enum class FluidColumn { Component, MolarWeight, Gravity, Name, Reserved, Temperature, Pressure, PhaseSelector, Text };

FluidColumn kindOfFluidColumn(const QString& name)
{
    if (componentColumns().contains(name))
        return FluidColumn::Component;
    if (name == kMwColumn)
        return FluidColumn::MolarWeight;
    if (name == kSgColumn)
        return FluidColumn::Gravity;
    if (name == kNameColumn)
        return FluidColumn::Name;
    if (kReservedColumns.contains(name))
        return FluidColumn::Reserved;
    // The measured and saturation points are kept as text, but must read as their numbers.
    if (name == fluidkey::texp || name == fluidkey::tsat)
        return FluidColumn::Temperature;
    if (name == fluidkey::pexp || name == fluidkey::psat)
        return FluidColumn::Pressure;
    if (name == fluidkey::hexp || name == fluidkey::satPhase)
        return FluidColumn::PhaseSelector;
    return FluidColumn::Text;
}

const PhysicalRange* rangeOfFluidColumn(FluidColumn kind)
{
    switch (kind) {
    case FluidColumn::Component: return &kMolePercent;
    case FluidColumn::MolarWeight: return &kMolarWeight;
    case FluidColumn::Gravity: return &kSpecificGravity;
    case FluidColumn::Temperature: return &kCelsius;
    case FluidColumn::Pressure: return &kBar;
    case FluidColumn::PhaseSelector: return &kPhaseSelector;
    case FluidColumn::Name:
    case FluidColumn::Reserved:
    case FluidColumn::Text: break;
    }
    return nullptr;
}

qint64 costOfFluidCell(FluidColumn kind, QStringView token)
{
    switch (kind) {
    case FluidColumn::Component: return kComponentRecordBytes;
    case FluidColumn::Name: return textBytes(token);
    case FluidColumn::MolarWeight:
    case FluidColumn::Gravity:
    case FluidColumn::Reserved: return 0;
    case FluidColumn::Temperature:
    case FluidColumn::Pressure:
    case FluidColumn::PhaseSelector:
    case FluidColumn::Text: break;
    }
    return kTextEntryBytes + textBytes(token);
}

// The ASCII letters, the digits and + - = ( ) [ ] { } : . , * % $.
bool isTokenCharacter(QChar c)
{
    static const QByteArray punctuation("+-=()[]{}:.,*%$");
    const char16_t u = c.unicode();
    if (u >= 0x80)
        return false;
    const char a = char(u);
    return (a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z') || (a >= '0' && a <= '9') || punctuation.contains(a);
}

// Every other character, blank or not, separates tokens.
QList<QStringView> tokensOf(QStringView line)
{
    QList<QStringView> tokens;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool inToken = i < line.size() && isTokenCharacter(line[i]);
        if (inToken && start < 0)
            start = i;
        else if (!inToken && start >= 0) {
            tokens.append(line.mid(start, i - start));
            start = -1;
        }
    }
    return tokens;
}

// The header's columns and their kinds, read from the first line that holds a token.
struct FluidTableHeader
{
    QStringList names;
    QList<FluidColumn> kinds;
};

FluidTableHeader headerOf(const QList<QStringView>& tokens)
{
    FluidTableHeader header;
    for (QStringView token : tokens) {
        header.names.append(token.toString());
        header.kinds.append(kindOfFluidColumn(header.names.last()));
    }
    return header;
}

// Each data line's tokens under the header, until the visit answers false; false when it did.
bool forEachFluidLine(const QString& text,
                      const std::function<bool(const FluidTableHeader&, const QList<QStringView>&, QStringView,
                                               qsizetype)>& visit)
{
    std::optional<FluidTableHeader> header;
    return forEachLine(text, [&](QStringView line, qsizetype number) {
        const QList<QStringView> tokens = tokensOf(line);
        if (tokens.isEmpty())  // blank, or nothing but separators
            return true;
        if (!header) {
            header = headerOf(tokens);
            return true;
        }
        return visit(*header, tokens, line, number);
    });
}

// Checks every value of a numeric column and reckons the records before any is made: the
// refusal of the first value, or of the line that passes the budget; empty when all is well.
QString checkFluidTable(const QString& text, qint64 recordBudget)
{
    QString refusal;
    qint64 cost = 0;
    forEachFluidLine(text, [&](const FluidTableHeader& header, const QList<QStringView>& tokens, QStringView line,
                               qsizetype number) {
        cost += kFluidRecordBytes;
        const qsizetype columns = std::min(tokens.size(), header.names.size());
        for (qsizetype c = 0; c < columns; ++c) {
            cost += costOfFluidCell(header.kinds[c], tokens[c]);
            if (const PhysicalRange* range = rangeOfFluidColumn(header.kinds[c])) {
                refusal = checkedValue(cellIn(line, number, tokens[c]), header.names[c], *range).refusal;
                if (!refusal.isEmpty())
                    return false;
            }
        }
        if (cost > recordBudget)
            refusal = tooMuchMemoryMessage(recordBudget);
        return refusal.isEmpty();
    });
    return refusal;
}

FluidRecord newImportedFluid(int index, const QString& eos)
{
    return FluidRecord{{fluidkey::fluidType, code_number(FluidType::componentList)},
                       {fluidkey::eos, eos},
                       {fluidkey::name, kImportedFluidName.arg(index)},
                       {fluidkey::comment, QString()},
                       {fluidkey::components, Array()}};
}

// The measured point becomes the saturation point when the record has none; only the
// keys present are copied, and nothing without both the temperature and the pressure.
void copyMeasuredPoint(FluidRecord fluid)
{
    if (fluid.contains(fluidkey::tsat) || !fluid.contains(fluidkey::texp) || !fluid.contains(fluidkey::pexp))
        return;
    fluid.setValue(fluidkey::tsat, fluid.value(fluidkey::texp));
    fluid.setValue(fluidkey::psat, fluid.value(fluidkey::pexp));
    if (fluid.contains(fluidkey::hexp))
        fluid.setValue(fluidkey::satPhase, fluid.value(fluidkey::hexp));
}

// A line whose values have been checked.
FluidRecord readFluidLine(const FluidTableHeader& header, const QList<QStringView>& tokens, int index,
                          const QString& eos, FluidTableImport& result)
{
    FluidRecord fluid = newImportedFluid(index, eos);
    Array components = fluid.arrayValue(fluidkey::components);
    std::optional<ComponentRecord> current;
    for (qsizetype c = 0; c < tokens.size(); ++c) {
        if (c >= header.names.size()) {
            ++result.extraValues;
            continue;
        }
        const QString& column = header.names[c];
        switch (header.kinds[c]) {
        case FluidColumn::Component: {
            ComponentRecord component;
            setComponentName(column, component, CorrelationCode::jianzhong0);
            component.setValue(componentkey::mole, *wholeNumber(tokens[c]));
            components.append(component);
            current = component;
            break;
        }
        case FluidColumn::MolarWeight:
        case FluidColumn::Gravity:
            if (current)
                current->setValue(column == kMwColumn ? componentkey::mw : componentkey::sg, *wholeNumber(tokens[c]));
            else
                ++result.orphanValues;
            break;
        case FluidColumn::Name: fluid.setValue(fluidkey::name, tokens[c].toString()); break;
        case FluidColumn::Reserved: ++result.reservedValues; break;
        case FluidColumn::Temperature:
        case FluidColumn::Pressure:
        case FluidColumn::PhaseSelector:
        case FluidColumn::Text: fluid.setValue(column, tokens[c].toString()); break;
        }
    }
    copyMeasuredPoint(fluid);
    return fluid;
}

}  // namespace

FluidTableImport readFluidTable(const QString& text, const QString& eos, qint64 recordBudget)
{
    FluidTableImport result;
    result.refusal = checkFluidTable(text, recordBudget);
    if (!result.refusal.isEmpty())
        return result;
    forEachFluidLine(text, [&](const FluidTableHeader& header, const QList<QStringView>& tokens, QStringView,
                               qsizetype) {
        result.fluids.append(readFluidLine(header, tokens, int(result.fluids.size()), eos, result));
        return true;
    });
    return result;
}

QString fluidTableIgnoredMessage(const FluidTableImport& result)
{
    QStringList parts;
    if (result.extraValues > 0)
        parts << QObject::tr("%1 values beyond the header's columns").arg(result.extraValues);
    if (result.orphanValues > 0)
        parts << QObject::tr("%1 Mw or SG values with no component column before them").arg(result.orphanValues);
    if (result.reservedValues > 0)
        parts << QObject::tr("%1 values of columns named \"components\" or \"fluidType\"").arg(result.reservedValues);
    if (parts.isEmpty())
        return {};
    return QObject::tr("The import ignored %1.").arg(parts.join(QStringLiteral("; ")));
}

// --- Component table

namespace {

constexpr int kComponentTableColumns = 9;

struct ComponentColumn
{
    QString headerWord;
    QString key;
    const PhysicalRange* range;  // none for the name
};

// The column a header word names, with the component key it fills; none for any other word.
std::optional<ComponentColumn> columnOfHeaderWord(QStringView word)
{
    static const QList<ComponentColumn> columns{
        {"Name", componentkey::name, nullptr},           {"name", componentkey::name, nullptr},
        {"Tc", componentkey::tc, &kCelsius},             {"Tb", componentkey::tb, &kCelsius},
        {"Pc", componentkey::pc, &kBar},                 {"Vc", componentkey::vc, &kCriticalVolume},
        {"Omega", componentkey::omega, &kAcentricFactor}, {"omega", componentkey::omega, &kAcentricFactor},
        {"Mw", componentkey::mw, &kMolarWeight},         {"mw", componentkey::mw, &kMolarWeight},
        {"SG", componentkey::sg, &kSpecificGravity},     {"Mole", componentkey::mole, &kMolePercent},
        {"mole", componentkey::mole, &kMolePercent}};
    for (const ComponentColumn& column : columns)
        if (word == column.headerWord)
            return column;
    return std::nullopt;
}

bool isLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A word of a column begins with a letter, a digit, a point or a sign; any other word
// (a hash or a star first) is no value and is skipped.
bool isColumnWord(QStringView word)
{
    const QChar c = word[0];
    return isLetter(c) || isDigit(c) || c == u'.' || c == u'+' || c == u'-';
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
}

// Words separated by blanks and line ends, each of any length, until the visit answers false;
// false when it did.
bool forEachWord(const QString& text, const std::function<bool(const Cell&)>& visit)
{
    return forEachLine(text, [&](QStringView line, qsizetype number) {
        qsizetype start = -1;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            const bool inWord = i < line.size() && !isBlank(line[i]);
            if (inWord && start < 0)
                start = i;
            else if (!inWord && start >= 0) {
                if (!visit(cellIn(line, number, line.mid(start, i - start))))
                    return false;
                start = -1;
            }
        }
        return true;
    });
}

// Reads the table once to check it and reckon its records, then again to make them; a
// component with fewer than nine values at the end of the file is left out.
ComponentTableImport readComponents(const QString& text, qint64 recordBudget, bool make)
{
    ComponentTableImport result;
    QList<ComponentColumn> columns;  // in the header's order
    ComponentRecord component;
    int column = 0;
    qint64 cost = 0;
    forEachWord(text, [&](const Cell& word) {
        if (columns.size() < kComponentTableColumns) {
            if (const std::optional<ComponentColumn> named = columnOfHeaderWord(word.token))
                columns.append(*named);
            return true;
        }
        if (!isColumnWord(word.token))
            return true;
        const ComponentColumn& current = columns[column];
        if (!current.range) {
            if (!isLetter(word.token[0])) {
                result.refusal = refusalAt(word, QObject::tr("%1 in the column \u201c%2\u201d is not a component name.")
                                                     .arg(quoted(word.token), current.headerWord));
                return false;
            }
            if (make) {
                component.setValue(componentkey::name, word.token.toString());
                component.setValue(componentkey::nc, getSpeciesIdentifier(word.token.toString()));
            }
        } else {
            const CheckedValue value = checkedValue(word, current.headerWord, *current.range);
            result.refusal = value.refusal;
            if (!result.refusal.isEmpty())
                return false;
            if (make)
                component.setValue(current.key, value.value);
        }
        if (++column < kComponentTableColumns)
            return true;
        column = 0;
        if (make) {
            result.components.append(component);
            component = ComponentRecord();
        } else if ((cost += kImportedComponentBytes) > recordBudget) {
            result.refusal = tooMuchMemoryMessage(recordBudget);
            return false;
        }
        return true;
    });
    return result;
}

}  // namespace

ComponentTableImport readComponentTable(const QString& text, qint64 recordBudget)
{
    const ComponentTableImport checked = readComponents(text, recordBudget, false);
    return checked.refusal.isEmpty() ? readComponents(text, recordBudget, true) : checked;
}

// --- The editor's import commands

void FluidTableEditor::onClickImport()
{
    const QString path = FileChooser::current().chooseFileToOpen(tr("Import Fluids"), {}, mHooks.window());
    if (path.isEmpty())
        return;
    const ImportText file = readImportText(path);
    if (file.error != ImportFileError::None) {
        showAlert(importFileErrorMessage(file.error));
        return;
    }
    const QString eos = mControls->equationOfState->currentIndex() == kSrkPopupIndex ? QStringLiteral("SRK") : QStringLiteral("PR");
    const FluidTableImport result = readFluidTable(file.text, eos, importRecordBudget(file.fileBytes));
    if (!result.refusal.isEmpty()) {
        showAlert(result.refusal);
        return;
    }
    if (result.fluids.isEmpty()) {
        showAlert(tr("The file holds no fluid: a line of column names followed by one line per fluid is expected."));
        return;
    }
    addFluids(result.fluids, mFluids.size());  // one undoable step, which marks the document changed
    const QString ignored = fluidTableIgnoredMessage(result);
    if (!ignored.isEmpty())
        showAlert(ignored);
}

void FluidTableEditor::onImportData()
{
    if (!hasSelectedFluid() || mFluids.isEmpty())
        return;
    const FluidRecord fluid = selectedFluid();
    const QString path = FileChooser::current().chooseFileToOpen(tr("Import Components"), {}, mHooks.window());
    if (path.isEmpty())
        return;
    const ImportText file = readImportText(path);
    if (file.error != ImportFileError::None) {
        showAlert(importFileErrorMessage(file.error));
        return;
    }
    const ComponentTableImport result = readComponentTable(file.text, importRecordBudget(file.fileBytes));
    if (!result.refusal.isEmpty())
        showAlert(result.refusal);
    else if (result.components.isEmpty())
        showAlert(tr("The file holds no component: a header of the nine columns Name, Tc, Tb, Pc, Vc, Omega, Mw, "
                     "SG and Mole followed by nine values per component is expected."));
    else
        replaceComponents(fluid, result.components, code_number(FluidType::componentList));
}

void FluidTableEditor::replaceComponents(FluidRecord fluid, const Array& components, const Value& fluidType)
{
    const Array oldComponents = fluid.arrayValue(fluidkey::components);
    const Value oldType = fluid.value(fluidkey::fluidType);
    mChanges.registerUndo([this, fluid, oldComponents, oldType] { replaceComponents(fluid, oldComponents, oldType); });
    fluid.setValue(fluidkey::components, components);
    fluid.setValue(fluidkey::fluidType, fluidType);
    reloadFluids();
    if (!hasSelectedFluid() || selectedFluid().identity() != fluid.identity())
        return;
    mHooks.refreshFluids();  // the model radio, the components table and the stock tank
    mHooks.updatePlotView();
}

}  // namespace quorvel
