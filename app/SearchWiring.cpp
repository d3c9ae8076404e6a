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
    QObject::connect(
        Session, &CatalogueSession::catalogueChanged, &index,
        [&index](CatalogueChange what, const QByteArray& performer, const QByteArray& oldName) {
            switch (what) {
                case CatalogueChange::PerformerFiles:
                case CatalogueChange::PerformerAdded:
                case CatalogueChange::Reloaded:
                    index.updatePerformer(performer);
                    break;
                case CatalogueChange::PerformerRenamed:
                    index.renamePerformer(oldName, performer);
                    break;
                case CatalogueChange::PerformerDeleted:
                    index.dropPerformer(performer);
                    break;
            }
        });
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
