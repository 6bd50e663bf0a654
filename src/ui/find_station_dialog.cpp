// SPDX-License-Identifier: GPL-3.0-or-later
// The Find Station dialog.
#include "ui/find_station_dialog.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/logic/find_station.h"

namespace plovane {

FindStationDialog::FindStationDialog(std::vector<std::string> calls, QWidget* parent)
    : QDialog(parent), calls_(std::move(calls)) {
    setWindowTitle(tr("Find Station"));
    edit_ = new QLineEdit(this);
    edit_->setPlaceholderText(tr("Call, prefix or pattern (KK7*, *7OL*)"));
    matches_ = new QListWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Go To"));
    auto* label = new QLabel(tr("&Call:"), this);
    label->setBuddy(edit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(matches_, 1);
    layout->addWidget(buttons);
    resize(320, 360);

    connect(edit_, &QLineEdit::textChanged, this, &FindStationDialog::Update);
    connect(matches_, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The arrow keys move through the matches while the typing stays in the field.
    edit_->installEventFilter(this);
    Update();
}

bool FindStationDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            const int row = matches_->currentRow() + (key == Qt::Key_Down ? 1 : -1);
            if (row >= 0 && row < matches_->count())
                matches_->setCurrentRow(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FindStationDialog::Update() {
    matches_->clear();
    for (const std::string& call : FindStationMatches(calls_, CoreText(edit_->text())))
        matches_->addItem(DisplayText(call));
    if (matches_->count() > 0)
        matches_->setCurrentRow(0);
    if (QPushButton* ok = findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok))
        ok->setEnabled(matches_->count() > 0);
}

std::string FindStationDialog::chosenCall() const {
    const QListWidgetItem* item = matches_->currentItem();
    return item == nullptr ? std::string() : CoreText(item->text());
}

}  // namespace plovane
