#pragma once

#include "session/Command.h"
#include "store/RecordFile.h"

// Giving an album, a performer or a song a new name everywhere the catalogue holds it. Names
// are the stored Windows-1251 bytes.

// Album list lines equal to the old name, song block headers of the old name and text block
// headers that begin with the old name + " ##-**~" take the new name; then the album's picture
// takes it, unless there is none or a file of the new name exists. All of it or nothing.
class RenameAlbumCommand : public Command {
  public:
    RenameAlbumCommand(const QByteArray& performer, const QByteArray& oldName,
                       const QByteArray& newName);
    CommandLabel label() const override { return {CommandKind::AlbumRename, oldName_}; }
    CommandTarget target() const override { return {performer_, newName_, {}}; }
    CommandTarget targetBefore() const override { return {performer_, oldName_, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;

  private:
    void show(CatalogueSession& session) const;

    QByteArray performer_;
    QByteArray oldName_;
    QByteArray newName_;
    // How far the rename got, for what the lists show when it fails.
    bool albumListRead_ = false;
    Lines albumList_;  // as the file holds it afterwards
    Lines oldAlbumList_;
    bool songListRead_ = false;
    bool textsRead_ = false;
    bool pictureRenamed_ = false;
};

// Carries the performer folder over to the new name: new folder and picture folder with
// byte-identical copies of the three line files and of the *.jpg pictures; then the performer
// list with the new name in place of the old one; then the old files (other picture-folder
// files are not carried) and folders go. A failure before the list is rewritten leaves the
// performer under its old name. A new folder name that exists already stops the rename before
// anything is written.
class RenamePerformerCommand : public Command {
  public:
    // `typed`: the new name as typed; it loses its trailing blanks.
    RenamePerformerCommand(const QByteArray& oldName, const QByteArray& typed);
    CommandLabel label() const override { return {CommandKind::PerformerRename, oldName_}; }
    CommandTarget target() const override { return {newName_, {}, {}}; }
    CommandTarget targetBefore() const override { return {oldName_, {}, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;
    // The dialog closes once the list names the performer anew.
    bool renamed() const { return renamed_; }

  private:
    enum class Folder { NotTried, NewFolderExists, Carried, NotCarried };

    QByteArray oldName_;
    QByteArray newName_;
    Lines before_;
    int selected_ = -1;
    Folder folder_ = Folder::NotTried;
    bool listChecked_ = false;
    bool renamed_ = false;
};

// The song's lines inside every song block of its album and its text block headers take the
// new name; songs of other albums keep theirs. Both files or neither.
class RenameSongCommand : public Command {
  public:
    RenameSongCommand(const CommandTarget& song, const QByteArray& newName);
    CommandLabel label() const override { return {CommandKind::SongRename, target_.song}; }
    CommandTarget target() const override { return {target_.performer, target_.album, newName_}; }
    CommandTarget targetBefore() const override { return target_; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    CommandTarget target_;
    QByteArray newName_;
};
