#pragma once
// Lumping: new fluid records in which the heavy components of a source fluid are mixed
// into fewer pseudo-components, the light components kept as they are. The source record
// is never changed; each builder answers a new record for the caller to keep.

#include "platform/Value.h"

namespace quorvel {

// The fifteen names that lumping and splitting keep unchanged (exact, case-sensitive).
bool isLightComponentName(const QString& name);

// A new record with the component's "name", "Tc", "Tb", "Pc", "Vc", "omega", "mw", "SG",
// "mole" and "nc" (those present), and "corr" when asked for and present.
Dictionary copyComponent(const Dictionary& component, bool withCorrelationCode);

// The mole-weighted mixing rule of a set of heavy components: z = "mole" x 0.01,
// mw = sum(z M) / sum(z), SG = sum(z M) / sum(z M / S). An empty set, or a member
// without a positive gravity, mixes to 0 instead of dividing by zero.
class HeavyMixture
{
public:
    void add(const Dictionary& component);
    void add(double z, double mw, double SG);
    void add(const HeavyMixture& other);

    double moleFraction() const { return mZ; }
    double molarWeight() const;
    double specificGravity() const;
    int count() const { return mCount; }
    bool isEmpty() const { return mCount == 0; }

private:
    double mZ = 0;
    double mMass = 0;     // sum of z M
    double mVolume = 0;   // sum of z M / S
    bool mGravityKnown = true;
    int mCount = 0;
};

// One "C7+" lump of all heavy components.
Dictionary lumpFluidC7plus(const Dictionary& fluid);
// Heavy components in two lumps, "Cn1" (up to C25) and "Cn2" (from C26).
Dictionary lumpFluidCn1Cn2(const Dictionary& fluid);
// C7 to C10 kept as they are, the rest in "Cn1" and "Cn2".
Dictionary lumpFluidC7C8C9C10Cn1Cn2(const Dictionary& fluid);
// Runs of consecutive heavy components, about a twelfth of them per run.
Dictionary lumpFluidPedersen(const Dictionary& fluid);

}  // namespace quorvel
