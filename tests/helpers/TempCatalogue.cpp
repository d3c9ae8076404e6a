#include "tests/helpers/TempCatalogue.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "store/Cp1251.h"

TempCatalogue::TempCatalogue() : startDir_(dir_.path()) {}

void TempCatalogue::write(const QString& relative, const QByteArray& bytes) const {
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
    f.write(bytes);
}

void TempCatalogue::mkdir(const QString& relative) const {
    QDir().mkpath(path(relative));
}

QByteArray TempCatalogue::read(const QString& relative) const {
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return f.readAll();
}

bool TempCatalogue::exists(const QString& relative) const {
    return QFileInfo::exists(path(relative));
}

QMap<QString, QByteArray> TempCatalogue::snapshot() const {
    QMap<QString, QByteArray> files;
    const QString data = path(QStringLiteral("Data"));
    QDirIterator it(data, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString full = it.next();
        const QString rel = QDir(startDir_).relativeFilePath(full);
        if (it.fileInfo().isDir())
            files.insert(rel + u'/', QByteArray("<dir>"));
        else
            files.insert(rel, read(rel));
    }
    return files;
}

void TempCatalogue::addPerformer(const QByteArray& name, const QByteArray& albums,
                                 const QByteArray& songs, const QByteArray& texts) const {
    const QString folder = QStringLiteral("Data/") + cp1251::decode(name);
    mkdir(folder + QStringLiteral("/Image"));
    write(folder + QStringLiteral("/Albums.lrx"), albums);
    write(folder + QStringLiteral("/Songs.lrx"), songs);
    write(folder + QStringLiteral("/Texts.lrx"), texts);
    QByteArray list = exists(QStringLiteral("Data/performers.lrx"))
                          ? read(QStringLiteral("Data/performers.lrx"))
                          : QByteArray();
    write(QStringLiteral("Data/performers.lrx"), list + name + "\r\n");
}

QByteArray W(const char* utf8) {
    return cp1251::encode(QString::fromUtf8(utf8)).bytes;
}

namespace {
QByteArray SmallPicture(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
}  // namespace

QByteArray SmallJpeg(int width, int height) {
    return SmallPicture(width, height, "JPG");
}

QByteArray SmallBitmap(int width, int height) {
    return SmallPicture(width, height, "BMP");
}

QMap<QString, QByteArray> SnapshotTree(const QString& root) {
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString full = it.next();
        const QFileInfo info = it.fileInfo();
        const QString rel = QDir(root).relativeFilePath(full);
        if (info.isSymLink()) {
            tree.insert(rel, "l:" + info.symLinkTarget().toUtf8());
        } else if (info.isDir()) {
            tree.insert(rel + u'/', "d");
        } else {
            QFile f(full);
            tree.insert(rel, f.open(QIODevice::ReadOnly) ? "f:" + f.readAll() : "f:?");
        }
    }
    return tree;
}
