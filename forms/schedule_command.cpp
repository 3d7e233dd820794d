#include "forms/schedule_command.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>

#include "engine/msgbox.h"
#include "exchange/schedule.h"
#include "exchange/schedule_template.h"
#include "forms/Form1.h"
#include "forms/ScheduleWindow.h"
#include "forms/schedule_columns.h"
#include "files/saved_coils.h"

void ImportSchedule(Form1* form, const QString& fileName) {
    kvn::schedule::ScheduleTable table;
    try {
        table = kvn::schedule::ReadScheduleFile(fileName.toStdString());
    } catch (const kvn::schedule::ScheduleFileError& e) {
        ShowMessage(std::string("The file is not a coil schedule.\n") + e.what(), MsgIcon::Error);
        return;
    }
    if (!MapScheduleColumns(form, table, form->UnitSystem())) return;
    ScheduleWindow window(std::move(table), form->UnitSystem(), fileName, form->Document(), form);
    window.SetListHistory(form->ListHistory());
    window.exec();
    form->NoteDocumentChanged();
}

bool SaveScheduleTemplate(const std::string& path, units::System system) {
    std::string error;
    if (kvn::schedule::WriteScheduleTemplate(path, system, error)) return true;
    ShowMessage(error, MsgIcon::Error);
    return false;
}

namespace {

// Asks where to save the template, proposing "schedule.xlsx"; the filter's
// extension is added to a name without one.
void AskAndSaveTemplate(Form1* form) {
    const QString xlsx = QStringLiteral("Excel Workbook (*.xlsx)"), csv = QStringLiteral("CSV (*.csv)");
    QString filter;
    QString name = QFileDialog::getSaveFileName(form, "Save Schedule Template", "schedule.xlsx",
                                                xlsx + QStringLiteral(";;") + csv, &filter);
    if (name.isEmpty()) return;
    if (!name.endsWith(".xlsx", Qt::CaseInsensitive) && !name.endsWith(".csv", Qt::CaseInsensitive))
        name += filter == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    SaveScheduleTemplate(name.toStdString(), form->UnitSystem());
}

}  // namespace

void InitScheduleCommand(Form1* form) {
    auto* file = form->menuBar()->findChild<QMenu*>("mnuFile");
    if (!file) return;
    auto* action = new QAction("Import Sc&hedule...", file);
    action->setObjectName("mnuFileImportSchedule");
    // After "Import Coils..." where the list has it, else above "Print Setup...".
    const QList<QAction*> items = file->actions();
    const auto* import = form->findChild<QAction*>("mnuFileImport");
    const qsizetype at = import ? items.indexOf(import) : -1;
    QAction* before = at >= 0 ? items.value(at + 1) : file->findChild<QAction*>("mnuFilePrintSetup");
    file->insertAction(before, action);
    QObject::connect(action, &QAction::triggered, form, [form] {
        const QString name = QFileDialog::getOpenFileName(form, "Import Schedule", QString(),
                                                          "Schedules (*.csv *.xlsx);;All files (*)");
        if (!name.isEmpty()) ImportSchedule(form, name);
    });
    auto* templ = new QAction("Save Schedule Te&mplate...", file);
    templ->setObjectName("mnuFileScheduleTemplate");
    file->insertAction(before, templ);
    QObject::connect(templ, &QAction::triggered, form, [form] { AskAndSaveTemplate(form); });
}
