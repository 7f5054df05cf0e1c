#include "thermo/PsatCorr.h"

namespace quorvel {

double PsatCorr::Tsat(double)
{
    return 0;
}

double PsatCorr::Psat(double)
{
    return 0;
}

}  // namespace quorvel
