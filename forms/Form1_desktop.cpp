// Form1: what a desktop user expects of the window beyond its commands:
// Enter, the mouse wheel over choice lists, copying the results, and the
// units beside the construction and steam fields.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWheelEvent>
#include <set>

#include "common/calc_driver.h"
#include "forms/Form1.h"

namespace {

// Keeps the mouse wheel from changing a closed choice list that does not
// have the focus: scrolling over the window must not change the tube and
// with it the wall, fin thickness and material.
class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            auto* w = qobject_cast<QWidget*>(watched);
            auto* combo = qobject_cast<QComboBox*>(w);
            if (!combo && w) combo = qobject_cast<QComboBox*>(w->parentWidget());
            if (combo && !combo->hasFocus()) {
                event->ignore();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QLabel* UnitLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

void Form1::InitDesktop() {
    // Choice lists take the focus by click or Tab, never by the wheel.
    auto* guard = new WheelGuard(this);
    for (QComboBox* c : findChildren<QComboBox*>()) {
        c->setFocusPolicy(Qt::StrongFocus);
        c->installEventFilter(guard);
        if (c->lineEdit()) c->lineEdit()->installEventFilter(guard);
    }

    // The results can be selected and copied.
    SSDBGrid1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SSDBGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SSDBGrid1_->setFocusPolicy(Qt::StrongFocus);
    auto* copy = new QAction("Copy", SSDBGrid1_);
    copy->setObjectName("mnuCopyResults");
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopyResults(); });
    SSDBGrid1_->addAction(copy);
    SSDBGrid1_->setContextMenuPolicy(Qt::ActionsContextMenu);

    // The air-flow toggle follows the air-flow field it belongs to.
    setTabOrder(txtProperty_[kAirFlowVelocity], cmdAirFlow_);
    setTabOrder(txtProperty_[form1::kSteamPressureField], cmdSteam_);

    // Units beside the fields, in a column of their own.
    if (auto* g = qobject_cast<QGridLayout*>(fraConstruction_->layout())) {
        lblUnitTubeOD_ = UnitLabel(fraConstruction_, "lblUnitTubeOD", QString());
        g->addWidget(lblUnitTubeOD_, 0, 2);
        g->addWidget(UnitLabel(fraConstruction_, "lblUnitWallThk", "in."), 1, 2);
        g->addWidget(UnitLabel(fraConstruction_, "lblUnitFinThk", "in."), 3, 2);
        g->addWidget(UnitLabel(fraConstruction_, "lblUnitFL", "in."), 8, 2);
    }
    lblUnitSteamPres_ = UnitLabel(fraEntCond_, "lblUnitSteamPres", "psig");
    lblUnitSteamPres_->setHidden(txtProperty_[form1::kSteamPressureField]->isHidden());
    entCondGrid_->addWidget(lblUnitSteamPres_, form1::kSteamPressureField, 3);
    connect(cboTubeOD_, &QComboBox::currentTextChanged, this, [this] { UpdateTubeSizeLabel(); });
    InitAccessibleNames();
}

// What assistive technology reads for the controls no label names: the
// labels themselves are their fields' buddies (see the Build functions).
void Form1::InitAccessibleNames() {
    SSDBGrid1_->setAccessibleName("Calculations");
    SSDBGrid1_->setAccessibleDescription(
        "The results of the last calculation: a quantity and its value a row");
    cmdAirFlow_->setAccessibleName("Air flow as CFM or face velocity");
    cmdAirFlow_->setAccessibleDescription(
        "Switches the air-flow entry, converting the value at the coil's face");
    cmdSteam_->setAccessibleName("Steam pressure");
    cmdSteam_->setAccessibleDescription("Enters the steam's pressure in place of its temperature");
    cboFinType_->setAccessibleName("Fin type");
    if (auto* notes = qobject_cast<QGroupBox*>(txtNotes_->parentWidget()))
        txtNotes_->setAccessibleName(notes->title());
    for (int i = 1; i <= 3; ++i) txtCPS_[i]->setAccessibleDescription("Coils per system");
}

void Form1::UpdateTubeSizeLabel() {
    if (lblUnitTubeOD_)
        lblUnitTubeOD_->setText(
            QString::fromStdString(form1::TubeSizeText(cboTubeOD_->currentText().toStdString())));
}

void Form1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || mods != Qt::NoModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    // A focused push button does its own command; otherwise Enter selects
    // on the start panel and calculates on the coil panel.
    if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget());
        b && b->isVisible() && b->isEnabled()) {
        b->click();
    } else if (CurrentPanel() == 0) {
        Command1_Click(0);
    } else if (CurrentPanel() == 3) {
        cmdCalc_Click();
    } else {
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
}

QString Form1::ResultsText() const {
    const QTableWidget* grid = SSDBGrid1_;
    std::set<int> rows;
    for (const QModelIndex& i : grid->selectionModel()->selectedIndexes()) rows.insert(i.row());
    if (rows.empty())
        for (int r = 0; r < grid->rowCount(); ++r) rows.insert(r);
    QString out;
    for (int r : rows) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            cells << (item ? item->text().trimmed() : QString());
        }
        out += cells.join('\t') + '\n';
    }
    return out;
}

void Form1::CopyResults() {
    const QString text = ResultsText();
    if (!text.isEmpty()) QGuiApplication::clipboard()->setText(text);
}
