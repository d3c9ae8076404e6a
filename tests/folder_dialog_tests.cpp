// The folder picker: its title by system language, the shortened path in its status line, the
// "New folder" action, and reopening on the folder chosen last.
#include <gtest/gtest.h>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include "support/FolderBrowseDialog.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

QStringList importCaptions() {
    QStringList captions = TFolderBrowseDialog::DefaultLabelCaptions();
    captions[0] = U("Default=Текущий каталог:");
    return captions;
}

QString statusOf(QDialog* dialog) {
    return dialog->findChild<QLabel*>(QStringLiteral("StatusLabel"))->text();
}

QPushButton* button(QDialog* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

// A picker over a temporary folder tree, answered by scripts.
class FolderPicker : public ::testing::Test {
  protected:
    ScriptedModal modal;
    TempCatalogue cat;
};

}  // namespace

TEST(FolderDialogCaptions, TitleFollowsTheSystemLanguage) {
    EXPECT_EQ(TFolderBrowseDialog(nullptr, "0407").Title(), U("Ausgewählter Ordner:"));
    EXPECT_EQ(TFolderBrowseDialog(nullptr, "0407").NewFolderCaption(), "Neuer Ordner");
    EXPECT_EQ(TFolderBrowseDialog(nullptr, "0409").Title(), "Current folder:");
    EXPECT_EQ(TFolderBrowseDialog(nullptr, "040c").Title(), "Dossier Courant:");
    EXPECT_EQ(TFolderBrowseDialog(nullptr, "0415").Title(), U("Bieżący folder"));

    TFolderBrowseDialog russian(nullptr, "0419");
    EXPECT_EQ(russian.Title(), "Current folder:");
    russian.SetLabelCaptions(importCaptions());
    EXPECT_EQ(russian.Title(), U("Текущий каталог:"));
    TFolderBrowseDialog german(nullptr, "0407");
    german.SetLabelCaptions(importCaptions());
    EXPECT_EQ(german.Title(), U("Ausgewählter Ordner:"));

    // Without the key and without "Default" the first entry speaks; an empty list is silent.
    EXPECT_EQ(LookUpCaption({"0406=Valgt mappe:", "0413=Huidige map:"}, "0419"), "Valgt mappe:");
    EXPECT_EQ(LookUpCaption({}, "0419"), "");
    russian.SetNewFolderCaptions({});
    EXPECT_EQ(russian.NewFolderCaption(), "");
    // No fallback from a sub-language to its primary language.
    EXPECT_EQ(LookUpCaption({"0009=Neutral", "Default=Other"}, "0409"), "Other");
}

TEST(FolderDialogCaptions, DefaultListsHoldTheTwentyNineKeysInOrder) {
    const QStringList labels = TFolderBrowseDialog::DefaultLabelCaptions();
    QStringList keys;
    for (const QString& line : labels) keys << line.section(u'=', 0, 0);
    EXPECT_EQ(keys.join(u' '),
              "Default 0009 0406 0407 0409 040C 0410 0413 0415 0416 0807 0809 080C 0810 0C07 "
              "0C09 0C0C 1007 1009 100C 1407 1409 140C 1809 180C 1C09 2009 2809 2C09");
    EXPECT_EQ(TFolderBrowseDialog::DefaultNewFolderCaptions().size(), 29);
    EXPECT_EQ(TFolderBrowseDialog().Version(), "3.00.00.00");
}

TEST(FolderDialogCaptions, LocalesMapToWindowsLanguageIdentifiers) {
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::Russian, QLocale::Russia)), "0419");
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::German, QLocale::Germany)), "0407");
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::German, QLocale::Austria)), "0C07");
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::English, QLocale::UnitedStates)), "0409");
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::English, QLocale::TrinidadAndTobago)), "2C09");
    EXPECT_EQ(WindowsLanguageKey(QLocale(QLocale::French, QLocale::Canada)), "0C0C");
    EXPECT_EQ(WindowsLanguageKey(QLocale::c()), "0409");
}

TEST(FolderDialogStatus, PathsAreShortenedToFiftyCharacters) {
    const QString local =
        "C:\\Documents and Settings\\User\\My Documents\\Lyrics\\Rock\\Album 2005";
    ASSERT_EQ(local.size(), 66);
    EXPECT_EQ(ShortenPath(local, 50, u'\\'),
              "C:\\...\\User\\My Documents\\Lyrics\\Rock\\Album 2005");
    EXPECT_EQ(ShortenPath("\\\\server\\share\\very long folder name number one\\another long "
                          "folder\\Album",
                          50, u'\\'),
              "\\\\server\\...\\another long folder\\Album");
    const QString single = "C:\\" + QString(57, u'x');
    EXPECT_EQ(ShortenPath(single, 50, u'\\'), single.left(50));
    const QString fifty = "C:\\" + QString(20, u'a') + "\\" + QString(26, u'b');
    ASSERT_EQ(fifty.size(), 50);
    EXPECT_EQ(ShortenPath(fifty, 50, u'\\'), fifty);

    // The same rules with this platform's separator; a leading "/" is the root, not a share.
    QString slashed = local.mid(2);
    slashed.replace(u'\\', u'/');
    EXPECT_EQ(ShortenPath(slashed, 50, u'/'), "/.../User/My Documents/Lyrics/Rock/Album 2005");
    EXPECT_EQ(ShortenPath("//server/share/very long folder name number one/another long "
                          "folder/Album",
                          50, u'/'),
              "//server/.../another long folder/Album");
    const QString fiftySlashed = "/" + QString(22, u'a') + "/" + QString(26, u'b');
    ASSERT_EQ(fiftySlashed.size(), 50);
    EXPECT_EQ(ShortenPath(fiftySlashed, 50, u'/'), fiftySlashed);
    // A last component too long for any room is cut with "...".
    const QString longLast = "/home/user/" + QString(60, u'z');
    EXPECT_EQ(ShortenPath(longLast, 50, u'/'), ("/.../" + QString(60, u'z')).left(47) + "...");
}

TEST_F(FolderPicker, ConfirmsAFolderAndReopensOnIt) {
    cat.mkdir("Lyrics/Rock");
    const QString rock = cat.path("Lyrics/Rock");
    TFolderBrowseDialog picker(nullptr, "0419");
    picker.SetLabelCaptions(importCaptions());
    picker.SetNewFolderVisible(false);
    picker.SetNewFolderEnabled(false);

    modal.onDialog([&](QDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QLabel*>("TitleLabel")->text(), U("Текущий каталог:"));
        EXPECT_TRUE(button(dialog, "NewFolderButton")->isHidden());
        EXPECT_FALSE(button(dialog, "NewFolderButton")->isEnabled());
        ASSERT_TRUE(picker.SelectFolder(rock));
        EXPECT_TRUE(button(dialog, "OkButton")->isEnabled());
        EXPECT_EQ(statusOf(dialog), ShortenPath(rock, 50, u'/'));
        button(dialog, "OkButton")->click();
    });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.Folder(), rock);

    // The next opening starts on the folder chosen last; Cancel keeps it.
    modal.onDialog([&](QDialog* dialog) {
        auto* tree = dialog->findChild<QTreeView*>("FolderTree");
        auto* model = static_cast<QFileSystemModel*>(tree->model());
        EXPECT_EQ(model->filePath(tree->currentIndex()), rock);
        EXPECT_EQ(statusOf(dialog), ShortenPath(rock, 50, u'/'));
        picker.SelectFolder(cat.path("Lyrics"));
        button(dialog, "CancelButton")->click();
    });
    EXPECT_FALSE(picker.Execute());
    EXPECT_EQ(picker.Folder(), rock);
    EXPECT_EQ(picker.OpenDialog(), nullptr);
}

TEST_F(FolderPicker, NewFolderCreatesTheFolderAndReopensOnIt) {
    cat.mkdir("Lyrics");
    const QString lyrics = cat.path("Lyrics");
    TFolderBrowseDialog picker(nullptr, "0409");
    picker.SetFolder(lyrics);
    std::vector<QString> selections;
    int initialized = 0;
    picker.OnInitialized = [&](TFolderBrowseDialog*, QDialog*) { ++initialized; };
    picker.OnSelectionChanged = [&](TFolderBrowseDialog*, QDialog*, const QString& folder) {
        selections.push_back(folder);
    };

    modal.typeText(U("Новая/Вложенная"));
    modal.onDialog([&](QDialog* dialog) {
        auto* newFolder = button(dialog, "NewFolderButton");
        EXPECT_EQ(newFolder->text(), "New folder");
        EXPECT_TRUE(newFolder->isVisible());
        EXPECT_TRUE(newFolder->isEnabled());
        newFolder->click();
    });
    modal.onDialog([&](QDialog* dialog) {
        EXPECT_EQ(statusOf(dialog), ShortenPath(lyrics + U("/Новая/Вложенная"), 50, u'/'));
        button(dialog, "OkButton")->click();
    });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.Folder(), lyrics + U("/Новая/Вложенная"));
    EXPECT_TRUE(QDir(picker.Folder()).exists());
    EXPECT_EQ(initialized, 2);
    EXPECT_EQ(selections.front(), lyrics);
    EXPECT_TRUE(modal.shown().empty());

    // A name that climbs out of the selection is refused; the picker reopens where it was.
    modal.typeText(QStringLiteral("../Escaped"));
    modal.onDialog([&](QDialog* dialog) { button(dialog, "NewFolderButton")->click(); });
    modal.onDialog([&](QDialog* dialog) {
        EXPECT_EQ(statusOf(dialog), ShortenPath(picker.Folder(), 50, u'/'));
        button(dialog, "CancelButton")->click();
    });
    EXPECT_FALSE(picker.Execute());
    EXPECT_FALSE(cat.exists(U("Lyrics/Новая/Escaped")));
    EXPECT_FALSE(cat.exists("Lyrics/Escaped"));
    const auto shown = modal.takeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(Describe(shown[0]), "New folder|OK|The directory or file cannot be created.");

    // An empty answer changes nothing and keeps the picker open.
    modal.typeText(QString());
    modal.onDialog([&](QDialog* dialog) {
        button(dialog, "NewFolderButton")->click();
        EXPECT_TRUE(dialog->isVisible());
        button(dialog, "OkButton")->click();
    });
    EXPECT_TRUE(picker.Execute());
}
