#include "mainwindow/SongbookOptionsTab.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSpinBox>

#include "printing/Songbook.h"

namespace {

QSpinBox* SpinBox(const QString& name, int from, int to, int value) {
    auto* box = new QSpinBox;
    box->setAccessibleName(name);
    box->setRange(from, to);
    box->setValue(value);
    return box;
}

QCheckBox* CheckBox(const QString& text, bool checked) {
    auto* box = new QCheckBox(text);
    box->setAccessibleName(text);
    box->setChecked(checked);
    return box;
}

}  // namespace

SongbookOptionsTab::SongbookOptionsTab(SongbookOptions& options, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("Сборник"));
    QSpinBox* columns = SpinBox(QStringLiteral("Колонки"), 1, 2, options.columns);
    QSpinBox* size = SpinBox(QStringLiteral("Размер шрифта"), 8, 16, options.fontPt);
    size->setSuffix(QStringLiteral(" пт"));
    QCheckBox* contents = CheckBox(QStringLiteral("Содержание"), options.contents);
    QCheckBox* index =
        CheckBox(QStringLiteral("Указатель по первым строкам"), options.firstLineIndex);
    QCheckBox* pictures = CheckBox(QStringLiteral("Рисунки альбомов"), options.pictures);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Колонки:"), columns);
    form->addRow(QStringLiteral("Размер шрифта:"), size);
    form->addRow(contents);
    form->addRow(index);
    form->addRow(pictures);

    connect(columns, &QSpinBox::valueChanged, this, [&options](int n) { options.columns = n; });
    connect(size, &QSpinBox::valueChanged, this, [&options](int pt) { options.fontPt = pt; });
    connect(contents, &QCheckBox::toggled, this, [&options](bool on) { options.contents = on; });
    connect(index, &QCheckBox::toggled, this, [&options](bool on) { options.firstLineIndex = on; });
    connect(pictures, &QCheckBox::toggled, this, [&options](bool on) { options.pictures = on; });
}
