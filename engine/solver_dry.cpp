// Dry heating solver (hot water and glycol heating coils).
#include "engine/coilcalc.h"

void CC_DoDryCoilCalc() {}
