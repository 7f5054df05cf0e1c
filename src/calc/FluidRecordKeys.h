#pragma once
// The keys of a fluid record and of the component records in its "components" array, as
// documents store them. Every layer that reads or writes these records names the keys by
// these constants.

#include "platform/Value.h"
#include "thermo/FluidType.h"

#include <QString>

namespace quorvel {

namespace fluidkey {
inline const QString name = QStringLiteral("name");
inline const QString comment = QStringLiteral("comment");
inline const QString fluidType = QStringLiteral("fluidType");
inline const QString eos = QStringLiteral("EOS");
inline const QString components = QStringLiteral("components");
inline const QString tsat = QStringLiteral("Tsat");
inline const QString satPhase = QStringLiteral("satPhase");
inline const QString psat = QStringLiteral("Psat");
inline const QString bulkMw = QStringLiteral("bulkMw");
inline const QString c7plus = QStringLiteral("C7+");
inline const QString mwC7plus = QStringLiteral("mwC7+");
inline const QString sgC7plus = QStringLiteral("SGC7+");
inline const QString gor = QStringLiteral("GOR");
inline const QString api = QStringLiteral("API");
inline const QString reference = QStringLiteral("reference");

// The measured saturation point: temperature, its unit code, pressure (bar) and kind.
inline const QString texp = QStringLiteral("Texp");
inline const QString texpUnit = QStringLiteral("TexpUnit");
inline const QString pexp = QStringLiteral("Pexp");
inline const QString hexp = QStringLiteral("hexp");

// An alpha-beta model fluid: the model's parameters, its gases and, from a fit, its light
// fractions, the fitted saturation pressure and volume fraction, and the deviations.
inline const QString alpha = QStringLiteral("alpha");
inline const QString beta = QStringLiteral("beta");
inline const QString delta = QStringLiteral("delta");  // the gamma model's third parameter
inline const QString CO2 = QStringLiteral("CO2");
inline const QString N2 = QStringLiteral("N2");
inline const QString H2S = QStringLiteral("H2S");
inline const QString C1 = QStringLiteral("C1");
inline const QString C2 = QStringLiteral("C2");
inline const QString C3 = QStringLiteral("C3");
inline const QString C4 = QStringLiteral("C4");
inline const QString C5 = QStringLiteral("C5");
inline const QString C6 = QStringLiteral("C6");
inline const QString pcal = QStringLiteral("Pcal");
inline const QString fvcal = QStringLiteral("fvcal");
inline const QString ardx = QStringLiteral("ardx");
inline const QString aadx = QStringLiteral("aadx");
inline const QString rmsx = QStringLiteral("rmsx");
inline const QString ardp = QStringLiteral("ardp");
inline const QString aadp = QStringLiteral("aadp");

// An alpha-beta plot's marker, a fluid record besides: the curve it sits on and that
// curve's inclusion, which a curve keeps under the same key (their plot objects are under
// the run-time keys).
inline const QString curve = QStringLiteral("curve");
inline const QString inclusion = QStringLiteral("inclusion");
}  // namespace fluidkey

[[nodiscard]] inline FluidType fluidTypeOf(const Dictionary& record)
{
    return fluidTypeFromNumber(record.intValue(fluidkey::fluidType));
}

// The cubic equation of state of a component fluid, numbered as the editor's menu lists them.
enum class EquationOfState : int { pengRobinson = 0, srk = 1 };

[[nodiscard]] constexpr int code_number(EquationOfState eos) { return static_cast<int>(eos); }

// The equation of state a record names under "EOS": "SRK", otherwise Peng-Robinson.
[[nodiscard]] inline EquationOfState getEOSCode(const Value& eos)
{
    return eos.isString() && eos.toString() == QLatin1String("SRK") ? EquationOfState::srk
                                                                   : EquationOfState::pengRobinson;
}

namespace componentkey {
inline const QString name = QStringLiteral("name");
inline const QString nc = QStringLiteral("nc");
inline const QString mole = QStringLiteral("mole");
inline const QString mw = QStringLiteral("mw");
inline const QString sg = QStringLiteral("SG");
inline const QString tc = QStringLiteral("Tc");
inline const QString tb = QStringLiteral("Tb");
inline const QString pc = QStringLiteral("Pc");
inline const QString vc = QStringLiteral("Vc");
inline const QString omega = QStringLiteral("omega");
inline const QString corr = QStringLiteral("corr");
inline const QString slope = QStringLiteral("slope");  // given by a few correlations
}  // namespace componentkey

}  // namespace quorvel
