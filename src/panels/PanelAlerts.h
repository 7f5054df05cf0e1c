#pragma once
// The alerts of the inspector panels' number fields: one fixed sentence each, no title
// (those of an inclusion's measured values are the inclusion editor's as well).

#include "app/InclusionAlerts.h"

namespace quorvel {

void Msg_AlphaNotValid();
void Msg_BetaNotValid();

}  // namespace quorvel
