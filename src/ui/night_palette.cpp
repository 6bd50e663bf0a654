// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' day and night colours.
#include "ui/night_palette.h"

#include <QApplication>
#include <QStyleHints>

namespace plovane {
namespace {

// The palette before the first change: the desktop's.
const QPalette& StartPalette() {
    static const QPalette start = QApplication::palette();
    return start;
}

}  // namespace

bool IsDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QPalette NightPalette() {
    QPalette p;
    const QColor window(45, 47, 52), base(30, 32, 36), text(222, 222, 222);
    const QColor disabled(128, 128, 128);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 96, 96));
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::Highlight, QColor(52, 112, 180));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(130));
    p.setColor(QPalette::Dark, window.darker(160));
    p.setColor(QPalette::Shadow, Qt::black);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

QPalette WindowPalette(bool night, const QPalette& desktop) {
    bool dark = IsDarkPalette(desktop);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const Qt::ColorScheme scheme = QGuiApplication::styleHints()->colorScheme();
    if (scheme != Qt::ColorScheme::Unknown)
        dark = scheme == Qt::ColorScheme::Dark;
#endif
    return night || dark ? NightPalette() : desktop;
}

void ApplyWindowPalette(bool night) {
    const QPalette wanted = WindowPalette(night, StartPalette());
    if (QApplication::palette() != wanted)
        QApplication::setPalette(wanted);
}

}  // namespace plovane
