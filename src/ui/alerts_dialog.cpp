// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts dialog.
#include "ui/alerts_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/setup_widgets.h"

namespace plovane {

CAlertsDialog::CAlertsDialog(Profile& profile, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setWindowTitle("Alerts");
    settings_.Load(profile_);
    rows_[kNewMessage] = {settings_.NewMessageEnabled, settings_.NewMessage};
    rows_[kNewAck] = {settings_.NewAckEnabled, settings_.NewAck};
    rows_[kNewStation] = {settings_.NewStationEnabled, settings_.NewStation};

    chooseFile_ = [this](const QString& title) {
        const QString start = [this] {
            for (const AlertRow& row : rows_) {
                if (row.file != kNoSoundFile)
                    return QFileInfo(FilePathText(row.file)).path();
            }
            return QString();
        }();
        return QFileDialog::getOpenFileName(this, title, start, "WAV files (*.wav *.WAV)");
    };
    ask_ = [this](const QString& question) {
        return QMessageBox::question(this, "Plovane", question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(kAlertRows[row].label, this);
        names_[row] = NewPlainLabel({}, this);
        names_[row]->setMinimumWidth(160);
        choose_[row] = new QPushButton("...", this);
        clear_[row] = new QPushButton("Clear", this);
        label->setBuddy(choose_[row]);
        grid->addWidget(label, row, 0);
        grid->addWidget(names_[row], row, 1);
        grid->addWidget(choose_[row], row, 2);
        grid->addWidget(clear_[row], row, 3);
        connect(choose_[row], &QPushButton::clicked, this, [this, row] { Choose(row); });
        connect(clear_[row], &QPushButton::clicked, this, [this, row] { Clear(row); });
        ShowRow(row);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    for (const CSoundSettings::Switch& item : CSoundSettings::kSwitches) {
        auto* box = new QCheckBox(item.label, this);
        box->setChecked(settings_.*item.value);
        switches_.push_back(box);
        layout->addWidget(box);
    }
    AddOkCancel(this, layout, [this] {
        Apply();
        return true;
    });
}

void CAlertsDialog::ShowRow(int row) {
    const AlertRow& alert = rows_[row];
    names_[row]->setText(FilePathText(alert.shownName()));
    names_[row]->setEnabled(alert.nameEnabled());
    clear_[row]->setEnabled(alert.nameEnabled());
}

void CAlertsDialog::Choose(int row) {
    if (!chooseFile_)
        return;
    const QString path = chooseFile_(QString::fromLatin1(kAlertRows[row].chooserTitle));
    if (path.isEmpty())
        return;
    rows_[row].Choose(FilePathBytes(path));
    ShowRow(row);
}

void CAlertsDialog::Clear(int row) {
    if (!ask_ || !ask_(QString::fromLatin1(kAlertRows[row].clearQuestion)))
        return;
    rows_[row].Clear();
    ShowRow(row);
}

void CAlertsDialog::Apply() {
    settings_.NewMessageEnabled = rows_[kNewMessage].enabled;
    settings_.NewMessage = rows_[kNewMessage].file;
    settings_.NewAckEnabled = rows_[kNewAck].enabled;
    settings_.NewAck = rows_[kNewAck].file;
    settings_.NewStationEnabled = rows_[kNewStation].enabled;
    settings_.NewStation = rows_[kNewStation].file;
    for (size_t i = 0; i < switches_.size(); ++i)
        settings_.*CSoundSettings::kSwitches[i].value = switches_[i]->isChecked();
    settings_.Save(profile_);
}

}  // namespace plovane
