#include "forms/list_history.h"

#include <QUndoCommand>
#include <QUndoStack>
#include <filesystem>
#include <utility>

#include "files/file_commands.h"

// One change of the saved coils, as the table before and after it.
class CoilListStep : public QUndoCommand {
public:
    CoilListStep(CoilListHistory& history, const QString& text, SavedCoilTable before, SavedCoilTable after)
        : QUndoCommand(text), history_(history), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { history_.Apply(before_); }
    void redo() override { history_.Apply(after_); }

private:
    CoilListHistory& history_;
    SavedCoilTable before_;
    SavedCoilTable after_;
};

CoilListHistory::CoilListHistory(CoilDocument& document, QObject* parent)
    : QObject(parent), document_(document), stack_(new QUndoStack(this)), known_(document.table) {
    connect(stack_, &QUndoStack::indexChanged, this, [this] { Sync(); });
}

bool CoilListHistory::Change(const QString& text, const std::function<bool(SavedCoilTable&)>& change) {
    Sync();
    SavedCoilTable after = document_.table;
    if (!change(after) || after.Rows() == document_.table.Rows()) return false;
    stack_->push(new CoilListStep(*this, text, document_.table, std::move(after)));
    return true;
}

void CoilListHistory::Apply(const SavedCoilTable& table) {
    document_.table = table;
    known_ = table;
}

void CoilListHistory::Sync() {
    if (document_.table.Rows() != known_.Rows()) {
        known_ = document_.table;
        stack_->clear();
    }
    if (!SavedCoilsChanged(document_)) {
        if (!stack_->isClean()) stack_->setClean();
    } else if (stack_->isClean()) {
        // Coils that differ from the file are never the clean state: a
        // file read or written since left the old clean state behind.
        stack_->resetClean();
    }
    emit changed();
}

bool CoilListHistory::Modified() const {
    return !stack_->isClean();
}

std::string ListWindowTitle(const std::string& fileName, bool modified) {
    const std::string mark = modified ? "*" : "";
    if (IsUnusableFileName(fileName)) return "Korvan" + mark;
    return std::filesystem::path(fileName).filename().string() + mark + " - KVN";
}
