#include "forms/badge_icon.h"

static void InitIconResources() {
    Q_INIT_RESOURCE(kvn_icons);
}

QIcon KvnBadgeIcon() {
    InitIconResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/kvn-%1.png").arg(size), QSize(size, size));
    return icon;
}
