// Album pictures: what lands on disk when a picture is stored, replaced or removed, the JPEG
// written for a bitmap, and the commands of the main window and the large picture window.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QScreen>
#include <QToolButton>
#include <QUrl>

#include "app/Forms.h"
#include "mainwindow/ImageForm.h"

#include "mainwindow/MainForm.h"
#include "mainwindow/PictureView.h"
#include "store/FileIo.h"
#include "store/Pictures.h"
#include "store/StoreError.h"
#include "store/StorePaths.h"
#include "support/JpegDecoder.h"
#include "support/JpegEncoder.h"
#include "tests/helpers/AppFixture.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

namespace {

struct FaultGuard {
    ~FaultGuard() { fileio::clearFaults(); }
};

// A picture with colour detail, so that encoding has something to do.
QImage testPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x ^ y) & 0xff));
    return image;
}

QByteArray testJpeg(int width = 40, int height = 30, int quality = 75) {
    return EncodeJpeg(testPicture(width, height), quality, nullptr);
}

// What a JPEG stream's header says about it, read with libjpeg.
struct JpegFacts {
    int components = 0;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    int width = 0;
    int height = 0;
    std::vector<std::vector<int>> tables;  // quantisation tables 0 and 1, natural order
};

JpegFacts readJpegFacts(const QByteArray& data) {
    JpegFacts facts;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    facts.components = cinfo.num_components;
    facts.colourSpace = cinfo.jpeg_color_space;
    facts.width = int(cinfo.image_width);
    facts.height = int(cinfo.image_height);
    for (int t = 0; t < 2; ++t) {
        std::vector<int> table;
        if (const JQUANT_TBL* q = cinfo.quant_tbl_ptrs[t])
            for (int i = 0; i < DCTSIZE2; ++i) table.push_back(q->quantval[i]);
        facts.tables.push_back(table);
    }
    jpeg_destroy_decompress(&cinfo);
    return facts;
}

// The example tables of the JPEG standard (Annex K), in natural order, scaled the way every
// encoder following it scales them for a quality between 50 and 100.
std::vector<int> standardTable(const int (&base)[64], int quality) {
    const int scale = 200 - quality * 2;
    std::vector<int> table;
    for (int value : base) table.push_back(std::clamp((value * scale + 50) / 100, 1, 255));
    return table;
}
constexpr int kLuminance[64] = {16,  11,  10,  16,  24, 40, 51,  61,  12,  12,  14,  19,  26,
                                58,  60,  55,  14,  13, 16, 24,  40,  57,  69,  56,  14,  17,
                                22,  29,  51,  87,  80, 62, 18,  22,  37,  56,  68,  109, 103,
                                77,  24,  35,  55,  64, 81, 104, 113, 92,  49,  64,  78,  87,
                                103, 121, 120, 101, 72, 92, 95,  98,  112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

void expectAlbumPictureFormat(const QByteArray& jpeg, QSize size) {
    ASSERT_TRUE(LooksLikeJpeg(jpeg));
    // The baseline frame header: sequential, Huffman-coded, 8 bits a sample.
    EXPECT_TRUE(jpeg.contains("\xFF\xC0")) << "no baseline frame header";
    const JpegFacts facts = readJpegFacts(jpeg);
    EXPECT_EQ(facts.components, 3);
    EXPECT_EQ(facts.colourSpace, JCS_YCbCr);
    EXPECT_EQ(QSize(facts.width, facts.height), size);
    EXPECT_EQ(facts.tables[0], standardTable(kLuminance, 90));
    EXPECT_EQ(facts.tables[1], standardTable(kChrominance, 90));
}

const QByteArray kPerformer = W("Ария");
const QString kImage = U("Data/Ария/Image/");

}  // namespace

TEST(JpegEncoder, WritesBaselineTwentyFourBitColourAtTheGivenQuality) {
    expectAlbumPictureFormat(EncodeJpeg(testPicture(123, 77), kAlbumPictureQuality, nullptr),
                             QSize(123, 77));
    // Grey and paletted pictures still become three colour components.
    QImage grey = testPicture(16, 16).convertToFormat(QImage::Format_Grayscale8);
    expectAlbumPictureFormat(EncodeJpeg(grey, 90, nullptr), QSize(16, 16));
    QImage indexed = testPicture(16, 16).convertToFormat(QImage::Format_Indexed8);
    expectAlbumPictureFormat(EncodeJpeg(indexed, 90, nullptr), QSize(16, 16));

    const QImage original = testPicture(64, 48);
    const QImage decoded = DecodeJpeg(EncodeJpeg(original, 90, nullptr), nullptr);
    ASSERT_EQ(decoded.size(), original.size());
    const QRgb a = original.pixel(20, 20), b = decoded.pixel(20, 20);
    EXPECT_LE(std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)), 24);

    QString error;
    EXPECT_TRUE(EncodeJpeg(QImage(), 90, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

TEST(PictureStore, StoresTheBytesUnchangedUnderTheAlbumName) {
    TempCatalogue cat;
    cat.addPerformer(kPerformer, W("Герой асфальта\r\n"));
    const QByteArray jpeg = testJpeg();
    const QByteArray album = W("Герой асфальта");
    EXPECT_FALSE(HasAlbumPicture(cat.startDir(), kPerformer, album));
    EXPECT_TRUE(CanStoreAlbumPicture(cat.startDir(), kPerformer, album));
    EXPECT_FALSE(cat.exists(kImage + U("Герой асфальта.jpg"))) << "the check writes nothing";
    StoreAlbumPicture(cat.startDir(), kPerformer, album, jpeg);
    EXPECT_EQ(cat.read(kImage + U("Герой асфальта.jpg")), jpeg);
    EXPECT_TRUE(HasAlbumPicture(cat.startDir(), kPerformer, album));
    EXPECT_EQ(AlbumPicturePath(cat.startDir(), kPerformer, album),
              cat.path(kImage + U("Герой асфальта.jpg")));
    // Blanks and an empty name are album names like any other.
    StoreAlbumPicture(cat.startDir(), kPerformer, " x ", jpeg);
    StoreAlbumPicture(cat.startDir(), kPerformer, "", jpeg);
    EXPECT_EQ(cat.read(kImage + " x .jpg"), jpeg);
    EXPECT_EQ(cat.read(kImage + ".jpg"), jpeg);
}

TEST(PictureStore, NamesThatCannotNameAFileNeverReachTheDisk) {
    TempCatalogue cat;
    cat.addPerformer(kPerformer);
    cat.mkdir(U("Data/Ария/Image/a"));
    const auto before = cat.snapshot();
    QList<QByteArray> refused = {".", "..", QByteArray("a\0b", 3)};
    for (const char c : QByteArray(kPathCharacters)) refused.append("a" + QByteArray(1, c) + "b");
    refused.append("../../../escape");
    for (const QByteArray& album : refused) {
        EXPECT_FALSE(IsStorablePictureName(album)) << album.constData();
        EXPECT_FALSE(CanStoreAlbumPicture(cat.startDir(), kPerformer, album));
        EXPECT_THROW(StoreAlbumPicture(cat.startDir(), kPerformer, album, testJpeg()),
                     StoreNameError);
    }
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_FALSE(cat.exists("escape.jpg"));
}

TEST(PictureStore, NoPictureFolderMeansNoPictureAndNoFile) {
    TempCatalogue cat;
    cat.mkdir(U("Data/Ария"));
    const auto before = cat.snapshot();
    EXPECT_FALSE(CanStoreAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_THROW(StoreAlbumPicture(cat.startDir(), kPerformer, "Album", testJpeg()), StoreError);
    EXPECT_EQ(cat.snapshot(), before);
    // A folder in the picture's place is not a picture and is never written over.
    cat.addPerformer(kPerformer);
    cat.mkdir(kImage + "Album.jpg");
    EXPECT_FALSE(HasAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_FALSE(CanStoreAlbumPicture(cat.startDir(), kPerformer, "Album"));
}

TEST(PictureStore, ReplacementKeepsTheOldPictureUntilTheNewOneIsWhole) {
    TempCatalogue cat;
    FaultGuard guard;
    cat.addPerformer(kPerformer);
    const QByteArray old = testJpeg(20, 20), replacement = testJpeg(50, 40);
    cat.write(kImage + "Album.jpg", old);
    EXPECT_TRUE(CanStoreAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_EQ(cat.read(kImage + "Album.jpg"), old) << "the check must not empty the picture";
    for (long n = 1; n <= 3; ++n) {
        fileio::failAt(n, ENOSPC, fileio::FaultMode::Once);
        EXPECT_THROW(StoreAlbumPicture(cat.startDir(), kPerformer, "Album", replacement),
                     StoreError);
        EXPECT_EQ(cat.read(kImage + "Album.jpg"), old) << "fault " << n;
    }
    fileio::clearFaults();
    EXPECT_EQ(QDir(cat.path(kImage)).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Album.jpg"});
    StoreAlbumPicture(cat.startDir(), kPerformer, "Album", replacement);
    EXPECT_EQ(cat.read(kImage + "Album.jpg"), replacement);
}

TEST(PictureStore, APictureLinkedToElsewhereIsNotWrittenThrough) {
    TempCatalogue cat;
    cat.addPerformer(kPerformer);
    cat.write("outside.jpg", "outside");
    ASSERT_TRUE(QFile::link(cat.path("outside.jpg"), cat.path(kImage + "Album.jpg")));
    EXPECT_TRUE(HasAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_FALSE(CanStoreAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_THROW(StoreAlbumPicture(cat.startDir(), kPerformer, "Album", testJpeg()), StoreError);
    EXPECT_EQ(cat.read("outside.jpg"), "outside");
    // Removing it removes the link, never what it points at.
    EXPECT_TRUE(RemoveAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_EQ(cat.read("outside.jpg"), "outside");
}

TEST(PictureStore, RemovalTakesOnlyThePictureFile) {
    TempCatalogue cat;
    cat.addPerformer(kPerformer);
    cat.write(kImage + "Album.jpg", testJpeg());
    cat.write(kImage + "Other.jpg", "other");
    EXPECT_TRUE(RemoveAlbumPicture(cat.startDir(), kPerformer, "Album"));
    EXPECT_FALSE(cat.exists(kImage + "Album.jpg"));
    EXPECT_EQ(cat.read(kImage + "Other.jpg"), "other");
    EXPECT_FALSE(RemoveAlbumPicture(cat.startDir(), kPerformer, "Album"));
    // A folder of that name, with whatever it holds, is never removed.
    cat.write(kImage + "Dir.jpg/inside.txt", "keep");
    EXPECT_FALSE(RemoveAlbumPicture(cat.startDir(), kPerformer, "Dir"));
    EXPECT_EQ(cat.read(kImage + "Dir.jpg/inside.txt"), "keep");
    EXPECT_FALSE(RemoveAlbumPicture(cat.startDir(), kPerformer, "../../Ария/Albums"));
    EXPECT_TRUE(cat.exists(U("Data/Ария/Albums.lrx")));
}

namespace {

// Catches the hand-over of a file to the system's viewer.
class ViewerSpy : public QObject {
    Q_OBJECT
  public:
    ViewerSpy() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~ViewerSpy() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

const QString kCannotStore =
    U("Warning|OK|Не удаётся сохранить картинку. Скорее всего вы использовали\r"
      "неразрешённые символы в имени альбома: \" * / : < > ? \\ |.");

// The main window in edit mode over a catalogue with one performer and these albums:
// "Герой асфальта", "Live: 1990", "..", "Empty"; and a performer without a picture folder.
class PictureCommands : public AppTest {
  protected:
    void SetUp() override {
        cat.addPerformer(kPerformer, W("Герой асфальта\r\nLive: 1990\r\n..\r\nEmpty\r\n"));
        cat.addPerformer("NoImage", "Album\r\n");
        QDir(cat.path("Data/NoImage/Image")).removeRecursively();
        cat.mkdir("pick");
        start();
        MainForm->show();
        MainForm->RedONSpeedButton->click();
        choosePerformer(U("Ария"));
    }

    // A file for the open dialog to return, below the start directory but outside Data/.
    QString pick(const QString& name, const QByteArray& bytes) {
        cat.write("pick/" + name, bytes);
        return cat.path("pick/" + name);
    }
    QString pickBitmap(const QString& name, QSize size) {
        const QString path = cat.path("pick/" + name);
        EXPECT_TRUE(testPicture(size.width(), size.height()).save(path, "BMP"));
        return path;
    }
    // Runs the attach command with this file chosen in the open dialog.
    void attach(const QString& chosen) {
        modal.chooseFile(chosen);
        MainForm->ImageSpeedButton->click();
    }
    QByteArray picture(const QString& album) { return cat.read(kImage + album + ".jpg"); }
};

}  // namespace

TEST_F(PictureCommands, AJpegIsStoredByteForByteWhateverItsName) {
    const QByteArray jpeg = testJpeg(64, 48);
    chooseAlbum(U("Герой асфальта"));
    attach(pick("cover.jpg", jpeg));
    ASSERT_EQ(modal.fileRequests.size(), 1u);
    EXPECT_EQ(modal.fileRequests[0].title, U("Открытие рисунка: Ария - Герой асфальта"));
    EXPECT_EQ(
        modal.fileRequests[0].filters,
        QStringList({U("Все поддерживаемые форматы (*.jpg *.jpeg *.bmp)"),
                     U("Картинки  *.jpg, *.jpeg (*.jpg *.jpeg)"), U("Картинки  *.bmp (*.bmp)")}));
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(picture(U("Герой асфальта")), jpeg);
    EXPECT_TRUE(MainForm->PictureShown());
    EXPECT_EQ(MainForm->Image->picture().size(), QSize(64, 48));
    EXPECT_FALSE(ImageForm->Image1->isHidden());
    EXPECT_EQ(ImageForm->Image1->picture().size(), QSize(64, 48));

    // The content decides: a JPEG named .bmp is a JPEG, stored unchanged.
    const QByteArray other = testJpeg(30, 30, 50);
    chooseAlbum("Empty");
    attach(pick("disguised.bmp", other));
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(picture("Empty"), other);

    // Cancelling the open dialog does nothing.
    const auto before = cat.snapshot();
    MainForm->ImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(PictureCommands, ABitmapIsStoredAsABaselineJpegAtQuality90) {
    chooseAlbum(U("Герой асфальта"));
    attach(pickBitmap("cover.bmp", QSize(101, 67)));
    EXPECT_EQ(messages(), QStringList());
    expectAlbumPictureFormat(picture(U("Герой асфальта")), QSize(101, 67));
    EXPECT_EQ(MainForm->Image->picture().size(), QSize(101, 67));
    EXPECT_FALSE(ImageForm->Image1->isHidden());
}

TEST_F(PictureCommands, WhatNoPictureFormatTakesEndsInTheGeneralErrorReport) {
    chooseAlbum(U("Герой асфальта"));
    const auto before = cat.snapshot();
    attach(pickBitmap("bitmap.jpg", QSize(8, 8)));
    EXPECT_EQ(messages(), QStringList({"Cantoria|OK|Not a JPEG file: starts with 0x42 0x4d."}));
    attach(pick("notes.png", "not a picture"));
    EXPECT_EQ(messages(), QStringList({"Cantoria|OK|Unknown picture file extension (.png)"}));
    attach(pick("broken.BMP", "BM but nothing more"));
    EXPECT_EQ(messages(), QStringList({"Cantoria|OK|Bitmap image is not valid."}));
    attach(cat.path("pick/gone.bmp"));
    EXPECT_EQ(messages(), QStringList({"Cantoria|OK|File not found."}));
    EXPECT_EQ(cat.snapshot(), before);
}

TEST_F(PictureCommands, AlbumNamesThatCannotNameAFileGetTheWarningAndNoFile) {
    const auto before = cat.snapshot();
    for (const char* album : {"Live: 1990", ".."}) {
        chooseAlbum(album);
        attach(pick("cover.jpg", testJpeg()));
        EXPECT_EQ(messages(), QStringList{kCannotStore});
        attach(pickBitmap("cover.bmp", QSize(8, 8)));
        EXPECT_EQ(messages(), QStringList{kCannotStore});
    }
    // A performer folder without its picture folder cannot take a picture either.
    choosePerformer("NoImage");
    chooseAlbum("Album");
    attach(pick("cover.jpg", testJpeg()));
    EXPECT_EQ(messages(), QStringList{kCannotStore});
    EXPECT_EQ(cat.snapshot(), before);
    EXPECT_FALSE(cat.exists("Data/NoImage/Image"));
}

TEST_F(PictureCommands, AReplacementIsAskedForAndRefusedNamesStayRefused) {
    const QString question =
        U("Information|OK,Cancel|Для этого альбома уже есть картинка. Заменить?");
    const QByteArray old = testJpeg(20, 20), replacement = testJpeg(50, 40);
    cat.write(kImage + U("Герой асфальта.jpg"), old);
    chooseAlbum(U("Герой асфальта"));
    modal.answer(Cancel);
    attach(pick("new.jpg", replacement));
    EXPECT_EQ(messages(), QStringList{question});
    EXPECT_EQ(picture(U("Герой асфальта")), old);

    modal.answer(Ok);
    attach(pick("new.jpg", replacement));
    EXPECT_EQ(messages(), QStringList{question});
    EXPECT_EQ(picture(U("Герой асфальта")), replacement);

    modal.answer(Ok);
    attach(pickBitmap("new.bmp", QSize(33, 22)));
    EXPECT_EQ(messages(), QStringList{question});
    expectAlbumPictureFormat(picture(U("Герой асфальта")), QSize(33, 22));

    // A picture that came from elsewhere under a name this program refuses is never replaced.
    cat.write(kImage + "Live: 1990.jpg", old);
    chooseAlbum("Live: 1990");
    modal.answer(Ok);
    attach(pick("new.jpg", replacement));
    EXPECT_EQ(messages(), QStringList({question, kCannotStore}));
    EXPECT_EQ(picture("Live: 1990"), old);
    EXPECT_EQ(QDir(cat.path(kImage)).entryList(QDir::Files | QDir::Hidden),
              QStringList({U("Live: 1990.jpg"), U("Герой асфальта.jpg")}));
}

TEST_F(PictureCommands, RemovalAsksAndTakesOnlyThatFile) {
    const QString noPicture =
        U("Information|OK|Альбом не выбран или у этого альбома нет картинки.");
    const QString question =
        U("Confirm|&Yes,&No|Вы уверены что хотите удалить картинку альбома?\r"
          "Востановление будет невозможно!");
    cat.write(kImage + U("Герой асфальта.jpg"), testJpeg());
    cat.write(kImage + "Empty.jpg/inside.txt", "a folder, not a picture");
    // The picture of the album shown before counts for nothing once no album is selected.
    chooseAlbum(U("Герой асфальта"));
    choosePerformer(U("Ария"));
    MainForm->DelImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{noPicture});
    MainForm->ImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{U("Information|OK|Выберите альбом.")});
    EXPECT_TRUE(modal.fileRequests.empty());

    chooseAlbum("Empty");
    MainForm->DelImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{noPicture});
    EXPECT_EQ(cat.read(kImage + "Empty.jpg/inside.txt"), "a folder, not a picture");

    chooseAlbum(U("Герой асфальта"));
    ASSERT_TRUE(MainForm->PictureShown());
    modal.answer(No);
    MainForm->DelImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{question});
    EXPECT_TRUE(cat.exists(kImage + U("Герой асфальта.jpg")));
    EXPECT_TRUE(MainForm->PictureShown());

    MainForm->DelImageSpeedButton->click();
    EXPECT_EQ(messages(), QStringList{question});
    EXPECT_FALSE(cat.exists(kImage + U("Герой асфальта.jpg")));
    EXPECT_FALSE(MainForm->PictureShown());
    EXPECT_TRUE(ImageForm->Image1->isHidden());
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: "));
    EXPECT_EQ(QDir(cat.path(kImage)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"Empty.jpg"});
}

TEST_F(PictureCommands, TheLargeWindowFollowsTheAlbumsAndOnlyHidesWhenClosed) {
    cat.write(kImage + U("Герой асфальта.jpg"), testJpeg(64, 48));
    cat.write(kImage + "Empty.jpg", testJpeg(30, 40));
    chooseAlbum(U("Герой асфальта"));
    MainForm->N1->trigger();
    ASSERT_TRUE(ImageForm->isVisible());
    EXPECT_FALSE(ImageForm->isModal());
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: Ария - Герой асфальта"));
    EXPECT_EQ(ImageForm->Image1->picture().size(), QSize(64, 48));
    EXPECT_EQ(ImageForm->frameGeometry().size(), TImageForm::kStartSize);
    const QRect screen = ImageForm->screen()->availableGeometry();
    EXPECT_LE((ImageForm->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    // The picture fills the window, scaled to fit with its proportions kept.
    EXPECT_EQ(ImageForm->Image1->geometry(), ImageForm->rect());
    EXPECT_EQ(ImageForm->Image1->pictureRect().width(), ImageForm->Image1->width());
    EXPECT_EQ(ImageForm->Image1->pictureRect().height(), ImageForm->Image1->width() * 48 / 64);
    ImageForm->resize(300, 900);
    EXPECT_EQ(ImageForm->Image1->geometry(), ImageForm->rect());
    EXPECT_TRUE(MainForm->isEnabled());

    chooseAlbum("Empty");
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: Ария - Empty"));
    EXPECT_EQ(ImageForm->Image1->picture().size(), QSize(30, 40));
    EXPECT_FALSE(ImageForm->Image1->isHidden());
    chooseAlbum("Live: 1990");
    EXPECT_EQ(ImageForm->windowTitle(), U("Картинка: Ария - Live: 1990"));
    EXPECT_TRUE(ImageForm->Image1->isHidden());

    // Closing hides the window; it opens again with its content.
    ImageForm->close();
    EXPECT_FALSE(ImageForm->isVisible());
    ASSERT_NE(ImageForm, nullptr);
    chooseAlbum(U("Герой асфальта"));
    MainForm->N1->trigger();
    EXPECT_TRUE(ImageForm->isVisible());
    EXPECT_EQ(ImageForm->Image1->picture().size(), QSize(64, 48));
    EXPECT_EQ(messages(), QStringList());
}

TEST_F(PictureCommands, TheLargeWindowTakesOnlyTheWindowColour) {
    cat.write("Data/Settings.ini", "[colors]\r\nformcolor=255\r\ncolor=65280\r\n");
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(ImageForm, &activate);
    EXPECT_EQ(ImageForm->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_NE(ImageForm->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(PictureCommands, TheViewerGetsThePictureFile) {
    ViewerSpy viewer;
    cat.write(kImage + U("Герой асфальта.jpg"), testJpeg());
    chooseAlbum(U("Герой асфальта"));
    MainForm->N7->trigger();
    EXPECT_EQ(viewer.opened,
              QList<QUrl>{QUrl::fromLocalFile(cat.path(kImage + U("Герой асфальта.jpg")))});
    EXPECT_EQ(messages(), QStringList());
}

#include "pictures_tests.moc"
