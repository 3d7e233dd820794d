// Form1: the window's layout. Builds the menus, the toolbar, the status
// bar and the panels with their controls; the handlers live elsewhere.
#include <QAction>
#include <QComboBox>
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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/catalogue.h"
#include "common/form_fields.h"
#include "common/version.h"
#include "forms/Form1.h"
#include "forms/warnings_line.h"
#include "forms/widgets.h"

using namespace widgets;

namespace {

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

}  // namespace

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
    clock_->setSingleShot(true);
    connect(clock_, &QTimer::timeout, this, [this] { UpdateClock(); });
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
    cboTubeOD_ = MakeCombo(g, "cboTubeOD", Items(catalogue::OfferedTubes(false)));
    row(0, 0, "Tubing OD:", cboTubeOD_);
    cboWallThk_ = MakeCombo(g, "cboWallThk", Items(catalogue::WallsBeforeTube()));
    row(1, 1, "Wall Thickness:", cboWallThk_);
    QStringList materials;
    for (const catalogue::FinMaterial& m : catalogue::FinMaterials()) materials << Q(m.code);
    cboFinMat_ = MakeCombo(g, "cboFinMat", materials);
    row(2, 2, "Fin Material:", cboFinMat_);
    cboFinThk_ = MakeCombo(g, "cboFinThk", Items(catalogue::FinsBeforeTube()));
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
    cboFinType_ = MakeCombo(g, "cboFinType", Items(catalogue::FinTypes()));
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
            field = cboRefrigerant_ = MakeCombo(g, "cboRefrigerant", Items(catalogue::Refrigerants()));
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
