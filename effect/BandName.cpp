#include "effect/BandName.h"

const char* BandNameOf(float hz)
{
    if (hz < 0.5f)
        return "EPSILON";
    if (hz < 4.0f)
        return "DELTA";
    if (hz < 8.0f)
        return "THETA";
    if (hz < 14.0f)
        return "ALPHA";
    if (hz < 30.0f)
        return "BETA";
    if (hz < 100.0f)
        return "GAMMA";
    return "LAMBDA";
}
