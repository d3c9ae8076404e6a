#include "app/Forms.h"

#include "app/FontConfiguration.h"

#include <QApplication>
#include <QIcon>
#include <memory>

#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongNameEditForm.h"
#include "dialogs/SongsForm.h"
#include "importwindows/AddPerfBaseForm.h"
#include "importwindows/ExportForm.h"
#include "importwindows/ScanerForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "session/CatalogueSession.h"
#include "store/CatalogueWatcher.h"
#include "support/HelpForm.h"
#include "support/QtRussian.h"

CatalogueSession* Session = nullptr;
TMainForm* MainForm = nullptr;
TAvtorForm* AvtorForm = nullptr;
TAlbumsForm* AlbumsForm = nullptr;
TSongForm* SongForm = nullptr;
TSongsForm* SongsForm = nullptr;
THelpForm* HelpForm = nullptr;
TImageForm* ImageForm = nullptr;
TAlbNameEditForm* AlbNameEditForm = nullptr;
TPerfNameEditForm* PerfNameEditForm = nullptr;
TSongNameEditForm* SongNameEditForm = nullptr;
TScanerForm* ScanerForm = nullptr;
TAddPerfSelectForm* AddPerfSelectForm = nullptr;
TAddPerfBaseForm* AddPerfBaseForm = nullptr;
TExportForm* ExportForm = nullptr;

namespace {

EditorBuffers* Buffers = nullptr;
CatalogueWatcher* Watcher = nullptr;

template <typename T>
void destroy(T*& object) {
    delete object;
    object = nullptr;
}

// The windows that open others get them once all exist; the large picture window follows
// the main window's picture.
void wireForms() {
    MainForm->SetDialogs({HelpForm, AddPerfSelectForm, PerfNameEditForm, AlbumsForm,
                          AlbNameEditForm, SongsForm, SongNameEditForm, SongForm, ScanerForm,
                          ExportForm});
    AddPerfSelectForm->SetNextDialogs(AddPerfBaseForm, AvtorForm);
    QObject::connect(MainForm, &TMainForm::pictureShown, ImageForm, &TImageForm::TakePicture);
    QObject::connect(MainForm, &TMainForm::largePictureRequested, ImageForm,
                     &TImageForm::ShowLarge);
}

// What others change in the files shown reaches the windows: the watch follows the chosen
// performer, and the main window has the session look when the changes have settled.
void watchCatalogue() {
    Watcher = new CatalogueWatcher(Session->StartDir());
    const auto follow = [] {
        Watcher->watchPerformer(Session->HasSelectedPerformer() ? Session->CurrentPerformer()
                                                                : QByteArray());
    };
    QObject::connect(Session, &CatalogueSession::albumsChanged, Watcher, follow);
    QObject::connect(Session, &CatalogueSession::selectionChanged, Watcher, follow);
    QObject::connect(Watcher, &CatalogueWatcher::changed, MainForm,
                     &TMainForm::OutsideChangesSettled);
}

// The session and the main window, which loads the performer list.
void createMainWindow() {
    Session = new CatalogueSession;
    Buffers = new EditorBuffers;
    MainForm = new TMainForm(*Session, *Buffers);
}

void createOtherWindows(Watch watch) {
    AvtorForm = new TAvtorForm(*Session);
    AlbumsForm = new TAlbumsForm(*Session, Buffers->albumList);
    SongForm = new TSongForm(*Session, Buffers->songText);
    SongsForm = new TSongsForm(*Session, Buffers->songList);
    HelpForm = new THelpForm(*Session);
    ImageForm = new TImageForm(*Session);
    AlbNameEditForm = new TAlbNameEditForm(*Session);
    PerfNameEditForm = new TPerfNameEditForm(*Session);
    SongNameEditForm = new TSongNameEditForm(*Session);
    ScanerForm = new TScanerForm(*Session);
    AddPerfSelectForm = new TAddPerfSelectForm(*Session);
    AddPerfBaseForm = new TAddPerfBaseForm(*Session);
    ExportForm = new TExportForm(*Session);
    wireForms();
    if (watch == Watch::Files) watchCatalogue();
}

// Holds back the main window's activation until the other windows exist: the first-run
// check that the activation makes opens the help window.
class ActivationHold : public QObject {
  public:
    explicit ActivationHold(QWidget* window) : window_(window) { window->installEventFilter(this); }
    void release() {
        window_->removeEventFilter(this);
        if (!held_) return;
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window_, &activate);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::WindowActivate) return false;
        held_ = true;
        return true;
    }

  private:
    QWidget* window_;
    bool held_ = false;
};

std::unique_ptr<ActivationHold> HeldActivation;

}  // namespace

void CreateForms(Watch watch) {
    Q_INIT_RESOURCE(cantoria);
    createMainWindow();
    createOtherWindows(watch);
}

void ShowMainWindow(FontConfigurationLoader* fonts) {
    QApplication::setApplicationName(QStringLiteral("Cantoria"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cantoria"));
    QApplication::setOrganizationName(QStringLiteral("Cantoria"));
    InstallQtRussian(*QApplication::instance());
    Q_INIT_RESOURCE(cantoria);
    // The first SVG icon loads Qt's SVG icon engine, which the main window's buttons use too.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cantoria.svg")));
    if (fonts) fonts->wait();
    createMainWindow();
    HeldActivation = std::make_unique<ActivationHold>(MainForm);
    MainForm->show();
    MainForm->activateWindow();
    // The window paints now, where the window system has shown it already; no input is taken
    // before the other windows exist.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CompleteStart(Watch watch) {
    createOtherWindows(watch);
    HeldActivation->release();
    HeldActivation.reset();
}

void StartProgram(Watch watch, FontConfigurationLoader* fonts) {
    ShowMainWindow(fonts);
    CompleteStart(watch);
}

void DestroyForms() {
    destroy(Watcher);
    destroy(ExportForm);
    destroy(AddPerfBaseForm);
    destroy(AddPerfSelectForm);
    destroy(ScanerForm);
    destroy(SongNameEditForm);
    destroy(PerfNameEditForm);
    destroy(AlbNameEditForm);
    destroy(ImageForm);
    destroy(HelpForm);
    destroy(SongsForm);
    destroy(SongForm);
    destroy(AlbumsForm);
    destroy(AvtorForm);
    destroy(MainForm);
    destroy(Buffers);
    destroy(Session);
}
