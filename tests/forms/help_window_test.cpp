// The user guide's window: its contents list, the section it opens at for
// each panel, search, and F1.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <fstream>
#include <set>
#include <sstream>

#include "forms/HelpWindow.h"
#include "forms/help_topics.h"
#include "tests/forms/form1_fixture.h"

namespace {

// The headings of the guide as written in its Markdown source.
std::vector<std::string> SourceHeadings() {
    std::ifstream in(std::string(KVN_SOURCE_DIR) + "/docs/user-guide.md");
    std::vector<std::string> out;
    bool code = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("```")) code = !code;
        if (code || !line.starts_with("#")) continue;
        const std::size_t text = line.find_first_not_of('#');
        if (text != std::string::npos && line[text] == ' ') out.push_back(line.substr(text + 1));
    }
    return out;
}

TEST(HelpTopics, EveryPanelOpensAtAHeadingOfTheGuide) {
    std::set<std::string> anchors;
    for (const std::string& h : SourceHeadings())
        EXPECT_TRUE(anchors.insert(help::HeadingAnchor(h)).second) << h;
    ASSERT_GT(anchors.size(), 10U);
    for (const help::Topic& t : help::Topics()) {
        EXPECT_TRUE(anchors.count(std::string(t.anchor))) << t.objectName << " -> " << t.anchor;
        EXPECT_EQ(help::AnchorFor(t.objectName), t.anchor);
    }
    EXPECT_EQ(help::AnchorFor("txtFPI"), "");
    EXPECT_EQ(help::HeadingAnchor("Rating without the window: kvn-rate"),
              "rating-without-the-window-kvn-rate");
    EXPECT_EQ(help::HeadingAnchor("Select To_Duty (SI)"), "select-to_duty-si");
}

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        help.show();
        QApplication::processEvents();
    }
    HelpWindow help;
};

TEST_F(HelpWindowTest, TheContentsListTheGuidesHeadings) {
    QStringList source;
    for (const std::string& h : SourceHeadings()) source << QString::fromStdString(h);
    EXPECT_EQ(help.Headings(), source);
    QStringList listed;
    for (QTreeWidgetItemIterator it(help.findChild<QTreeWidget*>("treContents")); *it; ++it)
        listed << (*it)->text(0);
    EXPECT_EQ(listed, source);
}

TEST_F(HelpWindowTest, EveryPictureOfTheGuideIsInTheProgram) {
    const QString guide = HelpWindow::GuideMarkdown();
    ASSERT_FALSE(guide.isEmpty());
    int pictures = 0;
    for (qsizetype at = guide.indexOf("](images/"); at >= 0; at = guide.indexOf("](images/", at + 1)) {
        const QString name = guide.mid(at + 2, guide.indexOf(')', at) - at - 2);
        const QImage image(":/help/" + name);
        EXPECT_FALSE(image.isNull()) << S(name);
        EXPECT_TRUE(QFile::exists(QString(KVN_SOURCE_DIR) + "/docs/" + name)) << S(name);
        ++pictures;
    }
    EXPECT_GE(pictures, 5);
}

TEST_F(HelpWindowTest, EverySectionOpensAtItsHeading) {
    for (const help::Topic& t : help::Topics()) {
        const QString anchor = QString::fromUtf8(t.anchor.data(), static_cast<qsizetype>(t.anchor.size()));
        ASSERT_TRUE(help.ShowTopic(anchor)) << t.anchor;
        QApplication::processEvents();
        EXPECT_EQ(S(help.CurrentAnchor()), S(anchor));
    }
    EXPECT_FALSE(help.ShowTopic("no-such-section"));
}

TEST_F(HelpWindowTest, SearchFindsEachMatchInTurnAndHighlightsAll) {
    auto* text = help.findChild<QTextBrowser*>("txtGuide");
    ASSERT_TRUE(help.FindNext("condensate"));
    const int first = text->textCursor().selectionStart();
    EXPECT_EQ(text->textCursor().selectedText().toLower(), "condensate");
    EXPECT_GT(help.MatchCount(), 1);
    EXPECT_EQ(S(help.findChild<QLabel*>("lblFound")->text()), std::to_string(help.MatchCount()) + " matches");
    ASSERT_TRUE(help.FindNext("condensate"));
    EXPECT_GT(text->textCursor().selectionStart(), first);
    // Past the last match the search starts again from the top.
    for (int i = 1; i < help.MatchCount(); ++i) help.FindNext("condensate");
    EXPECT_EQ(text->textCursor().selectionStart(), first);
    EXPECT_FALSE(help.FindNext("qqzzxq"));
    EXPECT_EQ(help.MatchCount(), 0);
    EXPECT_EQ(S(help.findChild<QLabel*>("lblFound")->text()), "Not found");
}

class HelpFromForm1 : public Form1Test {
protected:
    void TearDown() override {
        for (HelpWindow* h : form.findChildren<HelpWindow*>()) delete h;
        Form1Test::TearDown();
    }
    HelpWindow* Shown() {
        QApplication::processEvents();
        const QList<HelpWindow*> windows = form.findChildren<HelpWindow*>();
        if (windows.size() != 1 || !windows.front()->isVisible()) return nullptr;
        return windows.front();
    }
};

TEST_F(HelpFromForm1, OpensAtTheSectionOfTheFocusedPanel) {
    EXPECT_EQ(S(HelpAnchorFor(W("optCoil(2)"))), "choosing-the-coil-type");
    Select("W");
    EXPECT_EQ(S(HelpAnchorFor(W("txtFPI"))), "construction");
    EXPECT_EQ(S(HelpAnchorFor(W("txtProperty(4)"))), "entering-conditions");
    EXPECT_EQ(S(HelpAnchorFor(W("cmdCalc"))), "the-coil-panel");
    W("txtProperty(4)")->setFocus();
    HelpWindow* h = ShowUserGuide();
    ASSERT_EQ(h, Shown());
    EXPECT_EQ(S(h->CurrentAnchor()), "entering-conditions");
    // Asked again, the same window moves to the new section.
    QApplication::setActiveWindow(&form);
    W("txtFPI")->setFocus();
    EXPECT_EQ(ShowUserGuide(), h);
    QApplication::processEvents();
    EXPECT_EQ(S(h->CurrentAnchor()), "construction");
}

TEST_F(HelpFromForm1, F1OpensTheGuide) {
    QAction* guide = W<QWidget>("mnuHelp") ? form.findChild<QAction*>("mnuHelpGuide") : nullptr;
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->text(), "&User Guide");
    EXPECT_EQ(guide->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_NE(form.findChild<QAction*>("mnuHelpAbout"), nullptr);
    Select("W");
    W("txtFPI")->setFocus();
    // F1 as the keyboard sends it, through the window's shortcuts.
    QTest::keyClick(W("txtFPI"), Qt::Key_F1);
    HelpWindow* h = Shown();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(S(h->CurrentAnchor()), "construction");
}

TEST_F(HelpFromForm1, F1InADialogOpensItsSection) {
    QDialog dialog(&form);
    dialog.setObjectName("SelectDialog");
    auto* field = new QLineEdit(&dialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_F1);
    QApplication::processEvents();
    const QList<HelpWindow*> windows = form.findChildren<HelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_EQ(windows.front()->parentWidget(), &dialog);
    EXPECT_EQ(S(windows.front()->CurrentAnchor()), "selecting-a-coil-to-a-duty");
}

}  // namespace
