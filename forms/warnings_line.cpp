#include "forms/warnings_line.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QWidget>

QWidget* MakeWarningsLine(QWidget* parent) {
    auto* line = new QWidget(parent);
    line->setObjectName("fraWarnings");
    auto* h = new QHBoxLayout(line);
    h->setContentsMargins(0, 0, 0, 0);
    auto* icon = new QLabel(line);
    icon->setObjectName("imgWarnings");
    icon->setAccessibleName("Warning");
    const int size = line->style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(line->style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(line);
    text->setObjectName("lblWarnings");
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    h->addWidget(icon, 0, Qt::AlignTop);
    h->addWidget(text, 1);
    line->hide();
    return line;
}

void ShowWarningsLine(QWidget* line, const std::vector<CoilWarning>& warnings, units::System system) {
    if (!line) return;
    auto* text = line->findChild<QLabel*>("lblWarnings");
    QString lines, codes;
    for (const CoilWarning& w : warnings) {
        if (!lines.isEmpty()) {
            lines += '\n';
            codes += '\n';
        }
        lines += QString::fromStdString(WarningText(system, w.text));
        codes += QString::fromStdString(w.code);
    }
    const bool changed = text && text->text() != lines;
    if (text) text->setText(lines);
    line->setToolTip(codes);
    line->setAccessibleDescription(lines);
    line->setVisible(!warnings.empty());
    // Told to assistive technology as it changes: the label's name is its
    // text; new warnings come as an alert.
    if (changed) {
        QAccessibleEvent named(text, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
        if (!lines.isEmpty()) {
            QAccessibleEvent alert(text, QAccessible::Alert);
            QAccessible::updateAccessibility(&alert);
        }
    }
}

void ClearWarningsLine(QWidget* line) {
    ShowWarningsLine(line, {});
}
