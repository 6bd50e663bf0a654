// SPDX-License-Identifier: GPL-3.0-or-later
// Text conversion between the core's bytes and the widgets.
#include "ui/display_text.h"

#include <QLabel>

namespace plovane {

QLabel* NewPlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

std::string CoreText(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        bytes += code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return bytes;
}

}  // namespace plovane
