// Printing a song or an album, and exporting a performer as a folder of text files: the
// entries of the text pane's menu below the appearance commands.
#include <QDialog>
#include <QMenu>
#include <QPrinter>

#include "import/PerformerExport.h"
#include "mainwindow/JpegDecoder.h"
#include "mainwindow/MainForm.h"
#include "printing/SongPrint.h"
#include "store/AppearanceSettings.h"
#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "support/FolderBrowseDialog.h"
#include "support/Modal.h"

namespace {

QStringList Decoded(const Lines& lines) {
    QStringList text;
    for (const Line& line : lines) text.append(cp1251::decode(line));
    return text;
}

QString FontFace(const QString& startDir) {
    return cp1251::decode(ReadAppearance(startDir).fontName);
}

QImage AlbumPicture(const QString& startDir, QByteArrayView performer, QByteArrayView album) {
    if (!HasAlbumPicture(startDir, performer, album)) return QImage();
    QString error;
    return DecodeJpeg(fileio::readAll(AlbumPicturePath(startDir, performer, album)), &error);
}

}  // namespace

void TMainForm::AddPrintAndExportItems() {
    SongPopupMenu->addSeparator();
    PrintSongItem = SongPopupMenu->addAction(QStringLiteral("Печать песни…"));
    PrintAlbumItem = SongPopupMenu->addAction(QStringLiteral("Печать альбома…"));
    ExportPerformerItem = SongPopupMenu->addAction(QStringLiteral("Экспорт исполнителя в папку…"));
    connect(PrintSongItem, &QAction::triggered, this, &TMainForm::PrintSongItemClick);
    connect(PrintAlbumItem, &QAction::triggered, this, &TMainForm::PrintAlbumItemClick);
    connect(ExportPerformerItem, &QAction::triggered, this, &TMainForm::ExportPerformerItemClick);

    ExportFolderDialog = new TFolderBrowseDialog(this);
    ExportFolderDialog->SetFlags(TFolderBrowseDialog::ShowPath);
    ExportFolderDialog->SetNewFolderVisible(true);
    ExportFolderDialog->SetNewFolderEnabled(true);
}

void TMainForm::PrintSongItemClick() {
    if (!HasSelectedSong()) {
        Inform(this, QStringLiteral("Выберите песню."));
        return;
    }
    try {
        const QByteArray performer = SelectedPerformer(), album = SelectedAlbum();
        const QByteArray song = SelectedSong();
        const PrintedSong printed{cp1251::decode(performer), cp1251::decode(album),
                                  cp1251::decode(song),
                                  Decoded(LoadSongText(StartDir, performer, album, song))};
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, printed.name);
        if (!Modal().print(this, printer)) return;
        PrintSong(printer, printed, FontFace(StartDir));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::PrintAlbumItemClick() {
    if (!HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    try {
        const QByteArray performer = SelectedPerformer(), album = SelectedAlbum();
        PrintedAlbum printed{cp1251::decode(performer),
                             cp1251::decode(album),
                             AlbumPicture(StartDir, performer, album),
                             {}};
        const RecordLines texts =
            ReadRecordFile(PerformerStorePath(StartDir, StoreEntry::TextFile, performer));
        for (const Line& song : LoadSongList(StartDir, performer, album))
            printed.songs.append(
                {printed.performer, printed.album, cp1251::decode(song),
                 Decoded(CollectBlockBodies(texts, TextBlockHeader(album, song), kTextBlockEnd))});
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, printed.album);
        if (!Modal().print(this, printer)) return;
        PrintAlbum(printer, printed, FontFace(StartDir));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::ExportPerformerItemClick() {
    if (!HasSelectedPerformer()) {
        Inform(this, QStringLiteral("Выберите исполнителя."));
        return;
    }
    if (!ExportFolderDialog->Execute()) return;
    try {
        const ExportOutcome outcome =
            ExportPerformer(StartDir, SelectedPerformer(), ExportFolderDialog->Folder());
        Inform(this, ExportReport(outcome));
    } catch (const ExportRefused& e) {
        ShowMessage(this, MsgKind::Warning, e.message());
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}
