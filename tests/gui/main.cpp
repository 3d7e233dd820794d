// The window tests run headless: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "forms/question.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // No test may wait on a question box: unless a test prepares answers,
    // every question is answered No.
    RecordingQuestions answerNo;
    SetQuestionPort(&answerNo);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
