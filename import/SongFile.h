#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <exception>

// A song as a song file of another program gives it: its name and the lines of its text, chord
// lines above their lyric lines as lyric files have them.
struct ReadSong {
    QString name;
    QStringList lines;
};

// A song file that cannot be read: damaged, of another kind than its name says, or built to
// harm its reader. reason() says why, for the list of skipped files after a scan.
class SongFileRefused : public std::exception {
  public:
    explicit SongFileRefused(QString reason) : reason_(std::move(reason)) {}
    const QString& reason() const { return reason_; }
    const char* what() const noexcept override { return "song file refused"; }

  private:
    QString reason_;
};

// The most text one song takes from a song file: 1 MB of UTF-16 text, far more than any song.
constexpr qsizetype kLongestSongText = 1024 * 1024;
