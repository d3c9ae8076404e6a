// The main window's album-picture commands: attach, remove, the large window, the viewer.
#include <QDesktopServices>
#include <QUrl>

#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "session/CatalogueSession.h"
#include "session/PictureCommands.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/Modal.h"
#include "support/PictureImport.h"

namespace {

OpenFileRequest pictureFileRequest(const CatalogueSession& session) {
    return {QStringLiteral("Открытие рисунка: ") + cp1251::decode(session.CurrentPerformer()) +
                QStringLiteral(" - ") + cp1251::decode(session.CurrentAlbum()),
            {QStringLiteral("Все поддерживаемые форматы (*.jpg *.jpeg *.bmp)"),
             QStringLiteral("Картинки  *.jpg, *.jpeg (*.jpg *.jpeg)"),
             QStringLiteral("Картинки  *.bmp (*.bmp)")}};
}

// The chosen picture shows in the main window and goes to the chosen album.
class AlbumPictureDestination : public PictureDestination {
  public:
    AlbumPictureDestination(TMainForm& form, CatalogueSession& session)
        : form_(form), session_(session) {}
    void show(const QImage& picture) override { form_.ShowPicture(picture); }
    bool canStore() override { return session_.CanStoreAlbumPicture(); }
    void warnCannotStore() override {
        ShowMessage(&form_, MsgKind::Warning,
                    QStringLiteral("Не удаётся сохранить картинку. Скорее всего вы использовали\r"
                                   "неразрешённые символы в имени альбома: \" * / : < > ? \\ |."));
    }
    void store(const QByteArray& jpeg) override {
        AttachPictureCommand command({session_.CurrentPerformer(), session_.CurrentAlbum(), {}},
                                     jpeg);
        WidgetFeedback feedback(&form_);
        session_.execute(command, feedback);
    }

  private:
    TMainForm& form_;
    CatalogueSession& session_;
};

}  // namespace

void TMainForm::AddImage() {
    if (!HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    const QString chosen = Modal().openFile(this, pictureFileRequest(session_));
    if (chosen.isEmpty()) return;
    if (session_.HasAlbumPicture() &&
        Inform(this, QStringLiteral("Для этого альбома уже есть картинка. Заменить?"),
               Ok | Cancel) != Ok)
        return;
    try {
        AlbumPictureDestination destination(*this, session_);
        ImportAlbumPicture(chosen, destination);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::DelImageSpeedButtonClick() {
    RemovePictureCommand command;
    runCommand(command);
}

void TMainForm::N1Click() {
    emit largePictureRequested(Image->picture());
}

void TMainForm::N7Click() {
    const QString path = session_.AlbumPictureFile();
    if (!path.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
