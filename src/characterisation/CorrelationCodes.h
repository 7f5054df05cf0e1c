#pragma once
// Correlation codes: the integer stored under "corr" and chosen per component.
// 0 to 16 select one correlation, 101 to 117 a fixed sequence of them.

namespace quorvel {

inline constexpr int kCorrelationJianzhong0 = 0;  // carbon number only
inline constexpr int kCorrelationJianzhong1 = 1;  // with mw and SG
inline constexpr int kCorrelationJianzhong2 = 2;  // with Tb and SG
inline constexpr int kCorrelationKatzFiroozabadi = 3;
inline constexpr int kCorrelationAhmed = 4;
inline constexpr int kCorrelationRiaziDaubert = 5;
inline constexpr int kCorrelationEdmister = 6;
inline constexpr int kCorrelationLeeKesler = 7;
inline constexpr int kCorrelationWinn = 8;
inline constexpr int kCorrelationCavett = 9;
inline constexpr int kCorrelationPedersen = 10;
inline constexpr int kCorrelationMontel = 11;
inline constexpr int kCorrelationTwu = 12;
inline constexpr int kCorrelationRiaziAlSahhaf = 13;
inline constexpr int kCorrelationStamataki = 14;
inline constexpr int kCorrelationPedersenTb = 15;
inline constexpr int kCorrelationWhitsonTb = 16;

inline constexpr int kFirstCorrelationSet = 101;
inline constexpr int kLastCorrelationSet = 117;

}  // namespace quorvel
