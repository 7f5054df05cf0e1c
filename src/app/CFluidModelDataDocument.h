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

    void makeWindowControllers() override;
    QByteArray dataRepresentationOfType(const QString& type, QString* error) override;
    // Refuses data that is not an archive, lacks "fluids" or holds containers of the wrong kind.
    bool loadDataRepresentation(const QByteArray& data, const QString& type, QString* error) override;

protected:
    void documentDidRevert() override;

private:
    Array mFluids;
};

}  // namespace quorvel
