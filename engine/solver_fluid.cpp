// Fluid coil cooling solver (water, glycol and other-fluid coils).
#include "engine/coilcalc.h"

void CC_DoFluidCoilCalc() {}
