#include "effect/Quantise.h"

#include "effect/VibrascendParams.h"

int32_t QuantiseParam(int index, double value)
{
    const VibrascendParamRow* row = VibrascendParamRowOf(index);
    return NearestInt(row ? value * row->quantum : value);
}
