// SPDX-License-Identifier: GPL-3.0-or-later
// The Map Options dialog.
#include "ui/map_options_dialog.h"

#include "core/station_settings.h"
#include "ui/display_text.h"
#include "ui/logic/track_note.h"
#include "ui/setup_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plovane {

MapOptionsDialog::MapOptionsDialog(Profile& profile, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setWindowTitle("Map Options");
    loaded_.Load(profile_);
    stored_ = loaded_;

    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < kMapOptionChecks.size(); ++i) {
        const MapOptionCheck& check = kMapOptionChecks[i];
        checks_[i] = NewCheckBox(QString::fromLatin1(check.text), loaded_.*check.member, this);
        if (check.member == &CMapOptions::bRedrawScreenEvery) {
            // The period list sits beside its check box.
            auto* row = new QHBoxLayout;
            row->addWidget(checks_[i]);
            period_ = new QComboBox(this);
            for (const RedrawPeriod& period : kRedrawPeriods) {
                period_->addItem(QString::fromLatin1(period.text));
            }
            period_->setCurrentIndex(RedrawPeriodIndex(loaded_.RedrawScreenEvery));
            row->addWidget(period_);
            row->addStretch();
            layout->addLayout(row);
        } else {
            layout->addWidget(checks_[i]);
        }
        if (check.member == &CMapOptions::ShowTracks) {
            // What the station setup does not record, said under the check box.
            CStationSettings station;
            station.Load(profile_);
            trackNote_ = NewPlainLabel({}, this);
            trackNote_->setObjectName("trackNote");
            trackNote_->setWordWrap(true);
            trackNote_->setStyleSheet("color: #a05000; margin-left: 20px;");
            layout->addWidget(trackNote_);
            QCheckBox* box = checks_[i];
            const auto update = [this, station](bool on) {
                const std::string note = TrackHistoryNote(on, station);
                trackNote_->setText(QString::fromStdString(note));
                trackNote_->setVisible(!note.empty());
            };
            connect(box, &QCheckBox::toggled, this, update);
            update(box->isChecked());
        }
    }
    // More folders searched for maps and TNC command files, separated by ";".
    auto* folders = new QFormLayout;
    searchFolders_ = new QLineEdit(QString::fromLocal8Bit(loaded_.SearchFolders), this);
    folders->addRow("Search &Folders:", searchFolders_);
    // The tile background: none, osm, a URL template, an .mbtiles file or a folder.
    tileSource_ = new QLineEdit(QString::fromStdString(loaded_.TileSource), this);
    tileSource_->setPlaceholderText("none, osm, https://host/{z}/{x}/{y}.png, FILE.mbtiles");
    folders->addRow("Map T&iles:", tileSource_);
    tileCache_ = new QSpinBox(this);
    tileCache_->setRange(16, 16384);
    tileCache_->setSuffix(" MB");
    tileCache_->setValue(loaded_.TileCacheMB);
    folders->addRow("Tile Cach&e:", tileCache_);
    tileAttribution_ = new QLineEdit(QString::fromStdString(loaded_.TileAttribution), this);
    folders->addRow("Tile C&redit:", tileAttribution_);
    layout->addLayout(folders);
    AddOkCancel(this, layout, [this] {
        Store();
        return true;
    });
}

CMapOptions MapOptionsDialog::Values() const {
    CMapOptions options = loaded_;
    for (size_t i = 0; i < kMapOptionChecks.size(); ++i) {
        options.*kMapOptionChecks[i].member = checks_[i]->isChecked();
    }
    options.RedrawScreenEvery = RedrawPeriodMinutes(period_->currentIndex());
    options.SearchFolders = searchFolders_->text().toLocal8Bit().toStdString();
    options.TileSource = tileSource_->text().trimmed().toStdString();
    options.TileCacheMB = tileCache_->value();
    options.TileAttribution = tileAttribution_->text().toStdString();
    return options;
}

void MapOptionsDialog::Store() {
    // The file may have changed since the dialog opened (a map was opened meanwhile): keep
    // what the dialog does not show as it is stored now.
    CMapOptions current;
    current.Load(profile_);
    const CMapOptions shown = Values();
    for (const MapOptionCheck& check : kMapOptionChecks) {
        current.*check.member = shown.*check.member;
    }
    current.RedrawScreenEvery = shown.RedrawScreenEvery;
    current.SearchFolders = shown.SearchFolders;
    current.TileSource = shown.TileSource;
    current.TileCacheMB = shown.TileCacheMB;
    current.TileAttribution = shown.TileAttribution;
    current.Save(profile_);
    stored_ = current;
}

}  // namespace plovane
