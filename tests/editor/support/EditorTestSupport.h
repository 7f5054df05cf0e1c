#pragma once
// Shared pieces of the editor tests: fluid records built from component names, a
// scripted stock-tank calculation, and a fluid-model document opened in the editor.

#include "app/CFluidModelDataDocument.h"
#include "characterisation/Correlations.h"
#include "editor/FluidModelController.h"
#include "platform/NotificationCenter.h"
#include "platform/UndoManager.h"

#include <QCoreApplication>

#include <functional>
#include <memory>

namespace quorvel::test {

inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A component characterised from its name (correlation 0) at a mole percent.
inline ComponentRecord component(const QString& name, double mole)
{
    ComponentRecord record;
    setComponentName(name, record, CorrelationCode::jianzhong0);
    record.setValue(componentkey::mole, mole);
    return record;
}

// A component-list fluid ("PR") of the named components, equal mole percents.
inline FluidRecord fluid(const QString& name, const QStringList& components,
                         FluidType type = FluidType::componentList)
{
    Array list;
    for (const QString& c : components)
        list.append(component(c, 100.0 / components.size()));
    return FluidRecord{{fluidkey::name, name},
                       {fluidkey::comment, QString()},
                       {fluidkey::fluidType, code_number(type)},
                       {fluidkey::eos, "PR"},
                       {fluidkey::components, list}};
}

// A calculation that answers what the test set and counts its uses.
struct ScriptedStockTank
{
    StockTankResult result;
    double saturation = 50;
    int made = 0;
    int lastInterfaceType = -1;
    int lastEosCode = -1;
    // When set: called during the calculation, which then asks its progress once and stops
    // when told to.
    std::function<void()> whileRunning;

    StockTankCalculationFactory factory()
    {
        return [this](FluidType interfaceType, EquationOfState eos, const FluidRecord&) -> std::unique_ptr<StockTankCalculation> {
            ++made;
            lastInterfaceType = code_number(interfaceType);
            lastEosCode = code_number(eos);
            struct Run : StockTankCalculation
            {
                ScriptedStockTank* script;
                explicit Run(ScriptedStockTank* s) : script(s) {}
                StockTankResult calculateGOR(const ProgressCallback& progress) override
                {
                    StockTankResult result = script->result;
                    if (script->whileRunning) {
                        script->whileRunning();
                        result.stopped = !progress(0, 25);
                    }
                    return result;
                }
                double calculateSaturation(double, SaturationKind) override { return script->saturation; }
            };
            return std::make_unique<Run>(this);
        };
    }
};

// A fluid-model document holding the given fluids, opened in the editor.
struct EditorFixture
{
    std::unique_ptr<CFluidModelDataDocument> document;
    FluidModelController* editor = nullptr;
    ScriptedStockTank tank;
    QObject observer;
    int posted = 0;

    EditorFixture()
    {
        tank.result.state = StockTankState::TwoPhases;
        tank.result.gor = 100;
        tank.result.api = {30, 31, 32, 33, 34, 35};
        NotificationCenter::defaultCenter().addObserver(QStringLiteral("FluidModelDataDocModified"), &observer,
                                                        [this](const Notification& n) {
                                                            if (n.object == editor && editor)
                                                                ++posted;
                                                        });
    }
    ~EditorFixture()
    {
        editor = nullptr;
        document.reset();
        settle();
    }

    void open(const QList<FluidRecord>& fluids, bool realEngine = false)
    {
        installFluidModelEditor();
        document = std::make_unique<CFluidModelDataDocument>();
        Array list = document->fluids();
        for (const FluidRecord& f : fluids)
            list.append(f);
        document->makeWindowControllers();
        editor = dynamic_cast<FluidModelController*>(document->windowControllers().front().get());
        if (!realEngine)
            editor->setStockTankCalculationFactory(tank.factory());
        editor->window();
        settle();
    }
    Array fluids() const { return document->fluids(); }
    QStringList fluidNames() const
    {
        QStringList names;
        for (const Value& f : fluids())
            names << f.toDictionary().stringValue(fluidkey::name);
        return names;
    }
    QStringList componentNames(int row) const
    {
        QStringList names;
        for (const Value& c : fluids().at(row).toDictionary().arrayValue(fluidkey::components))
            names << c.toDictionary().stringValue(componentkey::name);
        return names;
    }
    UndoManager* undo() const { return document->undoManager(); }
    int changes() const { return document->changeCount(); }
};

}  // namespace quorvel::test
