// SPDX-License-Identifier: GPL-3.0-or-later
// The Log page of the station setup.
#include "ui/setup_log_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace plovane {

CSetupStationLogPage::CSetupStationLogPage(CLogSettings& settings, QWidget* parent)
    : CSetupPage(settings, parent) {
    auto* grid = new QGridLayout(this);
    enabled_ = new QCheckBox("Keep a station log of every line heard and sent", this);
    enabled_->setChecked(settings_.bStationLog);
    grid->addWidget(enabled_, 0, 0, 1, 3);

    replayHours_ = new QSpinBox(this);
    replayHours_->setRange(0, 24 * 366);
    replayHours_->setValue(settings_.LogReplayHours);
    grid->addWidget(new QLabel("Replay at start the last", this), 1, 0);
    grid->addWidget(replayHours_, 1, 1);
    grid->addWidget(new QLabel("hours", this), 1, 2);

    retentionDays_ = new QSpinBox(this);
    retentionDays_->setRange(0, 36600);
    retentionDays_->setSpecialValueText("always");
    retentionDays_->setValue(settings_.LogRetentionDays);
    grid->addWidget(new QLabel("Keep log files for", this), 2, 0);
    grid->addWidget(retentionDays_, 2, 1);
    grid->addWidget(new QLabel("days", this), 2, 2);

    const auto enable = [this](bool on) {
        replayHours_->setEnabled(on);
        retentionDays_->setEnabled(on);
    };
    connect(enabled_, &QCheckBox::toggled, this, enable);
    enable(settings_.bStationLog);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
}

void CSetupStationLogPage::Store() {
    settings_.bStationLog = enabled_->isChecked();
    settings_.LogReplayHours = replayHours_->value();
    settings_.LogRetentionDays = retentionDays_->value();
}

}  // namespace plovane
