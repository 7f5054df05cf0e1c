#include "app/InclusionAlerts.h"

#include "platform/AlertService.h"

#include <QObject>

namespace quorvel {

void Msg_ThNotValid()
{
    showAlert(QObject::tr("This is not a valid number for the homogenisation temperature Th."));
}

void Msg_FvNotValid()
{
    showAlert(QObject::tr("This is not a valid number for the bubble % volume Fv."));
}

void Msg_TfvNotValid()
{
    showAlert(QObject::tr("This is not a valid number for the temperature Tfv, at which is measured a bubble size."));
}

void Msg_CO2NotValid()
{
    showAlert(QObject::tr("This is not a valid number for a CO2 mole percent."));
}

void Msg_N2NotValid()
{
    showAlert(QObject::tr("This is not a valid number for a N2 mole percent."));
}

void Msg_H2SNotValid()
{
    showAlert(QObject::tr("This is not a valid number for a H2S mole percent."));
}

}  // namespace quorvel
