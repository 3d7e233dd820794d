#include "forms/Form2.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QUndoStack>
#include <QResizeEvent>
#include <QTableWidget>

#include <algorithm>
#include <exception>
#include <map>
#include <string>

#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "files/saved_coil_units.h"
#include "files/saved_coil_warnings.h"
#include "files/saved_coils.h"
#include "forms/Form3.h"
#include "forms/file_dialog.h"
#include "forms/list_history.h"
#include "forms/question.h"

namespace {

// The layout rules are in twips; the screen has 15 twips to a pixel.
constexpr int Px(int twips) {
    return (twips + 7) / 15;
}
constexpr int kMargin = Px(120);
constexpr int kButtonWidth = Px(1215);
constexpr int kButtonHeight = Px(375);

const char* const kCaptions[col::Count] = {
    "No.",
    "Coils per System",
    "Model",
    "Item",
    "Coil Type",
    "Tube OD",
    "Tube Wall",
    "Fin Thickness",
    "Fin Material",
    "Fin Type",
    "Fin Height",
    "Finned Length",
    "Rows",
    "Fins per Inch",
    "Face Area",
    "Std. Air CFM",
    "Ent. Air DB",
    "Ent. Air WB",
    "Lvg. Air DB",
    "Lvg. Air WB",
    "Face Velocity",
    "Air PD",
    "Ent. Fluid Temp",
    "Lvg. Fluid Temp",
    "Fluid PD",
    "GPM",
    "Steam Pressure",
    "Total Btuh",
    "Sensible Btuh",
    "Circuits",
    "Refrigerant",
    "% Glycol",
    "Altitude",
};

// The SI captions of the columns that hold a quantity, and of those that
// keep an inch designation in either system.
const std::map<std::string, std::string>& SiCaptions() {
    static const std::map<std::string, std::string> m = {
        {"Tube Wall", "Tube Wall (in.)"},
        {"Fin Thickness", "Fin Thickness (in.)"},
        {"Fin Height", "Fin Height (mm)"},
        {"Finned Length", "Finned Length (mm)"},
        {"Face Area", "Face Area (m²)"},
        {"Std. Air CFM", "Std. Air (m³/h)"},
        {"Ent. Air DB", "Ent. Air DB (°C)"},
        {"Ent. Air WB", "Ent. Air WB (°C)"},
        {"Lvg. Air DB", "Lvg. Air DB (°C)"},
        {"Lvg. Air WB", "Lvg. Air WB (°C)"},
        {"Face Velocity", "Face Velocity (m/s)"},
        {"Air PD", "Air PD (Pa)"},
        {"Ent. Fluid Temp", "Ent. Fluid Temp (°C)"},
        {"Lvg. Fluid Temp", "Lvg. Fluid Temp (°C)"},
        {"Fluid PD", "Fluid PD (kPa)"},
        {"GPM", "Fluid Flow (L/s)"},
        {"Steam Pressure", "Steam Pressure (kPa(g))"},
        {"Total Btuh", "Total (kW)"},
        {"Sensible Btuh", "Sensible (kW)"},
        {"Altitude", "Altitude (m)"},
    };
    return m;
}

constexpr int kWarningsColumn = col::Count;

const char* const kButtonCaptions[Form2::ButtonCount] = {
    "&Print", "Pre&view...", "&Delete...", "&Close", "&File",
};
const char* const kButtonDescriptions[Form2::ButtonCount] = {
    "Prints the report of the saved coils",    "Shows the report of the saved coils as it prints",
    "Deletes the selected coil from the list", "Closes the list",
    "Saves the list to a coil file",
};

}  // namespace

Form2::Form2(CoilDocument& document, QWidget* parent, FileDialog* dialog)
    : QDialog(parent), document_(document), dialog_(dialog) {
    setObjectName("Form2");
    setWindowTitle("Saved Coils");
    setModal(true);

    grid_ = new QTableWidget(this);
    grid_->setObjectName("SSDBGrid1");
    grid_->setAccessibleName(QStringLiteral("Saved Coils"));
    grid_->setAccessibleDescription(QStringLiteral("The coils saved to the list, one a row"));
    // Columns 0 to 32 of the table, then the coil's engineering warnings.
    grid_->setColumnCount(kWarningsColumn + 1);
    SetCaptions();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setVisible(false);
    grid_->move(kMargin, kMargin);

    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kButtonCaptions[i]), this);
        b->setObjectName(QString("cmdPrint(%1)").arg(i));
        b->setToolTip("Save for multiple coil printing");
        // The tooltip is the same on every button: assistive technology
        // reads what each one does instead.
        b->setAccessibleDescription(QString::fromUtf8(kButtonDescriptions[i]));
        b->resize(kButtonWidth, kButtonHeight);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
        buttons_[i] = b;
    }
    buttons_[Delete]->setEnabled(document_.table.CoilCount() > 0);

    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { ChooseCurrentCoil(); });

    FillGrid();
    // Never so small that the buttons overlap each other or the grid.
    setMinimumSize(Px(350) + ButtonCount * kButtonWidth + (ButtonCount - 1) * Px(100) + kMargin,
                   Px(1200) + kButtonHeight * 3);
    FitToColumns();
}

// Every column as wide as its contents, and the window wide enough to show
// them all, within the screen.
void Form2::FitToColumns() {
    grid_->resizeColumnsToContents();
    int columns = grid_->frameWidth() * 2 + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < grid_->columnCount(); ++c) columns += grid_->columnWidth(c);
    QSize size(std::max(Px(12000), columns + Px(350)), Px(5400));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize avail = screen->availableGeometry().size();
        size = size.boundedTo(QSize(avail.width() * 95 / 100, avail.height() * 90 / 100));
    }
    resize(size.expandedTo(minimumSize()));
}

void Form2::SetHistory(CoilListHistory* history) {
    history_ = history;
    if (!history) return;
    connect(history, &CoilListHistory::changed, this, [this] {
        const int row = grid_->currentRow();
        FillGrid();
        const int n = grid_->rowCount();
        if (n > 0) grid_->setCurrentCell(std::clamp(row, 0, n - 1), 0);
        buttons_[Delete]->setEnabled(n > 0);
    });
    QAction* undo = history->Stack()->createUndoAction(this);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = history->Stack()->createRedoAction(this);
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    addActions({undo, redo});
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Delete:
                cmdPrint_Click(Delete);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                ChooseCurrentCoil();
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::ChooseCurrentCoil() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= document_.table.CoilCount()) return;
    emit coilChosen(row);
    accept();
}

QPushButton* Form2::cmdPrint(int index) const {
    return index >= 0 && index < ButtonCount ? buttons_[index] : nullptr;
}

void Form2::SetReportHeader(const reports::ReportHeaderTexts& header) {
    const bool retell = header.units != header_.units;
    header_ = header;
    if (!retell) return;
    SetCaptions();
    FillGrid();
    FitToColumns();
}

void Form2::SetCaptions() {
    const bool si = header_.units == units::System::SI;
    QStringList captions;
    for (const char* c : kCaptions) {
        const auto it = SiCaptions().find(c);
        captions << QString::fromUtf8(si && it != SiCaptions().end() ? it->second.c_str() : c);
    }
    captions << "Warnings";
    grid_->setHorizontalHeaderLabels(captions);
}

void Form2::FillGrid() {
    grid_->clearContents();
    const int n = document_.table.CoilCount();
    grid_->setRowCount(n);
    const units::System system = header_.units;
    for (int r = 0; r < n; ++r) {
        const SavedCoilTable::Row& row = document_.table.Rows()[r];
        for (int c = 0; c < col::Count; ++c)
            grid_->setItem(r, c, new QTableWidgetItem(QString::fromStdString(SavedCellText(system, row, c))));
        grid_->setItem(r, kWarningsColumn,
                       new QTableWidgetItem(
                           QString::fromStdString(WarningText(system, SavedCoilWarnings(document_, row)))));
    }
    if (n > 0) grid_->setCurrentCell(0, 0);
}

void Form2::cmdPrint_Click(int index) {
    try {
        switch (index) {
            case Print:
                PrintMultiCoilReport(document_.table, this, header_, SavedCoilWarningsByRow(document_));
                break;
            case Preview:
                ShowPrintPreview(document_.table, this, header_, SavedCoilWarningsByRow(document_));
                break;
            case Delete:
                DeleteCurrentCoil();
                break;
            case Close:
                close();
                break;
            case File:
                if (FileWrite(document_, dialog_ ? *dialog_ : CoilFileDialog())) emit fileWritten();
                break;
            default:
                break;
        }
    } catch (const rt::RtError&) {
        // A run-time error ends the action; the list stays as it is.
    } catch (const std::exception& e) {
        // Any other failure of the report or the file ends it too, and is
        // shown: it is not one the user has been told of.
        ShowMessage(e.what(), MsgIcon::Error);
    }
}

void Form2::DeleteCurrentCoil() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= document_.table.CoilCount()) return;
    // The coil by number and item; No unless the user picks Yes.
    const std::string number = CellText(document_.table.At(col::Number, row));
    const std::string item = CellText(document_.table.At(col::Item, row));
    const std::string question = "Delete coil " + number + (item.empty() ? "" : " (" + item + ")") + "?";
    if (AskUser(question, false, Answer::No) != Answer::Yes) return;
    const bool deleted =
        history_ ? history_->Change(QStringLiteral("Delete Coil %1").arg(QString::fromStdString(number)),
                                    [row](SavedCoilTable& table) { return DeleteSavedCoil(table, row); })
                 : DeleteSavedCoil(document_.table, row);
    if (!deleted) return;
    FillGrid();
    const int n = document_.table.CoilCount();
    if (n == 0) {
        buttons_[Delete]->setEnabled(false);
        emit noCoilsLeft();
        close();
        return;
    }
    grid_->setCurrentCell(row < n ? row : n - 1, 0);
}

void Form2::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width() - Px(350);
    const int h = height() - Px(1200);
    grid_->resize(w > 0 ? w : 0, h > 0 ? h : 0);
    const int top = grid_->y() + grid_->height() + Px(120);
    // Right to left from the grid's right edge: Close, Delete, Preview,
    // Print, File, each a little apart.
    const int order[] = {Close, Delete, Preview, Print, File};
    int right = grid_->x() + grid_->width();
    for (int i : order) {
        QPushButton* b = buttons_[i];
        b->move(right - b->width(), top);
        right = b->x() - Px(100);
    }
}
