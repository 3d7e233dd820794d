// The model designation of a rated coil, such as "58-CWDM-04824-F".
#pragma once

#include <string>

#include "engine/records.h"

// `tubeText` is the text of the tube size choice ("1", "3", "4", "5", "6").
std::string BuildModelDesignation(const CoilSpec& coilSpec, const CoilRating& rating,
                                  const std::string& tubeText);
