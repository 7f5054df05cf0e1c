#pragma once
// The entry to component characterisation: correlation codes carried out on a component
// record, component naming, the whole-fluid correlation and McCain's classification.

#include "characterisation/BulkPropertyCorrelations.h"
#include "characterisation/CarbonNumberCorrelations.h"
#include "characterisation/ComponentRecord.h"
#include "characterisation/SpeciesIdentifier.h"
#include "thermo/CorrelationCodes.h"

namespace quorvel {

// Applies one correlation (0 to 16) or a set (101 to 117, in its order) to the record in
// place; any other code changes nothing. A set either completes or, when one of its
// correlations leaves the record unchanged, is undone as a whole (that status is answered).
// After a set "corr" holds the code of its last correlation.
CorrelationStatus applyCorrelation(Dictionary component, CorrelationCode code);

// Stores "name" and its "nc"; the eleven light species get their built-in data and
// "corr" = code, any other name is characterised by applyCorrelation(code).
CorrelationStatus setComponentName(const QString& name, Dictionary component, CorrelationCode code);

// Applies the code to each heavy component of the fluid's "components" ("nc" above 6,
// iC4 and iC5 excepted, which keep their built-in data). Each component that the code
// leaves unchanged is reported on the characterisation log; answers their number.
int applyFluidCorrelation(const Dictionary& fluid, CorrelationCode code);

// McCain's class of the fluid's composition: "Low shrinkage oil", "Ordinary black oil",
// "Volatile oil", "Dry gas" or "Gas condensate".
QString getMcCainFluidType(const Dictionary& fluid);

}  // namespace quorvel
