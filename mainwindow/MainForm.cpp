#include "mainwindow/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

#include "mainwindow/HoverPanels.h"
#include "mainwindow/PictureView.h"
#include "mainwindow/SpeedButtons.h"
#include "session/AppearanceCommands.h"
#include "session/CatalogueSession.h"
#include "store/Cp1251.h"
#include "support/Appearance.h"
#include "support/Form.h"
#include "support/JpegDecoder.h"
#include "support/ListEntries.h"
#include "support/Modal.h"

namespace {

// The frame and caption a Windows window of this design has around its client area; used
// when the window has no frame of its own to measure (no window manager, offscreen).
constexpr QSize kNominalFrame(8, 34);
constexpr QSize kDesignOuterSize(696, 644);

void refresh(QWidget* w) {
    w->hide();
    w->show();
}

}  // namespace

TMainForm::TMainForm(CatalogueSession& session, EditorBuffers& buffers, QWidget* parent)
    : QWidget(parent), session_(session), buffers_(buffers) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Тексты песен"));
    setFont(DesignedFont());
    fontDialogFont_ = DesignedFont();
    fontDialogColour_ = ResolveColour(ColourRef{-16777208});
    createControls();
    connectHandlers();
    connectSession();
    createSearchCommand();
    createHistoryCommands();
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
    AddPrintAndExportItems();
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
    connect(PerfComboBox, qOverload<int>(&QComboBox::currentIndexChanged), &session_,
            &CatalogueSession::SelectPerformer);
    connect(AlbumsComboBox, qOverload<int>(&QComboBox::currentIndexChanged), &session_,
            &CatalogueSession::SelectAlbum);

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
    hover_ = new HoverPanels(
        {PerformersSpeedButton, EdAlbumSpeedButton, SongsSpeedButton, PerfListPanel, AlbumListPanel,
         SongsListPanel, AlbomLabel, PesniLabel, SongsListBox->viewport()},
        this);
}

// The window shows what the session holds, as the session's commands change it.
void TMainForm::connectSession() {
    connect(&session_, &CatalogueSession::performersChanged, this, &TMainForm::showPerformers);
    connect(&session_, &CatalogueSession::albumsChanged, this, &TMainForm::showAlbums);
    connect(&session_, &CatalogueSession::songsChanged, this, &TMainForm::showSongs);
    connect(&session_, &CatalogueSession::songTextChanged, this, &TMainForm::SetSongText);
    connect(&session_, &CatalogueSession::albumPictureRead, this, &TMainForm::showAlbumPicture);
    connect(&session_, &CatalogueSession::pictureHidden, this, &TMainForm::HidePicture);
    connect(&session_, &CatalogueSession::selectionChanged, this, &TMainForm::showSelection);
    connect(&session_, &CatalogueSession::selectedEntriesChanged, this,
            &TMainForm::showSelectedEntries);
}

void TMainForm::showSelection() {
    showPerformers();
    showAlbums();
    showSongs();
    SetSongText(session_.ShownText());
    if (session_.ShownPicture().isEmpty())
        HidePicture();
    else
        showAlbumPicture(session_.ShownPicture());
}

void TMainForm::showSelectedEntries() {
    PerfComboBox->setCurrentIndex(session_.PerformerIndex());
    AlbumsComboBox->setCurrentIndex(session_.AlbumIndex());
    fillingSongs_ = true;
    SongsListBox->setCurrentRow(session_.SongIndex());
    if (session_.SongIndex() >= 0)
        SongsListBox->scrollToItem(SongsListBox->item(session_.SongIndex()));
    fillingSongs_ = false;
}

void TMainForm::runCommand(Command& command) {
    session_.execute(command, feedback_);
}

// ---------------------------------------------------------------- start-up

void TMainForm::FormCreate() {
    Image->hide();
    assignHints();
    ApplyMainWindowRule();
    session_.Open(feedback_);
}

// The main window takes the settings at start-up and on reset; the drop-down lists and the
// song list keep their designed size.
void TMainForm::ApplyMainWindowRule() {
    QList<AppearanceControl> controls;
    for (QWidget* w : {static_cast<QWidget*>(Song), static_cast<QWidget*>(AlbumsComboBox),
                       static_cast<QWidget*>(PerfComboBox), static_cast<QWidget*>(SongsListBox)})
        controls.append({w, TextControlRule{true, w == Song, true, true}});
    Form::ApplyAppearance(Form::CurrentAppearance(session_), controls, {this});
}

void TMainForm::FormActivate() {
    if (session_.CheckFirstRun(feedback_)) Modal().exec(dialogs_.HelpForm);
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
    return ComboBoxNames(PerfComboBox);
}
bool TMainForm::HasSelectedPerformer() const {
    return PerfComboBox->currentIndex() >= 0;
}
QByteArray TMainForm::SelectedPerformer() const {
    return ComboBoxSelection(PerfComboBox);
}
Lines TMainForm::AlbumNames() const {
    return ComboBoxNames(AlbumsComboBox);
}
bool TMainForm::HasSelectedAlbum() const {
    return AlbumsComboBox->currentIndex() >= 0;
}
QByteArray TMainForm::SelectedAlbum() const {
    return ComboBoxSelection(AlbumsComboBox);
}
Lines TMainForm::SongNames() const {
    return ListBoxNames(SongsListBox);
}
bool TMainForm::HasSelectedSong() const {
    return SongsListBox->currentRow() >= 0;
}
QByteArray TMainForm::SelectedSong() const {
    return ListBoxSelection(SongsListBox);
}

void TMainForm::showPerformers() {
    FillComboBox(PerfComboBox, session_.Performers(), session_.PerformerIndex());
}
void TMainForm::showAlbums() {
    FillComboBox(AlbumsComboBox, session_.Albums(), session_.AlbumIndex());
}

void TMainForm::showSongs() {
    fillingSongs_ = true;
    FillListBox(SongsListBox, session_.Songs(), session_.SongIndex());
    fillingSongs_ = false;
}

// A text is filled while the pane is hidden and without scroll bars; both come back with the
// last line.
void TMainForm::SetSongText(const Lines& lines) {
    if (lines.isEmpty()) {
        Song->clear();
        return;
    }
    Song->hide();
    Song->setPlainText(DecodeLines(lines).join(u'\n'));
    Song->moveCursor(QTextCursor::Start);
    Song->show();
}

// ---------------------------------------------------------------- the picture

// Once the main window shows a picture, the large picture window holds the same picture
// under the album's caption, shown or not.
void TMainForm::ShowPicture(const QImage& picture) {
    Image->setPicture(picture);
    Image->show();
    emit pictureShown(Image->picture());
}

// A picture that cannot be decoded is reported; the album's songs are listed all the same.
void TMainForm::showAlbumPicture(const QByteArray& data) {
    QString error;
    const QImage picture = DecodeJpeg(data, &error);
    if (picture.isNull())
        ShowErrorReport(this, error);
    else
        ShowPicture(picture);
}

void TMainForm::HidePicture() {
    Image->hide();
}

bool TMainForm::PictureShown() const {
    return Image->isVisible();
}

// ---------------------------------------------------------------- browsing

void TMainForm::PerfComboBoxClick() {
    session_.ChoosePerformer(PerfComboBox->currentIndex(), feedback_);
}

void TMainForm::AlbumsComboBoxClick() {
    session_.ChooseAlbum(AlbumsComboBox->currentIndex(), feedback_);
}

void TMainForm::SongsListBoxClick() {
    session_.ChooseSong(SongsListBox->currentRow(), feedback_);
}

void TMainForm::SongOut(const QByteArray& key) {
    session_.SongOut(key, feedback_);
}

void TMainForm::OutsideChangesSettled() {
    session_.CheckOutsideChanges(feedback_);
}

// ---------------------------------------------------------------- edit mode

void TMainForm::setEditButtonsVisible(bool visible) {
    for (QToolButton* b :
         {DelAvtSpeedButton, EdAlbumSpeedButton, ImageSpeedButton, DelImageSpeedButton,
          PerformersSpeedButton, SongEdSpeedButton, SongsSpeedButton, RedOFFSpeedButton,
          DefaultSpeedButton, ScanerSpeedButton})
        b->setVisible(visible);
    RedONSpeedButton->setVisible(!visible);
    editing_ = visible;
    showHistory();
}

void TMainForm::RedONSpeedButtonClick() {
    setEditButtonsVisible(true);
}
void TMainForm::RedOFFSpeedButtonClick() {
    setEditButtonsVisible(false);
}

void TMainForm::PerformersSpeedButtonMouseMove() {
    hover_->PerformersSpeedButtonMouseMove();
}
void TMainForm::EdAlbumSpeedButtonMouseMove() {
    hover_->EdAlbumSpeedButtonMouseMove();
}
void TMainForm::SongsSpeedButtonMouseMove() {
    hover_->SongsSpeedButtonMouseMove();
}
void TMainForm::FormMouseMove() {
    hover_->FormMouseMove();
}
void TMainForm::SongsListBoxMouseMove() {
    hover_->SongsListBoxMouseMove();
}
void TMainForm::PerfListPanelMouseMove(int x, int y) {
    hover_->PerfListPanelMouseMove(x, y);
}
void TMainForm::AlbumListPanelMouseMove(int x, int y) {
    hover_->AlbumListPanelMouseMove(x, y);
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
    // Moves over a control reach the window too; only its bare surface counts.
    if (!childAt(event->position().toPoint())) FormMouseMove();
    QWidget::mouseMoveEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == SongsListBox->viewport())
        rowChangedInThisPress_ = false;
    return QWidget::eventFilter(watched, event);
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
    FontCommand command(cp1251::encode(fontDialogFont_.family()).bytes, fontDialogFont_.pointSize(),
                        ToColourRef(fontDialogColour_));
    runCommand(command);
    refresh(SongsListBox);
}

void TMainForm::N4Click() {
    if (!Modal().chooseColor(this, colorDialogColour_)) return;
    for (QWidget* w : {static_cast<QWidget*>(Song), static_cast<QWidget*>(AlbumsComboBox),
                       static_cast<QWidget*>(PerfComboBox), static_cast<QWidget*>(SongsListBox)})
        ApplyBackColour(w, colorDialogColour_);
    ColourCommand command(ColourCommand::Of::Background, ToColourRef(colorDialogColour_));
    runCommand(command);
    refresh(SongsListBox);
}

void TMainForm::N6Click() {
    if (!Modal().chooseColor(this, colorDialogColour_)) return;
    ApplyFormColour(this, colorDialogColour_);
    ColourCommand command(ColourCommand::Of::Window, ToColourRef(colorDialogColour_));
    runCommand(command);
}

void TMainForm::DefaultSpeedButtonClick() {
    AppearanceResetCommand command;
    if (session_.execute(command, feedback_) != Outcome::Done) return;
    ApplyMainWindowRule();
    refresh(SongsListBox);
}
