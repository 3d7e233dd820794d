#include "forms/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "forms/help_topics.h"

namespace {

constexpr const char* kGuidePath = ":/help/user-guide.md";
constexpr int kImageWidthMax = 640;  // pixels: a screenshot fits beside the contents

// The headings of the loaded guide, in order.
struct Heading {
    QString text;
    QString anchor;
    int level;
};

std::vector<Heading> HeadingsOf(const QTextDocument& doc) {
    std::vector<Heading> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level <= 0) continue;
        const QString text = b.text().trimmed();
        out.push_back({text, QString::fromStdString(help::HeadingAnchor(text.toStdString())), level});
    }
    return out;
}

}  // namespace

// The guide is compiled into the program's library: its resources are
// registered before the first use.
static void InitGuideResources() {
    Q_INIT_RESOURCE(kvn_help);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle("KVN User Guide");
    auto* v = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    auto* findLabel = new QLabel("&Find:", this);
    find_ = new QLineEdit(this);
    find_->setObjectName("txtFind");
    find_->setClearButtonEnabled(true);
    find_->setPlaceholderText("Search the guide");
    findLabel->setBuddy(find_);
    find_->setAccessibleName("Find");
    find_->setAccessibleDescription("Text to find in the user guide");
    auto* next = new QPushButton("Find &Next", this);
    next->setObjectName("cmdFindNext");
    next->setAutoDefault(false);
    next->setAccessibleName("Find next");
    bar->addWidget(findLabel);
    bar->addWidget(find_, 1);
    bar->addWidget(next);
    found_ = new QLabel(this);
    found_->setObjectName("lblFound");
    found_->setMinimumWidth(found_->fontMetrics().horizontalAdvance("0000 matches"));
    bar->addWidget(found_);
    v->addLayout(bar);

    auto* split = new QSplitter(this);
    contents_ = new QTreeWidget(split);
    contents_->setObjectName("treContents");
    contents_->setHeaderHidden(true);
    contents_->setAccessibleName("Contents");
    contents_->setAccessibleDescription("The headings of the user guide; choose one to go to it");
    text_ = new QTextBrowser(split);
    text_->setObjectName("txtGuide");
    text_->setAccessibleName("User guide");
    text_->setOpenLinks(false);
    split->addWidget(contents_);
    split->addWidget(text_);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 760});
    v->addWidget(split, 1);

    LoadGuide();
    WireCommands(next);
    resize(1000, 720);
}

// The search, the contents, the links and the window's keys.
void HelpWindow::WireCommands(QPushButton* next) {
    const auto findNext = [this] {
        if (!find_->text().isEmpty()) FindNext(find_->text());
    };
    connect(find_, &QLineEdit::returnPressed, this, findNext);
    connect(next, &QPushButton::clicked, this, findNext);
    connect(find_, &QLineEdit::textChanged, this, [this](const QString& t) { HighlightAll(t); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, Qt::UserRole).toString()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, Qt::UserRole).toString()); });
    // The arrow keys in the contents go from section to section.
    connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && contents_->hasFocus()) ShowTopic(item->data(0, Qt::UserRole).toString());
    });
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { OnLink(url); });
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    auto* focusFind = new QAction(this);
    focusFind->setShortcut(QKeySequence::Find);
    connect(focusFind, &QAction::triggered, this, [this] {
        find_->setFocus(Qt::ShortcutFocusReason);
        find_->selectAll();
    });
    addAction(focusFind);
}

QString HelpWindow::GuideMarkdown() {
    InitGuideResources();
    QFile f(kGuidePath);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

void HelpWindow::LoadGuide() {
    QTextDocument* doc = text_->document();
    // Pictures and links in the guide are relative to the guide itself.
    doc->setBaseUrl(QUrl("qrc:/help/"));
    const QString markdown = GuideMarkdown();
    if (markdown.isEmpty()) {
        text_->setPlainText("The user guide is missing from this copy of KVN.");
        return;
    }
    doc->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    // Each heading becomes an anchor, so that the text can scroll to it.
    QTreeWidgetItem* parents[7] = {};
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const int level = b.blockFormat().headingLevel();
        if (level <= 0) continue;
        const QString text = b.text().trimmed();
        const QString anchor = QString::fromStdString(help::HeadingAnchor(text.toStdString()));
        QTextCursor c(b);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setAnchor(true);
        f.setAnchorNames({anchor});
        c.mergeCharFormat(f);
        QTreeWidgetItem* parent = nullptr;
        for (int l = std::min(level - 1, 6); l >= 1 && !parent; --l) parent = parents[l];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, text);
        item->setData(0, Qt::UserRole, anchor);
        parents[std::min(level, 6)] = item;
        for (int l = level + 1; l <= 6; ++l) parents[l] = nullptr;
    }
    contents_->expandAll();
    FitImages();
}

// Screenshots wider than the text would need scrolling sideways: they are
// shown at a width that fits, in proportion.
void HelpWindow::FitImages() {
    QTextDocument* doc = text_->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.charFormat().isImageFormat()) continue;
            QTextImageFormat image = frag.charFormat().toImageFormat();
            const QImage picture = QImage(":/help/" + image.name());
            if (picture.isNull() || picture.width() <= kImageWidthMax) continue;
            image.setWidth(kImageWidthMax);
            image.setHeight(static_cast<double>(picture.height()) * kImageWidthMax / picture.width());
            QTextCursor c(doc);
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(image);
        }
    }
}

QStringList HelpWindow::Headings() const {
    QStringList out;
    for (const Heading& h : HeadingsOf(*text_->document())) out << h.text;
    return out;
}

bool HelpWindow::ShowTopic(const QString& anchor) {
    const std::vector<Heading> headings = HeadingsOf(*text_->document());
    for (std::size_t i = 0; i < headings.size(); ++i) {
        if (headings[i].anchor != anchor) continue;
        text_->scrollToAnchor(anchor);
        // The caret follows, so that a search goes on from this section.
        QTextBlock b = text_->document()->begin();
        for (int seen = -1; b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() > 0 && ++seen == static_cast<int>(i)) break;
        QTextCursor c(b);
        text_->setTextCursor(c);
        text_->scrollToAnchor(anchor);
        // A window just shown lays its text out once it has its size: the
        // heading goes to the top again then.
        QTimer::singleShot(0, text_, [this, anchor] { text_->scrollToAnchor(anchor); });
        for (QTreeWidgetItemIterator it(contents_); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString() == anchor) contents_->setCurrentItem(*it);
        return true;
    }
    return false;
}

QString HelpWindow::CurrentAnchor() const {
    const QTextDocument* doc = text_->document();
    const int top = text_->verticalScrollBar()->value();
    QString anchor;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() <= 0) continue;
        if (doc->documentLayout()->blockBoundingRect(b).top() > top + 2) break;
        anchor = QString::fromStdString(help::HeadingAnchor(b.text().trimmed().toStdString()));
    }
    return anchor;
}

bool HelpWindow::FindNext(const QString& text) {
    HighlightAll(text);
    if (text.isEmpty()) return false;
    QTextDocument* doc = text_->document();
    QTextCursor found = doc->find(text, text_->textCursor());
    if (found.isNull()) found = doc->find(text, 0);
    if (found.isNull()) return false;
    text_->setTextCursor(found);
    text_->ensureCursorVisible();
    return true;
}

void HelpWindow::HighlightAll(const QString& text) {
    QList<QTextEdit::ExtraSelection> marks;
    if (!text.isEmpty()) {
        const QTextDocument* doc = text_->document();
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(QColor(255, 230, 120));
        for (QTextCursor c = doc->find(text, 0); !c.isNull() && marks.size() < 2000; c = doc->find(text, c)) {
            mark.cursor = c;
            marks << mark;
        }
    }
    matches_ = static_cast<int>(marks.size());
    text_->setExtraSelections(marks);
    if (text.isEmpty())
        found_->clear();
    else
        found_->setText(matches_ == 0   ? QStringLiteral("Not found")
                        : matches_ == 1 ? QStringLiteral("1 match")
                                        : QStringLiteral("%1 matches").arg(matches_));
}

void HelpWindow::OnLink(const QUrl& url) {
    if (url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "mailto") {
        QDesktopServices::openUrl(url);
        return;
    }
    if (url.hasFragment()) ShowTopic(url.fragment());
}

// ---------------------------------------------------------------------------
// Opening the guide

QString HelpAnchorFor(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const std::string_view anchor = help::AnchorFor(w->objectName().toStdString());
        if (!anchor.empty()) return QString::fromUtf8(anchor.data(), static_cast<qsizetype>(anchor.size()));
    }
    return {};
}

HelpWindow* ShowUserGuide(QWidget* from) {
    if (!from) from = QApplication::focusWidget();
    // A dialog that holds the program (the Saved Coils list) keeps the guide
    // as its own window, so that the guide takes keys and clicks.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(w) && w->objectName() == "Form1") owner = w;
    }
    if (!owner && from) owner = from->window();
    // Asked from the guide itself (its menu has no F1), the section is that
    // of the window the guide belongs to.
    if ((!from || qobject_cast<HelpWindow*>(from->window())) && owner) from = owner->focusWidget();
    HelpWindow* help = owner ? owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!help) help = new HelpWindow(owner);
    const QString anchor = HelpAnchorFor(from);
    help->show();
    help->raise();
    help->activateWindow();
    if (!anchor.isEmpty()) help->ShowTopic(anchor);
    return help;
}

namespace {

// F1 in a dialog that has no F1 command of its own opens the guide at the
// dialog's section. The main window's "User Guide" takes F1 before a key
// press is sent, so the key press arrives here only from elsewhere.
class HelpKey : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || qobject_cast<HelpWindow*>(w->window())) return false;
        ShowUserGuide(w);
        return true;
    }
};

}  // namespace

void InitHelpCommand(QMainWindow* window, QMenu* help) {
    auto* guide = new QAction("&User Guide", window);
    guide->setObjectName("mnuHelpGuide");
    guide->setShortcut(QKeySequence::HelpContents);
    guide->setShortcutContext(Qt::WindowShortcut);
    const QList<QAction*> existing = help->actions();
    help->insertAction(existing.isEmpty() ? nullptr : existing.front(), guide);
    if (!existing.isEmpty()) help->insertSeparator(existing.front());
    QObject::connect(guide, &QAction::triggered, window, [] { ShowUserGuide(); });
    if (qApp && !qApp->findChild<QObject*>("kvnHelpKey", Qt::FindDirectChildrenOnly)) {
        auto* key = new HelpKey(qApp);
        key->setObjectName("kvnHelpKey");
        qApp->installEventFilter(key);
    }
}
