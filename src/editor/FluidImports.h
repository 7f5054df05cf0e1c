#pragma once
// The two text tables the fluid model editor imports. A fluid table holds one fluid per
// line under a header line of column names; a component table holds the nine properties
// of each component under nine named columns. Both are read whole, as UTF-8 text of at
// most kMaxImportFileBytes, and taken whole or refused whole: every value of a numeric
// column must be wholly a number within its physical range, and the records made must fit
// the import's memory budget, both checked before the first record is made.

#include "editor/FluidRecord.h"

#include <QList>
#include <QString>

namespace quorvel {

inline constexpr qint64 kMaxImportFileBytes = 50LL * 1024 * 1024;
// What an import may take in memory, the file's bytes and its text included: the larger of
// kImportMemoryFactor times the file and kImportMemoryAllowance.
inline constexpr qint64 kImportMemoryFactor = 20;
inline constexpr qint64 kImportMemoryAllowance = 64LL * 1024 * 1024;

enum class ImportFileError { None, Unreadable, NotARegularFile, TooLarge, NotUtf8 };

struct ImportText
{
    QString text;
    qint64 fileBytes = 0;
    ImportFileError error = ImportFileError::None;
};

// The file as text, or why it is refused.
[[nodiscard]] ImportText readImportText(const QString& path);
// The alert explaining a refused file.
QString importFileErrorMessage(ImportFileError error);
// What the records read from a file of that size may take: the budget less the file and its text.
qint64 importRecordBudget(qint64 fileBytes);

// --- Fluid table

struct FluidTableImport
{
    QList<FluidRecord> fluids;
    int extraValues = 0;     // values beyond the header's columns
    int orphanValues = 0;    // "Mw" or "SG" values with no component column before them
    int reservedValues = 0;  // values of columns named like a key the import builds itself
    QString refusal;         // why the file was refused whole (then no fluid); empty when read
};

// The fluids of the table, each with the equation of state "PR" or "SRK", when their records
// take at most recordBudget bytes.
[[nodiscard]] FluidTableImport readFluidTable(const QString& text, const QString& eos, qint64 recordBudget);
// One alert summing up what the import ignored; empty when nothing was.
QString fluidTableIgnoredMessage(const FluidTableImport& result);

// --- Component table

struct ComponentTableImport
{
    Array components;
    QString refusal;  // why the file was refused whole (then no component); empty when read
};

[[nodiscard]] ComponentTableImport readComponentTable(const QString& text, qint64 recordBudget);

}  // namespace quorvel
