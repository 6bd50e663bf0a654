// SPDX-License-Identifier: GPL-3.0-or-later
// The IGate and digipeater setup dialog.
#include "ui/relay_setup_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <variant>

#include "ui/setup_widgets.h"

namespace plovane {

RelaySetupDialog::RelaySetupDialog(Profile& profile, QWidget* parent)
    : QDialog(parent), profile_(profile) {
    setWindowTitle("IGate and Digipeater");
    igateLoaded_.Load(profile_);
    digiLoaded_.Load(profile_);
    auto* layout = new QVBoxLayout(this);
    auto* igateBox = new QGroupBox("IGate (needs a verified APRS-IS login)", this);
    auto* igateForm = new QFormLayout(igateBox);
    AddRows(igateForm, kIGateRows, igateLoaded_, igateReaders_);
    layout->addWidget(igateBox);
    auto* digiBox = new QGroupBox("Digipeater", this);
    auto* digiForm = new QFormLayout(digiBox);
    AddRows(digiForm, kDigipeaterRows, digiLoaded_, digiReaders_);
    layout->addWidget(digiBox);
    AddOkCancel(this, layout, [this] { return Store(); });
}

template <class Record, class Rows>
void RelaySetupDialog::AddRows(QFormLayout* form, const Rows& rows, const Record& shown,
                               std::vector<std::function<void(Record&)>>& readers) {
    QWidget* parent = form->parentWidget();
    for (const SettingRow<Record>& row : rows) {
        const QString label = QString::fromUtf8(row.label);
        if (const auto* b = std::get_if<BoolSetting<Record>>(&row.field)) {
            QCheckBox* box = NewCheckBox(label, shown.*b->member, parent);
            box->setObjectName(row.key);
            form->addRow(box);
            readers.push_back([box, m = b->member](Record& r) { r.*m = box->isChecked(); });
        } else if (const auto* i = std::get_if<IntSetting<Record>>(&row.field)) {
            auto* spin = new QSpinBox(parent);
            spin->setObjectName(row.key);
            spin->setRange(i->min, i->max);
            spin->setValue(shown.*i->member);
            form->addRow(label, spin);
            readers.push_back([spin, m = i->member](Record& r) { r.*m = spin->value(); });
        } else if (const auto* t = std::get_if<TextSetting<Record>>(&row.field)) {
            QLineEdit* field = NewSettingField(shown.*t->member, parent);
            field->setObjectName(row.key);
            form->addRow(label, field);
            readers.push_back([field, m = t->member, stored = shown.*t->member](Record& r) {
                r.*m = SettingBytes(field->text(), stored);
            });
        }
    }
}

IGateSettings RelaySetupDialog::igate() const {
    IGateSettings settings = igateLoaded_;
    for (const auto& read : igateReaders_)
        read(settings);
    return settings;
}

DigipeaterSettings RelaySetupDialog::digipeater() const {
    DigipeaterSettings settings = digiLoaded_;
    for (const auto& read : digiReaders_)
        read(settings);
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
