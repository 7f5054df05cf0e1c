#include "app/CInclusionDataDocument.h"

#include "app/InclusionDataController.h"
#include "app/InclusionExports.h"
#include "app/InclusionRecord.h"
#include "platform/ActionNames.h"
#include "platform/NotificationCenter.h"

namespace quorvel {

namespace {
const QString kInclusionsKey = QStringLiteral("InclusionsArray");
}  // namespace

CInclusionDataDocument::CInclusionDataDocument()
{
    answerActions({
        {actionname::exportToASCII, nullptr, [this](QObject*) { exportToASCII(); }},
        {actionname::exportToLaTeX, nullptr, [this](QObject*) { exportToLaTeX(); }},
        {actionname::exportToHTML, nullptr, [this](QObject*) { exportToHTML(); }},
    });
}

CInclusionDataDocument::~CInclusionDataDocument()
{
    NotificationCenter::defaultCenter().postNotification(InclusionsDataDocModified, this);
}

void CInclusionDataDocument::makeWindowControllers()
{
    auto controller = std::make_unique<InclusionDataController>();
    mController = controller.get();
    controller->setShouldCloseDocument(true);
    addWindowController(std::move(controller));
    mController->setInclusionsArray(mInclusionsArray);
    NotificationCenter::defaultCenter().postNotification(InclusionsDataDocModified, this);
}

QByteArray CInclusionDataDocument::dataRepresentationOfType(const QString&, QString* error)
{
    return archiveRoots({{kInclusionsKey, mInclusionsArray}}, error);
}

bool CInclusionDataDocument::loadDataRepresentation(const QByteArray& data, const QString&, QString* error)
{
    const std::optional<Dictionary> roots = unarchiveRoots(data, {kInclusionsKey}, error);
    if (!roots)
        return false;
    const Value inclusions = roots->value(kInclusionsKey);
    if (const auto problem = checkInclusionList(inclusions)) {
        *error = *problem;
        return false;
    }
    mInclusionsArray = inclusions.toArray();
    if (mController)
        mController->setInclusionsArray(mInclusionsArray);
    return true;
}

void CInclusionDataDocument::documentDidRevert()
{
    NotificationCenter::defaultCenter().postNotification(InclusionsDataDocModified, this);
}

void CInclusionDataDocument::exportToASCII()
{
    InclusionExports(*this).exportToASCII();
}

void CInclusionDataDocument::exportToLaTeX()
{
    InclusionExports(*this).exportToLaTeX();
}

void CInclusionDataDocument::exportToHTML()
{
    InclusionExports(*this).exportToHTML();
}

}  // namespace quorvel
