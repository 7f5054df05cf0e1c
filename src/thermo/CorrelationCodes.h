#pragma once
// Correlation codes: chosen per component, their number stored under "corr".
// 0 to 16 select one correlation, 101 to 117 a fixed sequence of them.

namespace quorvel {

enum class CorrelationCode : int {
    jianzhong0 = 0,  // carbon number only
    jianzhong1 = 1,  // with mw and SG
    jianzhong2 = 2,  // with Tb and SG
    katzFiroozabadi = 3,
    ahmed = 4,
    riaziDaubert = 5,
    edmister = 6,
    leeKesler = 7,
    winn = 8,
    cavett = 9,
    pedersen = 10,
    montel = 11,
    twu = 12,
    riaziAlSahhaf = 13,
    stamataki = 14,
    pedersenTb = 15,
    whitsonTb = 16,
    firstSet = 101,
    lastSet = 117,
};

[[nodiscard]] constexpr int code_number(CorrelationCode code) { return static_cast<int>(code); }
// A stored number of no correlation keeps its value and equals no named code.
[[nodiscard]] constexpr CorrelationCode correlationCodeFromNumber(int number)
{
    return static_cast<CorrelationCode>(number);
}

[[nodiscard]] constexpr bool isCorrelationSet(CorrelationCode code)
{
    return code >= CorrelationCode::firstSet && code <= CorrelationCode::lastSet;
}

}  // namespace quorvel
