#include "app/SearchWiring.h"

#include <QAction>

#include "app/Forms.h"
#include "mainwindow/MainForm.h"
#include "search/SearchService.h"
#include "searchwindow/SearchForm.h"
#include "session/CatalogueSession.h"

SearchService* SearchIndexService = nullptr;
TSearchForm* SearchForm = nullptr;

namespace {

// The index follows every change of the catalogue as the session reports it, and nothing
// else: a command, an undo or a redo (Reloaded, also for a performer that went or came back).
void followCatalogue(SearchService& index) {
    QObject::connect(
        Session, &CatalogueSession::catalogueChanged, &index,
        [&index](CatalogueChange what, const QByteArray& performer, const QByteArray& oldName) {
            if (performer.isEmpty()) return;  // read again with nothing chosen
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
    SearchIndexService = new SearchService;
    SearchIndexService->open(Session->StartDir());
    followCatalogue(*SearchIndexService);
    SearchForm = new TSearchForm(*Session, *SearchIndexService);
    QObject::connect(MainForm->SearchAction, &QAction::triggered, SearchForm, &TSearchForm::Open);
    QObject::connect(SearchForm, &TSearchForm::SongChosen, MainForm, &TMainForm::ShowFoundSong);
}

void DestroySearchWindow() {
    delete SearchForm;
    SearchForm = nullptr;
    delete SearchIndexService;
    SearchIndexService = nullptr;
}
