#pragma once

#include <QString>
#include <optional>

#include "store/FileSetChange.h"

// A change played again from its journal: back, so that every file it touched holds its bytes
// from before and its folders are as they were, or forward, to the bytes it left.
enum class Replay { Back, Forward };

// The first file of the journal that no longer holds what the change left there (Back) or
// found there (Forward): someone else has changed it since. None when every file is as the
// journal says. Throws StoreError when a file cannot be read.
std::optional<QString> FirstFileChangedSince(const ChangeJournal& journal, Replay direction);

// Writes the journal's files back (or forward) as steps of `change`: the folders the change
// removed (made) come back first, then every file takes its bytes, and the folders the change
// made (removed) go last. The change commits or undoes it as a whole.
void ReplayJournal(FileSetChange& change, const ChangeJournal& journal, Replay direction);
