#pragma once

// The lyrics search: the catalogue's index, kept in step with the session's changes, and the
// search window, created after the program's other windows and connected to the main window.
class SearchService;
class TSearchForm;
extern SearchService* SearchIndexService;
extern TSearchForm* SearchForm;

void CreateSearchWindow();
void DestroySearchWindow();
