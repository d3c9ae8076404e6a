#include "session/PictureCommands.h"

#include <cerrno>

#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/Names.h"
#include "store/PerformerRepository.h"
#include "store/StoreError.h"

AttachPictureCommand::AttachPictureCommand(const CommandTarget& album, const QByteArray& jpeg)
    : target_(album), jpeg_(jpeg) {}

// A picture that is a link to a file elsewhere is not written through: whatever it points at
// lies outside the picture folder.
void AttachPictureCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    if (!IsStorablePictureName(target_.album)) throw StoreNameError(cp1251::decode(target_.album));
    const QString path =
        repository.path(StoreEntry::AlbumPicture, target_.performer, target_.album);
    if (fileio::isSymLink(path)) throw StoreError(ELOOP, path);
    change.replaceLast(path, jpeg_);
}

void AttachPictureCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.NotifyChange(CatalogueChange::PerformerFiles, target_.performer);
}

std::optional<Notice> RemovePictureCommand::validate(const CatalogueSession& session) const {
    if (!session.HasSelectedAlbum() || !session.HasAlbumPicture())
        return Notice{NoticeId::NoPictureToRemove};
    return std::nullopt;
}

bool RemovePictureCommand::confirm(CatalogueSession& session, Feedback& feedback) {
    if (feedback.tell({NoticeId::ConfirmPictureRemoval}) != Yes) return false;
    target_ = {session.CurrentPerformer(), session.CurrentAlbum(), {}};
    return true;
}

void RemovePictureCommand::apply(const PerformerRepository& repository, FileSetChange& change) {
    change.remove(repository.path(StoreEntry::AlbumPicture, target_.performer, target_.album));
}

void RemovePictureCommand::succeeded(CatalogueSession& session, Feedback&) {
    session.HidePicture();
    session.ShowCaption(PictureCaption::Kind::Empty);
    session.NotifyChange(CatalogueChange::PerformerFiles, target_.performer);
}
