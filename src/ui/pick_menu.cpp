// SPDX-License-Identifier: GPL-3.0-or-later
// Station pick pop-ups with drawn station items.
#include "ui/pick_menu.h"

#include <QAction>
#include <QKeyEvent>
#include <QPainter>
#include <QWidgetAction>

#include "ui/display_text.h"

namespace plovane {

QFont PickItemFont() {
    QFont font(QString::fromLatin1(kPickItemFontFace));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(kPickItemFontHeight);
    return font;
}

StationMenuItem::StationMenuItem(const QString& call, const StationIcon& icon, bool greyed,
                                 IconPainter icons, QAction* action, QWidget* parent)
    : QWidget(parent),
      call_(call),
      icon_(icon),
      greyed_(greyed),
      icons_(std::move(icons)),
      action_(action),
      font_(PickItemFont()) {
    setMouseTracking(true);
    setFocusPolicy(greyed ? Qt::NoFocus : Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

QSize StationMenuItem::sizeHint() const {
    const QFontMetrics metrics(font_);
    const PickItemSize size = MeasurePickItem(metrics.horizontalAdvance(call_), metrics.height());
    return {size.width, size.height};
}

void StationMenuItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& palette = this->palette();
    const bool selected = highlighted_ && !greyed_;
    // Unselected, the menu's own background shows through.
    if (selected)
        painter.fillRect(rect(), palette.color(QPalette::Highlight));
    if (icons_)
        icons_(painter, icon_, kPickItemIconOffset, kPickItemIconOffset);
    QColor text = palette.color(QPalette::WindowText);
    if (greyed_) {
        text = palette.color(QPalette::Disabled, QPalette::WindowText);
    } else if (selected) {
        text = palette.color(QPalette::HighlightedText);
    }
    painter.setPen(text);
    painter.setFont(font_);
    const QRect textRect(kPickItemTextLeft, 0, width() - kPickItemTextLeft, height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, call_);
}

void StationMenuItem::SetHighlighted(bool on) {
    if (highlighted_ == on)
        return;
    highlighted_ = on;
    update();
}

void StationMenuItem::enterEvent(QEnterEvent*) {
    SetHighlighted(true);
}
void StationMenuItem::leaveEvent(QEvent*) {
    SetHighlighted(false);
}
void StationMenuItem::focusInEvent(QFocusEvent*) {
    SetHighlighted(true);
}
void StationMenuItem::focusOutEvent(QFocusEvent*) {
    SetHighlighted(false);
}

void StationMenuItem::Choose() {
    if (greyed_ || action_ == nullptr)
        return;
    action_->trigger();
    // A widget item does not close its menu by itself.
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* menu = qobject_cast<QMenu*>(w)) {
            menu->close();
            break;
        }
    }
}

void StationMenuItem::mouseReleaseEvent(QMouseEvent*) {
    Choose();
}

void StationMenuItem::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        Choose();
        return;
    }
    QWidget::keyPressEvent(event);
}

QMenu* BuildPickMenu(const PickMenu& menu, const IconPainter& icons, QWidget* parent) {
    auto* qmenu = new QMenu(parent);
    for (const PickMenuItem& item : menu.items) {
        switch (item.kind) {
            case PickMenuItem::Kind::kSeparator:
                qmenu->addSeparator();
                break;
            case PickMenuItem::Kind::kTitle: {
                QAction* action = qmenu->addAction(DisplayText(item.text));
                action->setEnabled(false);
                break;
            }
            case PickMenuItem::Kind::kCommand: {
                QAction* action = qmenu->addAction(QString::fromLatin1(item.text.c_str()));
                action->setData(item.command);
                action->setEnabled(!item.greyed);
                break;
            }
            case PickMenuItem::Kind::kStation: {
                auto* action = new QWidgetAction(qmenu);
                action->setData(item.command);
                // The call is received text: a plain label, never a mnemonic.
                action->setText(DisplayText(item.text).replace('&', "&&"));
                action->setEnabled(!item.greyed);
                action->setDefaultWidget(new StationMenuItem(DisplayText(item.text), item.icon,
                                                             item.greyed, icons, action));
                qmenu->addAction(action);
                break;
            }
        }
    }
    return qmenu;
}

int PickCommandOf(const QAction* action) {
    if (action == nullptr)
        return 0;
    bool ok = false;
    const int command = action->data().toInt(&ok);
    return ok ? command : 0;
}

}  // namespace plovane
