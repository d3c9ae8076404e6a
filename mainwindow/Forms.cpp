#include "mainwindow/Forms.h"

#include <QApplication>
#include <QIcon>

#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongNameEditForm.h"
#include "dialogs/SongsForm.h"
#include "import/AddPerfBaseForm.h"
#include "import/ScanerForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "support/HelpForm.h"

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

namespace {
template <typename T>
void destroy(T*& form) {
    delete form;
    form = nullptr;
}
}  // namespace

void CreateForms() {
    Q_INIT_RESOURCE(cantoria);
    MainForm = new TMainForm;
    AvtorForm = new TAvtorForm;
    AlbumsForm = new TAlbumsForm;
    SongForm = new TSongForm;
    SongsForm = new TSongsForm;
    HelpForm = new THelpForm;
    ImageForm = new TImageForm;
    AlbNameEditForm = new TAlbNameEditForm;
    PerfNameEditForm = new TPerfNameEditForm;
    SongNameEditForm = new TSongNameEditForm;
    ScanerForm = new TScanerForm;
    AddPerfSelectForm = new TAddPerfSelectForm;
    AddPerfBaseForm = new TAddPerfBaseForm;
}

void StartProgram() {
    QApplication::setApplicationName(QStringLiteral("Cantoria"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cantoria"));
    QApplication::setOrganizationName(QStringLiteral("Cantoria"));
    CreateForms();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cantoria.svg")));
    MainForm->show();
    MainForm->activateWindow();
}

void DestroyForms() {
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
}
