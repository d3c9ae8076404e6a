// Printing and export from the text pane's menu, as a user reaches them.
#include <QDialog>
#include <QMenu>
#include <QProcess>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include "app/Forms.h"
#include "mainwindow/MainForm.h"

#include "importwindows/ExportForm.h"
#include "tests/helpers/AppFixture.h"

namespace {

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished() && p.exitCode() == 0) << "pdftotext failed";
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

class PrintExportTest : public AppTest {
  protected:
    void SetUp() override {
        cat.write("Data/performers.lrx", W("Кино\r\n"));
        cat.addPerformer(W("Кино"), W("Ночь\r\n"),
                         W("Ночь##-**~\r\nМама\r\nЗвезда\r\nendalbum\r\n"),
                         W("Ночь ##-**~ Мама\r\nМама, мы все сошли с ума\r\nendsong\r\n"
                           "Ночь ##-**~ Звезда\r\nБелый снег\r\nendsong\r\n"));
        cat.write("Data/Settings.ini", "[font]\r\nname=DejaVu Serif\r\n");
        start();
    }
};

TEST_F(PrintExportTest, TheMenuEntriesFollowTheAppearanceCommandsAndWantAChoice) {
    QStringList entries;
    for (const QAction* a : MainForm->SongPopupMenu->actions()) entries << a->text();
    EXPECT_EQ(entries,
              (QStringList{U("Выбор шрифта"), "", U("Выбор цвета фона"), "", U("Выбор цвета формы"),
                           "", U("Печать песни…"), U("Печать альбома…"), U("Экспорт исполнителя…"),
                           "", U("Поиск по текстам…"), "", U("Отменить"), U("Повторить")}));
    for (QAction* a :
         {MainForm->PrintSongItem, MainForm->PrintAlbumItem, MainForm->ExportPerformerItem})
        a->trigger();
    EXPECT_EQ(messages(), (QStringList{U("Information|OK|Выберите песню."),
                                       U("Information|OK|Выберите альбом."),
                                       U("Information|OK|Выберите исполнителя.")}));
}

TEST_F(PrintExportTest, ASongAndItsAlbumPrintToPdf) {
    choosePerformer(U("Кино"));
    chooseAlbum(U("Ночь"));
    chooseSong(U("Мама"));
    modal.printToPdf(std::nullopt);  // cancelled: nothing printed
    MainForm->PrintSongItem->trigger();
    modal.printToPdf(cat.path("song.pdf"));
    MainForm->PrintSongItem->trigger();
    EXPECT_EQ(PdfText(cat.path("song.pdf")), U("Кино — Ночь Мама Мама, мы все сошли с ума 1"));
    modal.printToPdf(cat.path("album.pdf"));
    MainForm->PrintAlbumItem->trigger();
    EXPECT_EQ(PdfText(cat.path("album.pdf")),
              U("Кино Ночь 1 Содержание Мама 3 Звезда 4 2 Кино — Ночь Мама Мама, мы все сошли с "
                "ума 3 Кино — Ночь Звезда Белый снег 4"));
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(PrintExportTest, APdfThatCannotBeWrittenIsReportedAsNothingPrinted) {
    choosePerformer(U("Кино"));
    chooseAlbum(U("Ночь"));
    chooseSong(U("Мама"));
    // /proc takes no new file, not even from root, who writes into any folder whatever its
    // permissions; /dev/full refuses every byte, as a full disk does.
    for (const QString& pdf : {QStringLiteral("/proc/song.pdf"), QStringLiteral("/dev/full")}) {
        modal.printToPdf(pdf);
        MainForm->PrintSongItem->trigger();
        modal.printToPdf(pdf);
        MainForm->PrintAlbumItem->trigger();
        EXPECT_EQ(messages(), QStringList(2, U("Error|OK|Не удалось напечатать в файл «") + pdf +
                                                 U("»: ничего не напечатано.")));
    }
}

TEST_F(PrintExportTest, TheExportWindowWritesTheChosenFormatIntoTheChosenFolderOnce) {
    choosePerformer(U("Кино"));
    cat.mkdir("out");
    // The first time the folder dialog opens at home; a cancelled choice leaves the field.
    modal.chooseFolder({});
    modal.chooseFolder(cat.path("out"));
    modal.onDialog([&](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), U("Экспорт исполнителя"));
        EXPECT_EQ(ExportForm->PerformerLabel->text(), U("Исполнитель: Кино"));
        EXPECT_EQ(ItemTexts(ExportForm->FormatComboBox),
                  (QStringList{U("Текстовые файлы (.txt)"), U("OpenLyrics (.xml)"),
                               U("ChordPro (.cho)")}));
        ExportForm->ExportButton->click();  // no folder yet
        ExportForm->BrowseButton->click();
        ExportForm->BrowseButton->click();
        ExportForm->FormatComboBox->setCurrentIndex(2);
        ExportForm->ExportButton->click();
        EXPECT_FALSE(dialog->isVisible());
    });
    MainForm->ExportPerformerItem->trigger();
    // The next time it opens at the last export's folder; a second export there is refused.
    modal.chooseFolder({});
    modal.onDialog([&](QDialog* dialog) {
        ExportForm->BrowseButton->click();
        ExportForm->ExportButton->click();
        EXPECT_TRUE(dialog->isVisible());
        ExportForm->CancelButton->click();
    });
    MainForm->ExportPerformerItem->trigger();
    EXPECT_EQ(modal.folderStarts,
              (std::vector<QString>{QDir::homePath(), QDir::homePath(), cat.path("out")}));
    EXPECT_EQ(cat.read(U("out/Кино/Ночь/Звезда.cho")),
              U("{title: Звезда}\n{artist: Кино}\n{album: Ночь}\nБелый снег\n").toUtf8());
    EXPECT_EQ(messages(),
              (QStringList{
                  U("Information|OK|Укажите папку для экспорта."),
                  U("Information|OK|Исполнитель выгружен в папку ") + cat.path("out") + U("/Кино."),
                  U("Warning|OK|Папка ") + cat.path("out") +
                      U("/Кино уже существует.\rЭкспорт отменён, ничего не записано.")}));
}

}  // namespace
