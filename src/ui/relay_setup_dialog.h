// SPDX-License-Identifier: GPL-3.0-or-later
// "IGate and Digipeater": one control per field of the IGate and digipeater settings tables
// (a check box, a number or a text field), in two groups. Opening reads the "IGate" and
// "Digipeater" sections; OK stores them after checking the radio path of gated packets.
#pragma once

#include <QDialog>

#include "core/profile.h"
#include "relay/relay_settings.h"
#include "ui/setup_fields.h"

namespace plovane {

// Thread-affine: the user-interface thread.
class RelaySetupDialog : public QDialog {
    Q_OBJECT
  public:
    RelaySetupDialog(Profile& profile, QWidget* parent = nullptr);

    // The settings as the dialog shows them now.
    IGateSettings igate() const;
    DigipeaterSettings digipeater() const;
    // Writes both to the profile; false (nothing written) when the radio path is not valid.
    bool Store();

  private:
    Profile& profile_;
    IGateSettings igateLoaded_;
    DigipeaterSettings digiLoaded_;
    FieldControls<IGateSettings> igateControls_;
    FieldControls<DigipeaterSettings> digiControls_;
};

}  // namespace plovane
