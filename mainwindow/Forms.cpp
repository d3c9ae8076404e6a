#include "mainwindow/Forms.h"

#include "mainwindow/MainForm.h"

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
    MainForm = new TMainForm;
}

void DestroyForms() {
    destroy(MainForm);
}
