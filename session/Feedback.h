#pragma once

#include <QString>
#include <QStringList>

// How the session tells the user what happened and asks before it goes on. The session knows
// no windows and no wording: it names what is to be said (a Notice) with the names and paths
// the message shows, and each window hands a command the feedback of its own message boxes
// (the modal seam, support/Modal.h), which gives every notice its box and its text. So a box
// opens over the window the user is working in, in the order the command's steps reach it.

enum class MsgKind { Information, Warning, Error, Confirm };
enum MsgButton { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };

enum class NoticeId {
    // browsing; the argument is the file's path
    AlbumListMissing,
    SongListMissing,
    TextFileMissing,
    // a command's preconditions
    ChoosePerformer,
    EmptyPerformerName,
    NoPictureToRemove,
    // questions
    ConfirmPerformerDeletion,
    ConfirmPictureRemoval,
    ConfirmPerformerReplacement,  // the import of a performer that is listed already
    // new performer and renames
    EnterName,
    PerformerExists,
    PerformerNameUnsafe,  // path characters or "." / ".." in a new performer's name
    EmptyAlbumName,
    AlbumExistsRename,
    EmptyPerformerNameRename,
    PerformerExistsRename,
    EmptySongName,
    SongExistsRename,
    NameHasControlCharacter,
    NameHasPathCharacter,
    NameIsDot,
    NameTooLong,
    SongNamedEndAlbum,
    // the editors
    SongListHoldsEndAlbum,
    TextHoldsEndSong,
    // failures the command reports itself
    PerformerFolderFailure,
    DeletionProblems,
    RenameProblems,
    // the scanner; ScanRefused's argument is the scanner's own reason, ReplacedCharacters'
    // arguments one line per song
    ScanNoFolder,
    ScanUnsuitableFolder,
    ScanRefused,
    ReplacedCharacters,
    ScanUnreadFiles,         // one argument per file: "path: why"
    ScanMusicWithoutLyrics,  // the argument is the number of files
    // the import from a base; the arguments name the characters or the folder
    ImportNoFolder,
    ImportNoBase,
    ImportUnencodableName,
    ImportUnusableName,
    ImportOwnFolder,
    ImportOldDataProblems,
    ImportCopyProblems,
    // the export; the argument is the exporter's own report or reason
    ExportDone,
    ExportRefused,
    ExportNoFolder,
    // the first start
    FirstRunAdvice,
    // undo and redo; the argument is the file's path below the data folder
    UndoBlockedByOutsideChange,
    RedoBlockedByOutsideChange,
    // files others change; the argument is the file's path below the data folder
    ConfirmOverwriteOutsideChange,
    SyncConflictCopy,
};

struct Notice {
    NoticeId id;
    QStringList args = {};
};

class Feedback {
  public:
    virtual ~Feedback() = default;
    // The notice's message box; returns the button pressed (NoButton when it was closed).
    virtual MsgButton tell(const Notice& notice) = 0;
    // The general error report, showing a failure's description.
    virtual void errorReport(const QString& description) = 0;
};
