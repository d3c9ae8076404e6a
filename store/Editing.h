#pragma once

#include <QByteArrayView>
#include <QString>

#include "store/Names.h"
#include "store/RecordFile.h"

// The file work of the editing dialogs and of performer deletion. Names are the stored
// Windows-1251 bytes. Every rewrite replaces its file as one step; every failure throws
// StoreError and leaves the file it was writing whole.

// True when a line holds CR, LF or Ctrl-Z: written to a line file it would not read back as
// one line (a Ctrl-Z at a line's start even ends the file for a reader).
bool HoldsLineBreak(const Lines& lines);

// True when one of the lines equals the end line of its block: stored inside a block it would
// end the block early when read back.
bool HoldsEndLine(const Lines& body, QByteArrayView endLine);

// Creates the performer folder of `name` with its picture folder and three empty files, then
// rewrites the performer list file from `performers` (the new name already in it). A failure
// takes away what was created and throws StoreError: the list never names a half-made folder.
// A folder of that name left over from an earlier run is no performer's: the list names it
// (its files are kept as they are) and the EEXIST failure is thrown. `listed` tells the caller
// whether the list file now names the performer. An unstorable name throws StoreNameError
// before anything is written.
void AddPerformer(const QString& startDir, const Lines& performers, QByteArrayView name,
                  bool* listed = nullptr);

// Rewrites the album list file from `albums` (the editor drops empty lines), then gives every
// album whose block header is no line of the song list file an empty song block at the end of
// that file (an album listed twice gets one block). Lines that HoldsLineBreak refuses throw
// StoreError before anything is written.
void SaveAlbumList(const QString& startDir, QByteArrayView performer, const Lines& albums);

// Removes the album's song blocks (the editors' way, RemoveBlocksSkippingNext) and writes the
// new block at the end of the song list file. A song equal to "endalbum", or one that
// HoldsLineBreak refuses, throws StoreError before anything is written.
void SaveSongList(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                  const Lines& songs);

// The same for the song's text block in the text file, with the end line "endsong".
void SaveSongText(const QString& startDir, QByteArrayView performer, QByteArrayView album,
                  QByteArrayView song, const Lines& text);

// Rewrites the performer list file from `remaining`, then deletes the performer folder: each
// entry of the picture folder that is a file, the picture folder, each entry of the performer
// folder that is a file, the performer folder. Nothing is removed recursively. Returns false
// when one of the two folders could not be removed (the sequence stops there). An unsafe name
// throws StoreNameError before anything is written.
bool DeletePerformer(const QString& startDir, const Lines& remaining, QByteArrayView performer);
