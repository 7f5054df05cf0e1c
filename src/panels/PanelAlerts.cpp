#include "panels/PanelAlerts.h"

#include "platform/AlertService.h"

#include <QObject>

namespace quorvel {

void Msg_AlphaNotValid()
{
    showAlert(QObject::tr("This is not a valid number for the alpha parameter (which must be between 0 and 1)."));
}

void Msg_BetaNotValid()
{
    showAlert(QObject::tr("This is not a valid number for the beta parameter (which must be between 0 and 1)."));
}

}  // namespace quorvel
