#pragma once

// The lyrics search window, the fourteenth, created after the program's thirteen and
// connected to the main window.
class TSearchForm;
extern TSearchForm* SearchForm;

void CreateSearchWindow();
void DestroySearchWindow();
