#include "forms/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

std::string QtFileDialog::Run(bool save, const std::string& proposal) {
    QWidget* parent = parent_ ? parent_ : QApplication::activeWindow();
    QFileDialog dialog(parent, QString::fromUtf8(save ? kSaveTitle : kTitle), folder_);
    dialog.setNameFilter(QString::fromUtf8(kFilter));
    dialog.setDefaultSuffix(QString::fromUtf8(kDefaultExt));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!save)
        dialog.selectFile(QString::fromUtf8(kInitialName));
    else if (IsUnusableFileName(proposal))
        dialog.selectFile(QString::fromUtf8(kProposedName));
    else
        dialog.selectFile(QString::fromStdString(proposal));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return {};
    folder_ = QFileInfo(files.first()).absolutePath();
    return files.first().toStdString();
}

namespace {
FileDialog* installed = nullptr;
}

FileDialog& CoilFileDialog() {
    if (installed) return *installed;
    static QtFileDialog onScreen;
    return onScreen;
}

void SetCoilFileDialog(FileDialog* dialog) {
    installed = dialog;
}
