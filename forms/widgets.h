// Small makers and readers of widgets shared by the windows: named controls
// as the windows build them, and the text of any text box, choice list or
// label.
#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <string>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace widgets {

// A control array's member name: "txtHdr(1)".
QString Indexed(const char* base, int index);
// UTF-8 text as a QString.
QString Q(std::string_view text);
// A choice list's items from the catalogue.
QStringList Items(std::span<const std::string_view> texts);

// An editable choice list: its text may differ from every item (a wall
// thickness of "0.02" beside the item "0.020").
QComboBox* MakeCombo(QWidget* parent, const QString& name, const QStringList& items);
// A text box; one limited to `maxLength` characters is never narrower than
// that many digits.
QLineEdit* MakeText(QWidget* parent, const QString& name, int maxLength = 0);
// The width a text box needs to show `text` whole: the text, the box's
// margins and its frame, as the style lays them out.
int TextBoxWidth(const QLineEdit* box, const QString& text);
// The same for `count` digits.
int DigitsWidth(const QLineEdit* box, int count);
// A label; with a buddy, its mnemonic focuses the buddy and assistive
// technology reads it as the buddy's name (see NameByLabel).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy = nullptr);
// Makes `label` the name of `field` for assistive technology: the label's
// buddy is the field. The label must be the field's sibling (Qt looks for a
// field's label among its parent's children); a choice list, which Qt on
// Linux names by its value, is told by its label relation; the text box of
// an editable one, where its focus is, takes the label's text as its name.
void NameByLabel(QWidget* field, QLabel* label);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip = QString());

// The text of a text box, multi-line box, choice list or label ("" for any
// other widget or none).
std::string WidgetText(const QWidget* w);
// Sets it; a list that is not editable takes the item of that text.
void SetWidgetText(QWidget* w, const QString& s);

}  // namespace widgets

// Puts the caret at the start of a text box and selects all of its text.
void SelectAllText(QLineEdit* box);
void SelectAllText(QPlainTextEdit* box);
