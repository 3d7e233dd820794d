#include "engine/msgbox.h"

namespace {
RecordingMessageSink g_defaultSink;
MessageSink* g_sink = nullptr;
}  // namespace

MessageSink& CurrentMessageSink() { return g_sink ? *g_sink : g_defaultSink; }

MessageSink* SetMessageSink(MessageSink* sink) {
    MessageSink* old = g_sink;
    g_sink = sink;
    return old;
}

void ShowMessage(const std::string& text, MsgIcon icon, const std::string& title) {
    CurrentMessageSink().Show(text, icon, title);
}
