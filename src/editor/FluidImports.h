#pragma once
// The two text tables the fluid model editor imports. A fluid table holds one fluid per
// line under a header line of column names; a component table holds the nine properties
// of each component under nine named columns. Both are read whole, as UTF-8 text of at
// most kMaxImportFileBytes.

#include "editor/FluidRecord.h"

#include <QList>
#include <QString>

namespace quorvel {

inline constexpr qint64 kMaxImportFileBytes = 50LL * 1024 * 1024;

enum class ImportFileError { None, Unreadable, TooLarge, NotUtf8 };

struct ImportText
{
    QString text;
    ImportFileError error = ImportFileError::None;
};

// The file as text, or why it is refused.
ImportText readImportText(const QString& path);
// The alert explaining a refused file.
QString importFileErrorMessage(ImportFileError error);

// --- Fluid table

struct FluidTableImport
{
    QList<FluidRecord> fluids;
    int extraValues = 0;     // values beyond the header's columns
    int orphanValues = 0;    // "Mw" or "SG" values with no component column before them
    int reservedValues = 0;  // values of columns named like a key the import builds itself
};

// The fluids of the table, each with the equation of state "PR" or "SRK".
FluidTableImport readFluidTable(const QString& text, const QString& eos);
// One alert summing up what the import ignored; empty when nothing was.
QString fluidTableIgnoredMessage(const FluidTableImport& result);

// --- Component table

struct ComponentTableImport
{
    Array components;
    int unnamed = 0;  // complete components whose name is no text, dropped
};

ComponentTableImport readComponentTable(const QString& text);

}  // namespace quorvel
