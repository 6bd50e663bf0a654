// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and digipeater setup dialog.
#include "ui/relay_setup_dialog.h"

#include <QGroupBox>
#include <QMessageBox>
#include <QVBoxLayout>

#include "ui/setup_widgets.h"

namespace plovane {

RelaySetupDialog::RelaySetupDialog(Profile& profile, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setWindowTitle("IGate and Digipeater");
    igateLoaded_.Load(profile_);
    digiLoaded_.Load(profile_);
    auto* layout = new QVBoxLayout(this);
    auto* igateBox = new QGroupBox("IGate (needs a verified APRS-IS login)", this);
    igateControls_.Build(igateBox, new QVBoxLayout(igateBox), IGateSettings::kFields, igateLoaded_,
                         {}, {});
    layout->addWidget(igateBox);
    auto* digiBox = new QGroupBox("Digipeater", this);
    digiControls_.Build(digiBox, new QVBoxLayout(digiBox), DigipeaterSettings::kFields, digiLoaded_,
                        {}, {});
    layout->addWidget(digiBox);
    AddOkCancel(this, layout, [this] { return Store(); });
}

IGateSettings RelaySetupDialog::igate() const {
    IGateSettings settings = igateLoaded_;
    igateControls_.Store(settings);
    return settings;
}

DigipeaterSettings RelaySetupDialog::digipeater() const {
    DigipeaterSettings settings = digiLoaded_;
    digiControls_.Store(settings);
    return settings;
}

bool RelaySetupDialog::Store() {
    const IGateSettings igateNow = igate();
    std::vector<std::string> hops;
    if (!ParseRelayPath(igateNow.IsToRfPath, hops)) {
        QMessageBox::warning(this, windowTitle(),
                             "The radio path of gated packets must be up to eight calls "
                             "separated by commas, e.g. WIDE1-1, or empty.");
        return false;
    }
    igateNow.Save(profile_);
    digipeater().Save(profile_);
    return true;
}

}  // namespace plovane
