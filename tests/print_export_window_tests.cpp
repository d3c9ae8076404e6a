// Printing and export from the text pane's menu, as a user reaches them.
#include <QCheckBox>
#include <QDialog>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>

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
                           "", U("Печать песни…"), U("Печать альбома…"), U("Печать исполнителя…"),
                           U("Экспорт исполнителя…"), "", U("Поиск по текстам…"), "", U("Отменить"),
                           U("Повторить")}));
    for (QAction* a : {MainForm->PrintSongItem, MainForm->PrintAlbumItem,
                       MainForm->PrintPerformerItem, MainForm->ExportPerformerItem})
        a->trigger();
    EXPECT_EQ(messages(), (QStringList{U("Information|OK|Выберите песню."),
                                       U("Information|OK|Выберите альбом."),
                                       U("Information|OK|Выберите исполнителя."),
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
              U("Содержание Ночь 2 Мама 2 Звезда 2 1 Кино Ночь Мама Мама, мы все сошли с ума "
                "Звезда Белый снег 2 Указатель по первым строкам Белый снег — Звезда 2 Мама, мы "
                "все сошли с ума — Мама 2 3"));
    EXPECT_EQ(messages(), QStringList());
}

// What the user sees on the print dialog's tab "Сборник", and what the user does there.
QString Shown(QWidget* tab) {
    QStringList shown{tab->windowTitle()};
    for (const QSpinBox* box : tab->findChildren<QSpinBox*>())
        shown << box->accessibleName() + u'=' + QString::number(box->value());
    for (const QCheckBox* box : tab->findChildren<QCheckBox*>())
        shown << box->accessibleName() + u'=' + (box->isChecked() ? u'1' : u'0');
    return shown.join(u'|');
}

std::function<void(QWidget*)> Choose(QString* shown, int columns, bool contents) {
    return [=](QWidget* tab) {
        *shown = Shown(tab);
        for (QSpinBox* box : tab->findChildren<QSpinBox*>())
            if (box->accessibleName() == U("Колонки")) box->setValue(columns);
        for (QCheckBox* box : tab->findChildren<QCheckBox*>())
            if (box->accessibleName() == U("Содержание")) box->setChecked(contents);
    };
}

TEST_F(PrintExportTest, APerformerPrintsAsOneBookWithTheOptionsChosenForTheRun) {
    choosePerformer(U("Кино"));
    QString first, cancelled, kept;
    modal.printToPdf(cat.path("book.pdf"), Choose(&first, 2, false));
    MainForm->PrintPerformerItem->trigger();
    modal.printToPdf(std::nullopt, Choose(&cancelled, 1, true));
    MainForm->PrintPerformerItem->trigger();
    modal.printToPdf(std::nullopt, Choose(&kept, 1, true));
    MainForm->PrintPerformerItem->trigger();
    EXPECT_EQ(first, U("Сборник|Колонки=1|Размер шрифта=10|Содержание=1|Указатель по первым "
                       "строкам=1|Рисунки альбомов=1"));
    EXPECT_EQ(cancelled, U("Сборник|Колонки=2|Размер шрифта=10|Содержание=0|Указатель по "
                           "первым строкам=1|Рисунки альбомов=1"));
    EXPECT_EQ(kept, cancelled);
    EXPECT_EQ(PdfText(cat.path("book.pdf")),
              U("Кино Ночь Мама Мама, мы все сошли с ума Звезда Белый снег 1 Указатель по первым "
                "строкам Белый снег — Звезда 1 Мама, мы все сошли с ума — Мама 1 2"));
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
