#pragma once

#include <QByteArray>
#include <exception>
#include <optional>

#include "session/Feedback.h"

class CatalogueSession;
class FileSetChange;
class PerformerRepository;

// What kind of change a command makes, with the name it makes it to, so that a window can call
// the change by its name ("текст песни «Метель»").
enum class CommandKind {
    NewPerformer,
    PerformerDeletion,
    AlbumList,
    SongList,
    SongText,
    PerformerRename,
    AlbumRename,
    SongRename,
    PictureAttach,
    PictureRemoval,
    Scan,
    Import,
    Export,
    Font,
    BackgroundColour,
    FormColour,
    AppearanceReset,
    FirstRunFlag,
    Undo,
    Redo,
};

struct CommandLabel {
    CommandKind kind;
    QByteArray name;  // the performer, album or song as stored; empty where there is none
};

// Where a command's change is: the performer, album and song it is about, as stored.
struct CommandTarget {
    QByteArray performer;
    QByteArray album;
    QByteArray song;
};

// One command of the program, as a value: what it works on is fixed when it is made, and the
// session runs it through CatalogueSession::execute. validate() and confirm() may stop it
// before anything is read or written; apply() does all its file work through the one change,
// so that the change's journal holds every byte it replaced; succeeded() or failed() then put
// the session's lists in step with the files and tell the user what there is to tell.
class Command {
  public:
    virtual ~Command() = default;

    virtual CommandLabel label() const = 0;
    virtual CommandTarget target() const = 0;
    // What it was about before it ran: a rename's old names. Chosen again after an undo.
    virtual CommandTarget targetBefore() const { return target(); }
    // A command whose files are the catalogue's goes into the history of changes.
    virtual bool changesCatalogue() const { return true; }
    // Before it writes over a file that someone else changed since the user saw it, the user
    // is asked.
    virtual bool asksBeforeOverwriting() const { return true; }

    // A refusal of what the command was given (names, the selection), shown as it is.
    virtual std::optional<Notice> validate(const CatalogueSession&) const { return std::nullopt; }
    // Takes what the command needs of the session's state (the list it rewrites) and asks for
    // the user's go-ahead where the command's rules ask for it; false stops it.
    virtual bool confirm(CatalogueSession&, Feedback&) { return true; }
    // The file work. Throws StoreError (or the command's own refusal) to stop.
    virtual void apply(const PerformerRepository& repository, FileSetChange& change) = 0;
    // After the change is committed.
    virtual void succeeded(CatalogueSession& session, Feedback& feedback) = 0;
    // After apply() or the commit failed; the change has been undone unless the command kept
    // what it had done. By default the general error report.
    virtual void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback);
    // A command whose rules keep the steps done before a failure (nothing is undone then).
    virtual bool keepsStepsOnFailure() const { return false; }

    // Why execute() refused the command, when it did.
    const std::optional<Notice>& refusal() const { return refusal_; }

  private:
    friend class CatalogueSession;
    std::optional<Notice> refusal_;
};

// The description of a StoreError, or of the failure that is not one, for the error report.
QString FailureDescription(std::exception_ptr failure);
