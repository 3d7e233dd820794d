#include "forms/warnings_line.h"

#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QWidget>

#include "forms/announce.h"

namespace {

constexpr char kLineName[] = "fraWarnings";

// Assistive technology sees the line as a notification named by its
// warnings: a screen reader reads it out as it appears.
class WarningsLineInterface : public QAccessibleWidget {
public:
    explicit WarningsLineInterface(QWidget* line) : QAccessibleWidget(line, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        const auto* label = widget()->findChild<QLabel*>("lblWarnings");
        if (t != QAccessible::Name || !label) return QAccessibleWidget::text(t);
        return "Warnings: " + QString(label->text()).replace('\n', "; ");
    }
};

QAccessibleInterface* WarningsLineFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType() || object->objectName() != QLatin1String(kLineName))
        return nullptr;
    return new WarningsLineInterface(static_cast<QWidget*>(object));
}

}  // namespace

QWidget* MakeWarningsLine(QWidget* parent) {
    static const bool factory = (QAccessible::installFactory(&WarningsLineFactory), true);
    (void)factory;
    auto* line = new QWidget(parent);
    line->setObjectName(kLineName);
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
    line->setVisible(!warnings.empty());
    // Told to assistive technology as it changes: the line's name is its
    // warnings; new warnings come as an alert.
    if (changed) {
        Announce(line, QAccessible::NameChanged);
        if (!lines.isEmpty()) Announce(line, QAccessible::Alert);
    }
}

void ClearWarningsLine(QWidget* line) {
    ShowWarningsLine(line, {});
}
