// Shared pieces of the setup sheets.
#include "ui/setup_widgets.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <algorithm>

#include "ui/display_text.h"

namespace plovane {

QString SettingText(const std::string& bytes) {
    return DisplayText(bytes);
}

std::string SettingBytes(const QString& shown, const std::string& stored) {
    if (shown == SettingText(stored))
        return stored;
    const bool latin1 =
        std::all_of(shown.begin(), shown.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    const QByteArray bytes = latin1 ? shown.toLatin1() : shown.toUtf8();
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

void SerialControls::Build(QFormLayout* form, QWidget* parent,
                           const std::vector<std::string>& ports) {
    port_ = new QComboBox(parent);
    port_->setEditable(true);
    port_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : ports) {
        port_->addItem(FilePathText(name));
    }
    baudRate_ = new QComboBox(parent);
    FillList(baudRate_, BaudRateTexts());
    dataBits_ = new QComboBox(parent);
    FillList(dataBits_, DataBitsTexts());
    parity_ = new QComboBox(parent);
    FillList(parity_, ParityTexts());
    stopBits_ = new QComboBox(parent);
    FillList(stopBits_, StopBitsTexts());
    form->addRow("Comm. &Port:", port_);
    form->addRow("&Baud Rate:", baudRate_);
    form->addRow("&Data Bits:", dataBits_);
    form->addRow("Pari&ty:", parity_);
    form->addRow("St&op Bits:", stopBits_);
}

void SerialControls::Show(const SerialForm& form) {
    const QString port = FilePathText(form.port);
    const int index = port_->findText(port, Qt::MatchExactly);
    if (index >= 0) {
        port_->setCurrentIndex(index);
    } else {
        port_->setCurrentIndex(-1);
        port_->setEditText(port);
    }
    baudRate_->setCurrentIndex(form.baudRate);
    dataBits_->setCurrentIndex(form.dataBits);
    parity_->setCurrentIndex(form.parity);
    stopBits_->setCurrentIndex(form.stopBits);
}

SerialForm SerialControls::Read() const {
    SerialForm form;
    form.port = FilePathBytes(port_->currentText());
    form.baudRate = baudRate_->currentIndex();
    form.dataBits = dataBits_->currentIndex();
    form.parity = parity_->currentIndex();
    form.stopBits = stopBits_->currentIndex();
    return form;
}

void SerialControls::SetEnabled(bool enabled) {
    for (QComboBox* list : {port_, baudRate_, dataBits_, parity_, stopBits_}) {
        list->setEnabled(enabled);
    }
}

}  // namespace plovane
