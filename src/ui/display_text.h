// Received bytes as the windows show them: UTF-8 when the bytes are valid UTF-8, otherwise
// one character per byte (Latin-1). Widgets show these as plain text, never as rich text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QLabel;
class QWidget;

// The functions live in their own namespace so their symbols stay apart from the renderer's
// internal helper of the same name; the using-declarations make them plain plovane names.
namespace plovane {
namespace ui {

QString DisplayText(std::string_view bytes);
// Text typed or chosen in the GUI back to the core's bytes (Latin-1, unrepresentable
// characters become "?"). File paths use QFile::encodeName instead.
std::string CoreText(const QString& text);
// A label that shows its text as written, never as rich text.
QLabel* NewPlainLabel(const QString& text, QWidget* parent);

}  // namespace ui

using ui::CoreText;
using ui::DisplayText;
using ui::NewPlainLabel;

}  // namespace plovane
