#include "forms/schedule_columns.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <map>
#include <vector>

namespace {

const char kLeaveOut[] = "(leave out)";

QString SettingsKey(const std::string& header) {
    return "ScheduleColumns/" + QString::fromLatin1(QByteArray::fromStdString(header).toHex());
}

}  // namespace

std::string ProposedColumn(const std::string& header, units::System system) {
    const QSettings settings;
    const QVariant remembered = settings.value(SettingsKey(header));
    if (remembered.isValid()) {
        const std::string column = remembered.toString().toStdString();
        if (column.empty() || !kvn::schedule::ColumnKey(column, system).empty()) return column;
    }
    return kvn::schedule::MatchColumn(header, system);
}

void RememberColumn(const std::string& header, const std::string& column) {
    QSettings().setValue(SettingsKey(header), QString::fromStdString(column));
}

bool MapScheduleColumns(QWidget* parent, kvn::schedule::ScheduleTable& table, units::System system) {
    std::vector<std::string> unknown;
    for (const std::string& h : table.header)
        if (!h.empty() && kvn::schedule::ColumnKey(h, system).empty()) unknown.push_back(h);
    if (unknown.empty()) return true;
    QDialog d(parent);
    d.setObjectName("frmScheduleColumns");
    d.setWindowTitle("Schedule Columns");
    auto* form = new QFormLayout(&d);
    form->addRow(new QLabel("Which column is each of these?", &d));
    QStringList names = {kLeaveOut};
    for (const std::string& n : kvn::schedule::ColumnNames(system)) names << QString::fromStdString(n);
    std::vector<QComboBox*> boxes;
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        auto* box = new QComboBox(&d);
        box->setObjectName(QString("cboScheduleColumn(%1)").arg(i));
        box->addItems(names);
        const std::string proposed = ProposedColumn(unknown[i], system);
        box->setCurrentIndex(
            proposed.empty() ? 0 : static_cast<int>(names.indexOf(QString::fromStdString(proposed))));
        form->addRow(QString::fromStdString(unknown[i]), box);
        boxes.push_back(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    form->addRow(buttons);
    if (d.exec() != QDialog::Accepted) return false;
    std::map<std::string, std::string> columns;
    for (std::size_t i = 0; i < unknown.size(); ++i) {
        const std::string chosen =
            boxes[i]->currentIndex() <= 0 ? std::string() : boxes[i]->currentText().toStdString();
        columns[unknown[i]] = chosen;
        RememberColumn(unknown[i], chosen);
    }
    kvn::schedule::ApplyColumnMap(table, columns);
    return true;
}
