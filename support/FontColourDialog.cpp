#include "support/FontColourDialog.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "support/Modal.h"

namespace {

const QString kOtherColour = QStringLiteral("Другой…");

struct NamedColour {
    QRgb rgb;
    const char* name;
};

// The sixteen colours of the system font dialogs, in their order.
const NamedColour kUsualColours[] = {
    {0x000000, "Чёрный"},       {0x800000, "Бордовый"},    {0x008000, "Зелёный"},
    {0x808000, "Оливковый"},    {0x000080, "Тёмно-синий"}, {0x800080, "Фиолетовый"},
    {0x008080, "Сине-зелёный"}, {0x808080, "Серый"},       {0xC0C0C0, "Серебряный"},
    {0xFF0000, "Красный"},      {0x00FF00, "Лайм"},        {0xFFFF00, "Жёлтый"},
    {0x0000FF, "Синий"},        {0xFF00FF, "Фуксия"},      {0x00FFFF, "Морская волна"},
    {0xFFFFFF, "Белый"},
};

QPixmap Swatch(const QColor& colour) {
    QPixmap swatch(16, 12);
    swatch.fill(colour);
    return swatch;
}

}  // namespace

FontColourDialog::FontColourDialog(const QFont& font, const QColor& colour, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Шрифт"));

    fontDialog = new QFontDialog(font, this);
    fontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fontDialog->setWindowFlags(Qt::Widget);
    fontDialog->setSizeGripEnabled(false);
    fontDialog->layout()->setContentsMargins(QMargins());
    fontDialog->setAccessibleName(QStringLiteral("Шрифт"));
    // Escape inside the embedded dialog closes it alone; it means the whole dialog.
    connect(fontDialog, &QDialog::rejected, this, &QDialog::reject);

    auto* colourLabel = new QLabel(QStringLiteral("&Цвет:"), this);
    colourBox = new QComboBox(this);
    colourBox->setAccessibleName(QStringLiteral("Цвет"));
    colourLabel->setBuddy(colourBox);
    for (const NamedColour& c : kUsualColours) addColour(QColor(c.rgb), QString::fromUtf8(c.name));
    colourBox->addItem(kOtherColour);
    showColour(colour);
    connect(colourBox, &QComboBox::activated, this, &FontColourDialog::colourBoxActivated);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(colourLabel);
    row->addWidget(colourBox);
    row->addStretch();
    row->addWidget(okButton);
    row->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontDialog);
    layout->addLayout(row);
}

QFont FontColourDialog::chosenFont() const {
    return fontDialog->currentFont();
}

void FontColourDialog::addColour(const QColor& colour, const QString& name) {
    const int before = colourBox->findText(kOtherColour);
    colourBox->insertItem(before < 0 ? colourBox->count() : before, Swatch(colour), name, colour);
}

// Selects the colour's entry; a colour outside the sixteen gets an entry of its own.
void FontColourDialog::showColour(const QColor& chosen) {
    const QColor colour = QColor::fromRgb(chosen.rgb());  // as a colour value stores it
    colour_ = colour;
    int index = colourBox->findData(colour);
    if (index < 0) {
        addColour(colour, colour.name());
        index = colourBox->findData(colour);
    }
    colourBox->setCurrentIndex(index);
}

void FontColourDialog::colourBoxActivated(int index) {
    if (colourBox->itemText(index) != kOtherColour) {
        colour_ = colourBox->itemData(index).value<QColor>();
        return;
    }
    QColor other = colour_;
    if (Modal().chooseColor(this, other))
        showColour(other);
    else
        showColour(colour_);  // cancelled: the colour chosen before stays
}
