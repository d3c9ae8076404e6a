// Importing a performer from another copy's data folder: through the window as a user does it,
// and the file work underneath, checked byte for byte.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>
#include <cerrno>
#include <functional>

#include "app/Forms.h"
#include "dialogs/AvtorForm.h"
#include "import/BaseImport.h"
#include "importwindows/AddPerfBaseForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/StoreError.h"
#include "support/FolderBrowseDialog.h"
#include "tests/helpers/AppFixture.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

const QByteArray kAlbums = W("Первый\r\nВторой\r\n");
const QByteArray kSongs = W("Первый##-**~\r\nПесня\r\nendalbum\r\n") + "\x1a";
const QByteArray kTexts = W("Первый ##-**~ Песня\r\nСлова\xff\r\nendsong\r\n");
const QByteArray kPicture("\xff\xd8\xff\xe0 jpeg bytes \x00\x01", 18);

const char kNoBase[] = "Information|OK|Выбранный каталог не содержит баз для программы.";
const char kReplace[] =
    "Information|OK,Cancel|Такой исполнитель уже существует. Хотите заменить новыми "
    "данными?\rОткатить изменения будет невозможно!";
const char kCopyFailed[] =
    "Error|OK|Возникли ошибки при добавлении автора из базы. Возможно не все данные были "
    "перенесены.";

// Another copy of the catalogue holding the performer Artist with three pictures and a file
// that is no picture.
void layOutBase(const TempCatalogue& other, const QString& folder = QStringLiteral("Artist")) {
    const QString images = "Data/" + folder + "/Image/";
    other.write("Data/" + folder + "/Albums.lrx", kAlbums);
    other.write("Data/" + folder + "/Songs.lrx", kSongs);
    other.write("Data/" + folder + "/Texts.lrx", kTexts);
    other.write(images + U("Первый.jpg"), kPicture);
    other.write(images + "Second.JPG", kPicture + "2");
    other.write(images + ".hidden.jpg", "h");
    other.write(images + "cover.png", "png");
}

void expectCopied(const TempCatalogue& cat, const QString& performer) {
    const QString folder = "Data/" + performer + "/";
    EXPECT_EQ(cat.read(folder + "Albums.lrx"), kAlbums);
    EXPECT_EQ(cat.read(folder + "Songs.lrx"), kSongs);
    EXPECT_EQ(cat.read(folder + "Texts.lrx"), kTexts);
    EXPECT_EQ(cat.read(folder + U("Image/Первый.jpg")), kPicture);
    EXPECT_EQ(cat.read(folder + "Image/Second.JPG"), kPicture + "2");
    EXPECT_EQ(cat.read(folder + "Image/.hidden.jpg"), "h");
    EXPECT_FALSE(cat.exists(folder + "Image/cover.png"));
}

// The import as one change, committed; a failure undoes it.
void Import(const TempCatalogue& cat, const QString& base, const Lines& performers,
            QByteArrayView performer, BaseImportProgress& progress) {
    FileSetChange change;
    ImportPerformerBase(change, cat.startDir(), base, performers, performer, progress);
    change.commit();
}

// Runs the import with each of its calls failing in turn, once: until the performer list is
// written, every failure leaves the catalogue as it was. Ends after the clean run.
void importFailingEachCallOnce(const TempCatalogue& cat,
                               const std::function<void(BaseImportProgress&)>& import) {
    const auto before = cat.snapshot();
    for (long n = 1;; ++n) {
        fileio::failAt(n, ENOSPC, fileio::FaultMode::Once);
        BaseImportProgress progress;
        try {
            import(progress);
        } catch (const StoreError&) {
        }
        // Once the list is written the import is whole; only reading it back is left (the
        // flush of the folder after the list's rename is outlived).
        if (fileio::faultsInjected() == 0 || progress.stage == BaseImportProgress::Stage::Done)
            break;
        fileio::clearFaults();
        EXPECT_EQ(cat.snapshot(), before) << "call " << n;
    }
    fileio::clearFaults();
}

// The window as the choice dialog shows it, in a running program.
class ImportWindow : public AppTest {
  protected:
    void SetUp() override {
        start();
        form = AddPerfBaseForm;
    }

    // Shows the window, types the base folder, presses "Добавить"; true when it closed.
    bool importFrom(const QString& base) {
        bool closed = false;
        modal.onDialog([&](QDialog*) {
            form->Edit1->setText(base);
            form->Button2->click();
            closed = !form->isVisible();
        });
        Modal().exec(form);
        return closed;
    }

    TempCatalogue other;
    TAddPerfBaseForm* form = nullptr;
};

}  // namespace

TEST_F(ImportWindow, ControlsAndCaptions) {
    EXPECT_EQ(form->windowTitle(), U("Добавить исполнителя из базы"));
    EXPECT_EQ(form->size(), QSize(346, 116));
    EXPECT_EQ(form->Label1->text(), U("Выберите папку с базой исполнителя:"));
    EXPECT_EQ(form->Button1->text(), U("Обзор"));
    EXPECT_EQ(form->Button2->text(), U("Добавить"));
    EXPECT_EQ(form->Button3->text(), U("Отмена"));
    TFolderBrowseDialog* picker = form->FolderBrowseDialog1;
    EXPECT_EQ(picker->Flags(), TFolderBrowseDialog::ShowPath);
    EXPECT_FALSE(picker->NewFolderVisible());
    EXPECT_FALSE(picker->NewFolderEnabled());
    EXPECT_EQ(picker->LabelCaptions().first(), U("Default=Текущий каталог:"));
    EXPECT_EQ(picker->LabelCaptions().mid(1), TFolderBrowseDialog::DefaultLabelCaptions().mid(1));
}

TEST_F(ImportWindow, ImportsIntoAnEmptyCatalogue) {
    layOutBase(other);
    cat.addPerformer(W("Ария"), W("Альбом\r\n"), W("Альбом##-**~\r\nПесня\r\nendalbum\r\n"));
    reloadPerformerList();
    choosePerformer(U("Ария"));
    chooseAlbum(U("Альбом"));
    ImageForm->Image1->show();
    EXPECT_FALSE(importFrom(QString()));
    EXPECT_EQ(messages(), QStringList{U("Information|OK|Не выбрано каталога для сканирования.")});

    EXPECT_TRUE(importFrom(other.path("Data/Artist")));
    EXPECT_TRUE(modal.shown().empty());
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Ария\r\nArtist\r\n"));
    expectCopied(cat, "Artist");
    EXPECT_EQ(MainForm->PerformerNames(), (Lines{W("Ария"), "Artist"}));
    EXPECT_FALSE(MainForm->HasSelectedPerformer());
    EXPECT_TRUE(MainForm->AlbumNames().isEmpty());
    EXPECT_TRUE(MainForm->SongNames().isEmpty());
    EXPECT_EQ(MainForm->Song->toPlainText(), "");
    EXPECT_FALSE(MainForm->PictureShown());
    EXPECT_EQ(Session->CurrentPerformer(), W("Ария"));  // the selection state is left alone
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка:"));
    EXPECT_TRUE(ImageForm->Image1->isHidden());
    // The base folder stays in the edit box for the next use.
    EXPECT_EQ(form->Edit1->text(), other.path("Data/Artist"));
}

TEST_F(ImportWindow, ReplacesAnExistingPerformerOnlyWhenConfirmed) {
    layOutBase(other);
    cat.addPerformer(W("Artist"), "old albums", "old songs", "old texts");
    cat.write("Data/Artist/Image/Old.jpg", "old picture");
    cat.write("Data/performers.lrx", W("Artist\r\nДругой\r\n"));
    reloadPerformerList();
    const auto before = cat.snapshot();

    modal.answer(Cancel);
    EXPECT_FALSE(importFrom(other.path("Data/Artist")));
    EXPECT_EQ(messages(), QStringList{U(kReplace)});
    EXPECT_EQ(cat.snapshot(), before);

    modal.answer(Ok);
    EXPECT_TRUE(importFrom(other.path("Data/Artist")));
    EXPECT_EQ(messages(), QStringList{U(kReplace)});
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Artist\r\nДругой\r\n"));
    expectCopied(cat, "Artist");
    EXPECT_FALSE(cat.exists("Data/Artist/Image/Old.jpg"));
    EXPECT_EQ(MainForm->PerformerNames(), (Lines{W("Artist"), W("Другой")}));
    EXPECT_FALSE(MainForm->HasSelectedPerformer());
}

TEST_F(ImportWindow, OldDataThatCannotBeRemovedIsReportedAndLeftWhole) {
    layOutBase(other);
    cat.addPerformer("Artist", "old albums", "old songs", "old texts");
    cat.write("Data/Artist/Image/Sub/inner.jpg", "inner");
    reloadPerformerList();
    const auto before = cat.snapshot();
    EXPECT_TRUE(importFrom(other.path("Data/Artist")));
    EXPECT_EQ(messages(),
              (QStringList{U(kReplace),
                           U("Error|OK|Возникли ошибки при удалении старых данных исполнителя."),
                           U(kCopyFailed)}));
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->PerformerNames(), Lines{"Artist"});
}

TEST_F(ImportWindow, RootLikeFolderGivesThePerformerNew) {
    other.write("Disk/Albums.lrx", kAlbums);
    other.write("Disk/Songs.lrx", "");
    other.write("Disk/Texts.lrx", "");
    EXPECT_TRUE(importFrom(other.path("Disk/")));
    EXPECT_TRUE(modal.shown().empty());
    EXPECT_EQ(cat.read("Data/performers.lrx"), "New\r\n");
    EXPECT_EQ(cat.read("Data/New/Albums.lrx"), kAlbums);
    EXPECT_EQ(cat.read("Data/New/Songs.lrx"), "");
    EXPECT_TRUE(cat.exists("Data/New/Image"));
}

TEST_F(ImportWindow, FolderWithoutTextsFailsTheCheckAndEmptiesTheField) {
    other.write("Data/Partial/Albums.lrx", kAlbums);
    other.write("Data/Partial/Songs.lrx", kSongs);
    const auto before = cat.snapshot();
    EXPECT_FALSE(importFrom(other.path("Data/Partial")));
    EXPECT_EQ(messages(), QStringList{U(kNoBase)});
    EXPECT_EQ(form->Edit1->text(), "");
    EXPECT_EQ(cat.snapshot(), before);

    // Chosen with "Обзор", the check runs at once.
    modal.onDialog([&](QDialog*) {
        modal.onDialog([&](QDialog*) {
            ASSERT_TRUE(form->FolderBrowseDialog1->SelectFolder(other.path("Data/Partial")));
            form->FolderBrowseDialog1->OpenDialog()->accept();
        });
        form->Button1->click();
        EXPECT_EQ(form->Edit1->text(), "");
        EXPECT_EQ(form->FolderBrowseDialog1->Folder(), other.path("Data/Partial"));
        form->Button3->click();
    });
    Modal().exec(form);
    EXPECT_EQ(messages(), QStringList{U(kNoBase)});
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(ImportWindow, ImportsFromAReadOnlyMedium) {
    layOutBase(other);
    fileio::makeReadOnly(other.startDir());
    EXPECT_TRUE(importFrom(other.path("Data/Artist")));
    EXPECT_TRUE(modal.shown().empty());
    expectCopied(cat, "Artist");
    EXPECT_EQ(other.read("Data/Artist/Texts.lrx"), kTexts);
}

TEST_F(ImportWindow, RefusesThisCataloguesOwnFolderBeforeDeletingAnything) {
    cat.addPerformer(W("Artist"), kAlbums, kSongs, kTexts);
    cat.write("Data/Artist/Image/A.jpg", kPicture);
    reloadPerformerList();
    const auto before = cat.snapshot();
    EXPECT_FALSE(importFrom(cat.path("Data/Artist")));
    EXPECT_FALSE(importFrom(cat.path("Data/../Data/Artist")));
    EXPECT_EQ(messages(),
              QStringList(2, U("Information|OK|Выбранный каталог является каталогом этого же "
                               "исполнителя в текущей базе.")));
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(ImportWindow, RefusesFolderNamesThatCannotNameAPerformer) {
    layOutBase(other, "a:b");
    layOutBase(other, U("Звезда★"));
    const auto before = cat.snapshot();
    EXPECT_FALSE(importFrom(other.path("Data/a:b")));
    EXPECT_FALSE(importFrom(other.path(U("Data/Звезда★"))));
    EXPECT_FALSE(importFrom(other.path("Data/a:b/.")));
    EXPECT_EQ(messages(),
              (QStringList{
                  U("Information|OK|Имя каталога «a:b» нельзя использовать как имя исполнителя."),
                  U("Information|OK|Имя каталога содержит символы, которые нельзя сохранить: ") +
                      cp1251::describeCharacters(U("★")) + ".",
                  U("Information|OK|Имя каталога «.» нельзя использовать как имя исполнителя.")}));
    EXPECT_EQ(form->Edit1->text(), "");
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(ImportWindow, FailedCopyIsReportedAndUndone) {
    layOutBase(other);
    cat.addPerformer(W("Другой"), "x", "y", "z");
    reloadPerformerList();
    const auto before = cat.snapshot();
    fileio::makeReadOnly(cat.path("Data/Artist/Image"));
    EXPECT_TRUE(importFrom(other.path("Data/Artist")));
    fileio::clearFaults();
    EXPECT_EQ(messages(), QStringList{U(kCopyFailed)});
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->PerformerNames(), Lines{W("Другой")});
}

// A failed rewrite of the performer list leaves the drop-down with what the file names, so
// that the next command writing the list from it keeps every performer.
TEST_F(ImportWindow, AFailedListWriteKeepsEveryPerformerForTheNextCommand) {
    layOutBase(other);
    cat.addPerformer(W("Ария"));
    cat.addPerformer(W("Кино"));
    reloadPerformerList();
    // A list that is a link cannot be replaced; it reads as usual.
    cat.write("list.lrx", cat.read("Data/performers.lrx"));
    QFile::remove(cat.path("Data/performers.lrx"));
    ASSERT_TRUE(QFile::link(cat.path("list.lrx"), cat.path("Data/performers.lrx")));
    EXPECT_FALSE(importFrom(other.path("Data/Artist")));
    EXPECT_EQ(messages(), QStringList{"Cantoria|OK|I/O error 40."});
    EXPECT_FALSE(cat.exists("Data/Artist"));
    EXPECT_EQ(MainForm->PerformerNames(), (Lines{W("Ария"), W("Кино")}));

    QFile::remove(cat.path("Data/performers.lrx"));
    cat.write("Data/performers.lrx", cat.read("list.lrx"));
    modal.onDialog([&](QDialog*) {
        AvtorForm->VvodAvtEdit->setText("New");
        AvtorForm->SaveAvtButton->click();
    });
    Modal().exec(AvtorForm);
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Ария\r\nКино\r\nNew\r\n"));
}

TEST(BaseImport, NameCheckAndCopy) {
    EXPECT_EQ(BaseFolderPerformerName("/media/old/Data/Artist"), "Artist");
    EXPECT_EQ(BaseFolderPerformerName("/"), "New");
    EXPECT_EQ(BaseFolderPerformerName("Artist"), "Artist");
    EXPECT_EQ(EncodeBasePerformerName(U("Ария")).bytes, W("Ария"));
    EXPECT_EQ(EncodeBasePerformerName("..").fault, BaseNameFault::UnsafeName);
    EXPECT_EQ(EncodeBasePerformerName("a|b").fault, BaseNameFault::UnsafeName);

    TempCatalogue other;
    layOutBase(other);
    EXPECT_TRUE(BaseFolderHoldsCatalogue(other.path("Data/Artist")));
    QFile::remove(other.path("Data/Artist/Songs.lrx"));
    EXPECT_FALSE(BaseFolderHoldsCatalogue(other.path("Data/Artist")));
}

TEST(BaseImport, OldDataTheProgramDoesNotLeaveIsNeverTouched) {
    TempCatalogue cat;
    TempCatalogue other;
    TempCatalogue outside;
    layOutBase(other);
    outside.write("Pictures/keep.jpg", "keep");
    cat.addPerformer(W("Artist"), "a", "s", "t");
    cat.write("Data/Artist/Image/Sub/inner.jpg", "inner");
    cat.addPerformer(W("Linked"), "a", "s", "t");
    QDir(cat.path("Data/Linked/Image")).removeRecursively();
    ASSERT_TRUE(QFile::link(outside.path("Pictures"), cat.path("Data/Linked/Image")));
    cat.addPerformer(W("Notes"), "a", "s", "t");
    cat.write("Data/Notes/notes.txt", "mine");
    cat.addPerformer(W("NoPictures"), "a", "s", "t");
    QDir(cat.path("Data/NoPictures/Image")).removeRecursively();
    const auto before = cat.snapshot();

    for (const char* name : {"Artist", "Linked", "Notes", "NoPictures"}) {
        BaseImportProgress progress;
        EXPECT_THROW(Import(cat, other.path("Data/Artist"), {name}, name, progress), StoreError)
            << name;
        EXPECT_TRUE(progress.oldDataNotRemovable) << name;
        EXPECT_EQ(progress.stage, BaseImportProgress::Stage::Copying) << name;
    }
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(outside.read("Pictures/keep.jpg"), "keep");

    // A listed performer without a folder gets one, and hears of the missing old data.
    BaseImportProgress progress;
    Import(cat, other.path("Data/Artist"), {W("Один"), "Gone"}, "Gone", progress);
    EXPECT_TRUE(progress.oldDataNotRemovable);
    expectCopied(cat, "Gone");
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Один\r\nGone\r\n"));
}

TEST(BaseImport, PerformerListIsWrittenLastWithTheNameOnce) {
    TempCatalogue cat;
    TempCatalogue other;
    layOutBase(other);
    cat.write("Data/performers.lrx", "");
    BaseImportProgress progress;
    Import(cat, other.path("Data/Artist"), {W("Один")}, "Artist", progress);
    EXPECT_EQ(progress.stage, BaseImportProgress::Stage::Done);
    EXPECT_FALSE(progress.oldDataNotRemovable);
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Один\r\nArtist\r\n"));
    expectCopied(cat, "Artist");

    // Each failing call undoes the whole import, the list write among them.
    importFailingEachCallOnce(cat, [&](BaseImportProgress& attempt) {
        Import(cat, other.path("Data/Artist"), {W("Один"), "Artist"}, W("Новый"), attempt);
    });
    expectCopied(cat, U("Новый"));
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Один\r\nArtist\r\nНовый\r\n"));
}

TEST(BaseImport, ReplacingAPerformerLeavesOnlyTheNewDataOrOnlyTheOld) {
    TempCatalogue cat;
    TempCatalogue other;
    layOutBase(other);
    cat.addPerformer(W("Другой"), "x", "y", "z");
    cat.addPerformer("Artist", "old albums", "old songs", "old texts");
    cat.write("Data/Artist/Image/Old.jpg", "old picture");
    cat.write("Data/Artist/Image/Second.JPG", "old second");

    importFailingEachCallOnce(cat, [&](BaseImportProgress& progress) {
        Import(cat, other.path("Data/Artist"), {W("Другой"), "Artist"}, "Artist", progress);
    });
    expectCopied(cat, "Artist");
    EXPECT_FALSE(cat.exists("Data/Artist/Image/Old.jpg"));
    EXPECT_EQ(cat.read("Data/performers.lrx"), W("Другой\r\nArtist\r\n"));
    EXPECT_EQ(cat.read(U("Data/Другой/Albums.lrx")), "x");
}
