// Hostile names through every command that takes a name, typed (through the typing filter
// where the box has it) and pasted, taken from folder and file names by the scanner and the
// import, and given to the folder picker's "New folder". Each pair runs in a sandbox: the
// start directory sits among sibling files and folders, and the whole sandbox tree is
// compared before and after; outside Data/ nothing may change, inside Data/ exactly the
// entries the command is meant to make may appear or go.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <functional>
#include <ostream>

#include "app/Forms.h"
#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/AvtorForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongNameEditForm.h"
#include "dialogs/SongsForm.h"
#include "importwindows/AddPerfBaseForm.h"
#include "importwindows/ScanerForm.h"
#include "mainwindow/MainForm.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/RecordFile.h"
#include "store/StorePaths.h"
#include "support/FolderBrowseDialog.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

// Failures show names as text.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// ------------------------------------------------------------------ the names

struct HostileName {
    const char* label;
    QString text;
};

const QList<HostileName>& Names() {
    static const QList<HostileName> names = {
        {"empty", QString()},
        {"blanks only", QStringLiteral("   ")},
        {"dot", QStringLiteral(".")},
        {"dot dot", QStringLiteral("..")},
        {"slash", QStringLiteral("/")},
        {"climbing path", QStringLiteral("a/../..")},
        {"parent path", QStringLiteral("../x")},
        {"NUL", QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
        {"300 bytes", QString(300, u'x')},
        {"UTF-8 over 255 bytes", QString(128, QChar(0x42F))},  // 128 bytes in cp1251
        {"existing", QStringLiteral("Abc")},
        {"case of existing", QStringLiteral("ABC")},
        {"Japanese", U("日本")},
        {"emoji", U("🎵")},
        {"tab", QStringLiteral("a\tb")},
        {"newline", QStringLiteral("a\nb")},
        {"CR", QStringLiteral("a\rb")},
        {"Ctrl-Z", QStringLiteral("a") + QChar(0x1a) + QStringLiteral("b")},
        {"endalbum", QStringLiteral("endalbum")},
        {"endsong", QStringLiteral("endsong")},
        {"blanks around", QStringLiteral("  Abc2  ")},
        {"backslash", QStringLiteral("a\\b")},
        {"Windows path characters", QStringLiteral("a:b*c?d\"e<f>g|h")},
    };
    return names;
}

bool IsPrintableAscii(const QString& s) {
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    return true;
}

bool HoldsControl(const QString& s) {
    for (QChar c : s)
        if (c.unicode() < 0x20) return true;
    return false;
}

bool HoldsAny(const QString& s, const QString& chars) {
    for (QChar c : chars)
        if (s.contains(c)) return true;
    return false;
}

const QString kLineBreakers = QStringLiteral("\r\n") + QChar(0x1a);

// What the typing filter leaves of a typed name.
QString Filtered(QString s) {
    s.removeIf([](QChar c) { return IsPathCharacter(c); });
    return s;
}

QString TrimTrailingBlanks(QString s) {
    while (s.endsWith(u' ')) s.chop(1);
    return s;
}

qsizetype DiskBytes(const QString& s) {
    return s.toUtf8().size();
}

// A name the platform takes as one folder or file name.
bool CanNameAFolder(const QString& s) {
    return !s.isEmpty() && s != u"." && s != u".." && !s.contains(u'/') && !s.contains(QChar(0)) &&
           DiskBytes(s) <= 255;
}

bool Encodable(const QString& s) {
    return cp1251::encode(s).ok();
}

QString Describe(const QString& chars) {
    return cp1251::describeCharacters(chars);
}

QString Unencodable(const QString& s) {
    return cp1251::encode(s).unencodable;
}

QString Info(const QString& text) {
    return QStringLiteral("Information|OK|") + text;
}

// ------------------------------------------------------------------ texts of the program

const QString kControlText =
    U("Имя не может содержать переводы строки и другие управляющие символы.");
const QString kPathText = U("Имя не может содержать символы \\ / : * ? \" < > |");
const QString kDotText = U("Имя не может быть «.» или «..».");
const QString kTooLongText =
    U("Имя слишком длинное: имя папки или файла не может быть длиннее 255 байт.");
const QString kLineBreakText =
    U("Нельзя сохранить символы возврата каретки и Ctrl-Z (U+000D, U+001A).");
const QString kNewPerformerBadName =
    U("Имя исполнителя не может содержать символы \\ / : * ? \" < > | и не может быть \".\" или "
      "\"..\".");
const QString kPictureWarning =
    U("Warning|OK|Не удаётся сохранить картинку. Скорее всего вы использовали\r"
      "неразрешённые символы в имени альбома: \" * / : < > ? \\ |.");
const QString kScanCancelled = U("\rСканирование отменено, данные не изменены.");

// ------------------------------------------------------------------ the sandbox

using Tree = QMap<QString, QByteArray>;

const QString kData = QStringLiteral("start/Data/");

Tree Part(const Tree& tree, bool insideData) {
    Tree part;
    for (auto it = tree.begin(); it != tree.end(); ++it)
        if (it.key().startsWith(kData) == insideData) part.insert(it.key(), it.value());
    return part;
}

QSet<QString> Paths(const Tree& tree) {
    const QStringList keys = tree.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

QStringList Sorted(const QSet<QString>& paths) {
    QStringList list = paths.values();
    list.sort();
    return list;
}

// A temporary folder holding the start directory among neighbours that a climbing name would
// reach: start/x, start/notes.txt, x/ and sibling.txt beside start/, and a catalogue of one
// performer "Abc" with album "Abc", song "Abc", its text and the album's picture.
class Sandbox {
  public:
    Sandbox() {
        put("sibling.txt", "sibling");
        put("x/keep.txt", "keep");
        put("start/notes.txt", "notes");
        put("start/x/keep.txt", "keep");
        put("start/Data/performers.lrx", "Abc\r\n");
        put("start/Data/Abc/Albums.lrx", "Abc\r\n");
        put("start/Data/Abc/Songs.lrx", "Abc##-**~\r\nAbc\r\nendalbum\r\n");
        put("start/Data/Abc/Texts.lrx", "Abc ##-**~ Abc\r\ntext\r\nendsong\r\n");
        put("start/Data/Abc/Image/Abc.jpg", SmallJpeg(4, 4));
    }
    QString root() const { return dir_.path(); }
    QString path(const QString& relative) const { return root() + u'/' + relative; }
    QString start() const { return path(QStringLiteral("start")); }
    void put(const QString& relative, const QByteArray& bytes) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }
    bool mkdir(const QString& relative) const { return QDir().mkpath(path(relative)); }
    QByteArray read(const QString& relative) const {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    Tree tree() const { return SnapshotTree(root()); }

  private:
    QTemporaryDir dir_;
};

// One program run in a fresh sandbox: the windows are created in its start directory and
// edit mode is on.
class ProgramRun {
  public:
    ProgramRun() : previous_(QDir::currentPath()) {
        QSettings flag(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("software"),
                       QStringLiteral("Cantoria"));
        flag.setValue(QStringLiteral("FirstRun"), 1);
        flag.sync();
    }
    void start() {
        QDir::setCurrent(box.start());
        CreateForms();
        MainForm->RedONSpeedButton->click();
        before_ = box.tree();
    }
    ~ProgramRun() {
        DestroyForms();
        fileio::clearFaults();
        QDir::setCurrent(previous_);
    }
    QStringList messages() {
        QStringList texts;
        for (const MessageBox& b : modal.takeShown()) texts << ::Describe(b);
        return texts;
    }
    static void choose(QComboBox* combo, const QString& name) {
        const int i = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(i, 0) << "no entry " << name.toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }

    // The sandbox outside Data/ is unchanged, and inside Data/ the entries that appeared or
    // went are exactly those the command was meant to make or remove.
    void expectConfined(const QSet<QString>& made = {}, const QSet<QString>& removed = {}) {
        const Tree after = box.tree();
        const QSet<QString> was = Paths(Part(before_, true));
        const QSet<QString> is = Paths(Part(after, true));
        EXPECT_TRUE(Part(before_, false) == Part(after, false)) << "outside Data/ changed";
        EXPECT_EQ(Sorted(is - was), Sorted(made));
        EXPECT_EQ(Sorted(was - is), Sorted(removed));
        before_ = after;
    }

    Sandbox box;
    ScriptedModal modal;

  private:
    QString previous_;
    Tree before_;
};

std::string Pair(const HostileName& n, const char* command) {
    return std::string(command) + " <- " + n.label;
}

QSet<QString> PerformerEntries(const QString& name) {
    const QString f = kData + name + u'/';
    return {f, f + QStringLiteral("Image/"), f + QStringLiteral("Albums.lrx"),
            f + QStringLiteral("Songs.lrx"), f + QStringLiteral("Texts.lrx")};
}

QSet<QString> PerformerEntriesWithPicture(const QString& name) {
    return PerformerEntries(name) << kData + name + QStringLiteral("/Image/Abc.jpg");
}

QByteArray Bytes(const QString& s) {
    return cp1251::encode(s).bytes;
}

// How the user enters a name into a box.
enum class Entry { Typed, Pasted };

std::string Pair(const HostileName& n, Entry how, const char* command) {
    return std::string(command) + (how == Entry::Typed ? " typed <- " : " pasted <- ") + n.label;
}

// Typing reaches only what a keyboard gives: printable ASCII (Tab moves on, Enter saves).
bool CanType(const HostileName& n) {
    return IsPrintableAscii(n.text);
}

void Enter(QLineEdit* edit, const QString& text, Entry how) {
    edit->clear();
    if (how == Entry::Typed)
        QTest::keyClicks(edit, text);
    else
        edit->setText(text);
}

// A new line at the end of a list editor, typed (Enter, then the keys) or pasted.
// (The opener ends the editor's text with a line break, after "Abc".)
void AddLine(QPlainTextEdit* memo, const QString& text, Entry how) {
    memo->moveCursor(QTextCursor::End);
    const bool atLineStart = memo->toPlainText().endsWith(u'\n');
    if (how == Entry::Typed) {
        if (!atLineStart) QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, text);
    } else {
        memo->insertPlainText(atLineStart ? text : u'\n' + text);
    }
}

// The lines a list editor shows after a name was added to the line "Abc": the editor makes a
// line break of LF and CR alike.
QStringList EditorLines(const QString& added) {
    QString text = QStringLiteral("Abc\n") + added;
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// ------------------------------------------------------------------ new performer

struct Expected {
    QStringList messages;
    bool accepted = false;
    QString stored;  // the name as the command stores it
};

Expected Refused(const QString& message) {
    return {{message}, false, QString()};
}

Expected Accepted(const QString& name = QString()) {
    return {{}, true, name};
}

Expected NewPerformer(const QString& entered) {
    if (!Encodable(entered))
        return Refused(
            Info(U("Нельзя сохранить символы: ") + Describe(Unencodable(entered)) + u'.'));
    const QString name = TrimTrailingBlanks(entered);
    if (name.isEmpty()) return Refused(Info(U("Введите имя.")));
    if (name == u"Abc") return Refused(Info(U("Такой исполнитель уже существует.")));
    if (HoldsControl(name)) return Refused(Info(kControlText));
    if (HoldsAny(name, QString::fromLatin1(kPathCharacters)) || name == u"." || name == u"..")
        return Refused(Info(kNewPerformerBadName));
    if (DiskBytes(name) > 255) return Refused(Info(kTooLongText));
    return Accepted(name);
}

void RunNewPerformer(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "new performer"));
    ProgramRun run;
    run.start();
    const QString entered = how == Entry::Typed ? Filtered(n.text) : n.text;
    run.modal.onDialog([](QDialog* d) {
        auto* select = static_cast<TAddPerfSelectForm*>(d);
        select->RadioButton2->click();
        select->Button1->click();
    });
    run.modal.onDialog([&](QDialog*) {
        Enter(AvtorForm->VvodAvtEdit, n.text, how);
        EXPECT_EQ(AvtorForm->VvodAvtEdit->text(), entered);
        AvtorForm->SaveAvtButton->click();
        if (AvtorForm->isVisible()) AvtorForm->CancelButton->click();
    });
    MainForm->PlusPerfSpeedButton->click();
    const Expected e = NewPerformer(entered);
    EXPECT_EQ(run.messages(), e.messages);
    run.expectConfined(e.accepted ? PerformerEntries(e.stored) : QSet<QString>{});
    if (e.accepted) {
        EXPECT_EQ(run.box.read(kData + "performers.lrx"), "Abc\r\n" + Bytes(e.stored) + "\r\n");
    }
}

// ------------------------------------------------------------------ list editors

Expected ListEditor(const QStringList& lines) {
    const QString all = lines.join(u'\n');
    if (!Encodable(all))
        return Refused(Info(U("Нельзя сохранить символы: ") + Describe(Unencodable(all)) + u'.'));
    return Accepted();
}

void RunAlbumList(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "album list"));
    ProgramRun run;
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    const QString added = how == Entry::Typed ? Filtered(n.text) : n.text;
    run.modal.onDialog([&](QDialog*) {
        AddLine(AlbumsForm->Memo1, n.text, how);
        AlbumsForm->SaveButton->click();
        if (AlbumsForm->isVisible()) AlbumsForm->CancelButton->click();
    });
    MainForm->EditAlbListSpeedButton->click();
    QStringList lines = EditorLines(added);
    lines.removeAll(QString());
    Expected e = ListEditor(lines);
    if (e.accepted && HoldsAny(lines.join(u'|'), kLineBreakers)) e = Refused(Info(kLineBreakText));
    EXPECT_EQ(run.messages(), e.messages);
    run.expectConfined();
    if (!e.accepted) return;
    QByteArray albums, blocks;
    for (const QString& line : lines) {
        albums += Bytes(line) + "\r\n";
        if (line != u"Abc" && !blocks.contains("\r\n" + Bytes(line) + "##-**~\r\n"))
            blocks += Bytes(line) + "##-**~\r\nendalbum\r\n";
    }
    EXPECT_EQ(run.box.read(kData + "Abc/Albums.lrx"), albums);
    EXPECT_EQ(run.box.read(kData + "Abc/Songs.lrx"), "Abc##-**~\r\nAbc\r\nendalbum\r\n" + blocks);
}

void RunSongList(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "song list"));
    ProgramRun run;
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    ProgramRun::choose(MainForm->AlbumsComboBox, QStringLiteral("Abc"));
    run.modal.onDialog([&](QDialog*) {
        AddLine(SongsForm->Memo1, n.text, how);
        SongsForm->Button1->click();
        if (SongsForm->isVisible()) SongsForm->Button2->click();
    });
    MainForm->EditSongsListSpeedButton->click();
    const QStringList lines = EditorLines(n.text);
    Expected e = ListEditor(lines);
    if (e.accepted && HoldsAny(lines.join(u'|'), kLineBreakers)) e = Refused(Info(kLineBreakText));
    if (e.accepted && lines.contains(QStringLiteral("endalbum")))
        e = Refused(Info(U("Песня не может называться \"endalbum\".")));
    EXPECT_EQ(run.messages(), e.messages);
    run.expectConfined();
    if (!e.accepted) return;
    QByteArray block = "Abc##-**~\r\n";
    for (const QString& line : lines) block += Bytes(line) + "\r\n";
    EXPECT_EQ(run.box.read(kData + "Abc/Songs.lrx"), block + "endalbum\r\n");
}

// ------------------------------------------------------------------ renames

// The checks the three rename boxes share, in their order.
QStringList RenameRefusal(const QString& name, const QString& emptyText, bool isPath,
                          qsizetype pathBytesExtra) {
    if (name.isEmpty()) return {Info(emptyText)};
    if (HoldsControl(name)) return {Info(kControlText)};
    if (isPath && HoldsAny(name, QString::fromLatin1(kPathCharacters))) return {Info(kPathText)};
    if (isPath && (name == u"." || name == u"..")) return {Info(kDotText)};
    if (isPath && DiskBytes(name) + pathBytesExtra > 255) return {Info(kTooLongText)};
    return {};
}

QStringList UnencodableRename(const QString& name) {
    return {Info(U("Имя содержит символы, которые нельзя сохранить: ") +
                 Describe(Unencodable(name)) + u'.')};
}

void OpenRename(ProgramRun& run, RenameForm* form, QToolButton* button, const QString& text,
                Entry how) {
    run.modal.onDialog([=](QDialog*) {
        Enter(form->Edit1, text, how);
        form->SaveButton->click();
        if (form->isVisible()) form->CancelButton->click();
    });
    button->click();
}

void RunPerformerRename(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "performer rename"));
    ProgramRun run;
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    OpenRename(run, PerfNameEditForm, MainForm->EditPerfNameSpeedButton, n.text, how);
    const QString entered = how == Entry::Typed ? Filtered(n.text) : n.text;
    const QString name = TrimTrailingBlanks(entered);
    QStringList refusal =
        !Encodable(name) ? UnencodableRename(name)
                         : RenameRefusal(name, U("Имя исполнителя не может быть пустым."), true, 0);
    if (refusal.isEmpty() && name == u"Abc")
        refusal = {Info(U("Такой исполнитель уже существует.\rВведите другое имя."))};
    EXPECT_EQ(run.messages(), refusal);
    if (!refusal.isEmpty()) {
        run.expectConfined();
        return;
    }
    run.expectConfined(PerformerEntriesWithPicture(name), PerformerEntriesWithPicture("Abc"));
    EXPECT_EQ(run.box.read(kData + "performers.lrx"), Bytes(name) + "\r\n");
}

void RunAlbumRename(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "album rename"));
    ProgramRun run;
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    ProgramRun::choose(MainForm->AlbumsComboBox, QStringLiteral("Abc"));
    OpenRename(run, AlbNameEditForm, MainForm->EditAlbNameSpeedButton, n.text, how);
    const QString name = how == Entry::Typed ? Filtered(n.text) : n.text;
    QStringList refusal =
        !Encodable(name) ? UnencodableRename(name)
                         : RenameRefusal(name, U("Имя альбома не может быть пустым."), true, 4);
    if (refusal.isEmpty() && name == u"Abc")
        refusal = {Info(U("Такой альбом уже существует.\rВведите другое имя."))};
    EXPECT_EQ(run.messages(), refusal);
    if (!refusal.isEmpty()) {
        run.expectConfined();
        return;
    }
    run.expectConfined({kData + "Abc/Image/" + name + ".jpg"}, {kData + "Abc/Image/Abc.jpg"});
    EXPECT_EQ(run.box.read(kData + "Abc/Albums.lrx"), Bytes(name) + "\r\n");
    EXPECT_EQ(run.box.read(kData + "Abc/Texts.lrx"),
              Bytes(name) + " ##-**~ Abc\r\ntext\r\nendsong\r\n");
}

void RunSongRename(const HostileName& n, Entry how) {
    SCOPED_TRACE(Pair(n, how, "song rename"));
    ProgramRun run;
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    ProgramRun::choose(MainForm->AlbumsComboBox, QStringLiteral("Abc"));
    MainForm->SongsListBox->setCurrentRow(0);
    MainForm->SongsListBoxClick();
    OpenRename(run, SongNameEditForm, MainForm->EditSongNameSpeedButton, n.text, how);
    const QString& name = n.text;  // no typing filter
    QStringList refusal = !Encodable(name)
                              ? UnencodableRename(name)
                              : RenameRefusal(name, U("Имя песни не может быть пустым."), false, 0);
    if (refusal.isEmpty() && name == u"endalbum")
        refusal = {Info(U("Песню нельзя назвать «endalbum»."))};
    if (refusal.isEmpty() && name == u"Abc")
        refusal = {Info(U("Такая песня уже существует.\rВведите другое имя."))};
    EXPECT_EQ(run.messages(), refusal);
    run.expectConfined();
    if (!refusal.isEmpty()) return;
    EXPECT_EQ(run.box.read(kData + "Abc/Songs.lrx"),
              "Abc##-**~\r\n" + Bytes(name) + "\r\nendalbum\r\n");
    EXPECT_EQ(run.box.read(kData + "Abc/Texts.lrx"),
              "Abc ##-**~ " + Bytes(name) + "\r\ntext\r\nendsong\r\n");
}

// ------------------------------------------------------------------ import

void ImportFrom(ProgramRun& run, const QString& base, MsgButton answer = Ok) {
    run.modal.answer(answer);
    run.modal.onDialog([&](QDialog*) {
        AddPerfBaseForm->Edit1->setText(base);
        AddPerfBaseForm->Button2->click();
        if (AddPerfBaseForm->isVisible()) AddPerfBaseForm->Button3->click();
    });
    Modal().exec(AddPerfBaseForm);
}

void PutBase(const Sandbox& box, const QString& folder, const QByteArray& albums = "A\r\n") {
    box.put(folder + "/Albums.lrx", albums);
    box.put(folder + "/Songs.lrx", "");
    box.put(folder + "/Texts.lrx", "");
}

void RunImportName(const HostileName& n) {
    SCOPED_TRACE(Pair(n, "import base folder name"));
    ProgramRun run;
    // The base folders, and the folders a climbing path resolves to, all hold a catalogue.
    PutBase(run.box, "bases");
    PutBase(run.box, "x");
    run.box.mkdir("bases/a");
    if (CanNameAFolder(n.text)) PutBase(run.box, "bases/" + n.text);
    run.start();
    ImportFrom(run, run.box.path("bases/") + n.text, Cancel);

    // The name is the path's last component as the platform resolves the folder.
    const QString typed = QStringLiteral("bases/") + n.text;
    QString name = typed.mid(typed.lastIndexOf(u'/') + 1);
    if (name.isEmpty()) name = QStringLiteral("New");
    const bool holdsCatalogue =
        !n.text.contains(QChar(0)) && QFileInfo::exists(run.box.path(typed + "/Albums.lrx"));
    const QString trimmed = TrimTrailingBlanks(name);
    QStringList expected;
    bool accepted = false;
    if (!holdsCatalogue) {
        expected = {Info(U("Выбранный каталог не содержит баз для программы."))};
    } else if (!Encodable(name)) {
        expected = {Info(U("Имя каталога содержит символы, которые нельзя сохранить: ") +
                         Describe(Unencodable(name)) + u'.')};
    } else if (trimmed.isEmpty() || HoldsControl(name) ||
               HoldsAny(name, QString::fromLatin1(kPathCharacters)) || name == u"." ||
               name == u"..") {
        expected = {
            Info(U("Имя каталога «") + name + U("» нельзя использовать как имя исполнителя."))};
    } else if (trimmed == u"Abc") {
        expected = {
            U("Information|OK,Cancel|Такой исполнитель уже существует. Хотите заменить "
              "новыми данными?\rОткатить изменения будет невозможно!")};
    } else {
        accepted = true;
    }
    EXPECT_EQ(run.messages(), expected);
    run.expectConfined(accepted ? PerformerEntries(trimmed) : QSet<QString>{});
    if (accepted) {
        EXPECT_EQ(run.box.read(kData + "performers.lrx"), "Abc\r\n" + Bytes(trimmed) + "\r\n");
    }
}

// Album names that a base's files can hold: Windows-1251 text on one line.
bool CanBeALine(const QString& s) {
    return Encodable(s) && !HoldsAny(s, kLineBreakers);
}

bool CanNameAPicture(const QString& album) {
    return CanNameAFolder(album + QStringLiteral(".jpg")) && album != u"." && album != u".." &&
           !HoldsAny(album, QString::fromLatin1(kPathCharacters));
}

// ------------------------------------------------------------------ scanner

void Scan(ProgramRun& run, const QString& folder) {
    run.modal.onDialog([&](QDialog*) {
        ScanerForm->Edit1->setText(folder);
        ScanerForm->ScanButton->click();
        if (ScanerForm->isVisible()) ScanerForm->CancelButton->click();
    });
    run.modal.answer(Ok);  // the catalogue of the performer is to be replaced
    MainForm->ScanerSpeedButton->click();
}

QString ScanRefusal(const QString& path, const QString& name) {
    QString refused = Unencodable(name);
    for (QChar c : name)
        if (kLineBreakers.contains(c) && !refused.contains(c)) refused.append(c);
    if (refused.isEmpty()) return QString();
    return U("Warning|OK|Имя ") + path +
           U(" содержит символы, которые нельзя сохранить в каталоге: ") + Describe(refused) +
           kScanCancelled;
}

// Each name typed (where a keyboard can type it) and pasted.
void TypedAndPasted(void (*run)(const HostileName&, Entry)) {
    for (const HostileName& n : Names()) {
        if (CanType(n)) run(n, Entry::Typed);
        run(n, Entry::Pasted);
    }
}

}  // namespace

// ------------------------------------------------------------------ the drivers

TEST(HostileNames, NewPerformer) {
    TypedAndPasted(RunNewPerformer);
}

TEST(HostileNames, AlbumListEditor) {
    TypedAndPasted(RunAlbumList);
}

TEST(HostileNames, SongListEditor) {
    TypedAndPasted(RunSongList);
}

TEST(HostileNames, PerformerRename) {
    TypedAndPasted(RunPerformerRename);
}

TEST(HostileNames, AlbumRename) {
    TypedAndPasted(RunAlbumRename);
}

TEST(HostileNames, SongRename) {
    TypedAndPasted(RunSongRename);
}

TEST(HostileNames, ImportBaseFolderName) {
    for (const HostileName& n : Names()) RunImportName(n);
}

// The album names inside an imported base reach the picture command: each album of the base
// is chosen and given a picture.
TEST(HostileNames, ImportedAlbumNamesAndPictureAttach) {
    ProgramRun run;
    QByteArray albums;
    QStringList names;
    for (const HostileName& n : Names())
        if (CanBeALine(n.text) && n.text != u"Abc") {
            albums += Bytes(n.text) + "\r\n";
            names << n.text;
        }
    PutBase(run.box, "bases/Imported", albums + "Abc\r\n");
    run.box.put("picture.jpg", SmallJpeg(4, 4));
    run.start();
    ImportFrom(run, run.box.path("bases/Imported"));
    EXPECT_EQ(run.messages(), QStringList());
    run.expectConfined(PerformerEntries("Imported"));
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Imported"));
    for (const QString& album : names + QStringList{QStringLiteral("Abc")}) {
        ProgramRun::choose(MainForm->AlbumsComboBox, album);
        run.modal.chooseFile(run.box.path("picture.jpg"));
        MainForm->ImageSpeedButton->click();
        SCOPED_TRACE(QStringLiteral("picture attach <- album «%1»").arg(album).toStdString());
        const bool stored = CanNameAPicture(album);
        EXPECT_EQ(run.messages(), stored ? QStringList() : QStringList{kPictureWarning});
        const QString picture = kData + QStringLiteral("Imported/Image/") + album + ".jpg";
        run.expectConfined(stored ? QSet<QString>{picture} : QSet<QString>{});
        if (stored) {
            EXPECT_EQ(run.box.read(picture), run.box.read("picture.jpg"));
        }
    }
}

// Scans a folder holding one song file, at `file` below it, into "Abc", which the scan
// replaces after asking; checks that `refusal` follows the question and that the catalogue
// is replaced (its picture goes) exactly when there is none. Answers whether it was replaced.
bool ScanOneFileIntoAbc(ProgramRun& run, const QString& file, const QString& refusal) {
    run.box.put("scan/" + file, "text");
    run.start();
    ProgramRun::choose(MainForm->PerfComboBox, QStringLiteral("Abc"));
    Scan(run, run.box.path("scan"));
    QStringList expected{
        U("Information|OK,Cancel|Данные этого исполнителя не пусты.\r"
          "Сканирование заменит всю имеющуюся информацию.\rХотите "
          "продолжить?")};
    if (!refusal.isEmpty()) expected << refusal;
    EXPECT_EQ(run.messages(), expected);
    const bool replaced = refusal.isEmpty();
    run.expectConfined({}, replaced ? QSet<QString>{kData + "Abc/Image/Abc.jpg"} : QSet<QString>{});
    return replaced;
}

TEST(HostileNames, ScannedAlbumFolders) {
    for (const HostileName& n : Names()) {
        if (!CanNameAFolder(n.text)) continue;  // the platform cannot make such a folder
        SCOPED_TRACE(Pair(n, "scan album folder"));
        ProgramRun run;
        const QString refusal = ScanRefusal(run.box.path("scan/") + n.text, n.text);
        if (ScanOneFileIntoAbc(run, n.text + "/song.txt", refusal)) {
            EXPECT_EQ(run.box.read(kData + "Abc/Songs.lrx"),
                      Bytes(n.text) + "##-**~\r\nsong\r\nendalbum\r\n");
        }
    }
}

TEST(HostileNames, ScannedSongFiles) {
    for (const HostileName& n : Names()) {
        const QString file = n.text + QStringLiteral(".txt");
        if (!CanNameAFolder(file)) continue;  // the platform cannot make such a file
        SCOPED_TRACE(Pair(n, "scan song file"));
        ProgramRun run;
        const QString path = run.box.path("scan/Album/") + file;
        QString refusal = ScanRefusal(path, n.text);
        if (refusal.isEmpty() && n.text == u"endalbum")
            refusal = U("Warning|OK|Песню из файла ") + path +
                      U(" нельзя сохранить: имя \"endalbum\" завершает список песен альбома.") +
                      kScanCancelled;
        if (ScanOneFileIntoAbc(run, "Album/" + file, refusal)) {
            EXPECT_EQ(run.box.read(kData + "Abc/Texts.lrx"),
                      "Album ##-**~ " + Bytes(n.text) + "\r\ntext\r\nendsong\r\n");
        }
    }
}

// A performer list from elsewhere names a performer by a hostile name; the scan into it
// must not reach outside its folder.
TEST(HostileNames, ScanIntoAListedPerformer) {
    for (const HostileName& n : Names()) {
        if (!CanBeALine(n.text) || n.text.isEmpty() || n.text == u"Abc") continue;
        SCOPED_TRACE(Pair(n, "scan into listed performer"));
        ProgramRun run;
        run.box.put("start/Data/performers.lrx", "Abc\r\n" + Bytes(n.text) + "\r\n");
        const bool real = CanNameAFolder(n.text);
        if (real) PutBase(run.box, "start/Data/" + n.text, "");
        run.box.put("scan/Album/song.txt", "text");
        run.start();
        ProgramRun::choose(MainForm->PerfComboBox, n.text);
        run.messages();  // what the main window says of the performer is not this command's
        Scan(run, run.box.path("scan"));
        const QStringList shown = run.messages();
        run.expectConfined();
        if (real) {
            EXPECT_EQ(shown, QStringList());
            EXPECT_EQ(run.box.read(kData + n.text + "/Albums.lrx"), "Album\r\n");
        } else {
            EXPECT_FALSE(shown.isEmpty());
        }
    }
}

// The folder picker's "New folder" makes the folder below the selected one, or says it
// cannot.
TEST(HostileNames, FolderPickerNewFolder) {
    for (const HostileName& n : Names()) {
        SCOPED_TRACE(Pair(n, "folder picker new folder"));
        ProgramRun run;
        run.box.mkdir("start/picker/Abc");
        run.start();
        TFolderBrowseDialog picker(nullptr, QStringLiteral("0409"));
        picker.SetFolder(run.box.path("start/picker"));
        run.modal.typeText(n.text);
        run.modal.onDialog([&](QDialog* d) {
            d->findChild<QPushButton*>(QStringLiteral("NewFolderButton"))->click();
        });
        run.modal.onDialog([](QDialog* d) { d->reject(); });
        const Tree before = run.box.tree();
        picker.Execute();

        const QSet<QString> existed = Paths(before);
        const QStringList parts = n.text.split(u'/', Qt::SkipEmptyParts);
        const bool climbs = parts.contains(QStringLiteral(".")) ||
                            parts.contains(QStringLiteral("..")) || n.text.contains(QChar(0));
        const bool tooLong = std::any_of(parts.begin(), parts.end(),
                                         [](const QString& p) { return DiskBytes(p) > 255; });
        QSet<QString> made;
        QStringList expected;
        if (n.text.isEmpty()) {
        } else if (climbs || tooLong) {
            expected << QStringLiteral("New folder|OK|The directory or file cannot be created.");
        } else {
            QString level = QStringLiteral("start/picker/");
            for (const QString& p : parts) {
                level += p + u'/';
                if (!existed.contains(level)) made << level;
            }
        }
        EXPECT_EQ(run.messages(), QStringList(expected));
        // The picker works outside Data/: only the folders it was asked for may appear.
        const Tree after = run.box.tree();
        bool kept = (Paths(before) - Paths(after)).isEmpty();
        for (auto it = before.begin(); it != before.end(); ++it)
            kept = kept && after.value(it.key()) == it.value();
        EXPECT_TRUE(kept);
        EXPECT_EQ(Sorted(Paths(after) - Paths(before)), Sorted(made));
    }
}
