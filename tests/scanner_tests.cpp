// The song scanner: RTF and lyric text reading, the scan's files byte for byte, and the
// scanner window driven from the main window's button.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>

#include "app/Forms.h"
#include "import/RtfReader.h"
#include "import/SongScan.h"
#include "importwindows/ScanerForm.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/FileIo.h"
#include "store/StoreError.h"
#include "support/FolderBrowseDialog.h"
#include "tests/helpers/AppFixture.h"
#include "tests/helpers/ScanInto.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

QByteArray TestData(const QString& name) {
    QFile f(QStringLiteral(CANTORIA_TEST_DATA "/rtf/") + name);
    if (!f.open(QIODevice::ReadOnly)) ADD_FAILURE() << "missing test data " << name.toStdString();
    return f.readAll();
}

// ---------------------------------------------------------------- RTF and lyric text

TEST(RtfReader, WordPadDocumentWithCyrillicInTheDocumentCodePage) {
    const CatalogueText text = RtfToPlainText(TestData("wordpad_cyrillic.rtf"));
    EXPECT_EQ(text.lines(),
              (Lines{W("Ой, мороз, мороз,"), W("Не морозь меня"), "", W("Цена: 5 € ? — ёЁ")}));
    EXPECT_EQ(text.unencodable, U("ł"));
}

TEST(RtfReader, LibreOfficeDocumentWithUnicodeEscapes) {
    const CatalogueText text = RtfToPlainText(TestData("libreoffice_unicode.rtf"));
    EXPECT_EQ(text.lines(), (Lines{W("Первый куплет"), "Second line\twith ? and bold {braces} \\ ",
                                   "", W("Ещё одна"), W("строка")}));
    EXPECT_EQ(text.unencodable, U("ł"));
}

TEST(RtfReader, ParagraphsFallbacksAndSkippedGroups) {
    // Three paragraphs give three lines; the end of the last one gives no fourth.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 one\\par two\\par three\\par}").lines(),
              (Lines{"one", "two", "three"}));
    EXPECT_EQ(RtfToPlainText("{\\rtf1 one\\par two\\par three}").lines(),
              (Lines{"one", "two", "three"}));
    // \ucN: N fallback characters are skipped after \u, counting \'hh as one.
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi\\ansicpg1251\\uc2 \\u1046\\'c6\\'c6x}").lines(),
              (Lines{W("Жx")}));
    // Fields keep their result; pictures, \* groups and binary data are no text.
    EXPECT_EQ(RtfToPlainText("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"
                             "{\\pict\\pngblip 89504e47}{\\*\\bkmkstart b}a\\bin3 {}\\b}")
                  .lines(),
              (Lines{"linkab"}));
    // A character outside the 16-bit range comes as a surrogate pair and is reported whole,
    // in a Western document and in one of the catalogue's own code page.
    for (const char* header : {"{\\rtf1 ", "{\\rtf1\\ansi\\ansicpg1251 "}) {
        const CatalogueText emoji = RtfToPlainText(header + QByteArray("a\\u-10179?\\u-8704?b}"));
        EXPECT_EQ(emoji.lines(), (Lines{"a?b"})) << header;
        EXPECT_EQ(emoji.unencodable, QString::fromUcs4(U"\U0001F600")) << header;
    }
    // Western code page bytes: é has no place in Windows-1251.
    const CatalogueText western = RtfToPlainText("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}");
    EXPECT_EQ(western.lines(), (Lines{"caf?"}));
    EXPECT_EQ(western.unencodable, U("é"));
    // Control characters never reach a stored line; \line and \tab do their work.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\'0d\\'1ab\\line c\\tab d}").lines(),
              (Lines{"ab", "c\td"}));
    EXPECT_EQ(RtfToPlainText("{\\rtf1\\ansi\\ansicpg1251 a\\'0a\\'1ab\\'0d\\'e0\\'zz}").lines(),
              (Lines{"ab" + W("а") + "zz"}));  // also in the catalogue's own code page
    // A document cut short still yields what it held.
    EXPECT_EQ(RtfToPlainText("{\\rtf1 {\\b half").lines(), (Lines{"half"}));
}

TEST(RtfReader, InputThatIsNotRtfIsAPlainLyricFile) {
    EXPECT_EQ(RtfToPlainText(W("Просто текст\r\nвторая\r\n")).lines(),
              (Lines{W("Просто текст"), W("вторая")}));
    EXPECT_EQ(RtfToPlainText(QByteArray()).lines(), Lines{});
}

// The text in an encoding, as the iconv program writes it.
QByteArray Iconv(const QString& text, const char* encoding) {
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                          QStringLiteral("-t"), QString::fromLatin1(encoding)});
    iconv.write(text.toUtf8());
    iconv.closeWriteChannel();
    EXPECT_TRUE(iconv.waitForFinished() && iconv.exitCode() == 0) << encoding;
    return iconv.readAllStandardOutput();
}

TEST(LyricText, RussianTextsInEveryEncodingAreStoredInWindows1251) {
    const char* const texts[] = {
        "Я помню чудное мгновенье:\nПередо мной явилась ты,\nКак мимолётное виденье,\n",
        "Ой, то не вечер, то не вечер,\nМне малым-мало спалось,\nОх, да во сне "
        "привиделось.\n",
        "Выйду ночью в поле с конём,\nНочкой тёмной тихо пойдём.\n",
        "Мороз и солнце; день чудесный!\r\nЕщё ты дремлешь, друг прелестный -\r\n",
    };
    for (const char* text : texts) {
        const QByteArray stored = W(text).replace("\r", "").replace("\n", "\r\n");
        for (const char* encoding : {"WINDOWS-1251", "UTF-16", "UTF-16BE", "KOI8-R", "IBM866",
                                     "ISO-8859-5", "MACCYRILLIC", "UTF-8"}) {
            QByteArray file = Iconv(U(text), encoding);
            if (qstrcmp(encoding, "UTF-16BE") == 0) file.prepend("\xFE\xFF");
            if (qstrcmp(encoding, "UTF-8") == 0) file.prepend("\xEF\xBB\xBF");
            EXPECT_EQ(PlainLyricText(file).written, stored) << encoding << " " << text;
            // A .rtf file that is no RTF document is read the same way.
            EXPECT_EQ(RtfToPlainText(file).written, stored) << encoding;
        }
    }
    // Short text in capitals the detector takes for KOI8-R stays as it is.
    EXPECT_EQ(PlainLyricText(W("ЗВЕЗДА ПО ИМЕНИ СОЛНЦЕ\r\n")).written,
              W("ЗВЕЗДА ПО ИМЕНИ СОЛНЦЕ\r\n"));
    // UTF-16 that is no text: a lone surrogate and an odd last byte are reported, not dropped.
    const CatalogueText broken =
        PlainLyricText(QByteArray("\xFF\xFE"
                                  "a\0\0\xD8"
                                  "b\0\n\0c",
                                  11));
    EXPECT_EQ(broken.lines(), (Lines{"a?b", "?"}));
    EXPECT_EQ(broken.unencodable, QString(QChar(0xFFFD)));
}

TEST(LyricText, Utf8IsConvertedAndEverythingElseTakenByteForByte) {
    const QByteArray utf8 = U("Привет, мир\r\nвторая строка\n").toUtf8();
    EXPECT_EQ(PlainLyricText(utf8).lines(), (Lines{W("Привет, мир"), W("вторая строка")}));
    EXPECT_EQ(PlainLyricText("\xEF\xBB\xBFplain\r\n").lines(), (Lines{"plain"}));
    const CatalogueText lost = PlainLyricText(U("Zażółć\n").toUtf8());
    EXPECT_EQ(lost.lines(), (Lines{"Za????"}));
    EXPECT_EQ(lost.unencodable, U("żółć"));
    // Windows-1251 text is not valid UTF-8 and stays as it is, by the reading rules.
    const QByteArray cp =
        W("Ещё\r\nстрока\x1a"
          "хвост\r\n\x1a мусор");
    EXPECT_EQ(PlainLyricText(cp).lines(), (Lines{W("Ещё"), W("строка")}));
    // Bytes that no code page reads as letters of words stay as they are.
    EXPECT_EQ(PlainLyricText("\x98\xb0\r\n").lines(), (Lines{"\x98\xb0"}));
}

TEST(LyricText, ShortTextsAndUtf16WithoutAMarkAreReadInTheirEncoding) {
    const struct {
        QByteArray file;
        const char* stored;
    } cases[] = {
        {QByteArrayLiteral("\xF0\xD2\xC9\xD7\xC5\xD4"), "Привет"},               // KOI8-R
        {QByteArrayLiteral("\xEF\xCA, \xCD\xCF\xD2\xCF\xDA\n"), "Ой, мороз"},    // KOI8-R
        {QByteArrayLiteral("\x8F\xE0\xA8\xA2\xA5\xE2"), "Привет"},               // 866
        {QByteArrayLiteral("\x8E\xA9, \xAC\xAE\xE0\xAE\xA7\r\n"), "Ой, мороз"},  // 866
        // Windows-1251 stays, in capitals (small letters in KOI8-R) and with the letters of
        // Ukrainian and Belarusian, short or long.
        {QByteArrayLiteral("\xC7\xC2\xC5\xC7\xC4\xC0"), "ЗВЕЗДА"},
        {QByteArrayLiteral("\xAA \xB4\xE0\xE2\xE0"), "Є ґава"},
        {QByteArrayLiteral("\xA1\xF1\xB8"), "Ўсё"},
        {QByteArrayLiteral("\xD9\xE5 \xED\xE5 \xE2\xEC\xE5\xF0\xEB\xE0 \xD3\xEA\xF0\xE0"
                           "\xBF\xED\xE8 \xB3 \xF1\xEB\xE0\xE2\xE0, \xB3 \xE2\xEE\xEB\xFF"),
         "Ще не вмерла України і слава, і воля"},
        {QByteArrayLiteral("\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04\x0D\x00\x0A\x00"),
         "Привет"},  // UTF-16LE
        {QByteArrayLiteral("\x04\x1E\x04\x39\x00\x2C\x00\x20\x04\x3C\x04\x3E\x04\x40\x04"
                           "\x3E\x04\x37"),
         "Ой, мороз"},  // UTF-16BE
    };
    for (const auto& [file, stored] : cases)
        EXPECT_EQ(PlainLyricText(file).written, W(stored) + "\r\n") << stored;
}

// ---------------------------------------------------------------- the scan's files

class Scan : public ::testing::Test {
  protected:
    void SetUp() override {
        cat.addPerformer(W("Группа"));
        oldCatalogue();
    }
    void oldCatalogue() {
        cat.write(QStringLiteral("Data/Группа/Albums.lrx"), "Old\r\n");
        cat.write(QStringLiteral("Data/Группа/Songs.lrx"), "Old##-**~\r\nx\r\nendalbum\r\n");
        cat.write(QStringLiteral("Data/Группа/Texts.lrx"), "Old ##-**~ x\r\nold\r\nendsong\r\n");
        cat.write(QStringLiteral("Data/Группа/Image/Old.jpg"), "jpeg");
        cat.write(QStringLiteral("Data/Группа/Image/.hidden.jpg"), "jpeg");
        cat.mkdir(QStringLiteral("Data/Группа/Image/keep"));
        cat.write(QStringLiteral("Data/Группа/Image/keep/inner.jpg"), "jpeg");
    }
    void TearDown() override { fileio::clearFaults(); }

    ScanOutcome scan(const QString& folder = QStringLiteral("scan")) {
        return ScanInto(cat, W("Группа"), cat.path(folder));
    }
    QByteArray file(const char* name) const {
        return cat.read(QStringLiteral("Data/Группа/") + QLatin1String(name));
    }

    TempCatalogue cat;
};

TEST_F(Scan, AlbumFoldersBecomeTheThreeFilesAndPicturesGo) {
    cat.write(QStringLiteral("scan/Album1/a.txt"), "first\r\n\r\nlast");
    cat.write(QStringLiteral("scan/Album1/b.rtf"), "{\\rtf1\\ansi one\\par two\\par}");
    cat.mkdir(QStringLiteral("scan/Album2"));
    cat.write(QStringLiteral("scan/cover.jpg"), "jpeg");
    EXPECT_TRUE(scan().replacedCharacters.isEmpty());
    EXPECT_EQ(file("Albums.lrx"), "Album1\r\nAlbum2\r\n");
    EXPECT_EQ(file("Songs.lrx"),
              "Album1##-**~\r\na\r\nb\r\nendalbum\r\nAlbum2##-**~\r\nendalbum\r\n");
    EXPECT_EQ(file("Texts.lrx"),
              "Album1 ##-**~ a\r\nfirst\r\n\r\nlast\r\nendsong\r\n"
              "Album1 ##-**~ b\r\none\r\ntwo\r\nendsong\r\n");
    // Files directly in the picture folder go, hidden ones too; a sub-folder stays whole.
    EXPECT_FALSE(cat.exists(QStringLiteral("Data/Группа/Image/Old.jpg")));
    EXPECT_FALSE(cat.exists(QStringLiteral("Data/Группа/Image/.hidden.jpg")));
    EXPECT_TRUE(cat.exists(QStringLiteral("Data/Группа/Image/keep/inner.jpg")));
}

TEST_F(Scan, EntriesNamesAndExtensionsAsTheScannerSeesThem) {
    cat.write(QStringLiteral("scan/README"), "not an album folder");
    cat.write(QStringLiteral("scan/Vol.1.mp3/song.txt"), "x");
    cat.write(QStringLiteral("scan/.hidden/song.txt"), "x");
    cat.write(QStringLiteral("scan/Best.of/.secret.txt"), "hidden song");
    cat.write(QStringLiteral("scan/Best.of/Song.TXT"), "capital extension");
    cat.write(QStringLiteral("scan/Best.of/X.rtf"), "{\\rtf1 from rtf}");
    cat.write(QStringLiteral("scan/Best.of/X.txt"), "from txt");
    cat.write(QStringLiteral("scan/Best.of/.txt"), "no name");
    cat.write(QStringLiteral("scan/Best.of/notes.doc"), "x");
    cat.mkdir(QStringLiteral("scan/Best.of/folder.txt"));
    cat.write(QStringLiteral("scan/Album 10/a.txt"), "ten");
    cat.write(QStringLiteral("scan/Album 2/a.txt"), "two");
    cat.write(QStringLiteral("scan/Кириллица/utf8.txt"), U("Звезда по имени Солнце\n").toUtf8());
    cat.write(QStringLiteral("scan/Кириллица/cp1251.txt"), W("Группа крови\r\n"));

    scan(QStringLiteral("scan/"));  // a trailing "/" scans the same folder
    // Natural order, Cyrillic before Latin as in a Russian listing.
    EXPECT_EQ(file("Albums.lrx"),
              W("Кириллица") + "\r\nAlbum 2\r\nAlbum 10\r\nBest.of\r\nREADME\r\n");
    EXPECT_EQ(file("Songs.lrx"),
              W("Кириллица") + "##-**~\r\ncp1251\r\nutf8\r\nendalbum\r\n" +
                  "Album 2##-**~\r\na\r\nendalbum\r\nAlbum 10##-**~\r\na\r\nendalbum\r\n"
                  "Best.of##-**~\r\n.secret\r\n\r\nSong\r\nX\r\nX\r\nendalbum\r\n"
                  "README##-**~\r\nendalbum\r\n");
    EXPECT_EQ(file("Texts.lrx"),
              W("Кириллица ##-**~ cp1251\r\nГруппа крови\r\nendsong\r\n") +
                  W("Кириллица ##-**~ utf8\r\nЗвезда по имени Солнце\r\nendsong\r\n") +
                  "Album 2 ##-**~ a\r\ntwo\r\nendsong\r\nAlbum 10 ##-**~ a\r\nten\r\nendsong\r\n"
                  "Best.of ##-**~ .secret\r\nhidden song\r\nendsong\r\n"
                  "Best.of ##-**~ \r\nno name\r\nendsong\r\n"
                  "Best.of ##-**~ Song\r\ncapital extension\r\nendsong\r\n"
                  "Best.of ##-**~ X\r\nfrom txt\r\nendsong\r\n"
                  "Best.of ##-**~ X\r\nfrom txt\r\nendsong\r\n");
}

TEST_F(Scan, TheFolderCheckWantsAnAlbumWithASong) {
    EXPECT_FALSE(IsScannableFolder(cat.path(QStringLiteral("missing"))));
    cat.write(QStringLiteral("scan/Album/cover.jpg"), "x");
    cat.write(QStringLiteral("scan/loose.txt"), "x");
    EXPECT_FALSE(IsScannableFolder(cat.path(QStringLiteral("scan"))));
    cat.write(QStringLiteral("scan/Album/song.rtf"), "x");
    EXPECT_TRUE(IsScannableFolder(cat.path(QStringLiteral("scan"))));
}

TEST_F(Scan, LostCharactersAreReportedPerSong) {
    cat.write(QStringLiteral("scan/A/ok.txt"), W("всё хорошо"));
    cat.write(QStringLiteral("scan/A/polish.txt"), U("Zażółć ♥\n").toUtf8());
    const ScanOutcome outcome = scan();
    EXPECT_EQ(
        outcome.replacedCharacters,
        QStringList{U("A / polish: ż (U+017C), ó (U+00F3), ł (U+0142), ć (U+0107), ♥ (U+2665)")});
    EXPECT_EQ(file("Texts.lrx"), W("A ##-**~ ok\r\nвсё хорошо\r\nendsong\r\n") +
                                     "A ##-**~ polish\r\nZa???? ?\r\nendsong\r\n");
}

TEST_F(Scan, WhatTheCatalogueCannotStoreIsRefusedBeforeAnythingChanges) {
    const auto before = cat.snapshot();
    const QString album = cat.path(QStringLiteral("scan/Album"));
    const QString unstorable = U(" содержит символы, которые нельзя сохранить в каталоге: ");
    const struct {
        QString file;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {QStringLiteral("scan/Album/endalbum.txt"), "x",
         U("Песню из файла ") + album +
             U("/endalbum.txt нельзя сохранить: имя \"endalbum\" завершает список песен "
               "альбома.")},
        {QStringLiteral("scan/Album/s.rtf"), "{\\rtf1 a\\par endsong\\par b}",
         U("Текст из файла ") + album +
             U("/s.rtf нельзя сохранить: строка \"endsong\" завершает текст песни.")},
        {QStringLiteral("scan/A\032B/s.txt"), "x",
         U("Имя ") + cat.path(QStringLiteral("scan/A\032B")) + unstorable + U("\x1a (U+001A)")},
        {QStringLiteral("scan/Ząb/s.txt"), "x",
         U("Имя ") + cat.path(QStringLiteral("scan/Ząb")) + unstorable + U("ą (U+0105)")},
        {QStringLiteral("scan/Album/two\nlines.txt"), "x",
         U("Имя ") + album + U("/two\nlines.txt") + unstorable + U("\n (U+000A)")},
    };
    for (const auto& c : cases) {
        QDir(cat.path(QStringLiteral("scan"))).removeRecursively();
        cat.write(QStringLiteral("scan/Good/song.txt"), "fine");
        cat.write(c.file, c.bytes);
        QString message;
        try {
            scan();
        } catch (const ScanRefused& r) {
            message = r.message();
        }
        EXPECT_EQ(message, c.message + U("\rСканирование отменено, данные не изменены."))
            << c.file.toStdString();
        EXPECT_EQ(cat.snapshot(), before);
    }
}

TEST_F(Scan, AFailureAnywhereLeavesTheCatalogueAsItWasOrWhollyNew) {
    cat.write(QStringLiteral("scan/Album1/a.txt"), "a");
    cat.write(QStringLiteral("scan/Album1/b.rtf"), "{\\rtf1 b}");
    cat.write(QStringLiteral("scan/Album2/c.txt"), "c");
    const auto before = cat.snapshot();
    fileio::clearFaults();
    scan();
    const long calls = fileio::callsMade();
    const auto after = cat.snapshot();
    int failures = 0;
    for (long n = 1; n <= calls; ++n) {
        oldCatalogue();
        ASSERT_EQ(cat.snapshot(), before);
        fileio::failAt(n, EIO, fileio::FaultMode::Once);
        try {
            scan();
        } catch (const StoreError&) {
            ++failures;
            EXPECT_EQ(cat.snapshot(), before) << "fault at call " << n;
            continue;
        }
        // Only a picture that cannot be deleted leaves the scan standing.
        const auto result = cat.snapshot();
        for (const char* name : {"Albums.lrx", "Songs.lrx", "Texts.lrx"}) {
            const QString key = U("Data/Группа/") + QLatin1String(name);
            EXPECT_EQ(result.value(key), after.value(key)) << "fault at call " << n;
        }
    }
    fileio::clearFaults();
    EXPECT_GE(failures, 6);  // the three song reads and the three writes at least
}

// ---------------------------------------------------------------- the window

class ScannerWindow : public AppTest {
  protected:
    void SetUp() override {
        cat.addPerformer(W("Группа"), "Old\r\n", "Old##-**~\r\nx\r\nendalbum\r\n",
                         "Old ##-**~ x\r\nold\r\nendsong\r\n");
        start();
        choosePerformer(U("Группа"));
        chooseAlbum(QStringLiteral("Old"));
        chooseSong(QStringLiteral("x"));
        ASSERT_EQ(MainForm->Song->toPlainText(), "old");
        cat.write(QStringLiteral("Data/Группа/Image/Old.jpg"), "jpeg");
        MainForm->Image->show();
        ImageForm->Image1->show();
        messages();
    }

    // Opens the scanner from the main window (confirming the replacement), types the folder
    // and presses a button; what happens next is up to the test's checks.
    void runScanner(const QString& folder, const std::function<void()>& more = {}) {
        modal.answer(Ok);
        modal.onDialog([&](QDialog*) {
            ScanerForm->Edit1->setText(folder);
            ScanerForm->ScanButton->click();
            if (more) more();
        });
        MainForm->ScanerSpeedButtonClick();
    }
};

TEST_F(ScannerWindow, AScanFillsTheMainWindowsAlbumsAndClearsTheRest) {
    cat.write(QStringLiteral("scan/Live: 1999/a.txt"), "a");
    cat.mkdir(QStringLiteral("scan/Album2"));
    bool open = true;
    runScanner(cat.path(QStringLiteral("scan")), [&] { open = ScanerForm->isVisible(); });
    EXPECT_FALSE(open);
    EXPECT_EQ(messages(), QStringList{U("Information|OK,Cancel|Данные этого исполнителя не "
                                        "пусты.\rСканирование заменит всю имеющуюся "
                                        "информацию.\rХотите продолжить?")});
    EXPECT_EQ(MainForm->AlbumNames(), (Lines{"Album2", "Live: 1999"}));
    EXPECT_FALSE(MainForm->HasSelectedAlbum());
    EXPECT_EQ(MainForm->SongsListBox->count(), 0);
    EXPECT_TRUE(MainForm->Song->toPlainText().isEmpty());
    EXPECT_FALSE(MainForm->PictureShown());
    EXPECT_TRUE(ImageForm->Image1->isHidden());
    EXPECT_EQ(cat.read(QStringLiteral("Data/Группа/Albums.lrx")), "Album2\r\nLive: 1999\r\n");
    EXPECT_EQ(cat.read(QStringLiteral("Data/Группа/Songs.lrx")),
              "Album2##-**~\r\nendalbum\r\nLive: 1999##-**~\r\na\r\nendalbum\r\n");
    EXPECT_FALSE(cat.exists(QStringLiteral("Data/Группа/Image/Old.jpg")));
    EXPECT_EQ(MainForm->SelectedPerformer(), W("Группа"));
}

TEST_F(ScannerWindow, MessagesKeepTheWindowOpenAndTheCatalogueUnchanged) {
    cat.write(QStringLiteral("scan/Album/endalbum.txt"), "x");
    cat.write(QStringLiteral("empty/Album/cover.jpg"), "x");
    const auto before = cat.snapshot();
    bool open = false;
    runScanner(QString(), [&] {
        open = ScanerForm->isVisible();
        ScanerForm->Edit1->setText(cat.path(QStringLiteral("empty")));
        ScanerForm->ScanButton->click();
        ScanerForm->Edit1->setText(cat.path(QStringLiteral("scan")));
        ScanerForm->ScanButton->click();
        ScanerForm->CancelButton->click();
    });
    EXPECT_TRUE(open);
    EXPECT_FALSE(ScanerForm->isVisible());
    const QStringList texts = messages();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1], U("Information|OK|Укажите путь для сканирования."));
    EXPECT_EQ(texts[2], U("Information|OK|Вы уверены в своём выборе?\rВыбранный каталог не "
                          "подходит для сканирования."));
    EXPECT_TRUE(texts[3].startsWith(U("Warning|OK|Песню из файла ") + cat.path("scan/Album")));
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_EQ(MainForm->AlbumNames(), Lines{"Old"});
}

TEST_F(ScannerWindow, LostCharactersAndFailuresAreTold) {
    cat.write(QStringLiteral("scan/A/s.txt"), U("♥\n").toUtf8());
    runScanner(cat.path(QStringLiteral("scan")));
    QStringList texts = messages();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1], U("Warning|OK|Символы, которых нет в кодировке Windows-1251, сохранены "
                          "как знак \"?\" в песнях:\rA / s: ♥ (U+2665)"));

    const auto before = cat.snapshot();
    modal.onDialog([&](QDialog*) {
        // The folders are listed, then the song's read fails and every call after it.
        fileio::failOn({fileio::Op::Open, "s.txt", EACCES, 1, fileio::FaultMode::FromThenOn});
        ScanerForm->Edit1->setText(cat.path(QStringLiteral("scan")));
        ScanerForm->ScanButton->click();
        ScanerForm->CancelButton->click();
    });
    MainForm->ScanerSpeedButtonClick();
    fileio::clearFaults();
    texts = messages();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1], "Cantoria|OK|File access denied.");
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(ScannerWindow, TheBrowseButtonFillsTheFieldAndChecksTheFolderAtOnce) {
    cat.mkdir(QStringLiteral("empty/Album"));
    bool chosen = false;
    runScanner(QString(), [&] {
        const TFolderBrowseDialog* dialog = ScanerForm->FolderBrowseDialog1;
        EXPECT_TRUE(dialog->LabelCaptions().contains(U("Default=Текущий каталог:")));
        EXPECT_EQ(dialog->LabelCaptions().size(),
                  TFolderBrowseDialog::DefaultLabelCaptions().size());
        EXPECT_EQ(dialog->Flags(), TFolderBrowseDialog::ShowPath);
        EXPECT_FALSE(dialog->NewFolderVisible());
        EXPECT_FALSE(dialog->NewFolderEnabled());
        modal.onDialog([&](QDialog*) {
            ASSERT_TRUE(
                ScanerForm->FolderBrowseDialog1->SelectFolder(cat.path(QStringLiteral("empty"))));
            ScanerForm->FolderBrowseDialog1->OpenDialog()->accept();
        });
        ScanerForm->ObzorButton->click();
        chosen = ScanerForm->Edit1->text() == cat.path(QStringLiteral("empty"));
        ScanerForm->CancelButton->click();
    });
    EXPECT_TRUE(chosen);
    const QStringList texts = messages();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[2], U("Information|OK|Вы уверены в своём выборе?\rВыбранный каталог не "
                          "подходит для сканирования."));
    EXPECT_EQ(MainForm->AlbumNames(), Lines{"Old"});
}

}  // namespace
