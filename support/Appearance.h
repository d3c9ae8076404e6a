#pragma once

#include <QColor>
#include <QFont>

#include "store/AppearanceSettings.h"

class QWidget;

// Resolves a colour reference: system colours from the application palette at this moment.
QColor ResolveColour(ColourRef colour);
ColourRef ToColourRef(const QColor& colour);

// Which settings a text-bearing control takes when its window becomes active.
struct TextControlRule {
    bool fontName = true;
    bool fontSize = false;
    bool fontColor = true;
    bool backColor = true;
};

void ApplyToTextControl(QWidget* control, const Appearance& a, TextControlRule rule);
void ApplyFontColour(QWidget* control, const QColor& colour);
void ApplyBackColour(QWidget* control, const QColor& colour);
// The colour of a window or panel surface.
void ApplyFormColour(QWidget* surface, const QColor& colour);

// The designed font of every control: 8-point "MS Sans Serif" (the platform substitutes a
// face it has).
QFont DesignedFont(int pointSize = 8);
