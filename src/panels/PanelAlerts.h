#pragma once
// The alerts of the inspector panels' number fields: one fixed sentence each, no title.

namespace quorvel {

void Msg_ThNotValid();
void Msg_FvNotValid();
void Msg_TfvNotValid();
void Msg_CO2NotValid();
void Msg_N2NotValid();
void Msg_H2SNotValid();
void Msg_AlphaNotValid();
void Msg_BetaNotValid();

}  // namespace quorvel
