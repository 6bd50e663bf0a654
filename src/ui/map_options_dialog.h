// SPDX-License-Identifier: GPL-3.0-or-later
// "Map Options": one check box per map preference, the period of the complete redraw and
// the further folders searched for maps and TNC command files, and the tile background.
// Opening reads the preferences from the settings; OK stores them there.
#pragma once

#include <QDialog>
#include <array>

#include "core/profile.h"
#include "maps/map_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace plovane {

class MapOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // Fills the dialog from the "Maps" section of the profile.
    MapOptionsDialog(Profile& profile, QWidget* parent = nullptr);

    // The preferences as the dialog shows them now.
    CMapOptions Values() const;
    // Writes Values() to the profile (the OK button does this before closing).
    void Store();
    const CMapOptions& stored() const { return stored_; }

    QCheckBox* checkBox(size_t index) const { return checks_[index]; }
    QComboBox* periodList() const { return period_; }
    QLabel* trackNote() const { return trackNote_; }
    QLineEdit* searchFoldersField() const { return searchFolders_; }

  private:
    Profile& profile_;
    CMapOptions loaded_;  // fields the dialog does not show keep these values
    CMapOptions stored_;
    std::array<QCheckBox*, kMapOptionChecks.size()> checks_{};
    QComboBox* period_ = nullptr;
    QLabel* trackNote_ = nullptr;
    QLineEdit* searchFolders_ = nullptr;
    QLineEdit* tileSource_ = nullptr;
    QSpinBox* tileCache_ = nullptr;
    QLineEdit* tileAttribution_ = nullptr;
};

}  // namespace plovane
