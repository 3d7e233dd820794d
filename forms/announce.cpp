#include "forms/announce.h"

namespace {

AnnouncementPort* installed = nullptr;

}  // namespace

void Announce(QObject* object, QAccessible::Event kind) {
    QAccessibleEvent event(object, kind);
    if (installed)
        installed->Tell(event);
    else
        QAccessible::updateAccessibility(&event);
}

AnnouncementPort* SetAnnouncementPort(AnnouncementPort* port) {
    AnnouncementPort* old = installed;
    installed = port;
    return old;
}
