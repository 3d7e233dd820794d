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

#include "common/calc_driver.h"
#include "common/model_designation.h"
#include "common/version.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/file_commands.h"
#include "files/saved_coils.h"
#include "forms/coil_document.h"
#include "forms/frmAbout.h"
#include "forms/select_command.h"

namespace {

Form1* g_form1 = nullptr;

QString Indexed(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

// The coil type options of the start panel: caption, code, word.
struct CoilOption {
    const char* caption;
    const char* code;
    const char* word;
};
constexpr CoilOption kCoilOptions[] = {
    {"&Steam", "S", "Steam"},         {"&Condenser", "C", "Condenser"},
    {"&Water", "W", "Water"},         {"&Evaporator", "E", "Evaporator"},
    {"&Glycol", "G", "Glycol"},       {"&Utilities", "U", "Utilities"},
};

// The entering-condition fields: label, maximum length, tooltip. Index 8 is
// the refrigerant list, which has a label but no text box.
struct EntCondField {
    const char* label;
    int maxLength;
    const char* tooltip;
};
const EntCondField kEntCond[16] = {
    {"Altitude (ft)", 5, " Altitude in feet"},
    {"CFM", 7, "  Acfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"CFM", 7, "   Scfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"Air velocity (fpm)", 7, " Scfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"Ent air db (°f )", 7, " Entering air dry bulb (°f )"},
    {"Ent air wb (°f )", 7, " Entering air wet bulb (°f )"},
    {"", 7, " Entering fluid temperature (°f )"},
    {"Gpm", 5, " Fluid flow (gallons per minute)"},
    {"Refrigerant", 0, ""},
    {"Per gly (1-70)", 2, " Percent glycol (0 - 70)"},
    {"Thermal cond", 7, " Thermal conductivity"},
    {"Specific heat", 7, " Specific heat"},
    {"Viscosity", 7, " Viscosity"},
    {"Density", 7, " Density"},
    {"Steam Pres", 7, " Steam Pressure (click the toggle button to use steam temperature)"},
    {"Super Heat", 7, " Steam Pressure (click the toggle button to use steam temperature)"},
};

// Wall and fin-thickness lists by tube size; steam coils have their own
// defaults.
struct TubeLists {
    bool steam;
    const char* tube;
    QStringList walls;
    const char* wallText;
    QStringList fins;
    const char* finText;
};
constexpr int kTubeListRows = 8;
const TubeLists& TubeListRow(int i) {
    static const TubeLists rows[kTubeListRows] = {
        {false, "3", {"0.014", "0.016"}, "0.014", {".0045", ".006", ".008"}, "0.0045"},
        {false, "4", {"0.017", "0.025"}, "0.017", {".0045", ".006", ".008", ".010"}, "0.006"},
        {false, "5", {"0.020", "0.025", "0.035", "0.049"}, "0.02", {".006", ".008", ".010"}, "0.006"},
        {false, "6", {"0.013", "0.016"}, "0.013", {".0045"}, "0.0045"},
        {true, "1", {"0.020", "0.025", "0.035", "0.049"}, "0.035", {".006", ".008", ".010"}, "0.010"},
        {true, "4", {"0.017", "0.025"}, "0.017", {".0045", ".006", ".008", ".010"}, "0.006"},
        {true, "5", {"0.020", "0.025", "0.035", "0.049"}, "0.025", {".006", ".008", ".010"}, "0.006"},
        {true, "6", {"0.013", "0.016"}, "0.013", {".0045"}, "0.0045"},
    };
    return rows[i];
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
    p.drawRect(QRectF(9, 3, 14, 10));                      // paper in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);        // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 19, 16, 10));                     // paper out
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(QPointF(11, 23), QPointF(21, 23));
    p.drawLine(QPointF(11, 26), QPointF(19, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(QRectF(24, 14, 3, 3));                   // power light
    return QIcon(pm);
}

bool IsOneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == QLatin1String(n)) return true;
    return false;
}

}  // namespace

Form1* TheForm1() { return g_form1; }

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
    g_form1 = this;
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
    InitPrintCommands();
    InitChartCommands();
    InitDesktop();
    InitSelectCommand(this, mnuTools_);
    InitUnits();

    // Commands that are not in place stay visibly disabled.
    // "&View" waits for a saved coil; the file commands enable it.
    const bool files = FileCommandsAvailable();
    if (auto* b = Button("cmdPrint(1)")) b->setEnabled(files);
    if (auto* b = Button("cmdPrint(2)"); b && !files) b->setEnabled(false);
    for (const char* n : {"mnuFileNew", "mnuFileOpen", "New", "Open"})
        if (auto* a = Action(n)) a->setEnabled(files);
    const bool print = PrintCommandsAvailable();
    if (auto* b = Button("cmdHdr(1)")) b->setEnabled(print);
    for (const char* n : {"mnuFilePrintSetup", "mnuFilePrint"})
        if (auto* a = Action(n)) a->setEnabled(print);
    // The toolbar's "Save" button has no action of its own.
    if (auto* a = Action("Save")) a->setEnabled(false);
    UpdateClock();
}

Form1::~Form1() {
    if (g_form1 == this) g_form1 = nullptr;
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
    add(file, "mnuFileNew", "&New...", [this] { mnuFileNew_Click(); });
    add(file, "mnuFileOpen", "&Open...", [this] { mnuFileOpen_Click(); });
    file->addSeparator();
    add(file, "mnuFilePrintSetup", "Print &Setup...", [this] { mnuFilePrintSetup_Click(); });
    add(file, "mnuFilePrint", "&Print...", [this] { mnuFilePrint_Click(); });
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
    };
    const Btn buttons[] = {
        {"New", "Create New File", style()->standardIcon(QStyle::SP_FileIcon)},
        {"Open", "Open File", style()->standardIcon(QStyle::SP_DirOpenIcon)},
        {"Save", "Save Coil", style()->standardIcon(QStyle::SP_DialogSaveButton)},
        {"Print", "Print", PrinterIcon()},
    };
    for (const Btn& b : buttons) {
        auto* a = tb->addAction(b.icon, b.key);
        a->setObjectName(b.key);
        a->setToolTip(b.tip);
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
    }
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, [this] { UpdateClock(); });
    clock_->start(1000);
    UpdateClock();
}

void Form1::UpdateClock() {
    if (auto* t = Label("StatusPanel(3)")) t->setText(QTime::currentTime().toString("h:mm AP"));
    if (auto* d = Label("StatusPanel(4)")) d->setText(QDate::currentDate().toString("M/d/yyyy"));
    // The toolbar's "Print" is the File menu's "&Print...": available only
    // when there are saved coils to print.
    if (auto* p = Action("Print")) p->setEnabled(PrintCommandsAvailable() && TheCoilDocument().table.CoilCount() >= 1);
}

QWidget* Form1::BuildTitleBlock() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(1)");
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
    f->setProperty("Tag", QStringLiteral("W"));
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
    for (int i = 0; i < 6; ++i) {
        auto* o = new QRadioButton(kCoilOptions[i].caption, box);
        o->setObjectName(Indexed("optCoil", i));
        if (i == 2) o->setChecked(true);
        if (i == 5) o->hide();   // not available to the user
        connect(o, &QRadioButton::clicked, this, [this, i] { optCoil_Click(i); });
        v->addWidget(o);
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
    auto* grid = new QGridLayout(g);
    auto row = [&](int r, int lblIndex, const char* label, QWidget* field) {
        auto* l = MakeLabel(g, Indexed("lblPhy", lblIndex), label);
        grid->addWidget(l, r, 0);
        grid->addWidget(field, r, 1);
        WatchFocus(field);
        return l;
    };
    auto* tube = MakeCombo(g, "cboTubeOD", {"3", "4", "5"});
    row(0, 0, "Tubing OD:", tube);
    row(1, 1, "Wall Thickness:",
        MakeCombo(g, "cboWallThk", {".012", ".014", ".017", ".018", ".025", ".035", ".049", ".011"}));
    auto* finMat = MakeCombo(g, "cboFinMat", {"A", "C"});
    row(2, 2, "Fin Material:", finMat);
    row(3, 3, "Fin Thickness:", MakeCombo(g, "cboFinThk", {".0045", ".0055", ".006", ".0075", ".01"}));
    auto* text1 = MakeText(g, "Text1");
    text1->setText("CR");
    text1->setReadOnly(true);
    {
        QPalette pal = text1->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
        text1->setPalette(pal);
    }
    text1->setToolTip("Corrugated");
    row(4, 4, "Fin Treatment:", text1);
    row(5, 5, "Fins Per Inch:", MakeText(g, "txtFPI", 6));
    row(6, 6, "Rows Deep:", MakeText(g, "txtRows", 2));
    row(7, 7, "Tube Height:", MakeText(g, "txtTH", 3));
    row(8, 8, "Finned Length:", MakeText(g, "txtFL", 6));
    row(9, 10, "Circuits:", MakeText(g, "txtCircuits", 3));

    // Fields the user does not see: coil type, fin type, rifled tubes,
    // fouling factor, certification.
    auto* coilType = MakeCombo(g, "cboCoilType", {"S", "C", "W", "E", "G"});
    row(10, 16, "Coil Type", coilType)->hide();
    coilType->hide();
    auto* finType = MakeCombo(g, "cboFinType", {"SR", "SS", "CR", "CS", "FR", "RL", "LR", "LS"});
    grid->addWidget(finType, 11, 1);
    WatchFocus(finType);
    finType->hide();
    auto* rifled = MakeCombo(g, "cboRifled", {"Y", "N"});
    rifled->setEditText("N");
    row(12, 9, "Rifled Tubes:", rifled)->hide();
    rifled->hide();
    auto* fouling = MakeText(g, "txtFoulingFactor", 8);
    fouling->setText("0");
    row(13, 11, "Fouling factor:", fouling)->hide();
    fouling->hide();
    auto* ari = MakeCombo(g, "cboARI", {"Y", "N"});
    ari->setEditText("Y");
    row(14, 12, "ARI Certification", ari)->hide();
    ari->hide();
    grid->setRowStretch(15, 1);
    grid->setColumnStretch(1, 1);

    connect(tube, &QComboBox::activated, this, [this] { cboTubeOD_Click(); });
    connect(coilType, &QComboBox::activated, this, [this] { cboCoilType_Click(); });
    connect(finMat, &QComboBox::activated, this, [this] { OnFocus(Control("cboFinMat")); });
    return g;
}

QWidget* Form1::BuildEntCondFrame() {
    auto* g = new QGroupBox("Entering Conditions", this);
    g->setObjectName("fraEntCond");
    entCondGrid_ = new QGridLayout(g);
    for (int i = 0; i < 16; ++i) {
        auto* l = MakeLabel(g, Indexed("lblEntConditions", i), QString::fromUtf8(kEntCond[i].label));
        QWidget* field;
        if (i == 8) {
            // Every refrigerant the engine rates; 12 and 22 first, as always.
            field = MakeCombo(g, "cboRefrigerant", {"12", "22", "134A", "404A", "407C", "410A"});
        } else {
            auto* t = MakeText(g, Indexed("txtProperty", i), kEntCond[i].maxLength);
            t->setToolTip(QString::fromUtf8(kEntCond[i].tooltip));
            field = t;
        }
        WatchFocus(field);
        const int r = (i >= 1 && i <= 3) ? 1 : i;
        entCondGrid_->addWidget(l, r, 0);
        entCondGrid_->addWidget(field, r, 1);
        if (i >= 2 && i != 4) {
            l->hide();
            field->hide();
        }
    }
    auto* air = MakeButton(g, "cmdAirFlow", ">");
    auto* steam = MakeButton(g, "cmdSteam", ">");
    for (auto* b : {air, steam}) {
        b->setFixedWidth(b->fontMetrics().horizontalAdvance("MM") + 12);
        b->setFocusPolicy(Qt::TabFocus);
    }
    steam->hide();
    entCondGrid_->addWidget(air, 1, 2);
    entCondGrid_->addWidget(steam, 14, 2);
    entCondGrid_->setRowStretch(40, 1);
    entCondGrid_->setColumnStretch(1, 1);
    connect(air, &QPushButton::clicked, this, [this] { cmdAirFlow_Click(); });
    connect(steam, &QPushButton::clicked, this, [this] { cmdSteam_Click(); });
    return g;
}

QWidget* Form1::BuildCoilPanel() {
    auto* f = new QFrame(this);
    f->setObjectName("Frame1(3)");
    auto* v = new QVBoxLayout(f);
    v->setContentsMargins(0, 0, 0, 0);

    auto* word = MakeLabel(f, "Label5", "Water");
    QFont wf = word->font();
    wf.setBold(true);
    wf.setPointSizeF(wf.pointSizeF() * 1.4);
    word->setFont(wf);
    v->addWidget(word, 0, Qt::AlignHCenter);

    auto* h = new QHBoxLayout;
    h->addWidget(BuildConstructionFrame(), 3);
    h->addWidget(BuildEntCondFrame(), 4);

    auto* calc = new QGroupBox("Calculations", f);
    calc->setObjectName("fraCalculations");
    auto* cv = new QVBoxLayout(calc);
    auto* grid = new QTableWidget(0, 2, calc);
    grid->setObjectName("SSDBGrid1");
    grid->setToolTip("Calculations");
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->setMinimumWidth(grid->fontMetrics().horizontalAdvance("Glycol PD  (FT H2O)") +
                          QFontMetrics(QFontDatabase::systemFont(QFontDatabase::FixedFont)).horizontalAdvance("0") * 16 +
                          12);
    cv->addWidget(grid);
    cv->addWidget(MakeWarningsLine(calc));
    h->addWidget(calc, 4);
    v->addLayout(h, 1);

    auto* buttons = new QHBoxLayout;
    auto* calcBtn = MakeButton(f, "cmdCalc", "C&alculate");
    auto* print = MakeButton(f, "cmdPrint(0)", "&Print");
    auto* close = MakeButton(f, "cmdClose", "&Cancel");
    connect(calcBtn, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(print, &QPushButton::clicked, this, [this] { cmdPrint0_Click(); });
    connect(close, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
    buttons->addStretch(1);
    for (auto* b : {calcBtn, print, close}) {
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
    auto* outer = new QHBoxLayout(f);
    auto* box = new QGroupBox("Performance Header", f);
    box->setObjectName("fraHeader");
    auto* v = new QVBoxLayout(box);

    auto* form = new QGridLayout;
    const char* labels[5] = {"Date:", "Item:", "Model:", "Customer:", "Project:"};
    for (int i = 0; i < 5; ++i) {
        auto* t = MakeText(box, Indexed("txtHdr", i));
        WatchFocus(t);
        form->addWidget(MakeLabel(box, Indexed("lblHdr", i), labels[i]), i, 0);
        form->addWidget(t, i, 1);
    }
    form->setColumnStretch(1, 1);
    v->addLayout(form);

    auto* notesBox = new QGroupBox("Notes To Appear on Perfomance", box);
    notesBox->setObjectName("fraNotes");
    auto* nv = new QVBoxLayout(notesBox);
    auto* notes = new QPlainTextEdit(notesBox);
    notes->setObjectName("txtNotes");
    notes->setTabChangesFocus(true);
    notes->setMinimumHeight(notes->fontMetrics().lineSpacing() * 4 + 12);
    WatchFocus(notes);
    nv->addWidget(notes);
    v->addWidget(notesBox, 1);

    auto* cps = new QHBoxLayout;
    cps->addWidget(MakeLabel(box, "lblCPS(0)", "Coils per System:"));
    auto addCps = [&](int i) {
        auto* t = MakeText(box, Indexed("txtCPS", i));
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
    v->addLayout(cps);

    auto* buttons = new QHBoxLayout;
    auto* view = MakeButton(box, "cmdPrint(2)", "&View", "View saved coils");
    auto* save = MakeButton(box, "cmdPrint(1)", "&Save", "Save for multiple coil printing");
    auto* finish = MakeButton(box, "cmdHdr(1)", "&Finish", "Finish Printing");
    auto* cancel = MakeButton(box, "cmdHdr(0)", "&Cancel", "Go Back to Coil");
    connect(view, &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(save, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(finish, &QPushButton::clicked, this, [this] { cmdFinish_Click(); });
    connect(cancel, &QPushButton::clicked, this, [this] { cmdHdr0_Click(); });
    buttons->addStretch(1);
    for (auto* b : {view, save, finish, cancel}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance("&Finish") + 40);
        buttons->addWidget(b);
    }
    v->addLayout(buttons);

    outer->addStretch(1);
    outer->addWidget(box, 3);
    outer->addStretch(1);
    return f;
}

void Form1::WatchFocus(QWidget* w) {
    w->installEventFilter(this);
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->installEventFilter(this);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // The steam pressure's unit comes and goes with its field.
    if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) &&
        watched->objectName() == "txtProperty(14)") {
        if (QWidget* unit = Control("lblUnitSteamPres")) unit->setHidden(event->type() == QEvent::HideToParent);
    }
    if (event->type() == QEvent::FocusIn) {
        QWidget* w = qobject_cast<QWidget*>(watched);
        // The edit line of a choice list stands for the list.
        if (w && qobject_cast<QComboBox*>(w->parentWidget()) && qobject_cast<QLineEdit*>(w)) {
            // The list itself reports the focus; do not report it twice.
            if (w->parentWidget()->hasFocus()) return QMainWindow::eventFilter(watched, event);
            w = w->parentWidget();
        }
        if (w) {
            OnFocus(w);
            // A mouse click that gave the focus would undo the selection;
            // select again once the click has been handled. The notes keep
            // the caret where the click put it.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
                QPointer<QWidget> guard(w);
                QTimer::singleShot(0, this, [guard] {
                    if (!guard || !guard->hasFocus()) return;
                    const QString n = guard->objectName();
                    if (auto* t = qobject_cast<QLineEdit*>(guard.data()); t && n != "Text1")
                        SelectAllText(t);
                });
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Focus hints and select-all, by control.
void Form1::OnFocus(QWidget* w) {
    const QString n = w->objectName();
    if (n == "cboTubeOD") {
        ODStatus();
    } else if (n == "cboCoilType") {
        static const std::pair<const char*, const char*> words[] = {
            {"C", "Condensor Coil"}, {"E", "Evaporator Coil"}, {"G", "Glycol Coil"},
            {"S", "Steam Coil"},     {"W", "Water Coil"}};
        const QString code = QString::fromStdString(FieldText(n));
        for (const auto& [c, word] : words)
            if (code == QLatin1String(c)) SetStatus(code, word);
    } else if (n == "cboFinMat") {
        const QString code = QString::fromStdString(FieldText(n));
        if (code == "A")
            SetStatus("A", "Aluminum");
        else if (code == "C")
            SetStatus("C", "Copper");
        else
            SetStatus(QString(), QString());
    } else if (n == "cboFinThk" || n == "cboWallThk") {
        SetStatus(QString(), QString());
    } else if (n == "Text1") {
        SetStatus("CR", "Corrugated");
    } else if (IsOneOf(n, {"txtFPI", "txtRows", "txtTH", "txtFL", "txtCircuits"})) {
        SelectAllText(Text(n));
        SetStatus(QString(), QString());
    } else if (n == "txtFoulingFactor") {
        SelectAllText(Text(n));
    } else if (n.startsWith("txtProperty(")) {
        SelectAllText(Text(n));
        if (n == "txtProperty(0)")
            SetStatus(QString(),
                      QString::fromStdString(units::Caption(units_, "Leave blank if below 2000 feet")));
        else
            SetStatus(QString(), QString());
    } else if (n.startsWith("txtHdr(") || n.startsWith("txtCPS(")) {
        SelectAllText(Text(n));
    }
}

// ---------------------------------------------------------------------------
// Controls by name

QWidget* Form1::Control(const QString& name) const { return findChild<QWidget*>(name); }
QLineEdit* Form1::Text(const QString& name) const { return findChild<QLineEdit*>(name); }
QComboBox* Form1::Combo(const QString& name) const { return findChild<QComboBox*>(name); }
QPushButton* Form1::Button(const QString& name) const { return findChild<QPushButton*>(name); }
QAction* Form1::Action(const QString& name) const { return findChild<QAction*>(name); }
QLabel* Form1::Label(const QString& name) const { return findChild<QLabel*>(name); }

std::string Form1::FieldText(const QString& name) const {
    QWidget* w = Control(name);
    if (auto* t = qobject_cast<QLineEdit*>(w)) return t->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText().toStdString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
    return std::string();
}

void Form1::SetFieldText(const QString& name, const std::string& text) {
    QWidget* w = Control(name);
    const QString s = QString::fromStdString(text);
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

// ---------------------------------------------------------------------------
// Status bar and panels

void Form1::SetStatus(const QString& code, const QString& meaning) {
    if (auto* p = Label("StatusPanel(1)")) p->setText(code);
    if (auto* p = Label("StatusPanel(2)")) p->setText(meaning);
}

QString Form1::StatusText(int panel) const {
    auto* p = Label(Indexed("StatusPanel", panel));
    return p ? p->text() : QString();
}

void Form1::ShowPanel(int index) {
    // Hide before showing, so that two panels are never shown together
    // (the window would grow to hold both).
    for (int i : {0, 3, 4})
        if (auto* f = Control(Indexed("Frame1", i)); f && i != index) f->hide();
    // The title block belongs to the start panel's page.
    if (auto* t = Control("Frame1(1)")) t->setVisible(index == 0);
    if (auto* f = Control(Indexed("Frame1", index))) f->show();
    // The first field of the panel shown takes the focus, so that nothing
    // typed goes into a field of a hidden panel.
    QWidget* first = nullptr;
    if (index == 0) {
        for (int i = 0; i < 6 && !first; ++i)
            if (auto* o = qobject_cast<QRadioButton*>(Control(Indexed("optCoil", i))); o && o->isChecked())
                first = o;
    } else if (index == 3) {
        first = Control("cboTubeOD");
    } else if (index == 4) {
        first = Control("txtHdr(0)");
    }
    if (first) first->setFocus(Qt::OtherFocusReason);
}

int Form1::CurrentPanel() const {
    for (int i : {3, 4})
        if (auto* f = Control(Indexed("Frame1", i)); f && !f->isHidden()) return i;
    return 0;
}

void Form1::ODStatus() {
    static const std::pair<const char*, const char*> sizes[] = {
        {"1", "1"}, {"3", "3/8"}, {"4", "1/2"}, {"5", "5/8"}, {"6", "5/16"}};
    const QString code = QString::fromStdString(FieldText("cboTubeOD"));
    for (const auto& [c, size] : sizes) {
        if (code == QLatin1String(c)) {
            SetStatus(code, QString::fromLatin1(size) + "\" Tube OD");
            return;
        }
    }
    SetStatus(QString(), QString());
}

// ---------------------------------------------------------------------------
// Construction lists

void Form1::PopulateBoxes() {
    const bool steam = FieldText("cboCoilType") == "S";
    const QString tube = QString::fromStdString(FieldText("cboTubeOD"));
    for (int i = 0; i < kTubeListRows; ++i) {
        const TubeLists& row = TubeListRow(i);
        if (row.steam != steam || tube != QLatin1String(row.tube)) continue;
        QSignalBlocker b1(Combo("cboWallThk")), b2(Combo("cboFinThk")), b3(Combo("cboFinMat")),
            b4(Combo("cboFinType"));
        auto* wall = Combo("cboWallThk");
        wall->clear();
        wall->addItems(row.walls);
        wall->setEditText(row.wallText);
        SetFieldText("cboFinMat", "A");
        auto* fin = Combo("cboFinThk");
        fin->clear();
        fin->addItems(row.fins);
        fin->setEditText(row.finText);
        SetFieldText("cboFinType", "CR");
        return;
    }
}

void Form1::cboTubeOD_Click() {
    PopulateBoxes();
    ODStatus();
}

void Form1::cboCoilType_Click() { AdjustEntCond(); }

// ---------------------------------------------------------------------------
// Start panel and coil type

void Form1::optCoil_Click(int index) {
    if (index < 0 || index > 5) return;
    if (auto* f = Control("Frame1(0)")) f->setProperty("Tag", QString::fromLatin1(kCoilOptions[index].code));
    if (auto* l = Label("Label5")) l->setText(kCoilOptions[index].word);
}

void Form1::Command1_Click(int index) {
    if (index == 1) {
        close();
        return;
    }
    if (index != 0) return;
    const QString code = Control("Frame1(0)")->property("Tag").toString();
    auto* tube = Combo("cboTubeOD");
    {
        QSignalBlocker block(tube);
        tube->clear();
        tube->addItems(code == "S" ? QStringList{"5", "1"} : QStringList{"3", "4", "5"});
        tube->setCurrentIndex(-1);
        tube->setEditText(QString());
    }
    UpdateTubeSizeLabel();
    SetFieldText("cboCoilType", code.toStdString());
    ShowPanel(3);
    AdjustEntCond();
    qobject_cast<QTableWidget*>(Control("SSDBGrid1"))->setRowCount(0);
    tube->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Entering conditions

void Form1::AdjustEntCond() {
    QString code = QString::fromStdString(FieldText("cboCoilType")).toUpper();
    if (!IsOneOf(code, {"W", "S", "C", "G", "E"})) code = "W";

    auto field = [this](int i) -> QWidget* {
        return i == 8 ? Control("cboRefrigerant") : Control(Indexed("txtProperty", i));
    };
    auto label = [this](int i) { return Control(Indexed("lblEntConditions", i)); };
    auto setLabel6 = [this](const char* text) {
        Label("lblEntConditions(6)")->setText(QString::fromUtf8(text));
    };

    // Reset.
    for (int i : {7, 8}) {
        field(i)->hide();
        label(i)->hide();
    }
    Control("txtCircuits")->show();
    Control("lblPhy(10)")->show();
    field(6)->show();
    for (int i = 9; i <= 15; ++i) {
        field(i)->hide();
        label(i)->hide();
    }
    Control("cmdSteam")->hide();

    // Per coil type.
    if (code == "S") {
        field(14)->show();
        field(5)->hide();
        label(5)->hide();
        Control("txtCircuits")->hide();
        Control("lblPhy(10)")->hide();
    } else if (code == "W") {
        setLabel6("Ent Fluid (°f)");
        field(5)->show();
        field(7)->show();
    } else if (code == "E") {
        field(5)->show();
        setLabel6("Evap. Temp. (°f)");
        field(8)->show();
    } else if (code == "G") {
        field(5)->show();
        field(7)->show();
        field(9)->show();
        setLabel6("Glycol Temp. (°f)");
    } else if (code == "C") {
        field(5)->hide();
        label(5)->hide();
        setLabel6("Cond. Temp. (°f)");
        field(8)->show();
    }

    // Stack the rows: altitude on row 0, the air-flow fields on row 1, then
    // every visible field in turn. A steam coil's pass over the fields 4 to 7
    // ends after the wet bulb.
    std::vector<int> order;
    for (int i = 4; i <= 7; ++i) {
        if (code == "S" && i > 5) break;
        order.push_back(i);
    }
    for (int i = 8; i <= 15; ++i) order.push_back(i);
    int row = 1;
    for (int i : order) {
        if (field(i)->isHidden()) continue;
        ++row;
        label(i)->show();
        for (QWidget* w : {label(i), field(i)}) entCondGrid_->removeWidget(w);
        entCondGrid_->addWidget(label(i), row, 0);
        entCondGrid_->addWidget(field(i), row, 1);
        if (i == 14) {
            entCondGrid_->removeWidget(Control("cmdSteam"));
            entCondGrid_->addWidget(Control("cmdSteam"), row, 2);
            if (QWidget* unit = Control("lblUnitSteamPres")) {
                entCondGrid_->removeWidget(unit);
                entCondGrid_->addWidget(unit, row, 3);
            }
        }
    }

    if (code == "S") cmdSteam_Click();
    AirFlowMode = 3;
    cmdAirFlow_Click();
    cmdSteam_Click();
    ApplyUnitCaptions();
}

void Form1::cmdAirFlow_Click() {
    AirFlowMode = AirFlowMode == 3 ? 1 : 3;
    for (int i = 1; i <= 3; ++i) {
        Control(Indexed("txtProperty", i))->hide();
        Control(Indexed("lblEntConditions", i))->hide();
    }
    Control(Indexed("txtProperty", AirFlowMode))->show();
    Control(Indexed("lblEntConditions", AirFlowMode))->show();
}

void Form1::cmdSteam_Click() {
    if (FieldText("cboCoilType") != "S") return;
    Control("txtProperty(6)")->hide();
    Control("lblEntConditions(6)")->hide();
    Control("txtProperty(14)")->show();
    Control("lblEntConditions(14)")->show();
}

// ---------------------------------------------------------------------------
// Calculation

bool Form1::CalcPerform() {
    static const std::pair<const char*, const char*> keys[] = {
        {"Application", "cboCoilType"},  {"Pattern", "cboTubeOD"},
        {"TubeWall", "cboWallThk"},      {"FinMat", "cboFinMat"},
        {"FinThk", "cboFinThk"},         {"FinTreat", "cboFinType"},
        {"FPI", "txtFPI"},               {"RD", "txtRows"},
        {"TH", "txtTH"},                 {"FL", "txtFL"},
        {"Circuits", "txtCircuits"},     {"Rifled", "cboRifled"},
        {"FoulingFactor", "txtFoulingFactor"},
        {"Altitude", "txtProperty(0)"},  {"Acfm", "txtProperty(1)"},
        {"Scfm", "txtProperty(2)"},      {"AirVel", "txtProperty(3)"},
        {"EatDb", "txtProperty(4)"},     {"EatWb", "txtProperty(5)"},
        {"EntFluidTemp", "txtProperty(6)"}, {"Gpm", "txtProperty(7)"},
        {"Refrigerant", "cboRefrigerant"}, {"PercentGlycol", "txtProperty(9)"},
        {"SteamPressure", "txtProperty(14)"}, {"EvapSHCode", "txtProperty(15)"},
    };
    FieldTexts fields;
    for (const auto& [key, control] : keys) fields[key] = FieldText(control);

    const CalcResult result =
        ::CalcPerform(entryMemory_.InchPoundFields(fields, units_), AirFlowMode, coilSpec, coilRating);
    if (result.status == CalcResult::Validation) {
        ShowMessage(units::Message(units_, result.validation.message), MsgIcon::Error);
        QWidget* target = Control(QString::fromStdString(result.validation.control));
        // The fin type list is never shown; its visible stand-in is the fin
        // treatment field.
        if (target && target->isHidden() && target->objectName() == "cboFinType") target = Control("Text1");
        if (target) target->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (result.status != CalcResult::Ok) return false;   // the failure has been shown

    ipGrid_ = result.grid;
    FillGrid(units::GridRows(units_, ipGrid_, coilSpec, coilRating));
    coilWarnings = result.warnings;
    ShowWarningsLine(Control("fraWarnings"), coilWarnings);
    emit Rated();
    return true;
}

void Form1::FillGrid(const std::vector<GridRow>& rows) {
    auto* grid = qobject_cast<QTableWidget*>(Control("SSDBGrid1"));
    grid->setRowCount(0);
    const QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const GridRow& r : rows) {
        const int n = grid->rowCount();
        grid->insertRow(n);
        auto* label = new QTableWidgetItem(QString::fromStdString(r.label));
        auto* value = new QTableWidgetItem(QString::fromStdString(r.value));
        value->setFont(mono);
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(n, 0, label);
        grid->setItem(n, 1, value);
    }
}

void Form1::cmdCalc_Click() { CalcPerform(); }

// ---------------------------------------------------------------------------
// Coil panel and header panel commands

void Form1::cmdPrint0_Click() {
    if (!CalcPerform()) return;
    SetFieldText("txtHdr(2)", BuildModelDesignation(coilSpec, coilRating, FieldText("cboTubeOD")));
    SetFieldText("txtHdr(0)", QDate::currentDate().toString("MM/dd/yyyy").toStdString());
    ShowPanel(4);
}

void Form1::cmdHdr0_Click() { ShowPanel(3); }

void Form1::cmdClose_Click() {
    Control("Frame1(3)")->hide();
    for (const char* n : {"cboTubeOD", "cboWallThk", "cboFinMat", "cboFinThk", "cboFinType", "txtFPI",
                          "txtRows", "txtTH", "txtFL", "cboRifled", "txtCircuits"})
        SetFieldText(n, std::string());
    for (int i = 0; i <= 15; ++i)
        if (i != 8) SetFieldText(Indexed("txtProperty", i), std::string());
    SetFieldText("cboRefrigerant", std::string());
    SetStatus(QString(), QString());
    for (int i = 0; i <= 3; ++i) SetFieldText(Indexed("txtCPS", i), std::string());
    for (int i = 0; i <= 4; ++i) SetFieldText(Indexed("txtHdr", i), std::string());
    SetFieldText("txtNotes", std::string());
    ShowPanel(0);
}

// ---------------------------------------------------------------------------
// Menus and toolbar

void Form1::mnuFile_Click() {
    if (auto* a = Action("mnuFilePrint")) a->setEnabled(PrintCommandsAvailable() && TheCoilDocument().table.CoilCount() >= 1);
}

void Form1::mnuFileExit_Click() { close(); }

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
        // A failing toolbar command ends quietly.
    } catch (const std::exception&) {
    }
}
