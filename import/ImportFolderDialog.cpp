#include "import/ImportFolderDialog.h"

#include <QDialog>
#include <QRegularExpression>

#include "support/FolderBrowseDialog.h"

TFolderBrowseDialog* CreateImportFolderDialog(QObject* owner) {
    auto* dialog = new TFolderBrowseDialog(owner);
    dialog->SetFlags(TFolderBrowseDialog::ShowPath);
    dialog->SetNewFolderVisible(false);
    dialog->SetNewFolderEnabled(false);
    QStringList captions = TFolderBrowseDialog::DefaultLabelCaptions();
    captions.replaceInStrings(QRegularExpression(QStringLiteral("^Default=.*")),
                              QStringLiteral("Default=Текущий каталог:"));
    dialog->SetLabelCaptions(captions);
    return dialog;
}
