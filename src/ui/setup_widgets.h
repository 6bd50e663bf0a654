// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces the setup sheets share: settings text in and out of edit fields, lists filled from
// the page logic, and the page of one settings record.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDialog;
class QLineEdit;

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

// New controls already showing a value: a check box, an edit field with stored bytes
// (SettingText), a list of UTF-8 texts with `index` selected.
QCheckBox* NewCheckBox(const QString& text, bool checked, QWidget* parent);
QLineEdit* NewSettingField(const std::string& bytes, QWidget* parent);
QComboBox* NewList(const std::vector<std::string>& texts, int index, QWidget* parent);

// Adds OK and Cancel to the foot of a dialog; OK runs `apply` and closes the dialog when it
// returns true (false keeps it open to correct a field).
void AddOkCancel(QDialog* dialog, QBoxLayout* layout, std::function<bool()> apply);

// A page of a setup sheet: it shows one settings record and writes into it on Store().
// Thread-affine: the user-interface thread, like every page.
class CSetupPageBase : public QWidget {
  public:
    using QWidget::QWidget;
    virtual void Store() = 0;
};

template <typename Settings>
class CSetupPage : public CSetupPageBase {
  public:
    CSetupPage(Settings& settings, QWidget* parent) : CSetupPageBase(parent), settings_(settings) {}

  protected:
    Settings& settings_;
};

}  // namespace plovane
