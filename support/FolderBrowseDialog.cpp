#include "support/FolderBrowseDialog.h"

#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

#include "store/FileIo.h"
#include "store/StoreError.h"
#include "support/Modal.h"

namespace {

constexpr int kStatusPathLength = 50;
constexpr QChar kSeparator = u'/';

struct Caption {
    const char* keys;  // blank-separated language keys sharing one text
    const char* label;
    const char* newFolder;
};

// The languages the picker speaks; every other system language takes the "Default" entry.
const Caption kCaptions[] = {
    {"Default 0009", "Current folder:", "New folder"},
    {"0406", "Valgt mappe:", "Ny mappe"},
    {"0407", "Ausgewählter Ordner:", "Neuer Ordner"},
    {"0409", "Current folder:", "New folder"},
    {"040C", "Dossier Courant:", "Nouveau Dossier"},
    {"0410", "Cartella selezionata:", "Nuova Cartella"},
    {"0413", "Huidige map:", "Nieuwe map"},
    {"0415", "Bieżący folder", "Nowy folder"},
    {"0416", "Pasta Atual:", "Nova Pasta"},
    {"0807", "Ausgewählter Ordner:", "Neuer Ordner"},
    {"0809", "Current folder:", "New folder"},
    {"080C", "Dossier Courant:", "Nouveau Dossier"},
    {"0810", "Cartella selezionata:", "Nuova Cartella"},
    {"0C07", "Ausgewählter Ordner:", "Neuer Ordner"},
    {"0C09", "Current folder:", "New folder"},
    {"0C0C", "Dossier Courant:", "Nouveau Dossier"},
    {"1007", "Ausgewählter Ordner:", "Neuer Ordner"},
    {"1009", "Current folder:", "New folder"},
    {"100C", "Dossier Courant:", "Nouveau Dossier"},
    {"1407", "Ausgewählter Ordner:", "Neuer Ordner"},
    {"1409", "Current folder:", "New folder"},
    {"140C", "Dossier Courant:", "Nouveau Dossier"},
    {"1809", "Current folder:", "New folder"},
    {"180C", "Dossier Courant:", "Nouveau Dossier"},
    {"1C09 2009 2809 2C09", "Current folder:", "New folder"},
};

QStringList captionList(const char* Caption::*text) {
    QStringList lines;
    for (const Caption& c : kCaptions)
        for (const QString& key : QString::fromLatin1(c.keys).split(u' '))
            lines << key + u'=' + QString::fromUtf8(c.*text);
    return lines;
}

struct LanguageEntry {
    QLocale::Language language;
    int primary;  // primary language identifier
};
const LanguageEntry kPrimaryLanguages[] = {
    {QLocale::Arabic, 0x01},     {QLocale::Bulgarian, 0x02},  {QLocale::Chinese, 0x04},
    {QLocale::Czech, 0x05},      {QLocale::Danish, 0x06},     {QLocale::German, 0x07},
    {QLocale::Greek, 0x08},      {QLocale::English, 0x09},    {QLocale::Spanish, 0x0A},
    {QLocale::Finnish, 0x0B},    {QLocale::French, 0x0C},     {QLocale::Hebrew, 0x0D},
    {QLocale::Hungarian, 0x0E},  {QLocale::Italian, 0x10},    {QLocale::Japanese, 0x11},
    {QLocale::Korean, 0x12},     {QLocale::Dutch, 0x13},      {QLocale::NorwegianBokmal, 0x14},
    {QLocale::Polish, 0x15},     {QLocale::Portuguese, 0x16}, {QLocale::Romanian, 0x18},
    {QLocale::Russian, 0x19},    {QLocale::Croatian, 0x1A},   {QLocale::Slovak, 0x1B},
    {QLocale::Swedish, 0x1D},    {QLocale::Turkish, 0x1F},    {QLocale::Ukrainian, 0x22},
    {QLocale::Belarusian, 0x23}, {QLocale::Slovenian, 0x24},  {QLocale::Estonian, 0x25},
    {QLocale::Latvian, 0x26},    {QLocale::Lithuanian, 0x27}, {QLocale::Kazakh, 0x3F},
};

struct SubLanguageEntry {
    QLocale::Language language;
    QLocale::Territory territory;
    int sub;  // sub-language identifier; 1 is the language's home country
};
const SubLanguageEntry kSubLanguages[] = {
    {QLocale::English, QLocale::UnitedKingdom, 2},
    {QLocale::English, QLocale::Australia, 3},
    {QLocale::English, QLocale::Canada, 4},
    {QLocale::English, QLocale::NewZealand, 5},
    {QLocale::English, QLocale::Ireland, 6},
    {QLocale::English, QLocale::SouthAfrica, 7},
    {QLocale::English, QLocale::Jamaica, 8},
    {QLocale::English, QLocale::Belize, 10},
    {QLocale::English, QLocale::TrinidadAndTobago, 11},
    {QLocale::German, QLocale::Switzerland, 2},
    {QLocale::German, QLocale::Austria, 3},
    {QLocale::German, QLocale::Luxembourg, 4},
    {QLocale::German, QLocale::Liechtenstein, 5},
    {QLocale::French, QLocale::Belgium, 2},
    {QLocale::French, QLocale::Canada, 3},
    {QLocale::French, QLocale::Switzerland, 4},
    {QLocale::French, QLocale::Luxembourg, 5},
    {QLocale::French, QLocale::Monaco, 6},
    {QLocale::Italian, QLocale::Switzerland, 2},
    {QLocale::Dutch, QLocale::Belgium, 2},
    {QLocale::Portuguese, QLocale::Portugal, 2},
    {QLocale::Russian, QLocale::Moldova, 2},
};

int primaryLanguage(QLocale::Language language) {
    for (const LanguageEntry& e : kPrimaryLanguages)
        if (e.language == language) return e.primary;
    return -1;
}

int subLanguage(QLocale::Language language, QLocale::Territory territory) {
    for (const SubLanguageEntry& e : kSubLanguages)
        if (e.language == language && e.territory == territory) return e.sub;
    return 1;
}

QStandardPaths::StandardLocation xdgLocation(TFolderBrowseDialog::TSHFolders root, bool* found) {
    *found = true;
    switch (root) {
        case TFolderBrowseDialog::foDesktop:
        case TFolderBrowseDialog::foDesktopFolder:
            return QStandardPaths::DesktopLocation;
        case TFolderBrowseDialog::foPersonal:
            return QStandardPaths::DocumentsLocation;
        case TFolderBrowseDialog::foPrograms:
        case TFolderBrowseDialog::foStartMenu:
            return QStandardPaths::ApplicationsLocation;
        case TFolderBrowseDialog::foFonts:
            return QStandardPaths::FontsLocation;
        default:
            *found = false;
            return QStandardPaths::HomeLocation;
    }
}

// The platform's own text for "cannot make a directory" (its error number 82).
const char kCannotCreateText[] = "The directory or file cannot be created.";

}  // namespace

QString LookUpCaption(const QStringList& captions, const QString& languageKey) {
    if (captions.isEmpty()) return QString();
    auto keyOf = [](const QString& line) { return line.section(u'=', 0, 0); };
    auto textOf = [](const QString& line) {
        const qsizetype eq = line.indexOf(u'=');
        return eq < 0 ? line : line.mid(eq + 1);
    };
    for (const QString& line : captions)
        if (line.contains(u'=') && keyOf(line).compare(languageKey, Qt::CaseInsensitive) == 0)
            return textOf(line);
    for (const QString& line : captions)
        if (line.contains(u'=') && keyOf(line).compare(u"Default", Qt::CaseInsensitive) == 0)
            return textOf(line);
    return textOf(captions.first());
}

QString WindowsLanguageKey(const QLocale& locale) {
    int primary = primaryLanguage(locale.language());
    int sub = subLanguage(locale.language(), locale.territory());
    if (primary < 0) {
        // The "C" locale and languages without an identifier here read as US English, the
        // platform's own fallback.
        primary = 0x09;
        sub = 1;
    }
    return QStringLiteral("%1").arg(sub << 10 | primary, 4, 16, QLatin1Char('0')).toUpper();
}

QString ShortenPath(const QString& path, int maxLength, QChar separator) {
    const QString cut = path.left(maxLength);
    if (path.size() <= maxLength || maxLength < 6 || !path.contains(separator)) return cut;
    if (path.mid(2).count(separator) < 2) return cut;
    QString rest = path;
    QString result;
    // Only a path that starts with two separators is a network path; a single leading
    // separator is the root of this platform's file system and stays as "/...".
    if (rest.startsWith(QString(2, separator))) {
        result = QString(2, separator);
        rest.remove(0, 2);
    }
    result += rest.left(rest.indexOf(separator) + 1) + QStringLiteral("...");
    auto joined = [&] { return result + separator + rest; };
    do {
        rest.remove(0, rest.indexOf(separator) + 1);
    } while (joined().size() > maxLength && rest.contains(separator));
    if (joined().size() <= maxLength) return joined();
    return joined().left(maxLength - 3) + QStringLiteral("...");
}

QString TFolderBrowseDialog::SystemLanguageKey() {
    return WindowsLanguageKey(QLocale::system());
}

QStringList TFolderBrowseDialog::DefaultLabelCaptions() {
    return captionList(&Caption::label);
}

QStringList TFolderBrowseDialog::DefaultNewFolderCaptions() {
    return captionList(&Caption::newFolder);
}

TFolderBrowseDialog::TFolderBrowseDialog(QObject* owner, const QString& languageKey)
    : QObject(owner),
      labelCaptions_(DefaultLabelCaptions()),
      newFolderCaptions_(DefaultNewFolderCaptions()),
      languageKey_(languageKey.toUpper()) {
    title_ = LookUpCaption(labelCaptions_, languageKey_);
    newFolderCaption_ = LookUpCaption(newFolderCaptions_, languageKey_);
}

TFolderBrowseDialog::~TFolderBrowseDialog() {
    delete dialog_;
}

void TFolderBrowseDialog::SetNewFolderVisible(bool visible) {
    newFolderVisible_ = visible;
    if (newFolderButton_) newFolderButton_->setVisible(visible);
}

void TFolderBrowseDialog::SetNewFolderEnabled(bool enabled) {
    newFolderEnabled_ = enabled;
    updateNewFolderButton();
}

void TFolderBrowseDialog::SetLabelCaptions(const QStringList& captions) {
    if (captions == labelCaptions_) return;
    labelCaptions_ = captions;
    title_ = LookUpCaption(labelCaptions_, languageKey_);
    if (titleLabel_) titleLabel_->setText(title_);
}

void TFolderBrowseDialog::SetNewFolderCaptions(const QStringList& captions) {
    if (captions == newFolderCaptions_) return;
    newFolderCaptions_ = captions;
    newFolderCaption_ = LookUpCaption(newFolderCaptions_, languageKey_);
    if (newFolderButton_) newFolderButton_->setText(newFolderCaption_);
}

bool TFolderBrowseDialog::Execute() {
    workingPath_ = folder_;
    int result = QDialog::Rejected;
    do {
        reopen_ = false;
        folder_ = workingPath_;
        QDialog* dialog = buildDialog();
        setUpDialog();
        result = Modal().exec(dialog);
        const QString chosen =
            tree_->currentIndex().isValid() ? model_->filePath(tree_->currentIndex()) : QString();
        delete dialog;
        model_ = nullptr;
        tree_ = nullptr;
        titleLabel_ = statusLabel_ = nullptr;
        newFolderButton_ = okButton_ = nullptr;
        if (result == QDialog::Accepted && !reopen_) {
            folder_ = chosen;
            workingPath_ = folder_;
            return true;
        }
    } while (reopen_);
    return false;
}

QWidget* TFolderBrowseDialog::dialogParent() const {
    if (ownerWindow_) return ownerWindow_->window();
    if (auto* widget = qobject_cast<QWidget*>(parent())) return widget->window();
    return nullptr;
}

QString TFolderBrowseDialog::rootPath() const {
    bool found = false;
    const auto location = xdgLocation(rootFolder_, &found);
    if (found) {
        const QString path = QStandardPaths::writableLocation(location);
        if (!path.isEmpty() && fileio::isDir(path)) return path;
    }
    return QDir::rootPath();
}

QDialog* TFolderBrowseDialog::buildDialog() {
    auto* dialog = new QDialog(dialogParent());
    dialog_ = dialog;
    dialog->setObjectName(QStringLiteral("FolderBrowseDialog"));
    dialog->setWindowTitle(title_);
    dialog->resize(340, 400);

    titleLabel_ = new QLabel(title_, dialog);
    titleLabel_->setObjectName(QStringLiteral("TitleLabel"));
    statusLabel_ = new QLabel(dialog);
    statusLabel_->setObjectName(QStringLiteral("StatusLabel"));
    statusLabel_->setVisible(flags_.testFlag(ShowPath));

    model_ = new QFileSystemModel(dialog);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    const QString root = rootPath();
    model_->setRootPath(root);

    tree_ = new QTreeView(dialog);
    tree_->setObjectName(QStringLiteral("FolderTree"));
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->setHeaderHidden(true);
    if (root != QDir::rootPath()) tree_->setRootIndex(model_->index(root));
    QObject::connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                     [this](const QModelIndex& current) { selectionChanged(current); });
    titleLabel_->setBuddy(tree_);

    newFolderButton_ = new QPushButton(newFolderCaption_, dialog);
    newFolderButton_->setObjectName(QStringLiteral("NewFolderButton"));
    const int textWidth = newFolderButton_->fontMetrics().horizontalAdvance(newFolderCaption_);
    newFolderButton_->setMinimumWidth(std::max(textWidth + 12, 75));
    QObject::connect(newFolderButton_, &QPushButton::clicked, this, [this] { newFolderClick(); });
    okButton_ = new QPushButton(QStringLiteral("OK"), dialog);
    okButton_->setObjectName(QStringLiteral("OkButton"));
    okButton_->setDefault(true);
    QObject::connect(okButton_, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newFolderButton_);
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(titleLabel_);
    layout->addWidget(statusLabel_);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    return dialog;
}

void TFolderBrowseDialog::setUpDialog() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        dialog_->move(area.width() / 2 - dialog_->width() / 2,
                      area.height() / 2 - dialog_->height() / 2);
    }
    newFolderButton_->setVisible(newFolderVisible_);
    updateNewFolderButton();
    okButton_->setEnabled(false);
    if (!folder_.isEmpty() && fileio::isDir(folder_)) SelectFolder(folder_);
    if (OnInitialized) OnInitialized(this, dialog_);
}

bool TFolderBrowseDialog::SelectFolder(const QString& path) {
    if (!tree_) return false;
    const QModelIndex index = model_->index(QDir::cleanPath(path));
    if (!index.isValid()) return false;
    tree_->scrollTo(index);
    tree_->setCurrentIndex(index);
    return true;
}

void TFolderBrowseDialog::selectionChanged(const QModelIndex& current) {
    workingPath_ = current.isValid() ? model_->filePath(current) : QString();
    if (flags_.testFlag(ShowPath)) {
        QString status = ShortenPath(workingPath_, kStatusPathLength, kSeparator);
        if (status.isEmpty() && current.isValid()) {
            status = model_->fileName(current);
            workingPath_ = status;
        }
        statusLabel_->setText(status);
    }
    hasSelection_ = !workingPath_.isEmpty();
    // Every item of this tree is a folder with a path, so OK needs only an item to confirm.
    okButton_->setEnabled(current.isValid() && (hasSelection_ || !flags_.testFlag(OnlyFileSystem)));
    updateNewFolderButton();
    if (OnSelectionChanged) OnSelectionChanged(this, dialog_, workingPath_);
}

void TFolderBrowseDialog::updateNewFolderButton() {
    if (newFolderButton_) newFolderButton_->setEnabled(hasSelection_ && newFolderEnabled_);
}

void TFolderBrowseDialog::newFolderClick() {
    QString name;
    if (!Modal().inputText(dialog_, newFolderCaption_, QString(), name) || name.isEmpty()) return;
    reopen_ = true;
    if (!name.startsWith(kSeparator) && !workingPath_.endsWith(kSeparator))
        name.prepend(kSeparator);
    const QString newPath = workingPath_ + name;
    if (createFolderPath(newPath)) {
        workingPath_ = QDir::cleanPath(newPath);
    } else {
        Modal().message(dialog_, MessageBox{MsgKind::Warning, newFolderCaption_,
                                            QString::fromLatin1(kCannotCreateText), Ok});
    }
    dialog_->reject();
}

// Makes every missing folder of the path, one level at a time. Components "." and ".." and
// a NUL are refused before anything is made, so the new folder stays below the selection.
bool TFolderBrowseDialog::createFolderPath(const QString& path) const {
    const QStringList parts = path.split(kSeparator, Qt::SkipEmptyParts);
    for (const QString& part : parts)
        if (part == u"." || part == u".." || part.contains(QChar(0))) return false;
    QString level = path.startsWith(kSeparator) ? QString(kSeparator) : QString();
    try {
        for (const QString& part : parts) {
            level += part;
            if (!fileio::isDir(level)) fileio::makeDir(level);
            level += kSeparator;
        }
    } catch (const StoreError&) {
        return false;
    }
    return fileio::isDir(path);
}
