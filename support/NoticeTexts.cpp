#include "support/NoticeTexts.h"

namespace {

// Messages of two sentences stand on two lines: "\r" starts the second.
NoticeText inform(const char* text, int buttons = Ok) {
    return {MsgKind::Information, QString::fromUtf8(text), buttons};
}
NoticeText warn(const char* text) {
    return {MsgKind::Warning, QString::fromUtf8(text), Ok};
}
NoticeText error(const char* text) {
    return {MsgKind::Error, QString::fromUtf8(text), Ok};
}
NoticeText ask(const char* text) {
    return {MsgKind::Confirm, QString::fromUtf8(text), Yes | No};
}

QString arg(const Notice& notice, int i) {
    return i < notice.args.size() ? notice.args[i] : QString();
}

NoticeText withArgument(NoticeText base, const Notice& notice) {
    base.text += arg(notice, 0);
    return base;
}

NoticeText withFileNamed(NoticeText base, const Notice& notice) {
    base.text = base.text.arg(arg(notice, 0));
    return base;
}

}  // namespace

NoticeText TextOf(const Notice& notice) {
    switch (notice.id) {
        case NoticeId::AlbumListMissing:
            return withArgument(warn("Не найдено файла с списком альбомов: "), notice);
        case NoticeId::SongListMissing:
            return withArgument(warn("Не найдено файла с списками песен: "), notice);
        case NoticeId::TextFileMissing:
            return withArgument(warn("Не найдено файла с тексами песен: "), notice);
        case NoticeId::ChoosePerformer:
            return inform("Выберите исполнителя.");
        case NoticeId::EmptyPerformerName:
            return inform("Имя исполнителя не может бить нулевой длины.");
        case NoticeId::NoPictureToRemove:
            return inform("Альбом не выбран или у этого альбома нет картинки.");
        case NoticeId::ConfirmPerformerDeletion:
            return ask(
                "Вы уверены что хотите удалить исполнителя?\rВостановление будет невозможно!");
        case NoticeId::ConfirmPictureRemoval:
            return ask(
                "Вы уверены что хотите удалить картинку альбома?\rВостановление будет невозможно!");
        case NoticeId::ConfirmPerformerReplacement:
            return inform(
                "Такой исполнитель уже существует. Хотите заменить новыми данными?\rОткатить "
                "изменения будет невозможно!",
                Ok | Cancel);
        case NoticeId::EnterName:
            return inform("Введите имя.");
        case NoticeId::PerformerExists:
            return inform("Такой исполнитель уже существует.");
        case NoticeId::PerformerNameUnsafe:
            return inform(
                "Имя исполнителя не может содержать символы \\ / : * ? \" < > | и не может быть "
                "\".\" или \"..\".");
        case NoticeId::EmptyAlbumName:
            return inform("Имя альбома не может быть пустым.");
        case NoticeId::AlbumExistsRename:
            return inform("Такой альбом уже существует.\rВведите другое имя.");
        case NoticeId::EmptyPerformerNameRename:
            return inform("Имя исполнителя не может быть пустым.");
        case NoticeId::PerformerExistsRename:
            return inform("Такой исполнитель уже существует.\rВведите другое имя.");
        case NoticeId::EmptySongName:
            return inform("Имя песни не может быть пустым.");
        case NoticeId::SongExistsRename:
            return inform("Такая песня уже существует.\rВведите другое имя.");
        case NoticeId::NameHasControlCharacter:
            return inform("Имя не может содержать переводы строки и другие управляющие символы.");
        case NoticeId::NameHasPathCharacter:
            return inform("Имя не может содержать символы \\ / : * ? \" < > |");
        case NoticeId::NameIsDot:
            return inform("Имя не может быть «.» или «..».");
        case NoticeId::NameTooLong:
            return inform(
                "Имя слишком длинное: имя папки или файла не может быть длиннее 255 байт.");
        case NoticeId::SongNamedEndAlbum:
            return inform("Песню нельзя назвать «endalbum».");
        case NoticeId::SongListHoldsEndAlbum:
            return inform("Песня не может называться \"endalbum\".");
        case NoticeId::TextHoldsEndSong:
            return inform("Текст песни не может содержать строку \"endsong\".");
        case NoticeId::PerformerFolderFailure:
            return warn(
                "    Возникли ошибки при создании каталогов и файлов исполнителя. Возможно весь "
                "каталог или некоторые файлы уже сучествуют. Попробуйте просматривать альбомы и "
                "песни этого исполнителя, если ничего не работает или работает неправильно, "
                "удалите исполнителя кнопкой \"Удаление исполнителя\" и попробуйте создать его "
                "заново.");
        case NoticeId::DeletionProblems:
            return error(
                "При удалении возникли проблемы, возможно, не все файлы были удалены.\r Вы можете "
                "удалить их вручную.");
        case NoticeId::RenameProblems:
            return error(
                "При переименовании возникли проблемы, возможно, не все старые файлы были "
                "удалены.\r Вы можете удалить их вручную.");
        case NoticeId::ScanNoFolder:
            return inform("Укажите путь для сканирования.");
        case NoticeId::ScanUnsuitableFolder:
            return inform(
                "Вы уверены в своём выборе?\rВыбранный каталог не подходит для сканирования.");
        case NoticeId::ScanRefused:
            return withArgument(warn(""), notice);
        case NoticeId::ReplacedCharacters: {
            NoticeText text = warn(
                "Символы, которых нет в кодировке Windows-1251, сохранены как знак \"?\" в "
                "песнях:");
            text.text += u'\r' + notice.args.join(u'\r');
            return text;
        }
        case NoticeId::ScanUnreadFiles: {
            NoticeText text = warn("Файлы, которые не удалось прочитать целиком:");
            text.text += u'\r' + notice.args.join(u'\r');
            return text;
        }
        case NoticeId::ScanMusicWithoutLyrics:
            return withArgument(inform("Пропущено музыкальных файлов без текста: "), notice);
        case NoticeId::ImportNoFolder:
            return inform("Не выбрано каталога для сканирования.");
        case NoticeId::ImportNoBase:
            return inform("Выбранный каталог не содержит баз для программы.");
        case NoticeId::ImportUnencodableName: {
            NoticeText text = withArgument(
                inform("Имя каталога содержит символы, которые нельзя сохранить: "), notice);
            text.text += u'.';
            return text;
        }
        case NoticeId::ImportUnusableName: {
            NoticeText text = withArgument(inform("Имя каталога «"), notice);
            text.text += QStringLiteral("» нельзя использовать как имя исполнителя.");
            return text;
        }
        case NoticeId::ImportOwnFolder:
            return inform(
                "Выбранный каталог является каталогом этого же исполнителя в текущей базе.");
        case NoticeId::ImportOldDataProblems:
            return error("Возникли ошибки при удалении старых данных исполнителя.");
        case NoticeId::ImportCopyProblems:
            return error(
                "Возникли ошибки при добавлении автора из базы. Возможно не все данные были "
                "перенесены.");
        case NoticeId::ExportDone:
            return withArgument(inform(""), notice);
        case NoticeId::ExportRefused:
            return withArgument(warn(""), notice);
        case NoticeId::ExportNoFolder:
            return inform("Укажите папку для экспорта.");
        case NoticeId::FirstRunAdvice:
            return inform(
                "Если вы впервые используете эту программу, рекомендуется прочитать справку.");
        case NoticeId::UndoBlockedByOutsideChange:
            return withFileNamed(warn("Отменить нельзя: файл «%1» изменён после этого действия."),
                                 notice);
        case NoticeId::ConfirmOverwriteOutsideChange:
            return withFileNamed(ask("Файл «%1» изменён другой программой после того, как был "
                                     "прочитан. Записать поверх него?"),
                                 notice);
        case NoticeId::SyncConflictCopy:
            return withFileNamed(inform("Найдена конфликтная копия синхронизации: «%1». Программа "
                                        "её не читает; перенесите нужные строки вручную и "
                                        "удалите её."),
                                 notice);
        case NoticeId::RedoBlockedByOutsideChange:
            return withFileNamed(warn("Повторить нельзя: файл «%1» изменён после отмены."), notice);
    }
    return inform("");
}
