// Lyrics kept in music files, and .lrc files beside them, brought in by the song scanner. The
// audio is made by ffmpeg and tagged by mutagen, as other programs make and tag it.
#include <gtest/gtest.h>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/Forms.h"
#include "importwindows/ScanerForm.h"
#include "mainwindow/MainForm.h"
#include "tests/helpers/AppFixture.h"

namespace {

// Tags one audio file with mutagen: its title and track number when given, and its lyrics
// (read from a file, so that they can be large) under the tag its kind keeps them in.
const char* const kTagger = R"(
import sys
from mutagen.id3 import ID3, TIT2, TRCK, USLT
from mutagen.flac import FLAC
from mutagen.oggvorbis import OggVorbis
from mutagen.oggopus import OggOpus
from mutagen.mp4 import MP4
path, title, track, key, lyrics_file = sys.argv[1:6]
lyrics = open(lyrics_file, encoding='utf-8').read() if lyrics_file else ''
if path.endswith('.mp3'):
    t = ID3()
    if title: t.add(TIT2(encoding=3, text=title))
    if track: t.add(TRCK(encoding=3, text=track))
    if lyrics: t.add(USLT(encoding=3, lang='rus', desc='', text=lyrics))
    t.save(path)
elif path.endswith('.m4a'):
    f = MP4(path)
    if title: f['\xa9nam'] = [title]
    if track: f['trkn'] = [(int(track), 0)]
    if lyrics: f['\xa9lyr'] = [lyrics]
    f.save()
else:
    f = {'flac': FLAC, 'ogg': OggVorbis, 'opus': OggOpus}[path.rsplit('.', 1)[1]](path)
    if title: f['TITLE'] = title
    if track: f['TRACKNUMBER'] = track
    if lyrics: f[key] = lyrics
    f.save()
)";

bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    const bool ran =
        p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    EXPECT_TRUE(ran) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return ran;
}

struct Track {
    const char* file;
    const char* title;
    const char* track;
    const char* key;  // of the Vorbis comment
    QString lyrics;
};

class MusicScan : public AppTest {
  protected:
    void SetUp() override {
        const bool tools = !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty() &&
                           RunTool(QStringLiteral("/usr/bin/python3"), {"-c", "import mutagen"});
        if (!tools) CANTORIA_SKIP_UNLESS_REQUIRED("ffmpeg or python3-mutagen missing");
        cat.addPerformer(W("Группа"));
        start();
        choosePerformer(U("Группа"));
    }
    // A tenth of a second of silence in the file's format, tagged.
    void make(const QString& folder, const Track& t) {
        const QString path = cat.path(folder + u'/' + U(t.file));
        const QString extension = path.section(u'.', -1);
        QStringList codec{"-c:a", extension == "mp3"    ? "libmp3lame"
                                  : extension == "m4a"  ? "aac"
                                  : extension == "ogg"  ? "libvorbis"
                                  : extension == "opus" ? "libopus"
                                                        : "flac"};
        cat.mkdir(folder);
        QStringList arguments{"-v", "error", "-f", "lavfi", "-i", "anullsrc=r=48000:cl=mono",
                              "-t", "0.1"};
        arguments += codec;
        arguments += QStringList{"-y", path};
        RunTool(QStringLiteral("ffmpeg"), arguments);
        QString lyricsFile;
        if (!t.lyrics.isEmpty()) {
            lyricsFile = cat.path(QStringLiteral("lyrics.txt"));
            cat.write(QStringLiteral("lyrics.txt"), t.lyrics.toUtf8());
        }
        RunTool(QStringLiteral("/usr/bin/python3"),
                {"-c", kTagger, path, U(t.title), t.track, t.key, lyricsFile});
    }
    void scan() {
        modal.onDialog([&](QDialog*) {
            ScanerForm->Edit1->setText(cat.path(QStringLiteral("scan")));
            ScanerForm->ScanButton->click();
        });
        MainForm->ScanerSpeedButtonClick();
    }
};

TEST_F(MusicScan, EveryKindOfTagGivesItsTrackInTrackOrder) {
    const Track tracks[] = {
        {"01 - Первая.mp3", "Звезда", "3", "", U("Белый снег,\r\nсерый лёд")},
        {"02. Вторая.flac", "", "1", "LYRICS", U("Вторая строка")},
        {"03 Третья.ogg", "Кукушка", "2", "UNSYNCEDLYRICS", U("Песен ещё")},
        {"04 Четвёртая.opus", "", "4", "LYRICS", U("Опус")},
        {"05 Пятая.m4a", "", "5", "", U("Из m4a")},
        {"06 Шестая.mp3", "", "6", "", {}},
        {"07 Тишина.mp3", "", "7", "", {}},
    };
    for (const Track& t : tracks) make(QStringLiteral("scan/A"), t);
    cat.write(
        U("scan/A/06 Шестая.lrc"),
        U("[ti:Из LRC]\n[ar:Кино]\n[00:01.00]Строка один\n[00:02.50][00:10.00]Припев\n").toUtf8());
    cat.write(U("scan/B/Одна.lrc"), U("[ar:Кино]\n[00:01]<00:01.5>Текст\n").toUtf8());
    // A file of another kind under an audio name, and an mp3 cut short inside its tag.
    cat.write(U("scan/B/broken.mp3"), QByteArray(2048, 'x'));
    make(QStringLiteral("scan/B"), {"cut.mp3", "Обрезан", "", "", QString(4000, u'я')});
    const QByteArray whole = cat.read(QStringLiteral("scan/B/cut.mp3"));
    cat.write(QStringLiteral("scan/B/cut.mp3"), whole.left(2000));
    // 50 MB of lyrics: the first megabyte is kept.
    make(QStringLiteral("scan/C"), {"big.mp3", "Большая", "", "", QString(50 << 20, u'л')});

    scan();
    EXPECT_EQ(cat.read(U("Data/Группа/Songs.lrx")),
              W("A##-**~\r\nВторая\r\nКукушка\r\nЗвезда\r\nЧетвёртая\r\nПятая\r\nИз LRC\r\n"
                "endalbum\r\nB##-**~\r\nОдна\r\nendalbum\r\nC##-**~\r\nБольшая\r\nendalbum\r\n"));
    const QByteArray texts = cat.read(U("Data/Группа/Texts.lrx"));
    EXPECT_EQ(texts.left(texts.indexOf(W("C ##-**~"))),
              W("A ##-**~ Вторая\r\nВторая строка\r\nendsong\r\nA ##-**~ Кукушка\r\nПесен "
                "ещё\r\nendsong\r\nA ##-**~ Звезда\r\nБелый снег,\r\nсерый лёд\r\nendsong\r\n"
                "A ##-**~ Четвёртая\r\nОпус\r\nendsong\r\nA ##-**~ Пятая\r\nИз m4a\r\nendsong\r\n"
                "A ##-**~ Из LRC\r\nСтрока один\r\nПрипев\r\nendsong\r\n"
                "B ##-**~ Одна\r\nТекст\r\nendsong\r\n"));
    EXPECT_EQ(texts.mid(texts.indexOf(W("C ##-**~"))),
              W("C ##-**~ Большая\r\n") + QByteArray(1 << 20, char(0xEB)) + "\r\nendsong\r\n");
    const QString b = cat.path(QStringLiteral("scan/B/"));
    EXPECT_EQ(messages().join(u'\n').toStdString(),
              (U("Warning|OK|Файлы, которые не удалось прочитать целиком:\r") + b +
               U("broken.mp3: музыкальный файл повреждён или другого вида\r") + b +
               U("cut.mp3: музыкальный файл повреждён или другого вида\r") +
               cat.path(QStringLiteral("scan/C/big.mp3")) +
               U(": текст длиннее 1 МБ, сохранено начало\n"
                 "Information|OK|Пропущено музыкальных файлов без текста: 1"))
                  .toStdString());
}

}  // namespace
