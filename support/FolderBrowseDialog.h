#pragma once

#include <QChar>
#include <QFlags>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;
class QFileSystemModel;

// The program's own modal folder picker: a tree of folders with a title line chosen by the
// system language, a status line with the selected path shortened to 50 characters, an
// optional "New folder" button, and reopening on the folder chosen last. The import windows
// use Execute() and then read Folder().
class TFolderBrowseDialog : public QObject {
    Q_OBJECT
  public:
    enum TBrowseInfoFlag {
        OnlyComputers = 0x1,
        OnlyPrinters = 0x2,
        OnlyDomains = 0x4,
        OnlyAncestors = 0x8,
        OnlyFileSystem = 0x10,
        ShowPath = 0x20,
    };
    Q_DECLARE_FLAGS(TBrowseInfoFlagSet, TBrowseInfoFlag)

    // Where the tree starts. Folders that have an XDG counterpart start there; the others
    // (and foDesktopExpanded) show the whole file system.
    enum TSHFolders {
        foDesktop,
        foDesktopExpanded,
        foPrograms,
        foControlPanel,
        foPrinters,
        foPersonal,
        foFavorites,
        foStartup,
        foRecent,
        foSendto,
        foRecycleBin,
        foStartMenu,
        foDesktopFolder,
        foMyComputer,
        foNetwork,
        foNetworkNeighborhood,
        foFonts,
        foTemplates,
    };

    using TBrowserInitializedEvent = std::function<void(TFolderBrowseDialog*, QDialog*)>;
    using TSelectionChangedEvent =
        std::function<void(TFolderBrowseDialog*, QDialog*, const QString& folder)>;

    // The language key is the system's Windows language identifier ("0419" for Russian);
    // tests pass their own.
    explicit TFolderBrowseDialog(QObject* owner = nullptr,
                                 const QString& languageKey = SystemLanguageKey());
    ~TFolderBrowseDialog() override;

    // Shows the picker modally. True when the user confirmed a folder; Folder() then holds it.
    bool Execute();

    QString Folder() const { return folder_; }
    void SetFolder(const QString& folder) { folder_ = folder; }
    TBrowseInfoFlagSet Flags() const { return flags_; }
    void SetFlags(TBrowseInfoFlagSet flags) { flags_ = flags; }
    TSHFolders RootFolder() const { return rootFolder_; }
    void SetRootFolder(TSHFolders root) { rootFolder_ = root; }
    bool NewFolderVisible() const { return newFolderVisible_; }
    void SetNewFolderVisible(bool visible);
    bool NewFolderEnabled() const { return newFolderEnabled_; }
    void SetNewFolderEnabled(bool enabled);
    // Lines "key=text"; the key is a four-digit language identifier or "Default".
    QStringList LabelCaptions() const { return labelCaptions_; }
    void SetLabelCaptions(const QStringList& captions);
    QStringList NewFolderCaptions() const { return newFolderCaptions_; }
    void SetNewFolderCaptions(const QStringList& captions);
    QString Version() const { return QStringLiteral("3.00.00.00"); }
    void SetVersion(const QString&) {}
    // The window the picker is shown over; by default the owner's window.
    void SetOwnerWindow(QWidget* window) { ownerWindow_ = window; }

    TBrowserInitializedEvent OnInitialized;
    TSelectionChangedEvent OnSelectionChanged;

    QString LanguageKey() const { return languageKey_; }
    // The results of the caption lookup: the title line and the "New folder" caption.
    QString Title() const { return title_; }
    QString NewFolderCaption() const { return newFolderCaption_; }

    // While the picker is open: selects a folder as a click in the tree would (the picker
    // opens on Folder() this way). False when the folder is not in the tree.
    bool SelectFolder(const QString& path);
    // The picker while it is open, nullptr otherwise.
    QDialog* OpenDialog() const { return dialog_; }

    static QString SystemLanguageKey();
    static QStringList DefaultLabelCaptions();
    static QStringList DefaultNewFolderCaptions();

  private:
    QDialog* buildDialog();
    void setUpDialog();
    void selectionChanged(const QModelIndex& current);
    void newFolderClick();
    void updateNewFolderButton();
    bool createFolderPath(const QString& path) const;
    QString rootPath() const;
    QWidget* dialogParent() const;

    QString folder_;
    TBrowseInfoFlagSet flags_ = ShowPath;
    TSHFolders rootFolder_ = foDesktopExpanded;
    bool newFolderVisible_ = true;
    bool newFolderEnabled_ = true;
    QStringList labelCaptions_;
    QStringList newFolderCaptions_;
    QString languageKey_;
    QString title_;
    QString newFolderCaption_;
    QString workingPath_;
    bool reopen_ = false;
    bool hasSelection_ = true;
    QPointer<QWidget> ownerWindow_;

    QPointer<QDialog> dialog_;
    QFileSystemModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QPushButton* newFolderButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TFolderBrowseDialog::TBrowseInfoFlagSet)

// The caption for this language key from "key=text" lines: the entry of the key (letter case
// ignored), else the "Default" entry, else the first entry; empty for an empty list.
QString LookUpCaption(const QStringList& captions, const QString& languageKey);

// The Windows language identifier of a locale as four upper-case hexadecimal digits
// (German/Germany "0407", English/United States "0409", Russian "0419").
QString WindowsLanguageKey(const QLocale& locale);

// Shortens a path to at most maxLength characters for a status line: keeps its root, then
// "...", then as many trailing components as fit ("C:\...\Rock\Album 2005").
QString ShortenPath(const QString& path, int maxLength, QChar separator);
