#include "editor/FluidImports.h"

#include "characterisation/Correlations.h"
#include "editor/FluidModelController.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QComboBox>
#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <functional>
#include <optional>

namespace quorvel {

// --- Files

ImportText readImportText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, ImportFileError::Unreadable};
    if (file.size() > kMaxImportFileBytes)
        return {{}, ImportFileError::TooLarge};
    // Read one byte more than allowed: a file whose size is not known in advance still stops.
    const QByteArray bytes = file.read(kMaxImportFileBytes + 1);
    if (bytes.size() > kMaxImportFileBytes)
        return {{}, ImportFileError::TooLarge};
    if (file.error() != QFileDevice::NoError)
        return {{}, ImportFileError::Unreadable};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    ImportText result{decoder.decode(bytes), ImportFileError::None};
    if (decoder.hasError())
        return {{}, ImportFileError::NotUtf8};
    return result;
}

QString importFileErrorMessage(ImportFileError error)
{
    switch (error) {
    case ImportFileError::Unreadable: return QObject::tr("The file could not be read.");
    case ImportFileError::TooLarge:
        return QObject::tr("The file is larger than %1 MB and was not imported.").arg(kMaxImportFileBytes / (1024 * 1024));
    case ImportFileError::NotUtf8:
        return QObject::tr("The file is not UTF-8 text and was not imported.");
    case ImportFileError::None: break;
    }
    return {};
}

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

bool isLineSeparator(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
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

void forEachLine(const QString& text, const std::function<void(QStringView)>& visit)
{
    const QStringView all(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= all.size(); ++i)
        if (i == all.size() || isLineSeparator(all[i])) {
            visit(all.mid(start, i - start));
            start = i + 1;
        }
}

FluidRecord newImportedFluid(int index, const QString& eos)
{
    return FluidRecord{{fluidkey::fluidType, kFluidTypeComponentList},
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

FluidRecord readFluidLine(const QStringList& header, const QList<QStringView>& tokens, int index,
                          const QString& eos, FluidTableImport& result)
{
    FluidRecord fluid = newImportedFluid(index, eos);
    Array components = fluid.arrayValue(fluidkey::components);
    std::optional<ComponentRecord> current;
    for (qsizetype c = 0; c < tokens.size(); ++c) {
        if (c >= header.size()) {
            ++result.extraValues;
            continue;
        }
        const QString& column = header[c];
        const QString token = tokens[c].toString();
        if (componentColumns().contains(column)) {
            ComponentRecord component;
            setComponentName(column, component, kCorrelationJianzhong0);
            component.setValue(componentkey::mole, Value(token).toDouble());
            components.append(component);
            current = component;
        } else if (column == kMwColumn || column == kSgColumn) {
            if (current)
                current->setValue(column == kMwColumn ? componentkey::mw : componentkey::sg, Value(token).toDouble());
            else
                ++result.orphanValues;
        } else if (column == kNameColumn) {
            fluid.setValue(fluidkey::name, token);
        } else if (kReservedColumns.contains(column)) {
            ++result.reservedValues;
        } else {
            fluid.setValue(column, token);
        }
    }
    copyMeasuredPoint(fluid);
    return fluid;
}

}  // namespace

FluidTableImport readFluidTable(const QString& text, const QString& eos)
{
    FluidTableImport result;
    std::optional<QStringList> header;
    forEachLine(text, [&](QStringView line) {
        const QList<QStringView> tokens = tokensOf(line);
        if (tokens.isEmpty())  // blank, or nothing but separators
            return;
        if (!header) {
            header.emplace();
            for (QStringView token : tokens)
                header->append(token.toString());
            return;
        }
        result.fluids.append(readFluidLine(*header, tokens, result.fluids.size(), eos, result));
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

// The header word of each column and the component key it fills.
QString columnKeyOfHeaderWord(QStringView word)
{
    static const QList<std::pair<QString, QString>> headerWords{
        {"Name", componentkey::name}, {"name", componentkey::name},   {"Tc", componentkey::tc},
        {"Tb", componentkey::tb},     {"Pc", componentkey::pc},       {"Vc", componentkey::vc},
        {"Omega", componentkey::omega}, {"omega", componentkey::omega}, {"Mw", componentkey::mw},
        {"mw", componentkey::mw},     {"SG", componentkey::sg},       {"Mole", componentkey::mole},
        {"mole", componentkey::mole}};
    for (const auto& [header, key] : headerWords)
        if (word == header)
            return key;
    return {};
}

bool isDigitOrPoint(QChar c)
{
    return c == u'.' || (c >= u'0' && c <= u'9');
}

// A digit or a point first, or a sign followed by one.
bool isNumberWord(QStringView word)
{
    if (isDigitOrPoint(word[0]))
        return true;
    return (word[0] == u'-' || word[0] == u'+') && word.size() > 1 && isDigitOrPoint(word[1]);
}

bool isNameWord(QStringView word)
{
    const QChar c = word[0];
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// Words separated by blanks and line ends, each of any length.
void forEachWord(const QString& text, const std::function<void(QStringView)>& visit)
{
    const QStringView all(text);
    qsizetype start = -1;
    for (qsizetype i = 0; i <= all.size(); ++i) {
        const bool inWord = i < all.size() && !isBlank(all[i]);
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            visit(all.mid(start, i - start));
            start = -1;
        }
    }
}

}  // namespace

ComponentTableImport readComponentTable(const QString& text)
{
    ComponentTableImport result;
    QStringList columns;  // the key of each column, in the header's order
    ComponentRecord component;
    int column = 0;
    forEachWord(text, [&](QStringView word) {
        if (columns.size() < kComponentTableColumns) {
            const QString key = columnKeyOfHeaderWord(word);
            if (!key.isEmpty())
                columns.append(key);
            return;
        }
        if (column == 0)
            component = ComponentRecord();
        if (isNumberWord(word)) {
            component.setValue(columns[column], Value(word.toString()).toDouble());
        } else if (isNameWord(word)) {
            // A name, whatever the column.
            component.setValue(componentkey::name, word.toString());
            component.setValue(componentkey::nc, getSpeciesIdentifier(word.toString()));
        } else {
            return;  // neither a number nor a name
        }
        if (++column < kComponentTableColumns)
            return;
        column = 0;
        if (component.value(componentkey::name).isString())
            result.components.append(component);
        else
            ++result.unnamed;
    });
    return result;
}

// --- The editor's import commands

void FluidModelController::onClickImport()
{
    const QString path = FileChooser::current().chooseFileToOpen(tr("Import Fluids"), {}, window());
    if (path.isEmpty())
        return;
    const ImportText file = readImportText(path);
    if (file.error != ImportFileError::None) {
        showAlert(importFileErrorMessage(file.error));
        return;
    }
    const QString eos = mEquationOfState->currentIndex() == kSrkPopupIndex ? QStringLiteral("SRK") : QStringLiteral("PR");
    const FluidTableImport result = readFluidTable(file.text, eos);
    if (result.fluids.isEmpty()) {
        showAlert(tr("The file holds no fluid: a line of column names followed by one line per fluid is expected."));
        return;
    }
    for (const FluidRecord& fluid : result.fluids)
        mFluids.append(fluid);
    reloadFluids();
    tableViewSelectionDidChange(mFluidsView);
    markChanged();
    const QString ignored = fluidTableIgnoredMessage(result);
    if (!ignored.isEmpty())
        showAlert(ignored);
}

void FluidModelController::onImportData()
{
    if (!hasSelectedFluid() || mFluids.isEmpty())
        return;
    const FluidRecord fluid = selectedFluid();
    const QString path = FileChooser::current().chooseFileToOpen(tr("Import Components"), {}, window());
    if (path.isEmpty())
        return;
    const ImportText file = readImportText(path);
    if (file.error != ImportFileError::None) {
        showAlert(importFileErrorMessage(file.error));
        return;
    }
    const ComponentTableImport result = readComponentTable(file.text);
    QStringList messages;
    if (result.components.isEmpty())
        messages << tr("The file holds no component: a header of the nine columns Name, Tc, Tb, Pc, Vc, Omega, Mw, "
                       "SG and Mole followed by nine values per component is expected.");
    if (result.unnamed > 0)
        messages << tr("Components without a name were dropped: %1.").arg(result.unnamed);
    if (!result.components.isEmpty())
        replaceComponents(fluid, result.components, kFluidTypeComponentList);
    if (!messages.isEmpty())
        showAlert(messages.join(QLatin1Char(' ')));
}

void FluidModelController::replaceComponents(FluidRecord fluid, const Array& components, const Value& fluidType)
{
    const Array oldComponents = fluid.arrayValue(fluidkey::components);
    const Value oldType = fluid.value(fluidkey::fluidType);
    registerUndo([this, fluid, oldComponents, oldType] { replaceComponents(fluid, oldComponents, oldType); });
    fluid.setValue(fluidkey::components, components);
    fluid.setValue(fluidkey::fluidType, fluidType);
    reloadFluids();
    if (!hasSelectedFluid() || selectedFluid().identity() != fluid.identity())
        return;
    refreshFluids();  // the model radio, the components table and the stock tank
    updatePlotView();
}

}  // namespace quorvel
