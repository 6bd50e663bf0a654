// Text conversion between the core's bytes and the widgets.
#include "ui/display_text.h"

#include <QLabel>
#include <QStringDecoder>

namespace plovane::ui {

QLabel* NewPlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString DisplayText(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), size));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), size);
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

}  // namespace plovane::ui
