#pragma once
// The fluid-model document ("Quorvel Fluid Model", .flu): an ordered list of fluid
// records, archived under the root key "fluids", edited in place by the fluid model editor.

#include "platform/Document.h"
#include "platform/Value.h"

namespace quorvel {

inline const QString FluidModelDataDocModified = QStringLiteral("FluidModelDataDocModified");

class CFluidModelDataDocument : public Document
{
    Q_OBJECT

public:
    CFluidModelDataDocument();
    ~CFluidModelDataDocument() override;

    // The document's list itself (not a copy).
    Array fluids() const { return mFluids; }

    // Appends a fluid of the alpha-beta model (gases as mole fractions) given by its
    // components; marks nothing changed (the editor does, with its undo).
    void generateFluidFromAlphaBetaModel(double alpha, double beta, double CO2, double N2, double H2S);

    void makeWindowControllers() override;
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    // Refuses data that is not an archive, lacks "fluids" or holds containers of the wrong kind.
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;

    // Prints the fluid model editor's window as it shows on one page; without the editor
    // the document has no window and nothing to print.
    bool canPrint() const override { return !windowControllers().empty(); }
    void printDocument() override { printFirstWindow(); }

protected:
    void documentDidRevert() override;

private:
    Array mFluids;
};

}  // namespace quorvel
