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
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>
#include <span>
#include <string_view>

#include "common/calc_driver.h"
#include "common/catalogue.h"
#include "common/form_fields.h"
#include "common/model_designation.h"
#include "common/version.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/file_commands.h"
#include "files/saved_coils.h"
#include "forms/coil_document.h"
#include "forms/frmAbout.h"
#include "forms/schedule_command.h"
#include "forms/select_command.h"

namespace {

QString Indexed(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

// An editable choice list: its text may differ from every item (a wall
// thickness of "0.02" beside the item "0.020").
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

QLineEdit* MakeText(QWidget* parent, const QString& name, int maxLength = 0) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    if (maxLength > 0) t->setMaxLength(maxLength);
    return t;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip = QString()) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (!tooltip.isEmpty()) b->setToolTip(tooltip);
    b->setAutoDefault(false);
    return b;
}

// A small printer for the toolbar's "Print" button.
QIcon PrinterIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));  // paper in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 16, 10));  // paper out
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(QRectF(24, 14, 3, 3));  // power light
    return QIcon(pm);
}

// A choice list's items from the catalogue.
QStringList Items(std::span<const std::string_view> texts) {
    QStringList out;
    for (std::string_view t : texts) out << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    return out;
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text of a text box, multi-line box, choice list or label.
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

}  // namespace

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

// ---------------------------------------------------------------------------
// Construction of the window

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("Korvan");
    TheCoilDocument().table.Reset();
    MarkSavedCoilsUnchanged(TheCoilDocument());

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
    InitScheduleCommand(this);
    InitUnits();
    WatchForStaleWarnings();
    EnableCommands();
    UpdateClock();
}

Form1::~Form1() = default;

// The commands' starting states. "&View" waits for a saved coil (the file
// commands enable it); the toolbar's "Save" button has no action of its own.
void Form1::EnableCommands() {
    toolbarSave_->setEnabled(false);
}

void Form1::BuildMenus() {
    auto* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        auto* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    mnuFileNew_ = add(file, "mnuFileNew", "&New...", [this] { mnuFileNew_Click(); });
    mnuFileOpen_ = add(file, "mnuFileOpen", "&Open...", [this] { mnuFileOpen_Click(); });
    file->addSeparator();
    mnuFilePrintSetup_ =
        add(file, "mnuFilePrintSetup", "Print &Setup...", [this] { mnuFilePrintSetup_Click(); });
    mnuFilePrint_ = add(file, "mnuFilePrint", "&Print...", [this] { mnuFilePrint_Click(); });
    file->addSeparator();
    add(file, "mnuFileExit", "&Exit", [this] { mnuFileExit_Click(); });
    connect(file, &QMenu::aboutToShow, this, [this] { mnuFile_Click(); });

    // Tools: commands beyond the coil panel's buttons. Its mnemonic and
    // those of its items use letters no other command of the form uses.
    mnuTools_ = menuBar()->addMenu("T&ools");
    mnuTools_->setObjectName("mnuTools");

    auto* help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuHelp");
    add(help, "mnuHelpAbout", "&About KVN Performance", [this] { mnuHelpAbout_Click(); });
}

void Form1::BuildToolbar() {
    auto* tb = addToolBar("Toolbar");
    tb->setObjectName("Toolbar1");
    tb->setMovable(false);
    tb->setIconSize(QSize(24, 24));
    struct Btn {
        const char* key;
        const char* tip;
        QIcon icon;
        QAction** member;
    };
    const Btn buttons[] = {
        {"New", "Create New File", style()->standardIcon(QStyle::SP_FileIcon), &toolbarNew_},
        {"Open", "Open File", style()->standardIcon(QStyle::SP_DirOpenIcon), &toolbarOpen_},
        {"Save", "Save Coil", style()->standardIcon(QStyle::SP_DialogSaveButton), &toolbarSave_},
        {"Print", "Print", PrinterIcon(), &toolbarPrint_},
    };
    for (const Btn& b : buttons) {
        auto* a = tb->addAction(b.icon, b.key);
        a->setObjectName(b.key);
        a->setToolTip(b.tip);
        *b.member = a;
        const QString key = b.key;
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
}

void Form1::BuildStatusBar() {
    auto* sb = statusBar();
    sb->setObjectName("StatusBar1");
    sb->setSizeGripEnabled(true);
    for (int i = 1; i <= 4; ++i) {
        auto* l = new QLabel(sb);
        l->setObjectName(Indexed("StatusPanel", i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(i == 2 ? 260 : 90);
        if (i >= 3) {
            l->setAlignment(Qt::AlignCenter);
            sb->addPermanentWidget(l);
        } else {
            sb->addWidget(l, i == 2 ? 1 : 0);
        }
        StatusPanel_[i] = l;
    }
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, [this] { UpdateClock(); });
    clock_->start(1000);
    UpdateClock();
}

void Form1::UpdateClock() {
    StatusPanel_[3]->setText(QTime::currentTime().toString("h:mm AP"));
    StatusPanel_[4]->setText(QDate::currentDate().toString("M/d/yyyy"));
    // The toolbar's "Print" is the File menu's "&Print...": available only
    // when there are saved coils to print.
    if (toolbarPrint_) toolbarPrint_->setEnabled(TheCoilDocument().table.CoilCount() >= 1);
}

QWidget* Form1::BuildTitleBlock() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(1)");
    Frame1_[1] = f;
    auto* v = new QVBoxLayout(f);
    auto* title = MakeLabel(f, "lblTitle", "Korvan");
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 2.6);
    tf.setBold(true);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    auto* version = MakeLabel(f, "lblVersion", QString("Performance Version ") + kvn::kVersionShort);
    QFont vf = version->font();
    vf.setPointSizeF(vf.pointSizeF() * 1.3);
    version->setFont(vf);
    version->setAlignment(Qt::AlignCenter);
    v->addStretch(1);
    v->addWidget(title);
    v->addWidget(version);
    return f;
}

QWidget* Form1::BuildStartPanel() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(0)");
    Frame1_[0] = f;
    f->setProperty("Tag", Q(form1::CoilOptions()[form1::kDefaultCoilOption].code));
    auto* outer = new QHBoxLayout(f);
    auto* box = new QFrame(f);
    box->setObjectName("fraMainMenu");
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* v = new QVBoxLayout(box);
    auto* caption = MakeLabel(box, "lblMainMenu", "Main Menu");
    QFont cf = caption->font();
    cf.setBold(true);
    cf.setPointSizeF(cf.pointSizeF() * 1.2);
    caption->setFont(cf);
    caption->setAlignment(Qt::AlignCenter);
    v->addWidget(caption);
    const auto options = form1::CoilOptions();
    for (int i = 0; i < static_cast<int>(options.size()); ++i) {
        auto* o = new QRadioButton(Q(options[i].caption), box);
        o->setObjectName(Indexed("optCoil", i));
        if (i == form1::kDefaultCoilOption) o->setChecked(true);
        if (!options[i].offered) o->hide();
        connect(o, &QRadioButton::clicked, this, [this, i] { optCoil_Click(i); });
        v->addWidget(o);
        optCoil_[i] = o;
    }
    v->addSpacing(8);
    auto* buttons = new QHBoxLayout;
    auto* sel = MakeButton(box, "Command1(0)", "Selec&t");
    auto* ex = MakeButton(box, "Command1(1)", "E&xit");
    sel->setDefault(true);
    connect(sel, &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(ex, &QPushButton::clicked, this, [this] { Command1_Click(1); });
    buttons->addWidget(sel);
    buttons->addWidget(ex);
    v->addLayout(buttons);
    outer->addStretch(1);
    outer->addWidget(box, 0, Qt::AlignTop);
    outer->addStretch(1);
    return f;
}

QWidget* Form1::BuildConstructionFrame() {
    auto* g = new QGroupBox("Construction", this);
    g->setObjectName("fraConstruction");
    fraConstruction_ = g;
    auto* grid = new QGridLayout(g);
    auto row = [&](int r, int lblIndex, const char* label, QWidget* field) {
        auto* l = MakeLabel(g, Indexed("lblPhy", lblIndex), label);
        grid->addWidget(l, r, 0);
        grid->addWidget(field, r, 1);
        WatchFocus(field);
        return l;
    };
    // The tube's list is filled for the coil type when the coil panel opens.
    cboTubeOD_ = MakeCombo(g, "cboTubeOD", {"3", "4", "5"});
    row(0, 0, "Tubing OD:", cboTubeOD_);
    cboWallThk_ =
        MakeCombo(g, "cboWallThk", {".012", ".014", ".017", ".018", ".025", ".035", ".049", ".011"});
    row(1, 1, "Wall Thickness:", cboWallThk_);
    cboFinMat_ = MakeCombo(g, "cboFinMat", {"A", "C"});
    row(2, 2, "Fin Material:", cboFinMat_);
    cboFinThk_ = MakeCombo(g, "cboFinThk", {".0045", ".0055", ".006", ".0075", ".01"});
    row(3, 3, "Fin Thickness:", cboFinThk_);
    Text1_ = MakeText(g, "Text1");
    Text1_->setText("CR");
    Text1_->setReadOnly(true);
    QPalette pal = Text1_->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    Text1_->setPalette(pal);
    Text1_->setToolTip("Corrugated");
    row(4, 4, "Fin Treatment:", Text1_);
    row(5, 5, "Fins Per Inch:", txtFPI_ = MakeText(g, "txtFPI", 6));
    row(6, 6, "Rows Deep:", txtRows_ = MakeText(g, "txtRows", 2));
    row(7, 7, "Tube Height:", txtTH_ = MakeText(g, "txtTH", 3));
    row(8, 8, "Finned Length:", txtFL_ = MakeText(g, "txtFL", 6));
    lblPhy10_ = row(9, 10, "Circuits:", txtCircuits_ = MakeText(g, "txtCircuits", 3));
    BuildHiddenConstructionFields(g, grid);
    grid->setRowStretch(15, 1);
    grid->setColumnStretch(1, 1);

    connect(cboTubeOD_, &QComboBox::activated, this, [this] { cboTubeOD_Click(); });
    connect(cboCoilType_, &QComboBox::activated, this, [this] { cboCoilType_Click(); });
    connect(cboFinMat_, &QComboBox::activated, this, [this] { OnFocus(cboFinMat_); });
    return g;
}

// Fields the user does not see: coil type, fin type, rifled tubes, fouling
// factor, certification.
void Form1::BuildHiddenConstructionFields(QGroupBox* g, QGridLayout* grid) {
    auto hiddenRow = [&](int r, int lblIndex, const char* label, QWidget* field) {
        auto* l = MakeLabel(g, Indexed("lblPhy", lblIndex), label);
        grid->addWidget(l, r, 0);
        grid->addWidget(field, r, 1);
        WatchFocus(field);
        l->hide();
        field->hide();
    };
    QStringList codes;
    for (const catalogue::CoilTypeInfo& t : catalogue::CoilTypes()) codes << Q(t.code);
    cboCoilType_ = MakeCombo(g, "cboCoilType", codes);
    hiddenRow(10, 16, "Coil Type", cboCoilType_);
    cboFinType_ = MakeCombo(g, "cboFinType", {"SR", "SS", "CR", "CS", "FR", "RL", "LR", "LS"});
    grid->addWidget(cboFinType_, 11, 1);
    WatchFocus(cboFinType_);
    cboFinType_->hide();
    cboRifled_ = MakeCombo(g, "cboRifled", {"Y", "N"});
    cboRifled_->setEditText("N");
    hiddenRow(12, 9, "Rifled Tubes:", cboRifled_);
    txtFoulingFactor_ = MakeText(g, "txtFoulingFactor", 8);
    txtFoulingFactor_->setText("0");
    hiddenRow(13, 11, "Fouling factor:", txtFoulingFactor_);
    auto* ari = MakeCombo(g, "cboARI", {"Y", "N"});
    ari->setEditText("Y");
    hiddenRow(14, 12, "ARI Certification", ari);
}

QWidget* Form1::BuildEntCondFrame() {
    auto* g = new QGroupBox("Entering Conditions", this);
    g->setObjectName("fraEntCond");
    fraEntCond_ = g;
    entCondGrid_ = new QGridLayout(g);
    for (int i = 0; i < form1::kEntCondCount; ++i) {
        const form1::EntCondField& def = form1::EntCondFieldAt(i);
        auto* l = MakeLabel(g, Indexed("lblEntConditions", i), Q(def.label));
        lblEntConditions_[i] = l;
        QWidget* field;
        if (i == form1::kRefrigerantField) {
            // Every refrigerant the engine rates; 12 and 22 first, as always.
            field = cboRefrigerant_ =
                MakeCombo(g, "cboRefrigerant", {"12", "22", "134A", "404A", "407C", "410A"});
        } else {
            const std::string name = form1::EntCondControl(i);
            auto* t = MakeText(g, QString::fromStdString(name), def.maxLength);
            if (const form_fields::Field* f = form_fields::FindByControl(name)) t->setToolTip(Q(f->hint));
            field = txtProperty_[i] = t;
        }
        WatchFocus(field);
        const int r = form1::EntCondInitialRow(i);
        entCondGrid_->addWidget(l, r, 0);
        entCondGrid_->addWidget(field, r, 1);
        if (!form1::EntCondInitiallyShown(i)) {
            l->hide();
            field->hide();
        }
    }
    cmdAirFlow_ = MakeButton(g, "cmdAirFlow", ">");
    cmdSteam_ = MakeButton(g, "cmdSteam", ">");
    for (auto* b : {cmdAirFlow_, cmdSteam_}) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance("MM") + 12);
        b->setFocusPolicy(Qt::TabFocus);
    }
    cmdSteam_->hide();
    entCondGrid_->addWidget(cmdAirFlow_, 1, 2);
    entCondGrid_->addWidget(cmdSteam_, 14, 2);
    entCondGrid_->setRowStretch(40, 1);
    entCondGrid_->setColumnStretch(1, 1);
    connect(cmdAirFlow_, &QPushButton::clicked, this, [this] { cmdAirFlow_Click(); });
    connect(cmdSteam_, &QPushButton::clicked, this, [this] { cmdSteam_Click(); });
    return g;
}

QWidget* Form1::BuildCalculationsFrame(QWidget* parent) {
    auto* calc = new QGroupBox("Calculations", parent);
    calc->setObjectName("fraCalculations");
    fraCalculations_ = calc;
    auto* cv = new QVBoxLayout(calc);
    auto* grid = new QTableWidget(0, 2, calc);
    grid->setObjectName("SSDBGrid1");
    SSDBGrid1_ = grid;
    grid->setToolTip("Calculations");
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->setMinimumWidth(
        grid->fontMetrics().horizontalAdvance("Glycol PD  (FT H2O)") +
        QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance("0") * 16 + 12);
    cv->addWidget(grid);
    fraWarnings_ = MakeWarningsLine(calc);
    cv->addWidget(fraWarnings_);
    return calc;
}

QWidget* Form1::BuildCoilPanel() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(3)");
    Frame1_[3] = f;
    auto* v = new QVBoxLayout(f);
    v->setContentsMargins(0, 0, 0, 0);

    Label5_ =
        MakeLabel(f, "Label5", Q(form1::CoilOptionWord(form1::CoilOptions()[form1::kDefaultCoilOption])));
    QFont wf = Label5_->font();
    wf.setBold(true);
    wf.setPointSizeF(wf.pointSizeF() * 1.4);
    Label5_->setFont(wf);
    v->addWidget(Label5_, 0, Qt::AlignHCenter);

    auto* h = new QHBoxLayout;
    h->addWidget(BuildConstructionFrame(), 3);
    h->addWidget(BuildEntCondFrame(), 4);
    h->addWidget(BuildCalculationsFrame(f), 4);
    v->addLayout(h, 1);

    auto* buttons = new QHBoxLayout;
    auto* calcBtn = MakeButton(f, "cmdCalc", "C&alculate");
    cmdPrint_[0] = MakeButton(f, "cmdPrint(0)", "&Print");
    auto* close = MakeButton(f, "cmdClose", "&Cancel");
    connect(calcBtn, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(cmdPrint_[0], &QPushButton::clicked, this, [this] { cmdPrint0_Click(); });
    connect(close, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    buttons->addStretch(1);
    for (auto* b : {calcBtn, cmdPrint_[0], close}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance("C&alculate") + 30);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    v->addLayout(buttons);
    return f;
}

QWidget* Form1::BuildHeaderPanel() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(4)");
    Frame1_[4] = f;
    auto* outer = new QHBoxLayout(f);
    auto* box = new QGroupBox("Performance Header", f);
    box->setObjectName("fraHeader");
    auto* v = new QVBoxLayout(box);
    v->addLayout(BuildHeaderFields(box));

    auto* notesBox = new QGroupBox("Notes To Appear on Perfomance", box);
    notesBox->setObjectName("fraNotes");
    auto* nv = new QVBoxLayout(notesBox);
    txtNotes_ = new QPlainTextEdit(notesBox);
    txtNotes_->setObjectName("txtNotes");
    txtNotes_->setTabChangesFocus(true);
    txtNotes_->setMinimumHeight(txtNotes_->fontMetrics().lineSpacing() * 4 + 12);
    WatchFocus(txtNotes_);
    nv->addWidget(txtNotes_);
    v->addWidget(notesBox, 1);

    v->addLayout(BuildCoilsPerSystem(box));
    v->addLayout(BuildHeaderButtons(box));

    outer->addStretch(1);
    outer->addWidget(box, 3);
    outer->addStretch(1);
    return f;
}

QLayout* Form1::BuildHeaderFields(QWidget* box) {
    auto* form = new QGridLayout;
    const char* labels[5] = {"Date:", "Item:", "Model:", "Customer:", "Project:"};
    for (int i = 0; i < 5; ++i) {
        auto* t = MakeText(box, Indexed("txtHdr", i));
        txtHdr_[i] = t;
        WatchFocus(t);
        form->addWidget(MakeLabel(box, Indexed("lblHdr", i), labels[i]), i, 0);
        form->addWidget(t, i, 1);
    }
    form->setColumnStretch(1, 1);
    return form;
}

QLayout* Form1::BuildCoilsPerSystem(QWidget* box) {
    auto* cps = new QHBoxLayout;
    cps->addWidget(MakeLabel(box, "lblCPS(0)", "Coils per System:"));
    auto addCps = [&](int i) {
        auto* t = MakeText(box, Indexed("txtCPS", i));
        txtCPS_[i] = t;
        t->setMaximumWidth(t->fontMetrics().horizontalAdvance("00000") + 16);
        WatchFocus(t);
        cps->addWidget(t);
    };
    addCps(0);
    cps->addSpacing(16);
    addCps(1);
    cps->addWidget(MakeLabel(box, "lblCPS(1)", "High"));
    cps->addWidget(MakeLabel(box, "lblX(0)", "x"));
    addCps(2);
    cps->addWidget(MakeLabel(box, "lblCPS(2)", "Wide"));
    cps->addWidget(MakeLabel(box, "lblX(1)", "x"));
    addCps(3);
    cps->addWidget(MakeLabel(box, "lblCPS(3)", "Deep"));
    cps->addStretch(1);
    return cps;
}

QLayout* Form1::BuildHeaderButtons(QWidget* box) {
    auto* buttons = new QHBoxLayout;
    cmdPrint_[2] = MakeButton(box, "cmdPrint(2)", "&View", "View saved coils");
    cmdPrint_[1] = MakeButton(box, "cmdPrint(1)", "&Save", "Save for multiple coil printing");
    cmdHdr_[1] = MakeButton(box, "cmdHdr(1)", "&Finish", "Finish Printing");
    cmdHdr_[0] = MakeButton(box, "cmdHdr(0)", "&Cancel", "Go Back to Coil");
    connect(cmdPrint_[2], &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(cmdPrint_[1], &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdHdr_[1], &QPushButton::clicked, this, [this] { cmdFinish_Click(); });
    connect(cmdHdr_[0], &QPushButton::clicked, this, [this] { cmdHdr0_Click(); });
    buttons->addStretch(1);
    for (auto* b : {cmdPrint_[2], cmdPrint_[1], cmdHdr_[1], cmdHdr_[0]}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance("&Finish") + 40);
        buttons->addWidget(b);
    }
    return buttons;
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
    // Back at the start panel the coil on screen is being left.
    if (index == 0) ClearWarningsLine(fraWarnings_);
    // Hide before showing, so that two panels are never shown together
    // (the window would grow to hold both).
    for (int i : {0, 3, 4})
        if (i != index) Frame1_[i]->hide();
    // The title block belongs to the start panel's page.
    Frame1_[1]->setVisible(index == 0);
    if (index == 0 || index == 3 || index == 4) Frame1_[index]->show();
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
    for (int i : {3, 4})
        if (!Frame1_[i]->isHidden()) return i;
    return 0;
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
    const auto options = form1::CoilOptions();
    if (index < 0 || index >= static_cast<int>(options.size())) return;
    Frame1_[0]->setProperty("Tag", Q(options[index].code));
    Label5_->setText(Q(form1::CoilOptionWord(options[index])));
}

void Form1::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    if (index != 0) return;
    const std::string code = Frame1_[0]->property("Tag").toString().toStdString();
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
// Entering conditions

QWidget* Form1::EntCondField(int i) const {
    return i == form1::kRefrigerantField ? static_cast<QWidget*>(cboRefrigerant_) : txtProperty_[i];
}

void Form1::AdjustEntCond() {
    const form1::EntCondLayout layout = form1::EntCondLayoutFor(WidgetText(cboCoilType_));
    // The altitude, the air flow and the dry bulb always show; the rest as
    // the coil type lays them out.
    for (int i = 5; i < form1::kEntCondCount; ++i) {
        EntCondField(i)->setVisible(layout.Shows(i));
        lblEntConditions_[i]->setVisible(layout.Shows(i));
    }
    txtCircuits_->setVisible(layout.circuits);
    lblPhy10_->setVisible(layout.circuits);
    cmdSteam_->hide();
    if (!layout.fluidCaption.empty())
        lblEntConditions_[form1::kFluidTempField]->setText(Q(layout.fluidCaption));
    PlaceEntCondRows(layout);

    AirFlowMode = kAirFlowVelocity;
    cmdAirFlow_Click();
    ApplyUnitCaptions();
}

// Stacks the rows: altitude on row 0, the air-flow fields on row 1, then the
// layout's fields in turn. The steam toggle and the pressure's unit follow
// the steam pressure.
void Form1::PlaceEntCondRows(const form1::EntCondLayout& layout) {
    int row = 1;
    for (int i : layout.rows) {
        ++row;
        QWidget* field = EntCondField(i);
        for (QWidget* w : {static_cast<QWidget*>(lblEntConditions_[i]), field}) entCondGrid_->removeWidget(w);
        entCondGrid_->addWidget(lblEntConditions_[i], row, 0);
        entCondGrid_->addWidget(field, row, 1);
        if (i != form1::kSteamPressureField) continue;
        entCondGrid_->removeWidget(cmdSteam_);
        entCondGrid_->addWidget(cmdSteam_, row, 2);
        if (lblUnitSteamPres_) {
            entCondGrid_->removeWidget(lblUnitSteamPres_);
            entCondGrid_->addWidget(lblUnitSteamPres_, row, 3);
        }
    }
}

void Form1::cmdAirFlow_Click() {
    AirFlowMode = AirFlowMode == kAirFlowVelocity ? kAirFlowAcfm : kAirFlowVelocity;
    for (int i = kAirFlowAcfm; i <= kAirFlowVelocity; ++i) {
        txtProperty_[i]->setVisible(i == AirFlowMode);
        lblEntConditions_[i]->setVisible(i == AirFlowMode);
    }
}

void Form1::cmdSteam_Click() {
    if (!form1::IsSteam(WidgetText(cboCoilType_))) return;
    txtProperty_[form1::kFluidTempField]->hide();
    lblEntConditions_[form1::kFluidTempField]->hide();
    txtProperty_[form1::kSteamPressureField]->show();
    lblEntConditions_[form1::kSteamPressureField]->show();
}

// ---------------------------------------------------------------------------
// Calculation

bool Form1::CalcPerform() {
    FieldTexts fields;
    for (const form_fields::Field& f : form_fields::Fields())
        fields[std::string(f.key)] = FieldText(Q(f.control));

    const CalcResult result =
        ::CalcPerform(entryMemory_.InchPoundFields(fields, units_), AirFlowMode, coilSpec, coilRating);
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
    mnuFilePrint_->setEnabled(TheCoilDocument().table.CoilCount() >= 1);
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
    } catch (const rt::RtError&) {
        // A failing toolbar command ends quietly: the run-time error has
        // been shown where it arose.
    } catch (const std::exception& e) {
        ShowMessage(std::string("The command failed.\nError: ") + e.what(), MsgIcon::Error);
    }
}
