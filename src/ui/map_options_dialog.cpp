// The Map Options dialog.
#include "ui/map_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
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
        checks_[i] = new QCheckBox(QString::fromLatin1(check.text), this);
        checks_[i]->setChecked(loaded_.*check.member);
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
    }
    // More folders searched for maps and TNC command files, separated by ";".
    auto* folders = new QFormLayout;
    searchFolders_ = new QLineEdit(QString::fromLocal8Bit(loaded_.SearchFolders), this);
    folders->addRow("Search &Folders:", searchFolders_);
    // The tile background: none, osm, a URL template, an .mbtiles file or a folder.
    tileSource_ = new QLineEdit(QString::fromStdString(loaded_.TileSource), this);
    tileSource_->setPlaceholderText("none, osm, https://host/{z}/{x}/{y}.png, FILE.mbtiles");
    folders->addRow("Map &Tiles:", tileSource_);
    tileCache_ = new QSpinBox(this);
    tileCache_->setRange(16, 16384);
    tileCache_->setSuffix(" MB");
    tileCache_->setValue(loaded_.TileCacheMB);
    folders->addRow("Tile &Cache:", tileCache_);
    tileAttribution_ = new QLineEdit(QString::fromStdString(loaded_.TileAttribution), this);
    folders->addRow("Tile C&redit:", tileAttribution_);
    layout->addLayout(folders);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Store();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
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
