// Pieces the setup sheets share: settings text in and out of edit fields, lists filled from
// the page logic, and the serial controls of the TNC and GPS pages.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "ui/logic/setup_serial.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QWidget;

namespace plovane {

// Stored bytes as a field shows them: UTF-8 when they are valid UTF-8, else Latin-1.
QString SettingText(const std::string& bytes);
// What a field holds, as bytes to store: the stored bytes again when the field still shows
// them unchanged; Latin-1 when every character has a Latin-1 code; UTF-8 otherwise.
std::string SettingBytes(const QString& shown, const std::string& stored);
// A file path as the widgets show it and back (the file system's encoding).
QString FilePathText(const std::string& path);
std::string FilePathBytes(const QString& path);

// Replaces the entries of a list with the UTF-8 texts and selects `index` (-1: nothing).
void FillList(QComboBox* list, const std::vector<std::string>& texts, int index = -1);

// "Comm. &Port:" (editable: a device path may be typed), "&Baud Rate:", "&Data Bits:",
// "Pari&ty:" and "St&op Bits:".
class SerialControls {
  public:
    // Adds the five rows to the form; the port list holds `ports`.
    void Build(QFormLayout* form, QWidget* parent, const std::vector<std::string>& ports);
    // Selects the form's entries; a port not in the list stands typed in the field.
    void Show(const SerialForm& form);
    SerialForm Read() const;
    void SetEnabled(bool enabled);

    QComboBox* port() const { return port_; }
    QComboBox* baudRate() const { return baudRate_; }
    QComboBox* dataBits() const { return dataBits_; }
    QComboBox* parity() const { return parity_; }
    QComboBox* stopBits() const { return stopBits_; }

  private:
    QComboBox* port_ = nullptr;
    QComboBox* baudRate_ = nullptr;
    QComboBox* dataBits_ = nullptr;
    QComboBox* parity_ = nullptr;
    QComboBox* stopBits_ = nullptr;
};

}  // namespace plovane
