#pragma once

#include "session/Command.h"
#include "store/Names.h"
#include "store/RecordFile.h"

// The commands that add and delete performers and save what the editors hold. Names and lines
// are the stored Windows-1251 bytes.

// The notice for a name refused for what it holds; `empty` and `duplicate` name the notices of
// the dialog that asked for it.
std::optional<Notice> NameRefusal(NameProblem problem, NoticeId empty, NoticeId duplicate);

// A new performer at the end of the list: its folder, picture folder and three empty line
// files, then the list file. The selection stays as it is.
class AddPerformerCommand : public Command {
  public:
    // `typed`: the name as typed; it loses its trailing blanks.
    explicit AddPerformerCommand(const QByteArray& typed);
    const QByteArray& name() const { return name_; }

    CommandLabel label() const override { return {CommandKind::NewPerformer, name_}; }
    CommandTarget target() const override { return {name_, {}, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;
    // A folder left over from an earlier run: the list names it all the same.
    bool keepsStepsOnFailure() const override { return listed_; }

  private:
    QByteArray name_;
    Lines before_;
    int selected_ = -1;
    bool listed_ = false;
};

// The album list anew from the editor's lines (empty lines already dropped); every new album
// gets an empty song block. What is written before a failure stays, as with every save of the
// editor.
class SaveAlbumListCommand : public Command {
  public:
    SaveAlbumListCommand(const QByteArray& performer, const Lines& albums);
    CommandLabel label() const override { return {CommandKind::AlbumList, performer_}; }
    CommandTarget target() const override { return {performer_, {}, {}}; }
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    bool keepsStepsOnFailure() const override { return true; }

  private:
    QByteArray performer_;
    Lines albums_;
};

// The album's songs as the editor holds them; its song block moves to the end of the file.
class SaveSongListCommand : public Command {
  public:
    SaveSongListCommand(const CommandTarget& album, const Lines& songs);
    CommandLabel label() const override { return {CommandKind::SongList, target_.album}; }
    CommandTarget target() const override { return target_; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    CommandTarget target_;
    Lines songs_;
};

// The song's text as the editor holds it; its text block moves to the end of the file.
class SaveSongTextCommand : public Command {
  public:
    SaveSongTextCommand(const CommandTarget& song, const Lines& text);
    CommandLabel label() const override { return {CommandKind::SongText, target_.song}; }
    CommandTarget target() const override { return target_; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;

  private:
    CommandTarget target_;
    Lines text_;
};

// The selected performer: after the user's yes, its list line, then its folder. The list is
// rewritten before any file of the folder is touched; whatever goes before a failure stays
// gone, and a folder that cannot be removed whole is reported.
class DeletePerformerCommand : public Command {
  public:
    DeletePerformerCommand() = default;
    CommandLabel label() const override { return {CommandKind::PerformerDeletion, performer_}; }
    CommandTarget target() const override { return {performer_, {}, {}}; }
    std::optional<Notice> validate(const CatalogueSession& session) const override;
    bool confirm(CatalogueSession& session, Feedback& feedback) override;
    void apply(const PerformerRepository& repository, FileSetChange& change) override;
    void succeeded(CatalogueSession& session, Feedback& feedback) override;
    void failed(CatalogueSession& session, std::exception_ptr failure, Feedback& feedback) override;
    bool keepsStepsOnFailure() const override { return true; }

  private:
    static bool moveToTrash(FileSetChange& change, const QString& folder);

    QByteArray performer_;
    Lines before_;
    int selected_ = -1;
    bool folderRemoved_ = false;
};
