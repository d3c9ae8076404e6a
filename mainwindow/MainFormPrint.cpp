// Printing a song or an album, and the export of a performer (its own window): the entries of
// the text pane's menu below the appearance commands.
#include <QDialog>
#include <QMenu>
#include <QPrinter>

#include "mainwindow/MainForm.h"
#include "printing/SongPrint.h"
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

QImage Picture(const QByteArray& jpeg) {
    QString error;
    return jpeg.isEmpty() ? QImage() : DecodeJpeg(jpeg, &error);
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
    ExportPerformerItem = SongPopupMenu->addAction(QStringLiteral("Экспорт исполнителя…"));
    connect(PrintSongItem, &QAction::triggered, this, &TMainForm::PrintSongItemClick);
    connect(PrintAlbumItem, &QAction::triggered, this, &TMainForm::PrintAlbumItemClick);
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
        PrintedAlbum printed{cp1251::decode(session_.SelectedPerformer()),
                             cp1251::decode(session_.SelectedAlbum()),
                             Picture(session_.SelectedAlbumPicture()),
                             {}};
        for (const auto& song : session_.SelectedAlbumTexts())
            printed.songs.append(
                {printed.performer, printed.album, cp1251::decode(song.name), Decoded(song.text)});
        QPrinter printer(QPrinter::HighResolution);
        SetUpPrinter(printer, printed.album);
        if (!Modal().print(this, printer)) return;
        if (!PrintAlbum(printer, printed, FontFace(session_))) ReportNothingPrinted(this, printer);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::ExportPerformerItemClick() {
    if (!session_.HasSelectedPerformer()) {
        Inform(this, QStringLiteral("Выберите исполнителя."));
        return;
    }
    Modal().exec(dialogs_.ExportForm);
}
