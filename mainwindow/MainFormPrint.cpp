// Printing a song, an album or a performer, and the export of a performer (its own
// window): the entries of the text pane's menu below the appearance commands.
#include <QDialog>
#include <QMenu>
#include <QPrinter>

#include "mainwindow/MainForm.h"
#include "mainwindow/SongbookOptionsTab.h"
#include "printing/SongPrint.h"
#include "printing/Songbook.h"
#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/Form.h"
#include "support/JpegDecoder.h"
#include "support/Modal.h"

namespace {

QStringList Decoded(const Lines& lines) {
    QStringList text;
    for (const Line& line : lines) text.append(cp1251::decode(line));
    return text;
}

QString FontFace(const CatalogueSession& session) {
    return cp1251::decode(Form::CurrentAppearance(session).fontName);
}

// An album picture prints at most 10 cm wide, where 1200 pixels give 300 dpi; a performer's
// book keeps that much of each picture in memory rather than the whole photograph.
QImage Picture(const QByteArray& jpeg) {
    constexpr int kPrinted = 1200;
    QString error;
    const QImage picture = jpeg.isEmpty() ? QImage() : DecodeJpeg(jpeg, &error);
    if (picture.width() <= kPrinted && picture.height() <= kPrinted) return picture;
    return picture.scaled(kPrinted, kPrinted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// An album of the book: its songs (the session's songs with their texts) decoded.
template <typename Songs>
PrintedAlbum Album(const QString& performer, const QByteArray& album, const QByteArray& jpeg,
                   const Songs& songs) {
    PrintedAlbum printed{performer, cp1251::decode(album), Picture(jpeg), {}};
    for (const auto& song : songs)
        printed.songs.append(
            {performer, printed.album, cp1251::decode(song.name), Decoded(song.text)});
    return printed;
}

// Shown when the printer or the PDF file took nothing (a folder without write permission, a
// full disk): the user learns where the print should have gone.
void ReportNothingPrinted(QWidget* parent, const QPrinter& printer) {
    const QString target = printer.outputFileName().isEmpty()
                               ? QStringLiteral("на принтере «") + printer.printerName()
                               : QStringLiteral("в файл «") + printer.outputFileName();
    ShowMessage(parent, MsgKind::Error,
                QStringLiteral("Не удалось напечатать ") + target +
                    QStringLiteral("»: ничего не напечатано."));
}

}  // namespace

void TMainForm::AddPrintAndExportItems() {
    SongPopupMenu->addSeparator();
    PrintSongItem = SongPopupMenu->addAction(QStringLiteral("Печать песни…"));
    PrintAlbumItem = SongPopupMenu->addAction(QStringLiteral("Печать альбома…"));
    PrintPerformerItem = SongPopupMenu->addAction(QStringLiteral("Печать исполнителя…"));
    ExportPerformerItem = SongPopupMenu->addAction(QStringLiteral("Экспорт исполнителя…"));
    connect(PrintSongItem, &QAction::triggered, this, &TMainForm::PrintSongItemClick);
    connect(PrintAlbumItem, &QAction::triggered, this, &TMainForm::PrintAlbumItemClick);
    connect(PrintPerformerItem, &QAction::triggered, this, &TMainForm::PrintPerformerItemClick);
    connect(ExportPerformerItem, &QAction::triggered, this, &TMainForm::ExportPerformerItemClick);
}

void TMainForm::PrintSongItemClick() {
    if (!session_.HasSelectedSong()) {
        Inform(this, QStringLiteral("Выберите песню."));
        return;
    }
    try {
        const PrintedSong printed{
            cp1251::decode(session_.SelectedPerformer()), cp1251::decode(session_.SelectedAlbum()),
            cp1251::decode(session_.SelectedSong()), Decoded(session_.SelectedSongText())};
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, printed.name);
        if (!Modal().print(this, printer)) return;
        if (!PrintSong(printer, printed, FontFace(session_))) ReportNothingPrinted(this, printer);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::PrintAlbumItemClick() {
    if (!session_.HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    try {
        const PrintedAlbum album =
            Album(cp1251::decode(session_.SelectedPerformer()), session_.SelectedAlbum(),
                  session_.SelectedAlbumPicture(), session_.SelectedAlbumTexts());
        printSongbook({{album}}, album.album);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::PrintPerformerItemClick() {
    if (!session_.HasSelectedPerformer()) {
        Inform(this, QStringLiteral("Выберите исполнителя."));
        return;
    }
    try {
        const QString performer = cp1251::decode(session_.SelectedPerformer());
        PrintedBook book;
        for (const CatalogueAlbum& album : session_.SelectedPerformerAlbums())
            book.albums.append(Album(performer, album.name,
                                     session_.PerformerAlbumPicture(album.name), album.songs));
        printSongbook(book, performer);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::printSongbook(const PrintedBook& book, const QString& documentName) {
    if (!songbookOptions_) {
        songbookOptions_ = std::make_shared<SongbookOptions>();
        songbookOptions_->fontPt = SongbookFontSize(Form::CurrentAppearance(session_).fontSize);
    }
    SongbookOptions chosen = *songbookOptions_;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, documentName);
    if (!Modal().print(this, printer, new SongbookOptionsTab(chosen))) return;
    *songbookOptions_ = chosen;
    if (!PrintSongbook(printer, book, FontFace(session_), chosen))
        ReportNothingPrinted(this, printer);
}

void TMainForm::ExportPerformerItemClick() {
    if (!session_.HasSelectedPerformer()) {
        Inform(this, QStringLiteral("Выберите исполнителя."));
        return;
    }
    Modal().exec(dialogs_.ExportForm);
}
