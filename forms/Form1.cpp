// Form1 "Korvan": the coil selection window.
#include "forms/Form1.h"
#include "forms/warnings_line.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "common/calc_driver.h"
#include "common/catalogue.h"
#include "common/form_fields.h"
#include "common/model_designation.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/file_commands.h"
#include "files/saved_coils.h"
#include "forms/frmAbout.h"
#include "forms/schedule_command.h"
#include "forms/select_command.h"
#include "forms/widgets.h"

using namespace widgets;

// ---------------------------------------------------------------------------
// Construction of the window

Form1::Form1(CoilDocument& document, QWidget* parent) : QMainWindow(parent), document_(document) {
    setObjectName("Form1");
    setWindowTitle("Korvan");
    document_.table.Reset();
    MarkSavedCoilsUnchanged(document_);

    BuildMenus();
    BuildToolbar();
    BuildStatusBar();

    auto* central = new QWidget(this);
    central->setObjectName("centralWidget");
    auto* v = new QVBoxLayout(central);
    v->addWidget(BuildTitleBlock());
    v->addWidget(BuildStartPanel(), 1);
    v->addWidget(BuildCoilPanel(), 1);
    v->addWidget(BuildHeaderPanel(), 1);
    setCentralWidget(central);

    ShowPanel(0);
    // A comfortable size that still fits the screen at any scaling.
    QSize size(1060, 640);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize avail = screen->availableGeometry().size();
        size = size.boundedTo(QSize(avail.width() * 95 / 100, avail.height() * 90 / 100));
    }
    resize(size.expandedTo(minimumSizeHint()));

    InitFileCommands();
    InitChartCommands();
    InitDesktop();
    InitSelectCommand(this, mnuTools_);
    InitUnits();
    WatchForStaleWarnings();
    connect(this, &Form1::DocumentChanged, this, &Form1::EnableCommands);
    EnableCommands();
    InitListCommands();
    InitScheduleCommand(this);
    UpdateClock();
}

Form1::~Form1() = default;

// The commands' states, from the coil document: "&View" and printing the
// saved coils wait for a saved coil. The toolbar's "Save" waits for a coil
// on screen (the list's commands, Form1_list.cpp).
void Form1::EnableCommands() {
    const bool anySaved = document_.table.CoilCount() > 0;
    toolbarPrint_->setEnabled(anySaved);
    mnuFilePrint_->setEnabled(anySaved);
    cmdPrint_[2]->setEnabled(anySaved);
}

void Form1::NoteDocumentChanged() {
    emit DocumentChanged();
}

void Form1::UpdateClock() {
    const QTime now = QTime::currentTime();
    StatusPanel_[3]->setText(now.toString("h:mm AP"));
    StatusPanel_[4]->setText(QDate::currentDate().toString("M/d/yyyy"));
    // Again just after the minute turns.
    clock_->start(60'000 - (now.second() * 1000 + now.msec()) + 20);
}

void Form1::WatchFocus(QWidget* w) {
    w->installEventFilter(this);
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // The steam pressure's unit comes and goes with its field.
    const QEvent::Type type = event->type();
    if ((type == QEvent::ShowToParent || type == QEvent::HideToParent) &&
        watched == txtProperty_[form1::kSteamPressureField] && lblUnitSteamPres_)
        lblUnitSteamPres_->setHidden(type == QEvent::HideToParent);
    if (type != QEvent::FocusIn) return QMainWindow::eventFilter(watched, event);
    QWidget* w = qobject_cast<QWidget*>(watched);
    // The edit line of a choice list stands for the list.
    if (w && qobject_cast<QComboBox*>(w->parentWidget()) && qobject_cast<QLineEdit*>(w)) {
        // The list itself reports the focus; do not report it twice.
        if (w->parentWidget()->hasFocus()) return QMainWindow::eventFilter(watched, event);
        w = w->parentWidget();
    }
    if (w) {
        OnFocus(w);
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) SelectAgainAfterClick(w);
    }
    return QMainWindow::eventFilter(watched, event);
}

// A mouse click that gave the focus would undo the selection; select again
// once the click has been handled. The notes and the read-only fin
// treatment keep the caret where the click put it.
void Form1::SelectAgainAfterClick(QWidget* w) {
    QPointer<QWidget> guard(w);
    QTimer::singleShot(0, this, [this, guard] {
        if (!guard || !guard->hasFocus()) return;
        if (auto* t = qobject_cast<QLineEdit*>(guard.data()); t && t != Text1_) SelectAllText(t);
    });
}

// Focus hints and select-all, by control.
void Form1::OnFocus(QWidget* w) {
    const form1::FocusHint hint = form1::FocusHintFor(w->objectName().toStdString(), WidgetText(w), units_);
    if (hint.selectAll) SelectAllText(qobject_cast<QLineEdit*>(w));
    if (hint.setStatus) SetStatus(QString::fromStdString(hint.code), QString::fromStdString(hint.meaning));
}

// ---------------------------------------------------------------------------
// Controls by name

QWidget* Form1::Control(const QString& name) const {
    return findChild<QWidget*>(name);
}
QLineEdit* Form1::Text(const QString& name) const {
    return findChild<QLineEdit*>(name);
}
QComboBox* Form1::Combo(const QString& name) const {
    return findChild<QComboBox*>(name);
}
QPushButton* Form1::Button(const QString& name) const {
    return findChild<QPushButton*>(name);
}
QAction* Form1::Action(const QString& name) const {
    return findChild<QAction*>(name);
}
QLabel* Form1::Label(const QString& name) const {
    return findChild<QLabel*>(name);
}

std::string Form1::FieldText(const QString& name) const {
    return WidgetText(Control(name));
}

void Form1::SetFieldText(const QString& name, const std::string& text) {
    SetWidgetText(Control(name), QString::fromStdString(text));
}

// ---------------------------------------------------------------------------
// Status bar and panels

void Form1::SetStatus(const QString& code, const QString& meaning) {
    StatusPanel_[1]->setText(code);
    StatusPanel_[2]->setText(meaning);
}

QString Form1::StatusText(int panel) const {
    return panel >= 1 && panel <= 4 ? StatusPanel_[panel]->text() : QString();
}

void Form1::WatchForStaleWarnings() {
    const auto clear = [this] { ClearWarningsLine(fraWarnings_); };
    for (QLineEdit* t : Frame1_[3]->findChildren<QLineEdit*>())
        connect(t, &QLineEdit::textEdited, this, clear);
    for (QComboBox* c : Frame1_[3]->findChildren<QComboBox*>())
        connect(c, &QComboBox::activated, this, clear);
}

void Form1::ShowPanel(int index) {
    if (!state_.Show(index)) return;
    // Back at the start panel the coil on screen is being left.
    if (index == 0) ClearWarningsLine(fraWarnings_);
    // Hide before showing, so that two panels are never shown together
    // (the window would grow to hold both).
    for (int i : {0, 3, 4})
        if (i != index) Frame1_[i]->hide();
    // The title block belongs to the start panel's page.
    Frame1_[1]->setVisible(index == 0);
    Frame1_[index]->show();
    // The first field of the panel shown takes the focus, so that nothing
    // typed goes into a field of a hidden panel.
    QWidget* first = nullptr;
    if (index == 0) {
        for (QRadioButton* o : optCoil_)
            if (!first && o->isChecked()) first = o;
    } else if (index == 3) {
        first = cboTubeOD_;
    } else if (index == 4) {
        first = txtHdr_[0];
    }
    if (first) first->setFocus(Qt::OtherFocusReason);
}

int Form1::CurrentPanel() const {
    return state_.panel;
}

void Form1::ODStatus() {
    const form1::FocusHint hint = form1::FocusHintFor("cboTubeOD", WidgetText(cboTubeOD_), units_);
    SetStatus(QString::fromStdString(hint.code), QString::fromStdString(hint.meaning));
}

// ---------------------------------------------------------------------------
// Construction lists

void Form1::PopulateBoxes() {
    const catalogue::TubeConstruction* lists =
        catalogue::FindTubeConstruction(WidgetText(cboTubeOD_), form1::IsSteam(WidgetText(cboCoilType_)));
    if (!lists) return;
    QSignalBlocker b1(cboWallThk_), b2(cboFinThk_), b3(cboFinMat_), b4(cboFinType_);
    cboWallThk_->clear();
    cboWallThk_->addItems(Items(lists->walls));
    cboWallThk_->setEditText(Q(lists->wallText));
    SetWidgetText(cboFinMat_, "A");
    cboFinThk_->clear();
    cboFinThk_->addItems(Items(lists->fins));
    cboFinThk_->setEditText(Q(lists->finText));
    SetWidgetText(cboFinType_, "CR");
}

void Form1::cboTubeOD_Click() {
    PopulateBoxes();
    ODStatus();
}

void Form1::cboCoilType_Click() {
    AdjustEntCond();
}

// ---------------------------------------------------------------------------
// Start panel and coil type

void Form1::optCoil_Click(int index) {
    if (!state_.ChooseCoil(index)) return;
    Label5_->setText(Q(form1::CoilOptionWord(form1::CoilOptions()[index])));
}

void Form1::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    if (index != 0) return;
    const std::string code(state_.CoilCode());
    {
        QSignalBlocker block(cboTubeOD_);
        cboTubeOD_->clear();
        cboTubeOD_->addItems(Items(form1::TubeChoices(code)));
        cboTubeOD_->setCurrentIndex(-1);
        cboTubeOD_->setEditText(QString());
    }
    UpdateTubeSizeLabel();
    SetWidgetText(cboCoilType_, QString::fromStdString(code));
    ShowPanel(3);
    AdjustEntCond();
    SSDBGrid1_->setRowCount(0);
    ClearWarningsLine(fraWarnings_);
    cboTubeOD_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Calculation

// The fields' texts as shown, by field key.
FieldTexts Form1::ShownFields() const {
    FieldTexts fields;
    for (const form_fields::Field& f : form_fields::Fields())
        fields[std::string(f.key)] = FieldText(Q(f.control));
    return fields;
}

bool Form1::CalcPerform() {
    const CalcResult result =
        ::CalcPerform(entryMemory_.InchPoundFields(ShownFields(), units_), AirFlowMode, coilSpec, coilRating);
    if (result.status == CalcResult::Validation) {
        ShowMessage(units::Message(units_, result.validation.message), MsgIcon::Error);
        QWidget* target = Control(QString::fromStdString(result.validation.control));
        // The fin type list is never shown; its visible stand-in is the fin
        // treatment field.
        if (target == cboFinType_ && target->isHidden()) target = Text1_;
        if (target) {
            target->setFocus(Qt::OtherFocusReason);
            // The text at fault is selected, ready to be typed over.
            auto* box = qobject_cast<QLineEdit*>(target);
            if (auto* combo = qobject_cast<QComboBox*>(target)) box = combo->lineEdit();
            if (box != Text1_) SelectAllText(box);
        }
        return false;
    }
    if (result.status != CalcResult::Ok) return false;  // the failure has been shown

    ipGrid_ = result.grid;
    FillGrid(units::GridRows(units_, ipGrid_, coilSpec, coilRating));
    coilWarnings = result.warnings;
    ShowWarningsLine(fraWarnings_, coilWarnings, units_);
    emit Rated();
    return true;
}

void Form1::FillGrid(const std::vector<GridRow>& rows) {
    SSDBGrid1_->setRowCount(0);
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const GridRow& r : rows) {
        const int n = SSDBGrid1_->rowCount();
        SSDBGrid1_->insertRow(n);
        auto* label = new QTableWidgetItem(QString::fromStdString(r.label));
        auto* value = new QTableWidgetItem(QString::fromStdString(r.value));
        value->setFont(mono);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SSDBGrid1_->setItem(n, 0, label);
        SSDBGrid1_->setItem(n, 1, value);
    }
}

void Form1::cmdCalc_Click() {
    CalcPerform();
}

// ---------------------------------------------------------------------------
// Coil panel and header panel commands

void Form1::cmdPrint0_Click() {
    if (!CalcPerform()) return;
    txtHdr_[2]->setText(
        QString::fromStdString(BuildModelDesignation(coilSpec, coilRating, WidgetText(cboTubeOD_))));
    txtHdr_[0]->setText(QDate::currentDate().toString("MM/dd/yyyy"));
    ShowPanel(4);
}

void Form1::cmdHdr0_Click() {
    ShowPanel(3);
}

void Form1::cmdClose_Click() {
    Frame1_[3]->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{cboTubeOD_, cboWallThk_, cboFinMat_, cboFinThk_, cboFinType_,
                                         txtFPI_, txtRows_, txtTH_, txtFL_, cboRifled_, txtCircuits_})
        SetWidgetText(w, QString());
    for (int i = 0; i < form1::kEntCondCount; ++i) SetWidgetText(EntCondField(i), QString());
    SetStatus(QString(), QString());
    for (QLineEdit* t : txtCPS_) t->setText(QString());
    for (QLineEdit* t : txtHdr_) t->setText(QString());
    txtNotes_->setPlainText(QString());
    ShowPanel(0);
}

reports::ReportHeaderTexts Form1::ReportHeader() const {
    reports::ReportHeaderTexts h;
    h.customer = WidgetText(txtHdr_[3]);
    h.project = WidgetText(txtHdr_[4]);
    h.date = WidgetText(txtHdr_[0]);
    h.units = units_;
    return h;
}

// ---------------------------------------------------------------------------
// Menus and toolbar

void Form1::mnuFile_Click() {
    EnableCommands();
}

void Form1::mnuFileExit_Click() {
    close();
}

void Form1::mnuHelpAbout_Click() {
    frmAbout about(this);
    about.exec();
}

void Form1::Toolbar1_ButtonClick(const QString& key) {
    try {
        if (key == "New")
            mnuFileNew_Click();
        else if (key == "Open")
            mnuFileOpen_Click();
        else if (key == "Print")
            mnuFilePrint_Click();
        else if (key == "Save")
            SaveCoilToList();
    } catch (const rt::RtError&) {
        // A failing toolbar command ends quietly: the run-time error has
        // been shown where it arose.
    } catch (const std::exception& e) {
        ShowMessage(std::string("The command failed.\nError: ") + e.what(), MsgIcon::Error);
    }
}
