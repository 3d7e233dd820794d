#include "engine/coilcalc.h"

// The engine's module state: zero-initialised at program start, persisting
// between ratings.
CoilCalcState cc;
