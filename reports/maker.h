// The maker's name and contact lines printed on the sheet and the report.
#pragma once

#include "common/version.h"

namespace reports {

inline constexpr const char* kMakerName = "KORVAN";
inline constexpr const char* kMakerAddress = "1480 Foundry Road";
inline constexpr const char* kMakerTown = "Carrow Falls, PA 17999";
inline constexpr const char* kMakerPhone = "Telephone (555) 014-2200";
inline constexpr const char* kMakerPhone2 = "Toll Free (800) 555-0147";
inline constexpr const char* kMakerFax = "Fax (555) 014-2299";
inline constexpr const char* kProgramVersion = kvn::kVersion;

}  // namespace reports
