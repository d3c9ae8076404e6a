#pragma once

// The program's catalogue session and its windows, one global instance each, created at
// start-up in this order (the session, then the main window first) and living for the whole
// run. Only the composition root knows them all: the windows know the session and the windows
// they open, nothing else.
class CatalogueSession;
struct EditorBuffers;
class TMainForm;
class TAvtorForm;
class TAlbumsForm;
class TSongForm;
class TSongsForm;
class THelpForm;
class TImageForm;
class TAlbNameEditForm;
class TPerfNameEditForm;
class TSongNameEditForm;
class TScanerForm;
class TAddPerfSelectForm;
class TAddPerfBaseForm;
class TExportForm;
class FontConfigurationLoader;

extern CatalogueSession* Session;
extern TMainForm* MainForm;
extern TAvtorForm* AvtorForm;
extern TAlbumsForm* AlbumsForm;
extern TSongForm* SongForm;
extern TSongsForm* SongsForm;
extern THelpForm* HelpForm;
extern TImageForm* ImageForm;
extern TAlbNameEditForm* AlbNameEditForm;
extern TPerfNameEditForm* PerfNameEditForm;
extern TSongNameEditForm* SongNameEditForm;
extern TScanerForm* ScanerForm;
extern TAddPerfSelectForm* AddPerfSelectForm;
extern TAddPerfBaseForm* AddPerfBaseForm;
extern TExportForm* ExportForm;

// Whether the files shown are watched for what others change in them (always, but for the
// measure of what the watch costs).
enum class Watch { Files, Nothing };

// Creates the session in the current working directory (StartDir) and the windows in their
// order; the main window's creation loads the performer list.
void CreateForms(Watch watch = Watch::Files);
// The program's start: its names, translation and icon, the windows created, the main window
// shown. What lays out no text comes first, while `fonts` (when given) is still loading; the
// windows wait for it. The main window shows first; the other windows are made right after
// it has shown, before the program takes any input, and its activation waits for them.
void StartProgram(Watch watch = Watch::Files, FontConfigurationLoader* fonts = nullptr);
// The two halves of StartProgram.
void ShowMainWindow(FontConfigurationLoader* fonts);
void CompleteStart(Watch watch);
// Destroys them again (the end of the run, and between tests).
void DestroyForms();
