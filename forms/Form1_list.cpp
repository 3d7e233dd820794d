// Form1: the Saved Coils list's commands beside the original ones: saving
// the coil to the list from the toolbar or the File menu, "Save List",
// "Save List As...", importing a file's coils, the recent files, undo and
// redo of the list's changes, the window title naming the coil file, and
// loading a saved coil back onto the coil panel.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>

#include "common/form_fields.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/coil_file.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "forms/Form1.h"
#include "forms/file_dialog.h"
#include "forms/list_history.h"
#include "forms/recent_files.h"
#include "forms/saved_coil_restore.h"

namespace {

// Calls `shown` whenever one of the watched panels is shown or hidden.
class PanelWatch : public QObject {
public:
    PanelWatch(QObject* parent, std::function<void()> shown) : QObject(parent), shown_(std::move(shown)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) shown_();
        return false;
    }

private:
    std::function<void()> shown_;
};

// A text field takes Ctrl+Z and Ctrl+Shift+Z for its own typing; on this
// window they undo and redo the list's changes while there is one to undo
// or redo (the field's own undo stays in its context menu).
class UndoKeysToList : public QObject {
public:
    UndoKeysToList(QObject* parent, QUndoStack* stack) : QObject(parent), stack_(stack) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination pressed = key->keyCombination();
        if (pressed == QKeyCombination(Qt::CTRL, Qt::Key_Z)) return stack_->canUndo();
        if (pressed == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z)) return stack_->canRedo();
        return false;
    }

private:
    QUndoStack* stack_;
};

QAction* NewAction(QObject* parent, const char* name, const QString& caption, const QKeySequence& key) {
    auto* a = new QAction(caption, parent);
    a->setObjectName(name);
    a->setShortcut(key);
    return a;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void Form1::InitListCommands() {
    listHistory_ = new CoilListHistory(document_, this);
    connect(listHistory_, &CoilListHistory::changed, this, [this] { SyncListCommands(); });
    connect(this, &Form1::DocumentChanged, listHistory_, &CoilListHistory::Sync);

    // The original commands keep their captions and take the usual keys.
    mnuFileNew_->setShortcut(QKeySequence::New);
    mnuFileOpen_->setShortcut(QKeySequence::Open);
    mnuFilePrint_->setShortcut(QKeySequence::Print);
    if (QAction* exit = Action("mnuFileExit")) exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    auto* file = findChild<QMenu*>("mnuFile");
    mnuFileRecent_ = new QMenu("&Recent Files", file);
    mnuFileRecent_->setObjectName("mnuFileRecent");
    auto* saveList = NewAction(this, "mnuFileSaveList", "Save &List", QKeySequence::Save);
    auto* saveAs = NewAction(this, "mnuFileSaveListAs", "Save List &As...",
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    auto* import = NewAction(this, "mnuFileImport", "&Import Coils...", QKeySequence());
    mnuFileSaveCoil_ =
        NewAction(this, "mnuFileSaveCoil", "Save &Coil to List", QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(saveList, &QAction::triggered, this, [this] { SaveList(); });
    connect(saveAs, &QAction::triggered, this, [this] { SaveListAs(); });
    connect(import, &QAction::triggered, this, [this] { ImportCoils(); });
    connect(mnuFileSaveCoil_, &QAction::triggered, this, [this] { SaveCoilToList(); });
    // After New and Open, beside the file the list is in.
    const QList<QAction*> items = file->actions();
    QAction* before = items.value(items.indexOf(mnuFileOpen_) + 1);
    file->insertMenu(before, mnuFileRecent_);
    file->insertActions(before, {saveList, saveAs, import});
    file->insertSeparator(before);
    file->insertAction(before, mnuFileSaveCoil_);
    FillRecentMenu();

    // Edit: undo and redo of the list's changes. Its mnemonic leaves Alt+E
    // to the start panel's "&Evaporator".
    auto* edit = new QMenu("Ed&it", this);
    edit->setObjectName("mnuEdit");
    menuBar()->insertMenu(mnuTools_->menuAction(), edit);
    QAction* undo = listHistory_->Stack()->createUndoAction(this, "&Undo");
    undo->setObjectName("mnuEditUndo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = listHistory_->Stack()->createRedoAction(this, "&Redo");
    redo->setObjectName("mnuEditRedo");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addActions({undo, redo});
    auto* keys = new UndoKeysToList(this, listHistory_->Stack());
    for (QLineEdit* field : findChildren<QLineEdit*>()) field->installEventFilter(keys);

    // Saving a coil wants a coil on screen: the coil or the header panel.
    auto* watch = new PanelWatch(this, [this] { SyncListCommands(); });
    Frame1_[3]->installEventFilter(watch);
    Frame1_[4]->installEventFilter(watch);
    SyncListCommands();
}

CoilListHistory* Form1::ListHistory() const {
    return listHistory_;
}

void Form1::SyncListCommands() {
    EnableCommands();
    const bool coilOnScreen = CurrentPanel() != 0;
    toolbarSave_->setEnabled(coilOnScreen);
    mnuFileSaveCoil_->setEnabled(coilOnScreen);
    setWindowTitle(Q(ListWindowTitle(document_.fileName, listHistory_->Modified())));
}

void Form1::SaveCoilToList() {
    if (CurrentPanel() == 0) return;
    cmdSave_Click();
}

void Form1::ReportSavedCoil() {
    const SavedCoilTable& table = document_.table;
    const int n = table.CoilCount();
    if (n < 1) return;
    const std::string item = CellText(table.At(col::Item, n - 1));
    std::string text = "Coil " + std::to_string(n) + " saved to the list";
    if (!item.empty()) text += ": " + item;
    SetStatus(QString(), Q(text));
}

bool Form1::SaveList() {
    const bool written = FileWrite(document_, CoilFileDialog());
    if (written) NoteFileUsed();
    return written;
}

bool Form1::SaveListAs() {
    CoilDocument& doc = document_;
    const std::string name = CoilFileDialog().ShowSaveAs(doc.fileName);
    if (IsUnusableFileName(name)) return false;
    const std::string old = doc.fileName;
    doc.fileName = name;
    if (!FileWrite(doc, CoilFileDialog())) {
        doc.fileName = old;
        return false;
    }
    NoteFileUsed();
    return true;
}

void Form1::ImportCoils() {
    const std::string name = CoilFileDialog().Show();
    if (IsUnusableFileName(name)) return;
    SavedCoilTable read;
    const CoilFileStatus status = ReadCoilFile(name, read);
    if (!status.ok) {
        ShowMessage(status.Message(name, false), MsgIcon::Error);
        return;
    }
    const QString text = QStringLiteral("Import %1").arg(QFileInfo(Q(name)).fileName());
    listHistory_->Change(text, [&read](SavedCoilTable& table) {
        auto& rows = table.Rows();
        rows.pop_back();  // the spare row, added again below
        for (int r = 0; r < read.CoilCount(); ++r) {
            rows.push_back(read.Rows()[r]);
            rows.back()[col::Number] = static_cast<int32_t>(rows.size());
        }
        rows.emplace_back();
        return read.CoilCount() > 0;
    });
    SetStatus(QString(), QStringLiteral("%1 coils imported from %2").arg(read.CoilCount()).arg(Q(name)));
}

void Form1::NoteFileUsed() {
    const std::string& name = document_.fileName;
    if (!IsUnusableFileName(name))
        StoreRecentFiles(
            WithRecentFile(LoadRecentFiles(), QFileInfo(Q(name)).absoluteFilePath().toStdString()));
    FillRecentMenu();
    NoteDocumentChanged();
}

void Form1::FillRecentMenu() {
    mnuFileRecent_->clear();
    const std::vector<std::string> files = LoadRecentFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        QAction* a = mnuFileRecent_->addAction(Q(RecentFileCaption(i, files[i])));
        a->setObjectName(QStringLiteral("mnuFileRecent(%1)").arg(i));
        a->setToolTip(Q(files[i]));
        a->setStatusTip(Q(files[i]));
        const std::string file = files[i];
        connect(a, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
    }
    mnuFileRecent_->setEnabled(!files.empty());
}

void Form1::OpenRecentFile(const std::string& name) {
    if (!QFileInfo::exists(Q(name))) {
        StoreRecentFiles(WithoutRecentFile(LoadRecentFiles(), name));
        FillRecentMenu();
        ShowMessage("The file " + name + " no longer exists; it was taken off the recent files.",
                    MsgIcon::Exclamation);
        return;
    }
    if (!OfferToWriteSavedCoils()) return;
    OpenCoilFile(name);
}

void Form1::LoadSavedCoil(int row) {
    const SavedCoilTable& table = document_.table;
    if (row < 0 || row >= table.CoilCount()) return;
    const RestoredCoil coil = RestoreSavedCoil(table.Rows()[row]);
    const std::string number = std::to_string(row + 1);
    int option = -1;
    for (int i = 0; i < static_cast<int>(form1::CoilOptions().size()); ++i)
        if (form1::CoilOptions()[i].code == coil.code) option = i;
    if (coil.code.empty() || option < 0) {
        ShowMessage("Coil " + number + " cannot be loaded: its coil type is not known.",
                    MsgIcon::Exclamation);
        return;
    }
    // From an empty panel of the coil's type, as Cancel and Select leave it.
    cmdClose_Click();
    optCoil_[option]->setChecked(true);
    optCoil_Click(option);
    Command1_Click(0);
    entryMemory_.Clear();
    if (const auto it = coil.fields.find("Pattern"); it != coil.fields.end()) {
        SetFieldText("cboTubeOD", it->second);
        PopulateBoxes();
    }
    if (AirFlowMode != kAirFlowVelocity) cmdAirFlow_Click();
    for (const auto& [key, ipText] : coil.fields) {
        const form_fields::Field* f = form_fields::FindByKey(key);
        if (!f || key == "Pattern" || key == "Application") continue;
        const QString control = Q(std::string(f->control));
        QLineEdit* box = Text(control);
        const int maxLength = box ? box->maxLength() : 0;
        const std::string fitted = FitFieldText(ipText, maxLength);
        // In SI the field shows its SI text and rates the inch-pound one.
        SetFieldText(control, units_ == units::System::SI
                                  ? entryMemory_.Switch(key, units::System::InchPound, fitted, maxLength)
                                  : fitted);
    }
    txtHdr_[1]->setText(Q(coil.item));
    txtHdr_[2]->setText(Q(coil.model));
    txtCPS_[0]->setText(Q(coil.coilsPerSystem));
    std::string text = "Coil " + number + " loaded";
    SetStatus(QString(), Q(text));
    if (coil.missing.empty()) return;
    // Said in a message, which the focus hints of the status bar cannot
    // overwrite before it is read.
    text += "; not restored:";
    for (std::size_t i = 0; i < coil.missing.size(); ++i) text += (i ? ", " : " ") + coil.missing[i];
    SetStatus(QString(), Q(text));
    ShowMessage(text, MsgIcon::Information);
}
