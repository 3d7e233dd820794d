#include "engine/internal/coilcalc_internal.h"
#include "engine/hygrel_binding.h"
#include "engine/rterror.h"

float CC_AirDensity(float t, float w, int16_t altitude) {
    const float rho = hg::HGDENSITY(t, w, altitude);
    if (rho == hg::kOutOfRange)
        rt::Raise(rt::kInvalidCall, "Out of Range Condition or error with HGDENSITY!");
    return rho;
}
