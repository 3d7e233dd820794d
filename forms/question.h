// Questions to the user with Yes and No (and Cancel) buttons: the program
// asks them in a message box; tests install a recorder with prepared
// answers.
#pragma once

#include <deque>
#include <string>
#include <vector>

enum class Answer { Yes, No, Cancel };

class QuestionPort {
public:
    virtual ~QuestionPort() = default;
    // Asks `text`; `withCancel` adds a Cancel button (also the answer when
    // the box is closed). Without it, closing the box answers No. Enter
    // answers `preset` (Yes or No).
    virtual Answer Ask(const std::string& text, bool withCancel, Answer preset) = 0;
};

// Answers with prepared answers in order, then with `fallback`; keeps the
// questions asked.
class RecordingQuestions : public QuestionPort {
public:
    Answer Ask(const std::string& text, bool withCancel, Answer preset) override;
    std::deque<Answer> answers;
    Answer fallback = Answer::No;
    std::vector<std::string> asked;
    std::vector<Answer> presets;  // the answer Enter gave, by question
};

// A message box titled "Korvan" over the active window.
class QtQuestions : public QuestionPort {
public:
    Answer Ask(const std::string& text, bool withCancel, Answer preset) override;
};

// Asks through the installed port, or a message box when none is installed.
Answer AskUser(const std::string& text, bool withCancel, Answer preset = Answer::Yes);
// Installs a port (not owned; nullptr goes back to the message box) and
// returns the old one.
QuestionPort* SetQuestionPort(QuestionPort* port);

class ScopedQuestionPort {
public:
    explicit ScopedQuestionPort(QuestionPort& port) : old_(SetQuestionPort(&port)) {}
    ~ScopedQuestionPort() { SetQuestionPort(old_); }
    ScopedQuestionPort(const ScopedQuestionPort&) = delete;
    ScopedQuestionPort& operator=(const ScopedQuestionPort&) = delete;

private:
    QuestionPort* old_;
};
