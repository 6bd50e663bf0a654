// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of table-built setup pages.
#include "ui/setup_fields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/latin1.h"

namespace plovane::field_controls {
namespace {

// A column of option buttons: a widget holding them, and their group.
QButtonGroup* ButtonsOf(const QWidget* control) {
    return control->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly);
}

std::vector<std::string> TextsOf(std::span<const char* const> texts) {
    return {texts.begin(), texts.end()};
}

}  // namespace

QWidget* Check(const char* label, bool value, QWidget* parent) {
    return NewCheckBox(QString::fromUtf8(label), value, parent);
}

QWidget* Text(const std::string& value, QWidget* parent) {
    return NewSettingField(value, parent);
}

QWidget* OptionalByte(int32_t value, const char* blank, QWidget* parent) {
    QLineEdit* field = NewSettingField(KissParameterText(value), parent);
    field->setPlaceholderText(QString::fromUtf8(blank));
    return field;
}

QWidget* Number(int32_t value, int32_t min, int32_t max, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(min, max);
    spin->setValue(value);
    return spin;
}

QWidget* Choice(std::span<const char* const> texts, int32_t value, bool buttons, QWidget* parent) {
    if (!buttons)
        return NewList(TextsOf(texts), value, parent);
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QButtonGroup(column);
    for (size_t i = 0; i < texts.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(texts[i]), column);
        group->addButton(button, static_cast<int>(i));
        layout->addWidget(button);
    }
    // A stored value no button stands for checks none.
    if (QAbstractButton* chosen = group->button(value))
        chosen->setChecked(true);
    return column;
}

QWidget* NumberList(std::span<const int32_t> values, int32_t value, QWidget* parent) {
    std::vector<std::string> texts;
    for (int32_t v : values)
        texts.push_back(std::to_string(v));
    return NewList(texts, IndexOfText(texts, std::to_string(value)), parent);
}

QWidget* NameList(std::span<const char* const> names, const std::string& value, bool byFirstLetter,
                  QWidget* parent) {
    const std::vector<std::string> texts = TextsOf(names);
    int index = IndexOfText(texts, value);
    if (index < 0 && byFirstLetter && !value.empty()) {
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].front() == value.front())
                index = static_cast<int>(i);
        }
    }
    return NewList(texts, index, parent);
}

QWidget* Device(const std::vector<std::string>& devices, const std::string& value,
                QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : devices)
        list->addItem(FilePathText(name));
    // A device not in the list stands typed in the field.
    const QString shown = FilePathText(value);
    const int index = list->findText(shown, Qt::MatchExactly);
    list->setCurrentIndex(index);
    if (index < 0)
        list->setEditText(shown);
    return list;
}

QWidget* CommandFile(const std::vector<TncTypeChoice>& files, const std::string& value,
                     QWidget* parent) {
    return NewList(TncTypeTexts(files), TncTypeIndexOf(files, value), parent);
}

bool Checked(const QWidget* control) {
    const auto* box = qobject_cast<const QCheckBox*>(control);
    return box && box->isChecked();
}

int Chosen(const QWidget* control) {
    if (const auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentIndex();
    const QButtonGroup* group = ButtonsOf(control);
    return group ? group->checkedId() : -1;
}

std::string TextBytes(const QWidget* control, const std::string& stored) {
    return SettingBytes(qobject_cast<const QLineEdit*>(control)->text(), stored);
}

int32_t OptionalByteValue(const QWidget* control) {
    return KissParameterFromText(qobject_cast<const QLineEdit*>(control)->text().toStdString());
}

int32_t NumberValue(const QWidget* control) {
    return qobject_cast<const QSpinBox*>(control)->value();
}

std::string DeviceBytes(const QWidget* control) {
    return std::string(
        latin1::Trim(FilePathBytes(qobject_cast<const QComboBox*>(control)->currentText())));
}

void OnChange(QWidget* control, const std::function<void()>& changed) {
    if (auto* box = qobject_cast<QCheckBox*>(control))
        QObject::connect(box, &QCheckBox::toggled, control, changed);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        QObject::connect(list, &QComboBox::currentIndexChanged, control, changed);
    else if (QButtonGroup* group = ButtonsOf(control))
        QObject::connect(group, &QButtonGroup::idToggled, control, changed);
}

}  // namespace plovane::field_controls
