#include "mainwindow/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QToolButton>

#include "dialogs/AddPerfSelectForm.h"
#include "dialogs/AlbNameEditForm.h"
#include "dialogs/AlbumsForm.h"
#include "dialogs/PerfNameEditForm.h"
#include "dialogs/SongForm.h"
#include "dialogs/SongNameEditForm.h"
#include "dialogs/SongsForm.h"
#include "import/ScanerForm.h"
#include "mainwindow/Forms.h"
#include "mainwindow/ImageForm.h"
#include "mainwindow/JpegDecoder.h"
#include "mainwindow/PictureView.h"
#include "mainwindow/SpeedButtons.h"
#include "store/AppearanceSettings.h"
#include "store/Catalogue.h"
#include "store/Cp1251.h"
#include "store/FileIo.h"
#include "store/FirstRunFlag.h"
#include "store/StoreError.h"
#include "support/Appearance.h"
#include "support/HelpForm.h"
#include "support/MemoLines.h"
#include "support/Modal.h"

namespace {

// The frame and caption a Windows window of this design has around its client area; used
// when the window has no frame of its own to measure (no window manager, offscreen).
constexpr QSize kNominalFrame(8, 34);
constexpr QSize kDesignOuterSize(696, 644);
const QString kPictureCaption = QStringLiteral("Картинка: ");

constexpr int kNameRole = Qt::UserRole;

// The stored bytes of a list entry: kept beside the shown text, so that a name goes back to
// the files exactly as it came.
QByteArray entryBytes(const QVariant& stored, const QString& shown) {
    return stored.isValid() ? stored.toByteArray() : cp1251::encode(shown).bytes;
}

void fillCombo(QComboBox* combo, const Lines& names) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    // One insertion for the whole list: added one by one, a long performer list would cost
    // the start-up more than everything else the window does.
    QList<QStandardItem*> items;
    items.reserve(names.size());
    for (const QByteArray& name : names) {
        auto* item = new QStandardItem(cp1251::decode(name));
        item->setData(name, kNameRole);
        items.append(item);
    }
    qobject_cast<QStandardItemModel*>(combo->model())->invisibleRootItem()->appendRows(items);
    combo->setCurrentIndex(-1);
}

Lines comboNames(const QComboBox* combo) {
    Lines names;
    for (int i = 0; i < combo->count(); ++i)
        names.append(entryBytes(combo->itemData(i, kNameRole), combo->itemText(i)));
    return names;
}

QByteArray comboSelection(const QComboBox* combo) {
    const int i = combo->currentIndex();
    return i < 0 ? QByteArray() : entryBytes(combo->itemData(i, kNameRole), combo->itemText(i));
}

void refresh(QWidget* w) {
    w->hide();
    w->show();
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Тексты песен"));
    setFont(DesignedFont());
    fontDialogFont_ = DesignedFont();
    fontDialogColour_ = ResolveColour(ColourRef{-16777208});
    createControls();
    connectHandlers();
    resize(kDesignOuterSize - kNominalFrame);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), kDesignOuterSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

TMainForm::~TMainForm() = default;

// ---------------------------------------------------------------- the window's design

void TMainForm::createControls() {
    auto label = [this](const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    IspolLabel = label(QStringLiteral("Исполнитель:"), 32, 16);
    PerfComboBox = new QComboBox(this);
    PerfComboBox->setGeometry(32, 32, 257, 21);
    AlbomLabel = label(QStringLiteral("Альбомы:"), 32, 64);
    AlbumsComboBox = new QComboBox(this);
    AlbumsComboBox->setGeometry(32, 80, 257, 21);
    for (QComboBox* combo : {PerfComboBox, AlbumsComboBox}) {
        combo->setMaxVisibleItems(15);
        combo->setEditable(false);
    }
    PerfComboBox->setAccessibleName(IspolLabel->text());
    AlbumsComboBox->setAccessibleName(AlbomLabel->text());
    PesniLabel = label(QStringLiteral("Песни:"), 32, 112);
    SongsListBox = new QListWidget(this);
    SongsListBox->setGeometry(32, 128, 257, 225);
    SongsListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    SongsListBox->setAccessibleName(PesniLabel->text());
    IspolLabel->setBuddy(PerfComboBox);
    AlbomLabel->setBuddy(AlbumsComboBox);
    PesniLabel->setBuddy(SongsListBox);

    SongPanel = new QFrame(this);
    SongPanel->setGeometry(315, 4, 370, 604);
    Song = new QPlainTextEdit(SongPanel);
    Song->setReadOnly(true);
    Song->setLineWrapMode(QPlainTextEdit::NoWrap);
    Song->setContextMenuPolicy(Qt::CustomContextMenu);
    Song->setAccessibleName(QStringLiteral("Текст песни"));

    ImagePanel = new QFrame(this);
    ImagePanel->setFrameShape(QFrame::Panel);
    ImagePanel->setFrameShadow(QFrame::Sunken);
    ImagePanel->setGeometry(32, 376, 257, 225);
    Image = new PictureView(ImagePanel);
    Image->setGeometry(1, 1, 255, 223);
    Image->setContextMenuPolicy(Qt::CustomContextMenu);
    Image->setAccessibleName(QStringLiteral("Картинка альбома"));
    Image->hide();

    SpeedButtons buttons(this);
    RedONSpeedButton = buttons.small(SpeedIcon::Cog, 5, 547);
    RedOFFSpeedButton = buttons.small(SpeedIcon::Cog, 5, 547);
    HelpSpeedButton = buttons.small(SpeedIcon::Help, 5, 579);
    DefaultSpeedButton = buttons.small(SpeedIcon::Stop, 5, 515);
    ScanerSpeedButton = buttons.small(SpeedIcon::Magnifier, 5, 483);
    ImageSpeedButton = buttons.small(SpeedIcon::OpenFolder, 5, 376);
    DelImageSpeedButton = buttons.small(SpeedIcon::Prohibition, 5, 406);
    DelAvtSpeedButton = buttons.small(SpeedIcon::Prohibition, 292, 31);
    SongEdSpeedButton = buttons.small(SpeedIcon::Pen, 292, 79);
    PerformersSpeedButton = buttons.small(SpeedIcon::Play, 5, 31);
    EdAlbumSpeedButton = buttons.small(SpeedIcon::Play, 5, 79);
    SongsSpeedButton = buttons.small(SpeedIcon::Play, 5, 127);
    // Buttons without a hint still need a name for screen readers.
    PerformersSpeedButton->setAccessibleName(QStringLiteral("Исполнители"));
    EdAlbumSpeedButton->setAccessibleName(QStringLiteral("Альбомы"));
    SongsSpeedButton->setAccessibleName(QStringLiteral("Песни"));

    auto panel = [this, &buttons](int top, QToolButton** upper, QToolButton** lower) {
        auto* p = new QFrame(this);
        p->setFrameShape(QFrame::Box);
        p->setGeometry(27, top, 52, 100);
        *upper = buttons.large(p, SpeedIcon::Clipboard, 2, 1);
        *lower = buttons.large(p, SpeedIcon::Document, 2, 50);
        p->hide();
        return p;
    };
    PerfListPanel = panel(33, &PlusPerfSpeedButton, &EditPerfNameSpeedButton);
    AlbumListPanel = panel(81, &EditAlbListSpeedButton, &EditAlbNameSpeedButton);
    SongsListPanel = panel(129, &EditSongsListSpeedButton, &EditSongNameSpeedButton);
    setEditButtonsVisible(false);

    SongPopupMenu = new QMenu(this);
    N2 = SongPopupMenu->addAction(QStringLiteral("Выбор шрифта"));
    SongPopupMenu->addSeparator();
    N4 = SongPopupMenu->addAction(QStringLiteral("Выбор цвета фона"));
    SongPopupMenu->addSeparator();
    N6 = SongPopupMenu->addAction(QStringLiteral("Выбор цвета формы"));
    ImagePopupMenu1 = new QMenu(this);
    N1 = ImagePopupMenu1->addAction(QStringLiteral("Открыть большое окно"));
    ImagePopupMenu1->addSeparator();
    N7 = ImagePopupMenu1->addAction(QStringLiteral("Программа просмотра изображений и факсов"));

    // Keyboard order follows the layout: the three lists, the text, then the buttons.
    setTabOrder(PerfComboBox, AlbumsComboBox);
    setTabOrder(AlbumsComboBox, SongsListBox);
    setTabOrder(SongsListBox, Song);
}

void TMainForm::assignHints() {
    const struct {
        QToolButton* button;
        const char* hint;
    } hints[] = {
        {DelAvtSpeedButton, "Удаление исполнителя"},
        {EditAlbListSpeedButton, "Редактирование списка альбомов"},
        {EditAlbNameSpeedButton, "Переименование альбома"},
        {ImageSpeedButton, "Добавление рисунка к альбому"},
        {DelImageSpeedButton, "Удаление рисунка альбома"},
        {PlusPerfSpeedButton, "Добавление нового исполнителя"},
        {EditPerfNameSpeedButton, "Переименование исполнителя"},
        {SongEdSpeedButton, "Редактирование текста песни"},
        {EditSongsListSpeedButton, "Редактирование списка песен"},
        {EditSongNameSpeedButton, "Переименование песни"},
        {RedOFFSpeedButton, "Включение/выключение режима редактирования"},
        {RedONSpeedButton, "Включение/выключение режима редактирования"},
        {HelpSpeedButton, "Справка"},
        {DefaultSpeedButton, "Зброс параметров шрифтов и цветов"},
        {ScanerSpeedButton, "Сканер песен"},
    };
    for (const auto& h : hints) {
        h.button->setToolTip(QString::fromUtf8(h.hint));
        h.button->setAccessibleName(QString::fromUtf8(h.hint));
    }
}

void TMainForm::connectHandlers() {
    connect(PerfComboBox, qOverload<int>(&QComboBox::activated), this,
            &TMainForm::PerfComboBoxClick);
    connect(AlbumsComboBox, qOverload<int>(&QComboBox::activated), this,
            &TMainForm::AlbumsComboBoxClick);
    // A user's choice in the song list: a click (also on the entry already chosen) or a move
    // with the keyboard, once the list shows the entry selected (a mouse press moves the
    // current row before it selects). Filling the list from code runs nothing.
    connect(SongsListBox, &QListWidget::itemSelectionChanged, this, [this] {
        if (fillingSongs_) return;
        rowChangedInThisPress_ = true;
        SongsListBoxClick();
    });
    connect(SongsListBox, &QListWidget::clicked, this, [this] {
        if (!rowChangedInThisPress_) SongsListBoxClick();
        rowChangedInThisPress_ = false;
    });
    SongsListBox->viewport()->installEventFilter(this);

    const struct {
        QToolButton* button;
        void (TMainForm::*handler)();
    } clicks[] = {
        {RedONSpeedButton, &TMainForm::RedONSpeedButtonClick},
        {RedOFFSpeedButton, &TMainForm::RedOFFSpeedButtonClick},
        {HelpSpeedButton, &TMainForm::HelpSpeedButtonClick},
        {DefaultSpeedButton, &TMainForm::DefaultSpeedButtonClick},
        {ScanerSpeedButton, &TMainForm::ScanerSpeedButtonClick},
        {ImageSpeedButton, &TMainForm::ImageSpeedButtonClick},
        {DelImageSpeedButton, &TMainForm::DelImageSpeedButtonClick},
        {DelAvtSpeedButton, &TMainForm::DelAvtSpeedButtonClick},
        {SongEdSpeedButton, &TMainForm::SongEdSpeedButtonClick},
        {PlusPerfSpeedButton, &TMainForm::PlusPerfSpeedButtonClick},
        {EditPerfNameSpeedButton, &TMainForm::EditPerfNameSpeedButtonClick},
        {EditAlbListSpeedButton, &TMainForm::EditAlbListSpeedButtonClick},
        {EditAlbNameSpeedButton, &TMainForm::EditAlbNameSpeedButtonClick},
        {EditSongsListSpeedButton, &TMainForm::EditSongsListSpeedButtonClick},
        {EditSongNameSpeedButton, &TMainForm::EditSongNameSpeedButtonClick},
    };
    for (const auto& c : clicks) connect(c.button, &QToolButton::clicked, this, c.handler);

    connect(N1, &QAction::triggered, this, &TMainForm::N1Click);
    connect(N2, &QAction::triggered, this, &TMainForm::N2Click);
    connect(N4, &QAction::triggered, this, &TMainForm::N4Click);
    connect(N6, &QAction::triggered, this, &TMainForm::N6Click);
    connect(N7, &QAction::triggered, this, &TMainForm::N7Click);
    connect(Song, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { SongPopupMenu->popup(Song->mapToGlobal(at)); });
    connect(Image, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ImagePopupMenu1->popup(Image->mapToGlobal(at)); });

    // Pointer moves drive the hover panels.
    setMouseTracking(true);
    for (QWidget* w :
         {static_cast<QWidget*>(PerformersSpeedButton), static_cast<QWidget*>(EdAlbumSpeedButton),
          static_cast<QWidget*>(SongsSpeedButton), static_cast<QWidget*>(PerfListPanel),
          static_cast<QWidget*>(AlbumListPanel), SongsListBox->viewport()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

// ---------------------------------------------------------------- start-up

void TMainForm::FormCreate() {
    StartDir = QDir::currentPath();
    Image->hide();
    assignHints();
    ApplyMainWindowRule();
    try {
        RemoveInterruptedSaves(StartDir);
        EnsurePerformerList(StartDir);
        loadPerformerList();
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::loadPerformerList() {
    Lines names = LoadPerformerList(StartDir).toList();
    // No empty performer is offered; the file keeps its lines until the next rewrite.
    names.removeIf([](const QByteArray& name) { return name.isEmpty(); });
    SetPerformerNames(names);
}

void TMainForm::ApplyMainWindowRule() {
    const Appearance a = ReadAppearance(StartDir);
    const QList<QWidget*> textControls{Song, AlbumsComboBox, PerfComboBox, SongsListBox};
    for (QWidget* w : textControls)
        ApplyToTextControl(w, a, TextControlRule{true, w == Song, true, true});
    ApplyFormColour(this, ResolveColour(a.formColor));
}

void TMainForm::FormActivate() {
    // Under a window manager, closing the error box activates this window again: a flag that
    // cannot be written is reported once a run, and looked for again at the next start.
    if (inFirstRunCheck_ || firstRunFlagUnwritable_) return;
    inFirstRunCheck_ = true;
    QString failure;
    bool firstRun = false;
    try {
        firstRun = !FirstRunFlagSet();
        if (firstRun) WriteFirstRunFlag();
    } catch (const StoreError& e) {
        failure = e.description();
    }
    if (firstRun || !failure.isEmpty()) {
        if (!failure.isEmpty()) {
            firstRunFlagUnwritable_ = true;
            ShowErrorReport(this, failure);
        } else {
            Inform(this, QStringLiteral("Если вы впервые используете эту программу, "
                                        "рекомендуется прочитать справку."));
            Modal().exec(HelpForm);
        }
    }
    inFirstRunCheck_ = false;
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

QSize TMainForm::OuterSize() const {
    const QSize frame = frameGeometry().size();
    return frame != size() ? frame : size() + kNominalFrame;
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize() {
    const int h = OuterSize().height();
    const int w = OuterSize().width();
    SongsListBox->resize(SongsListBox->width(), qMax(h - 410, 200));
    const int t = qMax(h - 265, 345);
    auto placeAt = [](QWidget* widget, int top) { widget->move(widget->x(), top); };
    placeAt(ImagePanel, t);
    placeAt(ImageSpeedButton, t);
    placeAt(DelImageSpeedButton, t + 30);
    placeAt(ScanerSpeedButton, t + 106);
    placeAt(DefaultSpeedButton, t + 138);
    placeAt(RedONSpeedButton, t + 170);
    placeAt(RedOFFSpeedButton, t + 170);
    placeAt(HelpSpeedButton, t + 202);
    SongPanel->resize(qMax(w - 327, 300), qMax(h - 43, 565));
    Song->setGeometry(SongPanel->rect());
}

// ---------------------------------------------------------------- the lists

Lines TMainForm::PerformerNames() const {
    return comboNames(PerfComboBox);
}
bool TMainForm::HasSelectedPerformer() const {
    return PerfComboBox->currentIndex() >= 0;
}
QByteArray TMainForm::SelectedPerformer() const {
    return comboSelection(PerfComboBox);
}
Lines TMainForm::AlbumNames() const {
    return comboNames(AlbumsComboBox);
}
bool TMainForm::HasSelectedAlbum() const {
    return AlbumsComboBox->currentIndex() >= 0;
}
QByteArray TMainForm::SelectedAlbum() const {
    return comboSelection(AlbumsComboBox);
}

Lines TMainForm::SongNames() const {
    Lines names;
    for (int i = 0; i < SongsListBox->count(); ++i) {
        const QListWidgetItem* item = SongsListBox->item(i);
        names.append(entryBytes(item->data(kNameRole), item->text()));
    }
    return names;
}

bool TMainForm::HasSelectedSong() const {
    return SongsListBox->currentRow() >= 0;
}

QByteArray TMainForm::SelectedSong() const {
    const QListWidgetItem* item = SongsListBox->currentItem();
    return item ? entryBytes(item->data(kNameRole), item->text()) : QByteArray();
}

void TMainForm::SetPerformerNames(const Lines& names) {
    fillCombo(PerfComboBox, names);
}
void TMainForm::SetAlbumNames(const Lines& names) {
    fillCombo(AlbumsComboBox, names);
}

void TMainForm::SetSongNames(const Lines& names) {
    fillingSongs_ = true;
    SongsListBox->clear();
    for (const QByteArray& name : names) {
        auto* item = new QListWidgetItem(cp1251::decode(name), SongsListBox);
        item->setData(kNameRole, name);
    }
    SongsListBox->setCurrentRow(-1);
    fillingSongs_ = false;
}

void TMainForm::SetSongText(const Lines& lines) {
    QStringList text;
    text.reserve(lines.size());
    for (const QByteArray& line : lines) text.append(cp1251::decode(line));
    Song->setPlainText(text.join(u'\n'));
    Song->moveCursor(QTextCursor::Start);
}

// ---------------------------------------------------------------- the picture

void TMainForm::ShowPicture(const QImage& picture) {
    Image->setPicture(picture);
    Image->show();
    ImageProgress();
}

// Once the main window shows a picture, the large picture window holds the same picture
// under the album's caption, shown or not.
void TMainForm::ImageProgress() {
    ImageForm->setWindowTitle(kPictureCaption + cp1251::decode(CurrentPerformer) +
                              QStringLiteral(" - ") + cp1251::decode(CurrentAlbum));
    ImageForm->Image1->setPicture(Image->picture());
    ImageForm->Image1->show();
}

void TMainForm::HidePicture() {
    Image->hide();
}

bool TMainForm::PictureShown() const {
    return Image->isVisible();
}

// ---------------------------------------------------------------- browsing

void TMainForm::PerfComboBoxClick() {
    SetAlbumNames({});
    SetSongNames({});
    Song->clear();
    HidePicture();
    ImageForm->Image1->hide();
    ImageForm->setWindowTitle(kPictureCaption);
    CurrentPerformer = SelectedPerformer();
    try {
        AlbumsPath = PerformerStorePath(StartDir, StoreEntry::AlbumList, CurrentPerformer);
        SetAlbumNames(LoadAlbumList(StartDir, CurrentPerformer).toList());
    } catch (const StoreReadError&) {
        ShowMessage(this, MsgKind::Warning,
                    QStringLiteral("Не найдено файла с списком альбомов: ") + AlbumsPath);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::AlbumsComboBoxClick() {
    Song->clear();
    CurrentAlbum = SelectedAlbum();
    TextKeyPrefix = CurrentAlbum + ' ' + kBlockMarker + ' ';
    try {
        SongsPath = PerformerStorePath(StartDir, StoreEntry::SongList, CurrentPerformer);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    HidePicture();
    ImageForm->Image1->hide();
    ImageForm->setWindowTitle(kPictureCaption + cp1251::decode(CurrentPerformer) +
                              QStringLiteral(" - ") + cp1251::decode(CurrentAlbum));
    showAlbumPicture();
    try {
        SetSongNames(LoadSongList(StartDir, CurrentPerformer, CurrentAlbum));
    } catch (const StoreReadError&) {
        ShowMessage(this, MsgKind::Warning,
                    QStringLiteral("Не найдено файла с списками песен: ") + SongsPath);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

// A picture that cannot be read is reported; the album's songs are listed all the same.
void TMainForm::showAlbumPicture() {
    try {
        PicturePath =
            PerformerStorePath(StartDir, StoreEntry::AlbumPicture, CurrentPerformer, CurrentAlbum);
    } catch (const StoreNameError&) {
        PicturePath.clear();  // such an album cannot have a picture file
        return;
    }
    if (!fileio::isFile(PicturePath)) return;
    try {
        QString error;
        const QImage picture = DecodeJpeg(fileio::readAll(PicturePath), &error);
        if (picture.isNull())
            ShowErrorReport(this, error);
        else
            ShowPicture(picture);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::SongsListBoxClick() {
    if (!HasSelectedSong()) return;
    CurrentSong = SelectedSong();
    TextKey = TextKeyPrefix + CurrentSong;
    SongOut(TextKey);
}

void TMainForm::SongOut(const QByteArray& key) {
    try {
        TextsPath = PerformerStorePath(StartDir, StoreEntry::TextFile, CurrentPerformer);
        const RecordLines texts = ReadRecordFile(TextsPath);
        // Filled while hidden and without scroll bars; both come back with the last line.
        Song->hide();
        SetSongText(CollectBlockBodies(texts, key, kTextBlockEnd));
        Song->show();
    } catch (const StoreReadError&) {
        ShowMessage(this, MsgKind::Warning,
                    QStringLiteral("Не найдено файла с тексами песен: ") + TextsPath);
    } catch (const StoreError& e) {
        Song->show();
        ShowErrorReport(this, e.description());
    }
}

// ---------------------------------------------------------------- edit mode

void TMainForm::setEditButtonsVisible(bool visible) {
    for (QToolButton* b :
         {DelAvtSpeedButton, EdAlbumSpeedButton, ImageSpeedButton, DelImageSpeedButton,
          PerformersSpeedButton, SongEdSpeedButton, SongsSpeedButton, RedOFFSpeedButton,
          DefaultSpeedButton, ScanerSpeedButton})
        b->setVisible(visible);
    RedONSpeedButton->setVisible(!visible);
}

void TMainForm::RedONSpeedButtonClick() {
    setEditButtonsVisible(true);
}
void TMainForm::RedOFFSpeedButtonClick() {
    setEditButtonsVisible(false);
}

void TMainForm::PerformersSpeedButtonMouseMove() {
    PerfListPanel->show();
    PerfListPanel->raise();
    AlbomLabel->hide();
    PesniLabel->hide();
}

void TMainForm::EdAlbumSpeedButtonMouseMove() {
    PerfListPanel->hide();
    AlbumListPanel->show();
    AlbumListPanel->raise();
    AlbomLabel->show();
    PesniLabel->hide();
}

void TMainForm::SongsSpeedButtonMouseMove() {
    AlbumListPanel->hide();
    SongsListPanel->show();
    SongsListPanel->raise();
    PesniLabel->show();
}

void TMainForm::FormMouseMove() {
    SongsListPanel->hide();
    AlbumListPanel->hide();
    PerfListPanel->hide();
    PesniLabel->show();
    AlbomLabel->show();
}

void TMainForm::SongsListBoxMouseMove() {
    FormMouseMove();
}

void TMainForm::PerfListPanelMouseMove(int x, int y) {
    if (x > 10 && (y <= 48 || y >= 51)) {
        PerfListPanel->hide();
        AlbomLabel->show();
        PesniLabel->show();
    }
}

void TMainForm::AlbumListPanelMouseMove(int x, int y) {
    if (x > 10 && y < 22) {
        AlbumListPanel->hide();
        PesniLabel->show();
    }
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    // Moves over a control reach the window too; only its bare surface counts.
    if (!childAt(event->position().toPoint())) FormMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == SongsListBox->viewport())
        rowChangedInThisPress_ = false;
    if (event->type() != QEvent::MouseMove) return QWidget::eventFilter(watched, event);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (watched == PerformersSpeedButton)
        PerformersSpeedButtonMouseMove();
    else if (watched == EdAlbumSpeedButton)
        EdAlbumSpeedButtonMouseMove();
    else if (watched == SongsSpeedButton)
        SongsSpeedButtonMouseMove();
    else if (watched == PerfListPanel && !PerfListPanel->childAt(at))
        PerfListPanelMouseMove(at.x(), at.y());
    else if (watched == AlbumListPanel && !AlbumListPanel->childAt(at))
        AlbumListPanelMouseMove(at.x(), at.y());
    else if (watched == SongsListBox->viewport())
        SongsListBoxMouseMove();
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- commands

namespace {
const QString kChoosePerformer = QStringLiteral("Выберите исполнителя.");
const QString kEmptyPerformer = QStringLiteral("Имя исполнителя не может бить нулевой длины.");
}  // namespace

void TMainForm::HelpSpeedButtonClick() {
    Modal().exec(HelpForm);
}

void TMainForm::PlusPerfSpeedButtonClick() {
    PerfListPanel->hide();
    PesniLabel->show();
    AlbomLabel->show();
    Modal().exec(AddPerfSelectForm);
}

void TMainForm::EditPerfNameSpeedButtonClick() {
    PerfListPanel->hide();
    PesniLabel->show();
    AlbomLabel->show();
    if (!HasSelectedPerformer())
        Inform(this, kChoosePerformer);
    else if (SelectedPerformer().isEmpty())
        Inform(this, kEmptyPerformer);
    else
        Modal().exec(PerfNameEditForm);
}

void TMainForm::EditAlbListSpeedButtonClick() {
    AlbumListPanel->hide();
    PesniLabel->show();
    AlbumsListEdit();
}

void TMainForm::EditAlbNameSpeedButtonClick() {
    AlbumListPanel->hide();
    PesniLabel->show();
    if (!HasSelectedAlbum())
        Inform(this, QStringLiteral("Не выбрано имени для редактирования."));
    else
        Modal().exec(AlbNameEditForm);
}

void TMainForm::EditSongsListSpeedButtonClick() {
    SongsListPanel->hide();
    SongsListEdit();
}

void TMainForm::EditSongNameSpeedButtonClick() {
    SongsListPanel->hide();
    if (!HasSelectedSong())
        Inform(this, QStringLiteral("Выберите песню."));
    else
        Modal().exec(SongNameEditForm);
}

void TMainForm::SongEdSpeedButtonClick() {
    EditSongText();
}
void TMainForm::DelAvtSpeedButtonClick() {
    DeleteAvtor();
}
void TMainForm::ImageSpeedButtonClick() {
    AddImage();
}

void TMainForm::ScanerSpeedButtonClick() {
    if (!HasSelectedPerformer()) {
        Inform(this, kChoosePerformer);
        return;
    }
    if (SelectedPerformer().isEmpty()) {
        Inform(this, kEmptyPerformer);
        return;
    }
    if (performerHasData() &&
        Inform(this,
               QStringLiteral("Данные этого исполнителя не пусты.\rСканирование заменит всю "
                              "имеющуюся информацию.\rХотите продолжить?"),
               Ok | Cancel) != Ok)
        return;
    Modal().exec(ScanerForm);
}

// Only the first *.lrx file the folder listing yields is looked at.
bool TMainForm::performerHasData() const {
    try {
        const QString folder =
            PerformerStorePath(StartDir, StoreEntry::PerformerFolder, CurrentPerformer);
        for (const QString& name :
             fileio::listDir(folder, int(fileio::Listing::Files) | int(fileio::Listing::Hidden)))
            if (name.endsWith(QStringLiteral(".lrx"), Qt::CaseInsensitive))
                return fileio::fileSize(folder + u'/' + name) > 0;
    } catch (const StoreError&) {
        // A performer without a folder has no data to lose.
    }
    return false;
}

void TMainForm::AlbumsListEdit() {
    if (!HasSelectedPerformer()) {
        Inform(this, kChoosePerformer);
        return;
    }
    try {
        SetMemoLines(AlbumsForm->Memo1, decodeLines(LoadAlbumList(StartDir, CurrentPerformer)));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    Modal().exec(AlbumsForm);
}

void TMainForm::SongsListEdit() {
    if (!HasSelectedAlbum()) {
        Inform(this, QStringLiteral("Выберите альбом."));
        return;
    }
    try {
        SetMemoLines(SongsForm->Memo1, decodeLines(CollectBlockBodies(
                                           ReadRecordFile(SongsPath),
                                           SongBlockHeader(SelectedAlbum()), kSongBlockEnd)));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    Modal().exec(SongsForm);
}

void TMainForm::EditSongText() {
    SongForm->setWindowTitle(QStringLiteral("Редактор текста песен   -   ") +
                             cp1251::decode(CurrentSong));
    SongForm->Memo1->clear();
    if (!HasSelectedSong()) {
        Inform(this, QStringLiteral("Не выбрано песни для редактирования."));
        return;
    }
    if (CurrentSong.isEmpty()) {
        Inform(this, QStringLiteral("Имя песни не должно быть нулевой длины."));
        return;
    }
    try {
        SetMemoLines(SongForm->Memo1, decodeLines(CollectBlockBodies(ReadRecordFile(TextsPath),
                                                                     TextKey, kTextBlockEnd)));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    Modal().exec(SongForm);
}

template <typename LineContainer>
QStringList TMainForm::decodeLines(const LineContainer& lines) {
    QStringList text;
    for (const auto& line : lines) text.append(cp1251::decode(QByteArrayView(line)));
    return text;
}

// ---------------------------------------------------------------- appearance commands

void TMainForm::N2Click() {
    if (!Modal().chooseFont(this, fontDialogFont_, fontDialogColour_)) return;
    Song->setFont(fontDialogFont_);
    ApplyFontColour(Song, fontDialogColour_);
    for (QWidget* w : {static_cast<QWidget*>(AlbumsComboBox), static_cast<QWidget*>(PerfComboBox),
                       static_cast<QWidget*>(SongsListBox)}) {
        QFont font = w->font();
        font.setFamily(fontDialogFont_.family());
        w->setFont(font);
        ApplyFontColour(w, fontDialogColour_);
    }
    try {
        WriteFontSettings(StartDir, cp1251::encode(fontDialogFont_.family()).bytes,
                          fontDialogFont_.pointSize(), ToColourRef(fontDialogColour_));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
    refresh(SongsListBox);
}

void TMainForm::N4Click() {
    if (!Modal().chooseColor(this, colorDialogColour_)) return;
    for (QWidget* w : {static_cast<QWidget*>(Song), static_cast<QWidget*>(AlbumsComboBox),
                       static_cast<QWidget*>(PerfComboBox), static_cast<QWidget*>(SongsListBox)})
        ApplyBackColour(w, colorDialogColour_);
    try {
        WriteBackColor(StartDir, ToColourRef(colorDialogColour_));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
    refresh(SongsListBox);
}

void TMainForm::N6Click() {
    if (!Modal().chooseColor(this, colorDialogColour_)) return;
    ApplyFormColour(this, colorDialogColour_);
    try {
        WriteFormColor(StartDir, ToColourRef(colorDialogColour_));
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
    }
}

void TMainForm::DefaultSpeedButtonClick() {
    try {
        ResetAppearance(StartDir);
    } catch (const StoreError& e) {
        ShowErrorReport(this, e.description());
        return;
    }
    ApplyMainWindowRule();
    refresh(SongsListBox);
}
