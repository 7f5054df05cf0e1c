#include "app/CFluidModelDataDocument.h"

#include "app/AlphaBetaModelComponents.h"
#include "app/Ports.h"
#include "calc/CAlphaBetaModelInterface.h"
#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "characterisation/Correlations.h"
#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"

namespace quorvel {

namespace {
const QString kFluidsKey = QStringLiteral("fluids");

std::optional<QString> checkFluidList(const Value& list)
{
    if (!isArrayOfDictionaries(list))
        return QObject::tr("The fluid list is not a list of fluid records.");
    for (const Value& fluid : list.toArray()) {
        const Value components = fluid.toDictionary().value(fluidkey::components);
        if (!components.isNull() && !isArrayOfDictionaries(components))
            return QObject::tr("The components of fluid \u201c%1\u201d are not a list of component records.")
                .arg(fluid.toDictionary().stringValue(fluidkey::name));
    }
    return std::nullopt;
}

FluidModelEditor* editorOf(const Document& document)
{
    if (document.windowControllers().empty())
        return nullptr;
    return dynamic_cast<FluidModelEditor*>(document.windowControllers().front().get());
}
}  // namespace

CFluidModelDataDocument::CFluidModelDataDocument() = default;

CFluidModelDataDocument::~CFluidModelDataDocument()
{
    NotificationCenter::defaultCenter().postNotification(FluidModelDataDocModified, this);
}

void CFluidModelDataDocument::generateFluidFromAlphaBetaModel(double alpha, double beta, double CO2, double N2,
                                                              double H2S)
{
    const QString comment =
        QString::asprintf("Generated from alpha-beta model with alpha=%.4lf, beta=%.4lf, CO2=%.4lf, N2=%.4lf, H2S=%.4lf",
                          alpha, beta, CO2, N2, H2S);
    CAlphaBetaModelInterface model;
    model.calculateComposition(alpha, beta, CO2, N2, H2S);
    Array components;
    for (int i = 0; i < model.getNumberOfComponents(); ++i)
        components.append(alphaBetaModelComponent(model, i));
    mFluids.append(Dictionary{{fluidkey::name, "New"},
                              {fluidkey::comment, comment},
                              {fluidkey::fluidType, code_number(FluidType::componentList)},
                              {fluidkey::components, components}});
}

void CFluidModelDataDocument::makeWindowControllers()
{
    FluidModelEditorFactory* factory = FluidModelEditorFactory::current();
    if (!factory)
        return;  // the editor is not part of this build: the document stays without a window
    std::unique_ptr<WindowController> controller = factory->makeFluidModelController();
    controller->setShouldCloseDocument(true);
    WindowController* made = controller.get();
    addWindowController(std::move(controller));
    if (auto* editor = dynamic_cast<FluidModelEditor*>(made))
        editor->setFluids(mFluids);
}

void CFluidModelDataDocument::documentDidRevert()
{
    NotificationCenter::defaultCenter().postNotification(FluidModelDataDocModified, this);
}

QByteArray CFluidModelDataDocument::dataRepresentationOfType(const QString&, QString* error)
{
    return archiveRoots({{kFluidsKey, mFluids}}, error);
}

bool CFluidModelDataDocument::loadDataRepresentation(const QByteArray& data, const QString&, QString* error)
{
    const std::optional<Dictionary> roots = unarchiveRoots(data, {kFluidsKey}, error);
    if (!roots)
        return false;
    const Value fluids = roots->value(kFluidsKey);
    if (const auto problem = checkFluidList(fluids)) {
        *error = *problem;
        return false;
    }
    mFluids = fluids.toArray();
    if (FluidModelEditor* editor = editorOf(*this))
        editor->setFluids(mFluids);
    return true;
}

}  // namespace quorvel
