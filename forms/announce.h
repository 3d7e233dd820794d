// Changes told to assistive technology that it would not notice by itself,
// such as a line of text that changes while the focus is elsewhere. The
// program tells them through QAccessible to the desktop's accessibility
// bridge; a headless platform has none (QAccessible stays inactive there),
// so tests install a recorder.
#pragma once

#include <QAccessible>
#include <utility>
#include <vector>

class QObject;

class AnnouncementPort {
public:
    virtual ~AnnouncementPort() = default;
    virtual void Tell(QAccessibleEvent& event) = 0;
};

// Keeps each event told: its kind and the object it is about.
class RecordingAnnouncements : public AnnouncementPort {
public:
    void Tell(QAccessibleEvent& event) override { told.emplace_back(event.type(), event.object()); }
    std::vector<std::pair<QAccessible::Event, QObject*>> told;
};

// Tells `kind` about `object` through the installed port, else through
// QAccessible.
void Announce(QObject* object, QAccessible::Event kind);
// Installs a port (not owned; nullptr goes back to QAccessible) and returns
// the old one.
AnnouncementPort* SetAnnouncementPort(AnnouncementPort* port);
