#include "forms/widgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextCursor>

namespace widgets {

QString Indexed(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->setEditText(QString());
    c->setMinimumContentsLength(6);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QLineEdit* MakeText(QWidget* parent, const QString& name, int maxLength) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    if (maxLength > 0) {
        t->setMaxLength(maxLength);
        t->setMinimumWidth(DigitsWidth(t, maxLength));
    }
    return t;
}

int TextBoxWidth(const QLineEdit* box, const QString& text) {
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    const QMargins margins = box->textMargins();
    // QLineEdit keeps 2 px of its own either side of the text.
    const QSize contents(
        box->fontMetrics().horizontalAdvance(text) + 4 + margins.left() + margins.right() + 1,
        box->fontMetrics().height());
    return box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, contents, box).width();
}

int DigitsWidth(const QLineEdit* box, int count) {
    return TextBoxWidth(box, QString(count, QLatin1Char('0')));
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (buddy) NameByLabel(buddy, l);
    return l;
}

void NameByLabel(QWidget* field, QLabel* label) {
    label->setBuddy(field);
    // The focus of an editable choice list is in its text box, which has no
    // label of its own.
    if (auto* c = qobject_cast<QComboBox*>(field); c && c->lineEdit())
        c->lineEdit()->setAccessibleName(QString(label->text()).remove(QLatin1Char('&')).trimmed());
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (!tooltip.isEmpty()) b->setToolTip(tooltip);
    b->setAutoDefault(false);
    return b;
}

QStringList Items(std::span<const std::string_view> texts) {
    QStringList out;
    for (std::string_view t : texts) out << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    return out;
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string WidgetText(const QWidget* w) {
    if (auto* t = qobject_cast<const QLineEdit*>(w)) return t->text().toStdString();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText().toStdString();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText().toStdString();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
    return std::string();
}

void SetWidgetText(QWidget* w, const QString& s) {
    if (auto* t = qobject_cast<QLineEdit*>(w)) {
        t->setText(s);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) {
            c->setEditText(s);
        } else {
            c->setCurrentIndex(c->findText(s));
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        p->setPlainText(s);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(s);
    }
}

}  // namespace widgets

void SelectAllText(QLineEdit* box) {
    if (!box) return;
    box->setSelection(0, static_cast<int>(box->text().size()));
}

void SelectAllText(QPlainTextEdit* box) {
    if (!box) return;
    QTextCursor c = box->textCursor();
    c.movePosition(QTextCursor::Start);
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
}
