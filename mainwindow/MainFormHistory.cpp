// The main window's side of undo and redo: two actions, in the text pane's pop-up menu as its
// last group and on Ctrl+Z and Ctrl+Shift+Z (Ctrl+Y) anywhere in the window, in edit mode only.
// An editor's own Ctrl+Z stays its text box's: the editors are windows of their own.
#include <QAction>
#include <QMenu>

#include "mainwindow/MainForm.h"
#include "session/CatalogueSession.h"
#include "session/HistoryCommands.h"
#include "store/Cp1251.h"

namespace {

QString quoted(const QByteArray& name) {
    return QStringLiteral("«%1»").arg(cp1251::decode(name));
}

// The change in a few words, as the menu names it after "Отменить: ".
QString ChangeName(const CommandLabel& label) {
    const QString name = quoted(label.name);
    switch (label.kind) {
        case CommandKind::NewPerformer:
            return "новый исполнитель " + name;
        case CommandKind::PerformerDeletion:
            return "удаление исполнителя " + name;
        case CommandKind::AlbumList:
            return "список альбомов " + name;
        case CommandKind::SongList:
            return "список песен альбома " + name;
        case CommandKind::SongText:
            return "текст песни " + name;
        case CommandKind::PerformerRename:
            return "переименование исполнителя " + name;
        case CommandKind::AlbumRename:
            return "переименование альбома " + name;
        case CommandKind::SongRename:
            return "переименование песни " + name;
        case CommandKind::PictureAttach:
            return "рисунок альбома " + name;
        case CommandKind::PictureRemoval:
            return "удаление рисунка альбома " + name;
        case CommandKind::Scan:
            return "сканирование в " + name;
        case CommandKind::Import:
            return "импорт исполнителя " + name;
        case CommandKind::Font:
            return QStringLiteral("выбор шрифта");
        case CommandKind::BackgroundColour:
            return QStringLiteral("цвет фона");
        case CommandKind::FormColour:
            return QStringLiteral("цвет формы");
        case CommandKind::AppearanceReset:
            return QStringLiteral("сброс оформления");
        case CommandKind::Export:
        case CommandKind::FirstRunFlag:
        case CommandKind::Undo:
        case CommandKind::Redo:
            break;
    }
    return QString();
}

void ShowStep(QAction* action, const QString& verb, const ChangeHistory::Step* step, bool editing) {
    action->setText(step ? verb + ": " + ChangeName(step->label) : verb);
    action->setEnabled(step && editing);
}

}  // namespace

void TMainForm::createHistoryCommands() {
    SongPopupMenu->addSeparator();
    UndoItem = SongPopupMenu->addAction(QString());
    UndoItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoItem = SongPopupMenu->addAction(QString());
    RedoItem->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* item : {UndoItem, RedoItem}) {
        item->setShortcutContext(Qt::WindowShortcut);
        addAction(item);
    }
    connect(UndoItem, &QAction::triggered, this, &TMainForm::UndoItemClick);
    connect(RedoItem, &QAction::triggered, this, &TMainForm::RedoItemClick);
    connect(&session_, &CatalogueSession::historyChanged, this, &TMainForm::showHistory);
    showHistory();
}

void TMainForm::showHistory() {
    if (!UndoItem) return;  // edit mode is set before the menu is made
    const ChangeHistory& history = session_.History();
    ShowStep(UndoItem, QStringLiteral("Отменить"), history.toUndo(), editing_);
    ShowStep(RedoItem, QStringLiteral("Повторить"), history.toRedo(), editing_);
}

void TMainForm::UndoItemClick() {
    if (!editing_) return;
    ReplayCommand undo(Replay::Back);
    session_.execute(undo, feedback_);
}

void TMainForm::RedoItemClick() {
    if (!editing_) return;
    ReplayCommand redo(Replay::Forward);
    session_.execute(redo, feedback_);
}
