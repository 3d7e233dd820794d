// Form1: the psychrometric chart of the rated coil. "Psych&rometric Chart..."
// in the Tools menu and "Ps&ychrometric Chart" beside the results grid open
// the chart window; both wait for a rating listed in the grid. The window
// follows every later rating and the unit system chosen; its title names the
// header's item, model and project. "Print chart &with the sheet" adds the chart
// as a second page of the performance sheet (off until chosen).
#include <QAbstractItemModel>
#include <QAction>
#include <QGroupBox>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include "forms/Form1.h"
#include "forms/frmChart.h"
#include "reports/performance_sheet.h"

void Form1::InitChartCommands() {
    auto* open = mnuTools_->addAction("Psych&rometric Chart...");
    open->setObjectName("mnuToolsChart");
    connect(open, &QAction::triggered, this, [this] { mnuToolsChart_Click(); });
    auto* withSheet = mnuTools_->addAction("Print chart &with the sheet");
    withSheet->setObjectName("mnuToolsChartWithSheet");
    withSheet->setCheckable(true);
    mnuToolsChartWithSheet_ = withSheet;

    auto* button = new QPushButton("Ps&ychrometric Chart", this);
    button->setObjectName("cmdChart");
    button->setToolTip("The coil's air-side process on a psychrometric chart");
    connect(button, &QPushButton::clicked, this, [this] { mnuToolsChart_Click(); });
    fraCalculations_->layout()->addWidget(button);

    // Available while the grid lists a rating.
    QTableWidget* grid = SSDBGrid1_;
    auto update = [grid, open, button] {
        const bool rated = grid->rowCount() > 0;
        open->setEnabled(rated);
        button->setEnabled(rated);
    };
    update();
    connect(grid->model(), &QAbstractItemModel::rowsInserted, this, update);
    connect(grid->model(), &QAbstractItemModel::rowsRemoved, this, update);
    // The window follows every rating, and the unit system chosen in the
    // Tools menu.
    auto follow = [this] {
        if (auto* w = qobject_cast<frmChart*>(chartWindow_);
            w && w->isVisible() && SSDBGrid1_->rowCount() > 0)
            w->SetCoil(coilSpec, coilRating,
                       reports::chart::OptionsOf(CurrentSheetTexts(), coilSpec, coilRating));
    };
    connect(this, &Form1::Rated, this, follow);
    // Queued: the menu tells of a command before the command has run.
    connect(mnuTools_, &QMenu::triggered, this, follow, Qt::QueuedConnection);
}

void Form1::mnuToolsChart_Click() {
    if (SSDBGrid1_->rowCount() == 0) return;
    auto* w = qobject_cast<frmChart*>(chartWindow_);
    if (!w) {
        w = new frmChart(this);
        chartWindow_ = w;
    }
    w->SetCoil(coilSpec, coilRating, reports::chart::OptionsOf(CurrentSheetTexts(), coilSpec, coilRating));
    w->show();
    w->raise();
    w->activateWindow();
}
