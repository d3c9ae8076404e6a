#include "support/Appearance.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "store/Cp1251.h"

QColor ResolveColour(ColourRef colour) {
    if (!colour.isSystem()) return QColor(colour.red(), colour.green(), colour.blue());
    const QPalette palette = QApplication::palette();
    switch (colour.systemIndex()) {
        case kSystemButtonFace:
            return palette.color(QPalette::Button);
        case 5:  // window background
            return palette.color(QPalette::Base);
        case 13:  // highlight
            return palette.color(QPalette::Highlight);
        case 14:  // highlighted text
            return palette.color(QPalette::HighlightedText);
        case 18:  // button text
            return palette.color(QPalette::ButtonText);
        case kSystemWindowText:
        default:
            return palette.color(QPalette::WindowText);
    }
}

ColourRef ToColourRef(const QColor& colour) {
    return ColourRef::fromRgb(colour.red(), colour.green(), colour.blue());
}

QFont DesignedFont(int pointSize) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(pointSize);
    return font;
}

void ApplyFontColour(QWidget* control, const QColor& colour) {
    QPalette p = control->palette();
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::ButtonText, colour);
    p.setColor(QPalette::WindowText, colour);
    control->setPalette(p);
}

void ApplyBackColour(QWidget* control, const QColor& colour) {
    QPalette p = control->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Button, colour);
    control->setPalette(p);
}

void ApplyFormColour(QWidget* surface, const QColor& colour) {
    QPalette p = surface->palette();
    p.setColor(QPalette::Window, colour);
    surface->setPalette(p);
    surface->setAutoFillBackground(true);
}

void ApplyToTextControl(QWidget* control, const Appearance& a, TextControlRule rule) {
    QFont font = control->font();
    if (rule.fontName) font.setFamily(cp1251::decode(a.fontName));
    if (rule.fontSize && a.fontSize > 0) font.setPointSize(a.fontSize);
    control->setFont(font);
    if (rule.fontColor) ApplyFontColour(control, ResolveColour(a.fontColor));
    if (rule.backColor) ApplyBackColour(control, ResolveColour(a.backColor));
}
