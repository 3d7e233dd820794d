#include "engine/internal/coilcalc_internal.h"

// The engine's module state, one per thread. CC_RateCoil starts every rating
// from a fresh value.
thread_local CoilCalcState cc [[gnu::tls_model("initial-exec")]];
thread_local LookupMemo ccLookups [[gnu::tls_model("initial-exec")]];
