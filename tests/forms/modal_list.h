// Drives the Saved Coils list that a command opens modally.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>

#include "forms/Form2.h"

// Runs `inList` on the Saved Coils list as soon as it shows modally, then
// closes it if it is still open.
inline void OnModalList(std::function<void(Form2&)> inList) {
    QTimer::singleShot(0, [inList] {
        auto* list = qobject_cast<Form2*>(QApplication::activeModalWidget());
        ASSERT_NE(list, nullptr);
        inList(*list);
        if (list->isVisible()) list->close();
    });
}
