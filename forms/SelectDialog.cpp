#include "forms/SelectDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <QVBoxLayout>

#include "common/catalogue.h"
#include "common/numfmt.h"
#include "common/warnings.h"
#include "engine/coil_type.h"
#include "forms/widgets.h"

namespace {

// How many of the best candidates the table lists: the search stops once
// they are certain.
constexpr int kListed = 25;

// The session's last inputs: the dialog starts from them next time.
std::unique_ptr<selection::DialogInputs>& Last() {
    static std::unique_ptr<selection::DialogInputs> last;
    return last;
}

// A table cell that sorts by its number rather than its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double key) : QTableWidgetItem(text), key_(key) {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        if (auto* n = dynamic_cast<const NumberItem*>(&other)) return key_ < n->key_;
        return QTableWidgetItem::operator<(other);
    }

private:
    double key_;
};

using widgets::Q;

std::string S(const QString& s) {
    return s.trimmed().toStdString();
}

// A tube's check box text: the outside diameter with an inch mark. Any
// code outside the catalogue reads as the 5/16" tube.
QString TubeSize(const std::string& code) {
    const catalogue::TubeSize* tube = catalogue::FindTubeSize(code);
    if (!tube) tube = catalogue::FindTubeSize("6");
    return Q(std::string(tube->od) + "\"");
}

// Water and glycol coils: the flow choices, the tube velocities and the
// fluid pressure drop in feet of water.
bool IsWaterOrGlycol(const std::string& app) {
    const CoilType type = CoilTypeOf(app);
    return type == CoilType::Water || type == CoilType::Glycol;
}

// A refused warning in words, with its limit in the dialog's units.
std::string RefusalWords(const std::string& code, units::System system) {
    if (code != "face-velocity-wet") return selection::LimitWords(code);
    const double limit = Limit(kWetFaceVelocityMax);
    const std::string value =
        system == units::System::SI
            ? numfmt::FormatF64(units::ToSI(units::Quantity::AirVelocity, limit), "0.00") + " m/s"
            : numfmt::GeneralF64(limit) + " ft/min";
    return "a wet coil's face velocity above " + value + " (condensate carryover)";
}

}  // namespace

const selection::DialogInputs* SelectDialog::LastInputs() {
    return Last().get();
}

SelectDialog::SelectDialog(const FieldTexts& panel, int airFlowMode,
                           std::function<void(const FieldTexts&)> use, QWidget* parent, units::System system)
    : QDialog(parent), panel_(panel), airFlowMode_(airFlowMode), use_(std::move(use)), system_(system) {
    setObjectName("SelectDialog");
    setWindowTitle("Select to Duty");
    Build(selection::InputsForPanel(panel_, Last().get(), system_));
    timer_ = new QTimer(this);
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });
}

SelectDialog::~SelectDialog() {
    control_.cancel = true;
    if (worker_.joinable()) worker_.join();
}

QLineEdit* SelectDialog::Edit(const char* name, const std::string& text, int width) {
    auto* e = widgets::MakeText(this, name);
    e->setText(Q(text));
    // Never narrower than the text it opens with: a value converted to SI
    // may carry more digits than `width` holds.
    const int needed = widgets::TextBoxWidth(e, e->text());
    e->setMaximumWidth(std::max(width, needed));
    e->setMinimumWidth(needed);
    return e;
}

QLabel* SelectDialog::BuddyLabel(const QString& text, QWidget* buddy) {
    return widgets::MakeLabel(this, QString(), text, buddy);
}

void SelectDialog::Build(const selection::DialogInputs& in) {
    const auto it = panel_.find("Application");
    const std::string app = it == panel_.end() ? std::string() : it->second;
    QGroupBox* cons = BuildConstruction(in, app);
    QGroupBox* duty = BuildDuty(in, app);
    QHBoxLayout* runRow = BuildSearchRow();
    BuildCandidateTable();
    QHBoxLayout* endRow = BuildEndRow();

    auto* top = new QHBoxLayout;
    top->addWidget(cons);
    top->addWidget(duty, 1);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addLayout(runRow);
    v->addWidget(table_, 1);
    v->addLayout(endRow);
    resize(980, 620);
}

// Construction to search: row and fin ranges, circuits, tubes and fins.
QGroupBox* SelectDialog::BuildConstruction(const selection::DialogInputs& in, const std::string& app) {
    auto* cons = new QGroupBox("Construction", this);
    auto* cg = new QGridLayout(cons);
    rowsFrom_ = Edit("txtRowsFrom", in.rowsFrom);
    rowsTo_ = Edit("txtRowsTo", in.rowsTo);
    fpiFrom_ = Edit("txtFpiFrom", in.fpiFrom);
    fpiTo_ = Edit("txtFpiTo", in.fpiTo);
    circuits_ = Edit("txtCircuitOptions", in.circuits, 200);
    cg->addWidget(BuddyLabel("Ro&ws from", rowsFrom_), 0, 0);
    cg->addWidget(rowsFrom_, 0, 1);
    cg->addWidget(BuddyLabel("to", rowsTo_), 0, 2);
    cg->addWidget(rowsTo_, 0, 3);
    cg->addWidget(BuddyLabel("F&PI from", fpiFrom_), 1, 0);
    cg->addWidget(fpiFrom_, 1, 1);
    cg->addWidget(BuddyLabel("to", fpiTo_), 1, 2);
    // "to" alone says little read aloud.
    rowsTo_->setAccessibleName(QStringLiteral("Rows to"));
    fpiTo_->setAccessibleName(QStringLiteral("FPI to"));
    cg->addWidget(fpiTo_, 1, 3);
    cg->addWidget(BuddyLabel("C&ircuits", circuits_), 2, 0);
    cg->addWidget(circuits_, 2, 1, 1, 3);
    circuits_->setEnabled(CoilTypeOf(app) != CoilType::Steam);
    circuits_->setToolTip("Circuit counts to try, separated by commas");
    cg->addLayout(BuildTubeRow(in, app), 3, 0, 1, 4);
    cg->addLayout(BuildFinRow(in), 4, 0, 1, 4);
    return cons;
}

// A check box for each tube size the coil type offers.
QHBoxLayout* SelectDialog::BuildTubeRow(const selection::DialogInputs& in, const std::string& app) {
    auto* tubeRow = new QHBoxLayout;
    tubeRow->addWidget(new QLabel("Tubes", this));
    tubeCodes_ = selection::OfferedTubes(app);
    for (const std::string& code : tubeCodes_) {
        auto* box = new QCheckBox(TubeSize(code), this);
        box->setObjectName(Q("chkTube" + code));
        box->setChecked(std::find(in.tubes.begin(), in.tubes.end(), code) != in.tubes.end());
        tubes_.push_back(box);
        tubeRow->addWidget(box);
    }
    tubeRow->addStretch();
    return tubeRow;
}

// A check box for each fin material.
QHBoxLayout* SelectDialog::BuildFinRow(const selection::DialogInputs& in) {
    auto* finRow = new QHBoxLayout;
    finRow->addWidget(new QLabel("Fins", this));
    for (const catalogue::FinMaterial& m : catalogue::FinMaterials()) {
        const std::string code(m.code);
        auto* box = new QCheckBox(Q(std::string(m.word)), this);
        box->setObjectName(Q("chkFin" + code));
        box->setChecked(std::find(in.finMats.begin(), in.finMats.end(), code) != in.finMats.end());
        finMats_.push_back(box);
        finCodes_.push_back(code);
        finRow->addWidget(box);
    }
    finRow->addStretch();
    return finRow;
}

// The duty: the limits in two columns (the default engineering limits
// filled in), the warnings a candidate may not have, then the flow choice
// of a water or glycol coil.
QGroupBox* SelectDialog::BuildDuty(const selection::DialogInputs& in, const std::string& app) {
    const bool liquid = IsWaterOrGlycol(app);
    auto* duty = new QGroupBox("Duty", this);
    auto* dg = new QGridLayout(duty);
    int row = 0;
    for (const std::string& key : selection::DutyKeys()) {
        if (!liquid && key.rfind("TubeVelocity", 0) == 0) continue;
        const auto it = in.duty.find(key);
        auto* e = Edit(("txtDuty" + key).c_str(), it == in.duty.end() ? "" : it->second, 100);
        dg->addWidget(BuddyLabel(Q(selection::DutyLabel(system_, app, key)), e), row / 2, (row % 2) * 2);
        dg->addWidget(e, row / 2, (row % 2) * 2 + 1);
        duty_.push_back({key, e});
        ++row;
    }
    row = (row + 1) / 2;
    for (const std::string& code : selection::DefaultLimits(panel_).refused) {
        auto* box = new QCheckBox(Q("Refuse " + RefusalWords(code, system_)), this);
        box->setObjectName(Q("chkRefuse-" + code));
        box->setChecked(std::find(in.refused.begin(), in.refused.end(), code) != in.refused.end());
        dg->addWidget(box, row++, 0, 1, 4);
        refuse_.push_back({code, box});
    }
    AddFlowChoice(dg, row, in, liquid);
    return duty;
}

// Gpm or fluid rise, on grid row `flowRow`; shown for water and glycol.
void SelectDialog::AddFlowChoice(QGridLayout* dg, int flowRow, const selection::DialogInputs& in,
                                 bool liquid) {
    const bool si = system_ == units::System::SI;
    byGpm_ = new QRadioButton(si ? "&Flow (L/s)" : "&Gpm", this);
    byGpm_->setObjectName("optGpm");
    byRise_ = new QRadioButton(si ? "Fluid &rise (K)" : "Fluid &rise (°F)", this);
    byRise_->setObjectName("optRise");
    gpm_ = Edit("txtGpm", in.gpm);
    rise_ = Edit("txtRise", in.rise);
    // Each flow field is named by its choice.
    gpm_->setAccessibleName(QString(byGpm_->text()).remove('&'));
    rise_->setAccessibleName(QString(byRise_->text()).remove('&'));
    (in.useRise ? byRise_ : byGpm_)->setChecked(true);
    // Each flow field is open while its choice is taken; taking a choice
    // moves to its field.
    auto follow = [this](bool focus) {
        gpm_->setEnabled(byGpm_->isChecked());
        rise_->setEnabled(byRise_->isChecked());
        if (focus) (byRise_->isChecked() ? rise_ : gpm_)->setFocus();
    };
    follow(false);
    connect(byRise_, &QRadioButton::toggled, this, [follow] { follow(true); });
    setTabOrder(byGpm_, gpm_);
    setTabOrder(gpm_, byRise_);
    setTabOrder(byRise_, rise_);
    dg->addWidget(byGpm_, flowRow, 0);
    dg->addWidget(gpm_, flowRow, 1);
    dg->addWidget(byRise_, flowRow, 2);
    dg->addWidget(rise_, flowRow, 3);
    for (QWidget* w : {static_cast<QWidget*>(byGpm_), static_cast<QWidget*>(byRise_),
                       static_cast<QWidget*>(gpm_), static_cast<QWidget*>(rise_)})
        w->setVisible(liquid);
}

// Search, cancel and the progress bar; the status line is made here too.
QHBoxLayout* SelectDialog::BuildSearchRow() {
    search_ = new QPushButton("&Search", this);
    search_->setObjectName("cmdSearch");
    search_->setDefault(true);
    cancel_ = new QPushButton("Ca&ncel", this);
    cancel_->setObjectName("cmdCancelSearch");
    cancel_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("prgSearch");
    progress_->setRange(0, 1);
    progress_->setValue(0);
    status_ = new QLabel(this);
    status_->setObjectName("lblSearchStatus");
    connect(search_, &QPushButton::clicked, this, [this] { StartSearch(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelSearch(); });
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(search_);
    runRow->addWidget(cancel_);
    runRow->addWidget(progress_, 1);
    return runRow;
}

// The candidates found, sortable by any column; a double click uses one.
void SelectDialog::BuildCandidateTable() {
    const auto app = panel_.find("Application");
    const std::vector<std::string> columns =
        selection::ResultColumns(system_, app == panel_.end() ? std::string() : app->second);
    table_ = new QTableWidget(0, static_cast<int>(columns.size()), this);
    table_->setObjectName("grdCandidates");
    table_->setAccessibleName(QStringLiteral("Candidates"));
    table_->setAccessibleDescription(QStringLiteral("The coils found that meet the duty, one a row"));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        auto* header = new QTableWidgetItem(Q(columns[i]));
        if (columns[i].rfind("Area", 0) == 0) header->setToolTip("Outside surface: the tubes' and the fins'");
        if (columns[i] == "Fin") header->setToolTip("Fin material");
        table_->setHorizontalHeaderItem(static_cast<int>(i), header);
    }
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSortingEnabled(true);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->installEventFilter(this);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { UseCurrent(); });
}

// The status line, Use and Close.
QHBoxLayout* SelectDialog::BuildEndRow() {
    use_button_ = new QPushButton("&Use", this);
    use_button_->setObjectName("cmdUse");
    use_button_->setEnabled(false);
    connect(use_button_, &QPushButton::clicked, this, [this] { UseCurrent(); });
    auto* close = new QPushButton("Cl&ose", this);
    close->setObjectName("cmdCloseSelect");
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    auto* endRow = new QHBoxLayout;
    endRow->addWidget(status_, 1);
    endRow->addWidget(use_button_);
    endRow->addWidget(close);
    return endRow;
}

selection::DialogInputs SelectDialog::Inputs() const {
    selection::DialogInputs in;
    in.rowsFrom = S(rowsFrom_->text());
    in.rowsTo = S(rowsTo_->text());
    in.fpiFrom = S(fpiFrom_->text());
    in.fpiTo = S(fpiTo_->text());
    in.circuits = S(circuits_->text());
    for (std::size_t i = 0; i < tubes_.size(); ++i)
        if (tubes_[i]->isChecked()) in.tubes.push_back(tubeCodes_[i]);
    for (std::size_t i = 0; i < finMats_.size(); ++i)
        if (finMats_[i]->isChecked()) in.finMats.push_back(finCodes_[i]);
    for (const auto& [key, e] : duty_) in.duty[key] = S(e->text());
    for (const auto& [code, box] : refuse_)
        if (box->isChecked()) in.refused.push_back(code);
    in.system = system_;
    in.useRise = byRise_->isChecked() && !byRise_->isHidden();
    in.gpm = S(gpm_->text());
    in.rise = S(rise_->text());
    return in;
}

QString SelectDialog::StatusText() const {
    return status_->text();
}

void SelectDialog::StartSearch() {
    if (Searching()) return;
    const selection::DialogInputs in = Inputs();
    Last() = std::make_unique<selection::DialogInputs>(in);
    std::string error;
    if (!selection::SpecFromInputs(panel_, airFlowMode_, in, query_, error)) {
        status_->setText(Q(error));
        return;
    }
    query_.jobs = 0;  // every core
    query_.top = kListed;
    table_->setRowCount(0);
    use_button_->setEnabled(false);
    result_.reset();
    control_.cancel = false;
    control_.done = 0;
    control_.total = static_cast<int>(selection::EnumerateCandidates(query_).size());
    progress_->setRange(0, std::max(1, control_.total.load()));
    progress_->setValue(0);
    status_->setText("Searching...");
    search_->setEnabled(false);
    cancel_->setEnabled(true);
    cancel_->setFocus();
    finished_ = false;
    auto result = std::make_unique<selection::SearchResult>();
    selection::SearchResult* out = result.get();
    result_ = std::move(result);
    worker_ = std::thread([this, out] {
        *out = selection::Search(query_, &control_);
        finished_ = true;
    });
    timer_->start();
}

void SelectDialog::CancelSearch() {
    control_.cancel = true;
}

void SelectDialog::WaitForSearch() {
    if (worker_.joinable()) worker_.join();
    if (finished_) Finish();
}

void SelectDialog::Poll() {
    progress_->setValue(control_.done);
    if (finished_) Finish();
}

void SelectDialog::Finish() {
    timer_->stop();
    if (worker_.joinable()) worker_.join();
    finished_ = false;
    search_->setEnabled(true);
    cancel_->setEnabled(false);
    progress_->setValue(control_.done);
    ShowResults();
}

void SelectDialog::ShowResults() {
    const selection::SearchResult& r = *result_;
    table_->setSortingEnabled(false);
    table_->setRowCount(0);
    auto addRow = [this](const selection::Candidate& c, int rank, int id) {
        const selection::ResultRow row = selection::RowForCandidate(c, rank, query_, system_);
        const int n = table_->rowCount();
        table_->insertRow(n);
        for (std::size_t col = 0; col < row.cells.size(); ++col) {
            auto* item = new NumberItem(Q(row.cells[col]), row.keys[col]);
            if (col > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setData(Qt::UserRole, id);
            table_->setItem(n, static_cast<int>(col), item);
        }
    };
    for (std::size_t i = 0; i < r.ranked.size(); ++i)
        addRow(r.ranked[i], static_cast<int>(i) + 1, static_cast<int>(i));
    QString text;
    if (!r.error.empty()) {
        text = Q(r.error);
    } else {
        text = r.cancelled ? QString("%1 of %2 candidates searched").arg(control_.done.load()).arg(r.searched)
                           : QString("%1 candidates searched").arg(r.searched);
        text += QString(", %1 ratings run, %2 meet the duty").arg(r.rated).arg(r.feasible);
        if (r.skipped > 0) text += QString(", %1 skipped as certain to rank lower").arg(r.skipped);
        if (r.closest) {
            addRow(*r.closest, 0, -1);
            text +=
                Q("; closest: " + selection::MissedInWords(*r.closest, query_, system_ == units::System::SI));
        }
    }
    if (r.cancelled) text = "Cancelled: " + text;
    status_->setText(text);
    table_->setSortingEnabled(true);
    table_->sortItems(0, Qt::AscendingOrder);
    if (table_->rowCount() > 0) {
        table_->selectRow(0);
        table_->setCurrentCell(0, 0);
        use_button_->setEnabled(true);
        table_->setFocus();
    }
}

void SelectDialog::UseCurrent() {
    if (Searching() || !result_ || table_->currentRow() < 0) return;
    const int id = table_->item(table_->currentRow(), 0)->data(Qt::UserRole).toInt();
    const selection::Candidate& c =
        id < 0 ? *result_->closest : result_->ranked.at(static_cast<std::size_t>(id));
    const FieldTexts fields = selection::PanelFieldsOf(c, query_, selection::ShownTexts(system_));
    accept();
    if (use_) use_(fields);
}

void SelectDialog::done(int result) {
    // Closing stops a running search; the inputs are kept for next time.
    CancelSearch();
    WaitForSearch();
    Last() = std::make_unique<selection::DialogInputs>(Inputs());
    QDialog::done(result);
}

bool SelectDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            UseCurrent();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
