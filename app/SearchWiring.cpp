#include "app/SearchWiring.h"

#include <QAction>

#include "app/Forms.h"
#include "mainwindow/MainForm.h"
#include "searchwindow/SearchForm.h"
#include "session/CatalogueSession.h"

TSearchForm* SearchForm = nullptr;

namespace {

// The index follows every command that changes the catalogue, as the session reports it.
void followCatalogue(SearchService& index) {
    QObject::connect(Session, &CatalogueSession::performerFilesChanged, &index,
                     [&index](const QByteArray& performer) { index.updatePerformer(performer); });
    QObject::connect(Session, &CatalogueSession::performerRenamed, &index,
                     [&index](const QByteArray& oldName, const QByteArray& newName) {
                         index.renamePerformer(oldName, newName);
                     });
    QObject::connect(Session, &CatalogueSession::performerDeleted, &index,
                     [&index](const QByteArray& performer) { index.dropPerformer(performer); });
}

}  // namespace

void CreateSearchWindow() {
    SearchForm = new TSearchForm(*Session);
    SearchForm->OpenCatalogue(Session->StartDir());
    followCatalogue(SearchForm->Index());
    QObject::connect(MainForm->SearchAction, &QAction::triggered, SearchForm, &TSearchForm::Open);
    QObject::connect(SearchForm, &TSearchForm::SongChosen, MainForm, &TMainForm::ShowFoundSong);
}

void DestroySearchWindow() {
    delete SearchForm;
    SearchForm = nullptr;
}
