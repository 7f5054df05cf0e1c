#pragma once
// The inclusion-data document ("Quorvel Inclusion Data", .inc): an ordered list of
// inclusion records, archived under the root key "InclusionsArray", edited in place
// by the inclusion editor, and exported as text, LaTeX and HTML reports.

#include "platform/Document.h"
#include "platform/Value.h"

namespace quorvel {

class InclusionDataController;

inline const QString InclusionsDataDocModified = QStringLiteral("InclusionsDataDocModified");

class CInclusionDataDocument : public Document
{
    Q_OBJECT

public:
    CInclusionDataDocument();
    ~CInclusionDataDocument() override;

    // The document's list itself (not a copy): callers see later edits.
    Array getInclusions() const { return mInclusionsArray; }
    InclusionDataController* controller() const { return mController; }

    void makeWindowControllers() override;
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    // Refuses data that is not an archive, lacks "InclusionsArray" or holds containers of
    // the wrong kind; records with missing keys are taken (their readers give 0).
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;

    void exportToASCII();
    void exportToLaTeX();
    void exportToHTML();

    // Prints the editor's window as it shows (the tables and the diagram) on one page.
    bool canPrint() const override { return mController != nullptr; }
    void printDocument() override { printFirstWindow(); }

protected:
    void documentDidRevert() override;

private:
    Array mInclusionsArray;
    InclusionDataController* mController = nullptr;  // owned by the document's controller list
};

}  // namespace quorvel
