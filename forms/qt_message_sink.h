// A MessageSink that shows each message in a modal Qt message box.
#pragma once

#include "engine/msgbox.h"

class QtMessageSink : public MessageSink {
public:
    void Show(const std::string& text, MsgIcon icon, const std::string& title) override;
};
