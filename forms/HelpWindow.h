// The user guide in a window of its own: the guide's headings as a contents
// list, the text, and a search field that finds the next match and
// highlights every one. The guide is compiled into the program, so the
// window shows it from the build tree and from an installed package alike.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The guide's Markdown text (empty when it is missing from the program).
    static QString GuideMarkdown();

    // The headings, in order, as the contents list shows them.
    QStringList Headings() const;
    // Scrolls the heading with this anchor to the top; false when the guide
    // has no such heading.
    bool ShowTopic(const QString& anchor);
    // The anchor of the section at the top of the text.
    QString CurrentAnchor() const;
    // Selects the next match of `text` after the caret, from the start again
    // past the last one, and highlights every match. False when there is none.
    bool FindNext(const QString& text);
    // How many matches the last search highlighted.
    int MatchCount() const { return matches_; }

private:
    void WireCommands(QPushButton* next);
    void LoadGuide();
    void FitImages();
    void HighlightAll(const QString& text);
    void OnLink(const QUrl& url);

    QTreeWidget* contents_ = nullptr;
    QTextBrowser* text_ = nullptr;
    QLineEdit* find_ = nullptr;
    QLabel* found_ = nullptr;  // how many matches the search highlights
    int matches_ = 0;
};

// The guide's anchor for a widget: that of the innermost window or panel
// around it that has a section; empty when none has.
QString HelpAnchorFor(const QWidget* widget);

// Shows the guide at the section of `from` (the focused widget when it is
// null) in a help window of the window around it; returns that help window.
HelpWindow* ShowUserGuide(QWidget* from = nullptr);

// Adds "User Guide" (F1) at the head of `help`, and lets F1 open the guide
// in the program's dialogs too.
void InitHelpCommand(QMainWindow* window, QMenu* help);
