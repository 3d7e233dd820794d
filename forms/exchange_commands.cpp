#include "forms/exchange_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QWidget>

#include "engine/msgbox.h"
#include "files/saved_coil_warnings.h"
#include "forms/printer.h"

namespace {

// The separator above "Exit", or null when the menu has none.
QAction* LastSeparator(QMenu* menu) {
    const QList<QAction*> actions = menu->actions();
    for (auto it = actions.rbegin(); it != actions.rend(); ++it)
        if ((*it)->isSeparator()) return *it;
    return nullptr;
}

}  // namespace

std::string AskExportFileName(QWidget* parent) {
    static QString folder;
    QString filter;
    const QString xlsx = QStringLiteral("Excel Workbook (*.xlsx)"), csv = QStringLiteral("CSV (*.csv)");
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Export List"), folder,
                                                xlsx + QStringLiteral(";;") + csv, &filter);
    if (name.isEmpty()) return {};
    kvn::exchange::ExportFormat format;
    if (!kvn::exchange::ExportFormatOf(name.toStdString(), format))
        name += filter == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    folder = QFileInfo(name).absolutePath();
    return name.toStdString();
}

namespace {

bool A4Page() {
    return Printer().ReportPage().width < reports::PageGeometry{}.width;
}

void ExportCommand(QWidget* parent, const CoilDocument& doc, units::System system) {
    if (doc.table.CoilCount() < 1) {
        ShowMessage("There are no saved coils to export.", MsgIcon::Information);
        return;
    }
    const std::string path = AskExportFileName(parent);
    if (path.empty()) return;
    std::string error;
    if (!ExportSavedCoils(doc, system, path, error)) ShowMessage(error, MsgIcon::Error);
}

void SubmittalCommand(QWidget* parent, const CoilDocument& doc, const reports::ReportHeaderTexts& header,
                      bool askPdf) {
    if (doc.table.CoilCount() < 1) {
        ShowMessage("There are no saved coils for a submittal.", MsgIcon::Information);
        return;
    }
    reports::SubmittalHeader h = SubmittalHeaderOf(header, A4Page());
    FillCoverFromSheets(h, doc);
    // Each sheet with its chart, as Print prints it when the Tools menu says so.
    const auto* withChart = parent->findChild<QAction*>(QStringLiteral("mnuToolsChartWithSheet"));
    h.charts = withChart && withChart->isChecked();
    PrintSubmittalCommand(parent, h, SubmittalCoilsOf(doc), askPdf);
}

}  // namespace

void InitExchangeCommands(QWidget* parent, QMenu* fileMenu, const CoilDocument& document,
                          std::function<reports::ReportHeaderTexts()> header) {
    const CoilDocument* doc = &document;
    QAction* before = LastSeparator(fileMenu);
    auto add = [&](const char* name, const QString& caption) {
        auto* a = new QAction(caption, fileMenu);
        a->setObjectName(name);
        fileMenu->insertAction(before, a);
        return a;
    };
    fileMenu->insertSeparator(before);
    QObject::connect(add("mnuFileExport", QStringLiteral("Expor&t List...")), &QAction::triggered, parent,
                     [parent, doc, header] { ExportCommand(parent, *doc, header().units); });
    QObject::connect(add("mnuFilePrintSubmittal", QStringLiteral("Print Su&bmittal...")), &QAction::triggered,
                     parent, [parent, doc, header] { SubmittalCommand(parent, *doc, header(), false); });
    QObject::connect(add("mnuFileSaveSubmittal", QStringLiteral("Save Submittal as P&DF...")),
                     &QAction::triggered, parent,
                     [parent, doc, header] { SubmittalCommand(parent, *doc, header(), true); });
}

SavedCoilSheet SavedSheetOf(const CoilSpec& coilSpec, const CoilRating& rating,
                            const reports::SheetTexts& texts, const std::vector<CoilWarning>& warnings) {
    SavedCoilSheet s;
    s.coilSpec = coilSpec;
    s.rating = rating;
    s.header = texts.txtHdr;
    s.notes = texts.txtNotes;
    s.coilsPerSystem = texts.txtCPS;
    s.coilType = texts.coilType;
    s.tubeOD = texts.tubeOD;
    for (const CoilWarning& w : warnings) s.warnings.push_back(w.text);
    return s;
}

std::vector<kvn::exchange::ExportCoil> ExportCoilsOf(const CoilDocument& doc) {
    std::vector<kvn::exchange::ExportCoil> coils;
    for (int r = 0; r < doc.table.CoilCount(); ++r) {
        const SavedCoilTable::Row& row = doc.table.Rows()[r];
        coils.push_back(kvn::exchange::ExportCoilOfSaved(row, SavedCoilWarnings(doc, row)));
    }
    return coils;
}

std::vector<reports::SubmittalCoil> SubmittalCoilsOf(const CoilDocument& doc) {
    std::vector<reports::SubmittalCoil> coils;
    for (int r = 0; r < doc.table.CoilCount(); ++r) {
        const SavedCoilTable::Row& row = doc.table.Rows()[r];
        reports::SubmittalCoil c;
        c.line = kvn::exchange::ExportCoilOfSaved(row, SavedCoilWarnings(doc, row));
        const auto sheet = SavedCoilSheetOf(doc, row);
        c.hasSheet = sheet != nullptr;
        if (sheet) {
            c.coilSpec = sheet->coilSpec;
            c.rating = sheet->rating;
            c.texts.txtHdr = sheet->header;
            c.texts.txtHdr[1] = c.line.tag;  // the tag as the item
            c.texts.txtNotes = sheet->notes;
            c.texts.txtCPS = sheet->coilsPerSystem;
            c.texts.coilType = sheet->coilType;
            c.texts.tubeOD = sheet->tubeOD;
            c.texts.warnings = sheet->warnings;
        }
        coils.push_back(std::move(c));
    }
    return coils;
}

bool ExportSavedCoils(const CoilDocument& doc, units::System system, const std::string& path,
                      std::string& error) {
    return kvn::exchange::WriteCoilExport(path, system, ExportCoilsOf(doc), error);
}

reports::SubmittalHeader SubmittalHeaderOf(const reports::ReportHeaderTexts& header, bool a4) {
    reports::SubmittalHeader h;
    h.project = header.project;
    h.customer = header.customer;
    h.date = header.date;
    h.units = header.units;
    h.a4 = a4;
    return h;
}

void FillCoverFromSheets(reports::SubmittalHeader& header, const CoilDocument& doc) {
    for (int r = 0; r < doc.table.CoilCount(); ++r) {
        const auto sheet = SavedCoilSheetOf(doc, doc.table.Rows()[r]);
        if (!sheet) continue;
        if (header.customer.empty()) header.customer = sheet->header[3];
        if (header.project.empty()) header.project = sheet->header[4];
        if (header.engineer.empty()) header.engineer = sheet->engineer;
        if (header.date.empty()) header.date = sheet->header[0];
    }
}
