#include "store/Names.h"

#include <algorithm>
#include <cstring>

#include "store/StorePaths.h"

namespace {

bool holdsControlCharacter(QByteArrayView name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x20; });
}

// The nine path characters are ASCII, and Windows-1251 keeps ASCII as it is.
bool holdsPathCharacter(QByteArrayView name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return c != '\0' && std::strchr(kPathCharacters, c); });
}

bool isDotName(QByteArrayView name) {
    return name == "." || name == "..";
}

bool isListed(QByteArrayView name, const Lines& list) {
    return std::any_of(list.begin(), list.end(), [&](const Line& line) { return line == name; });
}

// The checks shared by the names that become folder or file names; `suffix` is what the
// file name adds to the name (".jpg").
NameProblem checkPathName(QByteArrayView name, const Lines& list, qsizetype suffix) {
    if (name.isEmpty()) return NameProblem::Empty;
    if (holdsControlCharacter(name)) return NameProblem::ControlCharacter;
    if (holdsPathCharacter(name)) return NameProblem::PathCharacter;
    if (isDotName(name)) return NameProblem::DotName;
    if (!FitsNameLimit(name, suffix)) return NameProblem::TooLong;
    if (isListed(name, list)) return NameProblem::Duplicate;
    return NameProblem::None;
}

qsizetype pictureSuffixLength() {
    return kPictureSuffix.size();
}

}  // namespace

NameProblem CheckAlbumName(QByteArrayView name, const Lines& albums) {
    // The album's name is carried into its picture's file name.
    return checkPathName(name, albums, pictureSuffixLength());
}

NameProblem CheckPerformerName(QByteArrayView name, const Lines& performers) {
    return checkPathName(name, performers, 0);
}

NameProblem CheckSongName(QByteArrayView name, const Lines& songsOfAlbum) {
    if (name.isEmpty()) return NameProblem::Empty;
    if (holdsControlCharacter(name)) return NameProblem::ControlCharacter;
    if (name == kSongBlockEnd) return NameProblem::EndLine;
    if (isListed(name, songsOfAlbum)) return NameProblem::Duplicate;
    return NameProblem::None;
}

Line WithoutTrailingBlanks(QByteArrayView name) {
    qsizetype size = name.size();
    while (size > 0 && name[size - 1] == ' ') --size;
    return name.first(size).toByteArray();
}

bool IsStorablePerformerName(QByteArrayView name) {
    return CheckPerformerName(name, {}) == NameProblem::None;
}

bool IsStorablePictureName(QByteArrayView album) {
    if (isDotName(album) || album.contains('\0')) return false;
    if (!FitsNameLimit(album, pictureSuffixLength())) return false;
    return !holdsPathCharacter(album);
}

bool IsPictureFileName(const QString& fileName) {
    return fileName.endsWith(kPictureSuffix, Qt::CaseInsensitive);
}
