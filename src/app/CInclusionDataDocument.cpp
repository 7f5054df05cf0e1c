#include "app/CInclusionDataDocument.h"

#include "app/InclusionDataController.h"
#include "app/InclusionExports.h"
#include "app/InclusionRecord.h"
#include "platform/NotificationCenter.h"

namespace quorvel {

namespace {
const QString kInclusionsKey = QStringLiteral("InclusionsArray");
const QString kExportToASCII = QStringLiteral("exportToASCII:");
const QString kExportToLaTeX = QStringLiteral("exportToLaTeX:");
const QString kExportToHTML = QStringLiteral("exportToHTML:");
}  // namespace

CInclusionDataDocument::CInclusionDataDocument() = default;

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

QStringList CInclusionDataDocument::answeredActions() const
{
    return Document::answeredActions() + QStringList{kExportToASCII, kExportToLaTeX, kExportToHTML};
}

bool CInclusionDataDocument::validateAction(const QString& action, QAction* item)
{
    if (action == kExportToASCII || action == kExportToLaTeX || action == kExportToHTML)
        return true;
    return Document::validateAction(action, item);
}

void CInclusionDataDocument::performAction(const QString& action, QObject* sender)
{
    if (action == kExportToASCII)
        exportToASCII();
    else if (action == kExportToLaTeX)
        exportToLaTeX();
    else if (action == kExportToHTML)
        exportToHTML();
    else
        Document::performAction(action, sender);
}

}  // namespace quorvel
