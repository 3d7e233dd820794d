// The undo history of the Saved Coils list: every change of the coil
// document's saved coils (a coil saved, a coil deleted, a file's coils
// imported) is one step of a QUndoStack, kept as the table before and after
// it. The stack's clean state is the table as it is on file, so undoing
// back to it clears the window's "*".
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "files/saved_coils.h"

class QUndoStack;

class CoilListHistory : public QObject {
    Q_OBJECT

public:
    // Keeps the history of `document`, which must outlive it.
    explicit CoilListHistory(CoilDocument& document, QObject* parent = nullptr);

    CoilDocument& Document() const { return document_; }
    QUndoStack* Stack() const { return stack_; }

    // Applies `change` to a copy of the saved coils and, when it returns
    // true and the coils changed, makes that copy the document's coils as
    // one step named `text`. An exception from `change` leaves everything
    // as it was. True when a step was made.
    bool Change(const QString& text, const std::function<bool(SavedCoilTable&)>& change);

    // Catches up with what the file commands did to the document: saved
    // coils replaced from outside the history (a file opened) start a new
    // history; coils equal to those on file (a file written) are the clean
    // state. Emits changed().
    void Sync();

    // True while the saved coils differ from those on file.
    bool Modified() const;

signals:
    // The saved coils, the history or the file changed.
    void changed();

private:
    friend class CoilListStep;
    void Apply(const SavedCoilTable& table);

    CoilDocument& document_;
    QUndoStack* stack_;
    SavedCoilTable known_;  // the coils as the history last left them
};

// The window's title for the coil file `fileName` ("" for none): "list1.kvn
// - KVN", "Korvan" without a file, with "*" after the name while the list
// has changes not on file.
std::string ListWindowTitle(const std::string& fileName, bool modified);
