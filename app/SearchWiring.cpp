#include "app/SearchWiring.h"

#include <QAction>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"
#include "searchwindow/SearchForm.h"

TSearchForm* SearchForm = nullptr;

void CreateSearchWindow() {
    SearchForm = new TSearchForm;
    SearchForm->OpenCatalogue(MainForm->StartDir);
    QObject::connect(MainForm->SearchAction, &QAction::triggered, SearchForm, &TSearchForm::Open);
    QObject::connect(SearchForm, &TSearchForm::SongChosen, MainForm, &TMainForm::ShowFoundSong);
}

void DestroySearchWindow() {
    delete SearchForm;
    SearchForm = nullptr;
}
