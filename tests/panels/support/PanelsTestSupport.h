#pragma once
// Shared pieces of the panel tests: the application's document controller with an
// alpha-beta plot document shown and inclusion-data documents, alerts recorded, and an
// alpha-beta curve engine that plays a script per homogenisation temperature.

#include "app/support/ScriptedCurveEngine.h"

#include "app/AlphaBetaCurveEngine.h"
#include "app/CAlphaBetaPlotDocument.h"
#include "app/CCQuorvelDocumentController.h"
#include "app/CInclusionDataDocument.h"
#include "app/DocumentTypes.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"
#include "platform/WindowController.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace quorvel::test {

inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// An inclusion record in record units.
inline Dictionary inclusionRecord(const QString& name, double Th, const QString& type0 = "Oil",
                                  const QString& homog = "liquid")
{
    return Dictionary{{"name", name}, {"Th", Th},   {"Fv", 10.0},   {"Tv", 20.0},     {"CO2", 0.0},
                      {"N2", 0.0},    {"H2S", 0.0}, {"homog", homog}, {"type0", type0}};
}

// A curve record of points (alpha, beta, pressure) computed for an inclusion record.
inline Dictionary curveRecordOf(const Dictionary& inclusion, std::initializer_list<std::array<double, 3>> points)
{
    Dictionary curve = inclusion.copy();
    curve.remove("type0");
    Array data;
    for (const auto& p : points)
        data.append(Array{p[0], p[1], p[2]});
    curve.setValue("data", data);
    curve.setValue("alpha0", data.at(0).toArray().at(0).toDouble());
    curve.setValue("index", 0);
    return curve;
}

struct PanelsFixture
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;
    EngineScript script;
    std::unique_ptr<CCQuorvelDocumentController> controller = std::make_unique<CCQuorvelDocumentController>();

    PanelsFixture()
    {
        AlphaBetaCurveEngine::setFactory([this] { return std::make_unique<ScriptedCurveEngine>(script); });
    }
    ~PanelsFixture()
    {
        AlphaBetaCurveEngine::setFactory(nullptr);
        controller.reset();
        settle();
    }

    template <class Kind>
    Kind* newDocument(const QString& type, bool shown)
    {
        std::unique_ptr<Document> made = controller->makeUntitledDocumentOfType(type);
        auto* document = dynamic_cast<Kind*>(made.get());
        controller->addDocument(std::move(made));
        if (shown) {
            document->makeWindowControllers();
            document->showWindows();
            settle();
        }
        return document;
    }
    CAlphaBetaPlotDocument* plotDocument() { return newDocument<CAlphaBetaPlotDocument>(DocumentTypes::AlphaBetaPlot, true); }
    CInclusionDataDocument* inclusionDocument(std::initializer_list<Dictionary> inclusions)
    {
        auto* document = newDocument<CInclusionDataDocument>(DocumentTypes::InclusionData, false);
        Array list = document->getInclusions();
        for (const Dictionary& inclusion : inclusions)
            list.append(inclusion);
        NotificationCenter::defaultCenter().postNotification(InclusionsDataDocModified, document);
        return document;
    }
    static QWidget* windowOf(Document* document) { return document->windowControllers().front()->window(); }
    static void becomeMain(Document* document)
    {
        NotificationCenter::defaultCenter().postNotification(WindowDidBecomeMainNotification, windowOf(document));
    }
};

}  // namespace quorvel::test
