#include "forms/question.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QuestionPort* g_port = nullptr;
}

Answer RecordingQuestions::Ask(const std::string& text, bool withCancel, Answer preset) {
    asked.push_back(text);
    presets.push_back(preset);
    Answer a = fallback;
    if (!answers.empty()) {
        a = answers.front();
        answers.pop_front();
    }
    if (a == Answer::Cancel && !withCancel) a = Answer::No;
    return a;
}

Answer QtQuestions::Ask(const std::string& text, bool withCancel, Answer preset) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Korvan"), QString::fromStdString(text), buttons,
                    QApplication::activeWindow());
    box.setObjectName("MsgBox");
    box.setDefaultButton(preset == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return withCancel ? Answer::Cancel : Answer::No;
    }
}

Answer AskUser(const std::string& text, bool withCancel, Answer preset) {
    if (g_port) return g_port->Ask(text, withCancel, preset);
    static QtQuestions onScreen;
    return onScreen.Ask(text, withCancel, preset);
}

QuestionPort* SetQuestionPort(QuestionPort* port) {
    QuestionPort* old = g_port;
    g_port = port;
    return old;
}
