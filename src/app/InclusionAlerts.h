#pragma once
// The alerts for the measured values of an inclusion that a field refuses: one fixed
// sentence each, no title. The inclusion editor and the inspector panels show them.

namespace quorvel {

void Msg_ThNotValid();
void Msg_FvNotValid();
void Msg_TfvNotValid();
void Msg_CO2NotValid();
void Msg_N2NotValid();
void Msg_H2SNotValid();

}  // namespace quorvel
