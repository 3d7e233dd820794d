// Form1: saving a coil for the multi-coil printout, the Saved Coils list and
// the coil file commands.
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "files/saved_coil_warnings.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/file_dialog.h"
#include "forms/list_history.h"
#include "forms/question.h"

void Form1::InitFileCommands() {
    // The item and the model go into a line of the coil file: a semicolon
    // would split it and a line break would break it.
    const QRegularExpression oneField("[^;\\r\\n]*");
    for (QLineEdit* box : {txtHdr_[1], txtHdr_[2]})
        box->setValidator(new QRegularExpressionValidator(oneField, box));
}

void Form1::cmdSave_Click() {
    if (!CalcPerform()) return;
    SaveRowTexts texts;
    texts.coilsPerSystem = txtCPS_[0]->text().toStdString();
    texts.model = txtHdr_[2]->text().toStdString();
    texts.item = txtHdr_[1]->text().toStdString();
    texts.coilTypeWord = Label5_->text().toStdString();
    texts.tubeText = cboTubeOD_->currentText().toStdString();
    texts.wallText = cboWallThk_->currentText().toStdString();
    try {
        // One step of the list's history, undone by Edit "&Undo".
        const QString step = QStringLiteral("Save Coil %1").arg(document_.table.CoilCount() + 1);
        ListHistory()->Change(step, [&](SavedCoilTable& table) {
            AppendSavedCoil(table, coilSpec, coilRating, texts);
            return true;
        });
        RememberSavedCoilWarnings(document_, document_.table.Rows()[document_.table.CoilCount() - 1],
                                  WarningsLine(coilWarnings));
    } catch (const rt::RtError& e) {
        ShowMessage("The coil was not saved.\nError: " + std::to_string(e.number()) + " " + e.description(),
                    MsgIcon::Error);
        return;
    }
    NoteDocumentChanged();
    ReportSavedCoil();
}

void Form1::cmdView_Click() {
    Form2 list(document_, this);
    list.SetReportHeader(ReportHeader());
    list.SetHistory(ListHistory());
    connect(&list, &Form2::noCoilsLeft, this, &Form1::NoteDocumentChanged);
    connect(&list, &Form2::fileWritten, this, [this] { NoteFileUsed(); });
    int chosen = -1;
    connect(&list, &Form2::coilChosen, this, [&chosen](int row) { chosen = row; });
    list.exec();
    NoteDocumentChanged();
    if (chosen >= 0) LoadSavedCoil(chosen);
}

bool Form1::OfferToWriteSavedCoils() {
    if (!SavedCoilsChanged(document_)) return true;
    switch (AskUser("Save changes to the coil list?", true)) {
        case Answer::Yes: {
            const bool written = FileWrite(document_, CoilFileDialog());
            if (written)
                NoteFileUsed();
            else
                NoteDocumentChanged();
            return written;
        }
        case Answer::No:
            return true;
        case Answer::Cancel:
            return false;
    }
    return false;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (OfferToWriteSavedCoils())
        event->accept();
    else
        event->ignore();
}

void Form1::mnuFileOpen_Click() {
    if (!OfferToWriteSavedCoils()) return;
    OpenCoilFile(CoilFileDialog().Show());
}

void Form1::OpenCoilFile(const std::string& name) {
    if (!FileOpenNamed(document_, name)) return;
    NoteFileUsed();
    cmdView_Click();
}

void Form1::mnuFileNew_Click() {
    if (!OfferToWriteSavedCoils()) return;
    FileNew(document_, CoilFileDialog());
    NoteDocumentChanged();
}
