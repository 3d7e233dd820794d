#include "forms/ScheduleWindow.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "forms/exchange_commands.h"
#include "forms/list_history.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

void FillRow(QTableWidget* grid, int row, const std::vector<std::string>& cells) {
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
        auto* item = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)]));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        grid->setItem(row, c, item);
    }
}

QTableWidget* MakeGrid(QWidget* parent, const char* name, const std::vector<std::string>& columns,
                       const QString& title, const QString& description) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setAccessibleName(title);
    grid->setAccessibleDescription(description);
    grid->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const std::string& c : columns) headers << Q(c);
    grid->setHorizontalHeaderLabels(headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    return grid;
}

}  // namespace

ScheduleWindow::ScheduleWindow(kvn::schedule::ScheduleTable table, units::System system,
                               const QString& fileName, CoilDocument& document, QWidget* parent)
    : QDialog(parent), model_(std::move(table), system), document_(document) {
    setObjectName("frmSchedule");
    setWindowTitle("Schedule - " + QFileInfo(fileName).fileName());
    auto* layout = new QVBoxLayout(this);
    grid_ = MakeGrid(this, "grdSchedule", model_.Columns(), "Schedule",
                     "The schedule's rows, each with the status of its search; double-click a row for its "
                     "alternatives");
    grid_->setRowCount(static_cast<int>(model_.RowCount()));
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ShowAlternatives(row); });
    grid_->installEventFilter(this);
    layout->addWidget(grid_);
    auto* line = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName("prgSchedule");
    progress_->setRange(0, static_cast<int>(model_.RowCount()));
    status_ = new QLabel(this);
    status_->setObjectName("lblScheduleStatus");
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("cmdScheduleCancel");
    add_ = new QPushButton("&Add to Saved Coils", this);
    add_->setObjectName("cmdAddToSavedCoils");
    add_->setEnabled(false);
    alternatives_ = new QPushButton("A&lternatives...", this);
    alternatives_->setObjectName("cmdScheduleAlternatives");
    export_ = new QPushButton("E&xport...", this);
    export_->setObjectName("cmdScheduleExport");
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdScheduleClose");
    line->addWidget(progress_);
    line->addWidget(status_, 1);
    for (QPushButton* b : {cancel_, alternatives_, add_, export_, close}) {
        b->setAutoDefault(false);  // Enter on the table shows the row's alternatives
        line->addWidget(b);
    }
    layout->addLayout(line);
    connect(cancel_, &QPushButton::clicked, this, [this] { CancelSearch(); });
    connect(alternatives_, &QPushButton::clicked, this, [this] { ShowAlternatives(grid_->currentRow()); });
    connect(add_, &QPushButton::clicked, this, [this] { AddToSavedCoils(); });
    connect(export_, &QPushButton::clicked, this, [this] {
        const std::string path = AskExportFileName(this);
        if (!path.empty()) ExportResults(path);
    });
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });
    Fill();
    resize(1000, 520);
}

ScheduleWindow::~ScheduleWindow() {
    StopWorker();
}

void ScheduleWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) QTimer::singleShot(0, this, [this] { StartSearch(); });
}

bool ScheduleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ShowAlternatives(grid_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ScheduleWindow::reject() {
    StopWorker();
    QDialog::reject();
}

void ScheduleWindow::StartSearch() {
    if (started_) return;
    started_ = true;
    search_ = std::make_unique<schedule_window::ScheduleSearch>(model_.Table(), model_.System(), 0);
    finished_ = false;
    status_->setText("Searching...");
    cancel_->setEnabled(true);
    worker_ = std::thread([this] {
        results_ = search_->Run();
        finished_ = true;
    });
    timer_->start();
}

void ScheduleWindow::CancelSearch() {
    if (search_) search_->Cancel();
    status_->setText("Cancelling...");
}

void ScheduleWindow::StopWorker() {
    if (!worker_.joinable()) return;
    search_->Cancel();
    worker_.join();
}

void ScheduleWindow::WaitForSearch() {
    if (!worker_.joinable()) return;
    worker_.join();
    Finish();
}

void ScheduleWindow::Poll() {
    if (!search_) return;
    progress_->setValue(search_->Done());
    if (finished_) {
        if (worker_.joinable()) worker_.join();
        Finish();
    }
}

void ScheduleWindow::Finish() {
    timer_->stop();
    model_.SetResults(std::move(results_));
    results_.clear();
    progress_->setValue(static_cast<int>(model_.RowCount()));
    cancel_->setEnabled(false);
    int meets = 0;
    for (std::size_t i = 0; i < model_.RowCount(); ++i)
        meets += model_.Status(i) == schedule_window::RowStatus::Meets;
    status_->setText(QString("%1 of %2 rows met").arg(meets).arg(model_.RowCount()));
    Fill();
}

void ScheduleWindow::Fill() {
    for (std::size_t i = 0; i < model_.RowCount(); ++i) FillRow(grid_, static_cast<int>(i), model_.Cells(i));
    grid_->resizeColumnsToContents();
    add_->setEnabled(model_.ChosenCount() > 0);
    export_->setEnabled(model_.ChosenCount() > 0);
    alternatives_->setEnabled(!Searching() && started_);
}

void ScheduleWindow::ShowAlternatives(int row) {
    if (row < 0) return;
    const auto r = static_cast<std::size_t>(row);
    const auto choices = model_.Choices(r);
    if (Searching() || choices.empty()) return;
    QDialog d(this);
    d.setObjectName("frmScheduleAlternatives");
    d.setWindowTitle("Alternatives - " + Q(model_.Cells(r)[1]));
    auto* layout = new QVBoxLayout(&d);
    auto* grid = MakeGrid(&d, "grdAlternatives", model_.ChoiceColumns(r), "Alternatives",
                          "The coils that meet the row's duty, best first");
    grid->setRowCount(static_cast<int>(choices.size()));
    for (std::size_t k = 0; k < choices.size(); ++k)
        FillRow(grid, static_cast<int>(k), model_.ChoiceCells(r, k));
    grid->resizeColumnsToContents();
    if (model_.Chosen(r) >= 0) grid->selectRow(model_.Chosen(r));
    layout->addWidget(grid);
    auto* buttons = new QDialogButtonBox(&d);
    auto* choose = buttons->addButton("C&hoose", QDialogButtonBox::AcceptRole);
    choose->setObjectName("cmdChoose");
    auto* none = buttons->addButton("&Leave Out", QDialogButtonBox::DestructiveRole);
    none->setObjectName("cmdLeaveOut");
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    int picked = model_.Chosen(r);
    connect(choose, &QPushButton::clicked, &d, [&] {
        if (grid->currentRow() >= 0) picked = grid->currentRow();
        d.accept();
    });
    connect(none, &QPushButton::clicked, &d, [&] {
        picked = -1;
        d.accept();
    });
    connect(grid, &QTableWidget::cellDoubleClicked, &d, [&](int k, int) {
        picked = k;
        d.accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    d.resize(900, 260);
    if (d.exec() != QDialog::Accepted) return;
    model_.Choose(r, picked);
    Fill();
}

bool ScheduleWindow::AddToSavedCoils() {
    const int count = model_.ChosenCount();
    if (count == 0) return false;
    std::string error;
    const int first = document_.table.CoilCount();
    bool ok = true;
    auto append = [&](SavedCoilTable& table) { return ok = model_.AppendChosen(table, error); };
    if (history_) {
        history_->Change(QString("Add %1 Coils from Schedule").arg(count), append);
    } else {
        SavedCoilTable table = document_.table;
        if (append(table)) document_.table = std::move(table);
    }
    if (!ok) {
        ShowMessage(error, MsgIcon::Error);
        return false;
    }
    model_.RememberChosen(document_, first, QDate::currentDate().toString("MM/dd/yyyy").toStdString());
    status_->setText(QString("%1 coils added to the Saved Coils list").arg(count));
    add_->setEnabled(false);
    emit coilsAdded(count);
    return true;
}

bool ScheduleWindow::ExportResults(const std::string& path) {
    std::string error;
    bool ok = false;
    std::size_t written = 0;
    try {
        const auto coils = model_.ChosenExportCoils();
        written = coils.size();
        ok = kvn::exchange::WriteCoilExport(path, model_.System(), coils, error);
    } catch (const rt::RtError& e) {
        error = "The list was not exported.\nError: " + std::to_string(e.number()) + " " + e.description();
    }
    if (!ok) {
        ShowMessage(error, MsgIcon::Error);
        return false;
    }
    const std::size_t left = model_.RowCount() - written;
    status_->setText(QString("%1 coils exported to %2%3")
                         .arg(written)
                         .arg(QFileInfo(Q(path)).fileName())
                         .arg(left ? QString("; %1 rows without a coil left out").arg(left) : QString()));
    return true;
}
