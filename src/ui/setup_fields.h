// SPDX-License-Identifier: GPL-3.0-or-later
// A setup page built from a settings record's table: one control per field, named by its key,
// placed and enabled as the field says, and storing back into the record.
#pragma once

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QWidget>
#include <functional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "core/settings_table.h"
#include "ui/logic/setup_comm.h"
#include "ui/setup_widgets.h"

namespace plovane {

// What the lists offer besides the table: the serial devices and the TNC command files found
// (null: none). The page owns them; they may change while it is open (a refreshed file list).
struct FieldChoices {
    const std::vector<std::string>* devices = nullptr;
    const std::vector<TncTypeChoice>* commandFiles = nullptr;
};

// Writes a control's value into a record.
template <typename Record>
using FieldStore = std::function<void(Record&)>;

// A control for each edit kind, showing a value, and what it shows. `label` is the text of a
// check box; the other controls are labelled by the form.
namespace field_controls {
QWidget* Check(const char* label, bool value, QWidget* parent);
QWidget* Text(const std::string& value, QWidget* parent);
QWidget* OptionalByte(int32_t value, const char* blank, QWidget* parent);
QWidget* Number(int32_t value, int32_t min, int32_t max, QWidget* parent);
QWidget* Choice(std::span<const char* const> texts, int32_t value, bool buttons, QWidget* parent);
QWidget* NumberList(std::span<const int32_t> values, int32_t value, QWidget* parent);
QWidget* NameList(std::span<const char* const> names, const std::string& value, bool byFirstLetter,
                  QWidget* parent);
QWidget* Device(const std::vector<std::string>& devices, const std::string& value, QWidget* parent);
QWidget* CommandFile(const std::vector<TncTypeChoice>& files, const std::string& value,
                     QWidget* parent);

bool Checked(const QWidget* control);
// The position chosen in a list or a column of buttons; -1 for none.
int Chosen(const QWidget* control);
std::string TextBytes(const QWidget* control, const std::string& stored);
int32_t OptionalByteValue(const QWidget* control);
int32_t NumberValue(const QWidget* control);
// The device typed or chosen, blanks at either end left out.
std::string DeviceBytes(const QWidget* control);
// Runs `changed` whenever the control's state changes.
void OnChange(QWidget* control, const std::function<void()>& changed);
}  // namespace field_controls

// The controls of one record on a page. Thread-affine: the user-interface thread.
template <typename Record>
class FieldControls {
  public:
    // Adds a control for every field, showing `shown`: kTop fields on lines of their own,
    // then the labelled kForm fields, then the kStrip row of check boxes. `changed` (may be
    // empty) runs whenever a control changes.
    void Build(QWidget* page, QBoxLayout* layout, std::span<const SettingField<Record>> fields,
               const Record& shown, const FieldChoices& choices,
               const std::function<void()>& changed);
    // What the controls show, written over `record`. A list with nothing chosen, or a device
    // left blank, keeps the record's value.
    void Store(Record& record) const;
    // Enables each control whose gate `enabled` allows, disables the others.
    void Enable(const std::function<bool(FieldGate)>& enabled) const;

    QFormLayout* form() const { return form_; }
    // The control of the command-file field, if the table has one.
    QComboBox* commandFileList() const { return commandFiles_; }

  private:
    struct Control {
        QWidget* widget;
        FieldGate gate;
        FieldStore<Record> store;
    };
    std::vector<Control> controls_;
    QFormLayout* form_ = nullptr;
    QComboBox* commandFiles_ = nullptr;
};

template <typename Record>
void FieldControls<Record>::Build(QWidget* page, QBoxLayout* layout,
                                  std::span<const SettingField<Record>> fields, const Record& shown,
                                  const FieldChoices& choices,
                                  const std::function<void()>& changed) {
    namespace fc = field_controls;
    static const std::vector<std::string> noDevices;
    static const std::vector<TncTypeChoice> noFiles;
    const std::vector<std::string>& devices = choices.devices ? *choices.devices : noDevices;
    const std::vector<TncTypeChoice>* files =
        choices.commandFiles ? choices.commandFiles : &noFiles;
    form_ = new QFormLayout;
    auto* strip = new QHBoxLayout;
    for (const SettingField<Record>& field : fields) {
        QWidget* widget = nullptr;
        FieldStore<Record> store;
        std::visit(
            [&](const auto& edit) {
                using Edit = std::decay_t<decltype(edit)>;
                const auto m = edit.member;
                const auto& value = shown.*m;
                if constexpr (std::is_same_v<Edit, CheckEdit<Record>>) {
                    widget = fc::Check(field.label, value, page);
                    store = [widget, m](Record& r) { r.*m = fc::Checked(widget); };
                } else if constexpr (std::is_same_v<Edit, FlagEdit<Record>>) {
                    widget = fc::Check(field.label, value == 1, page);
                    store = [widget, m](Record& r) { r.*m = fc::Checked(widget) ? 1 : -1; };
                } else if constexpr (std::is_same_v<Edit, TextEdit<Record>>) {
                    widget = fc::Text(value, page);
                    store = [widget, m, value](Record& r) { r.*m = fc::TextBytes(widget, value); };
                } else if constexpr (std::is_same_v<Edit, OptionalByteEdit<Record>>) {
                    widget = fc::OptionalByte(value, edit.blank, page);
                    store = [widget, m](Record& r) { r.*m = fc::OptionalByteValue(widget); };
                } else if constexpr (std::is_same_v<Edit, NumberEdit<Record>>) {
                    widget = fc::Number(value, edit.min, edit.max, page);
                    store = [widget, m](Record& r) { r.*m = fc::NumberValue(widget); };
                } else if constexpr (std::is_same_v<Edit, ChoiceEdit<Record>>) {
                    widget = fc::Choice(edit.texts, value, edit.buttons, page);
                    store = [widget, m, n = edit.texts.size()](Record& r) {
                        if (const int i = fc::Chosen(widget); i >= 0 && static_cast<size_t>(i) < n)
                            r.*m = i;
                    };
                } else if constexpr (std::is_same_v<Edit, NumberListEdit<Record>>) {
                    widget = fc::NumberList(edit.values, value, page);
                    store = [widget, m, values = edit.values](Record& r) {
                        if (const int i = fc::Chosen(widget);
                            i >= 0 && static_cast<size_t>(i) < values.size())
                            r.*m = values[static_cast<size_t>(i)];
                    };
                } else if constexpr (std::is_same_v<Edit, NameListEdit<Record>>) {
                    widget = fc::NameList(edit.names, value, edit.byFirstLetter, page);
                    store = [widget, m, names = edit.names](Record& r) {
                        if (const int i = fc::Chosen(widget);
                            i >= 0 && static_cast<size_t>(i) < names.size())
                            r.*m = names[static_cast<size_t>(i)];
                    };
                } else if constexpr (std::is_same_v<Edit, DeviceEdit<Record>>) {
                    widget = fc::Device(devices, value, page);
                    store = [widget, m](Record& r) {
                        if (std::string device = fc::DeviceBytes(widget); !device.empty())
                            r.*m = std::move(device);
                    };
                } else {
                    static_assert(std::is_same_v<Edit, CommandFileEdit<Record>>);
                    widget = fc::CommandFile(*files, value, page);
                    commandFiles_ = static_cast<QComboBox*>(widget);
                    store = [widget, m, files](Record& r) {
                        r.*m = TncTypePathAt(*files, fc::Chosen(widget));
                    };
                }
            },
            static_cast<const typename FieldEdit<Record>::variant&>(field.edit));
        widget->setObjectName(QString::fromLatin1(field.key));
        if (changed)
            fc::OnChange(widget, changed);
        const bool labelled = !std::holds_alternative<CheckEdit<Record>>(field.edit) &&
                              !std::holds_alternative<FlagEdit<Record>>(field.edit);
        switch (field.place) {
            case FieldPlace::kTop:
                layout->addWidget(widget);
                break;
            case FieldPlace::kForm:
                form_->addRow(labelled ? QString::fromUtf8(field.label) : QString(), widget);
                break;
            case FieldPlace::kStrip:
                strip->addWidget(widget);
                break;
        }
        controls_.push_back({widget, field.gate, std::move(store)});
    }
    layout->addLayout(form_);
    if (strip->isEmpty()) {
        delete strip;
    } else {
        strip->addStretch();
        layout->addLayout(strip);
    }
}

template <typename Record>
void FieldControls<Record>::Store(Record& record) const {
    for (const Control& control : controls_)
        control.store(record);
}

template <typename Record>
void FieldControls<Record>::Enable(const std::function<bool(FieldGate)>& enabled) const {
    for (const Control& control : controls_)
        control.widget->setEnabled(enabled(control.gate));
}

// A setup page showing one record from its table; Store() writes the page into the record.
// Thread-affine: the user-interface thread.
template <typename Record>
class CTableSetupPage : public CSetupPage<Record> {
  public:
    CTableSetupPage(Record& settings, QWidget* parent) : CSetupPage<Record>(settings, parent) {}
    void Store() override { controls_.Store(this->settings_); }
    // The control of a field, by its key.
    template <typename Widget = QWidget>
    Widget* field(const char* key) const {
        return this->template findChild<Widget*>(QString::fromLatin1(key));
    }
    // What the page shows now, as a record.
    Record Shown() const {
        Record shown = this->settings_;
        controls_.Store(shown);
        return shown;
    }

  protected:
    FieldControls<Record> controls_;
};

}  // namespace plovane
