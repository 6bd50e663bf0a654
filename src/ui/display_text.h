// SPDX-License-Identifier: GPL-3.0-or-later
// Text between the core's bytes and the widgets; widgets show received text as plain text,
// never as rich text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "maps/render/display_text.h"

class QLabel;
class QWidget;

namespace plovane {

// Text typed or chosen in the GUI back to the core's bytes (Latin-1, unrepresentable
// characters become "?"). File paths use QFile::encodeName instead.
std::string CoreText(const QString& text);
// A label that shows its text as written, never as rich text.
QLabel* NewPlainLabel(const QString& text, QWidget* parent);

}  // namespace plovane
