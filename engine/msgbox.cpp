#include "engine/msgbox.h"

namespace {

// Messages shown while no sink is installed go nowhere, so nothing piles up
// on a thread that never looks at them.
class DiscardingMessageSink : public MessageSink {
public:
    void Show(const std::string&, MsgIcon, const std::string&) override {}
};

DiscardingMessageSink g_discard;
thread_local MessageSink* t_sink [[gnu::tls_model("initial-exec")]] = nullptr;

}  // namespace

MessageSink& CurrentMessageSink() {
    return t_sink ? *t_sink : g_discard;
}

MessageSink* SetMessageSink(MessageSink* sink) {
    MessageSink* old = t_sink;
    t_sink = sink;
    return old;
}

void ShowMessage(const std::string& text, MsgIcon icon, const std::string& title) {
    CurrentMessageSink().Show(text, icon, title);
}
