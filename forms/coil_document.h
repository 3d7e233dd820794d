// The coil document of the running program: the saved coils the windows
// show, print and save, with their coil file. The windows hand it to the
// file commands and to the Saved Coils list; nothing else reaches it.
#pragma once

#include "files/saved_coils.h"

CoilDocument& TheCoilDocument();
