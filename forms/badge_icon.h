// The program's badge as an icon: the window icon and the about box's
// picture, from the same images as the installed desktop icon.
#pragma once

#include <QIcon>

// The icon id of the desktop entry, the metainfo and the installed icons.
inline constexpr const char* kKvnDesktopId = "com.korvan.kvn";

QIcon KvnBadgeIcon();
