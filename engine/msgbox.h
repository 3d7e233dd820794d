// Message boxes shown by the engine and the calculation driver.
//
// The engine and the driver never talk to a window toolkit: they hand each
// message to the current MessageSink. The KVN window installs one that shows
// a real message box; kvn-rate and the tests install a recorder.
//
// The current sink belongs to the calling thread: a sink installed on one
// thread receives only the messages shown on that thread, so ratings on
// several threads each collect their own messages.
#pragma once

#include <string>
#include <vector>

enum class MsgIcon { None, Error, Exclamation, Information };

struct ShownMessage {
    std::string text;
    MsgIcon icon = MsgIcon::None;
    std::string title;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(const std::string& text, MsgIcon icon, const std::string& title) = 0;
};

// Keeps every message in order.
class RecordingMessageSink : public MessageSink {
public:
    void Show(const std::string& text, MsgIcon icon, const std::string& title) override {
        shown.push_back({text, icon, title});
    }
    std::vector<ShownMessage> shown;
};

// The calling thread's sink. Never null: without an installed sink, messages
// are discarded.
MessageSink& CurrentMessageSink();
// Installs a sink for the calling thread (nullptr restores the discarding
// default); returns the old one.
MessageSink* SetMessageSink(MessageSink* sink);
// Shows a message through the current sink. The default title is the
// program's caption "Korvan".
void ShowMessage(const std::string& text, MsgIcon icon = MsgIcon::None, const std::string& title = "Korvan");

// Installs a sink on the calling thread for the lifetime of this object, then
// restores the old one.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink) : old_(SetMessageSink(&sink)) {}
    ~ScopedMessageSink() { SetMessageSink(old_); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* old_;
};
