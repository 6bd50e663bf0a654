// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the setup sheets.
#include "ui/setup_widgets.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <algorithm>

#include "ui/display_text.h"

namespace plovane {

QString SettingText(const std::string& bytes) {
    return DisplayText(bytes);
}

std::string SettingBytes(const QString& shown, const std::string& stored) {
    if (shown == SettingText(stored))
        return stored;
    // Typed text goes on the air as UTF-8, as messages do.
    const QByteArray bytes = shown.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FilePathText(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string FilePathBytes(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void FillList(QComboBox* list, const std::vector<std::string>& texts, int index) {
    list->clear();
    for (const std::string& text : texts) {
        list->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

QCheckBox* NewCheckBox(const QString& text, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setChecked(checked);
    return box;
}

QLineEdit* NewSettingField(const std::string& bytes, QWidget* parent) {
    return new QLineEdit(SettingText(bytes), parent);
}

QComboBox* NewList(const std::vector<std::string>& texts, int index, QWidget* parent) {
    auto* list = new QComboBox(parent);
    FillList(list, texts, index);
    return list;
}

void AddOkCancel(QDialog* dialog, QBoxLayout* layout, std::function<bool()> apply) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog,
                     [dialog, apply = std::move(apply)] {
                         if (apply())
                             dialog->accept();
                     });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace plovane
