// Message boxes shown by the engine and the calculation driver.
//
// The engine and the driver never talk to a window toolkit: they hand each
// message to the current MessageSink. The KVN window installs one that shows
// a real message box; kvn-rate and the tests install a recorder.
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

// Keeps every message in order; the default sink of the program.
class RecordingMessageSink : public MessageSink {
public:
    void Show(const std::string& text, MsgIcon icon, const std::string& title) override {
        shown.push_back({text, icon, title});
    }
    std::vector<ShownMessage> shown;
};

// The sink in use. Never null: without an installed sink, messages go to a
// program-wide recorder.
MessageSink& CurrentMessageSink();
// Installs a sink (nullptr restores the default recorder); returns the old one.
MessageSink* SetMessageSink(MessageSink* sink);
// Shows a message through the current sink. The default title is the
// program's caption "Korvan".
void ShowMessage(const std::string& text, MsgIcon icon = MsgIcon::None,
                 const std::string& title = "Korvan");

// Installs a sink for the lifetime of this object, then restores the old one.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink) : old_(SetMessageSink(&sink)) {}
    ~ScopedMessageSink() { SetMessageSink(old_); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* old_;
};
