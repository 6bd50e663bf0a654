// SPDX-License-Identifier: GPL-3.0-or-later
// "Find Station" (Ctrl+F): type a call, a prefix or a pattern with "*" and "?"; the
// matching calls are listed as you type, the exact call first. Enter or a double click
// takes the highlighted one.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;

namespace plovane {

// Thread-affine: the user-interface thread.
class FindStationDialog : public QDialog {
    Q_OBJECT
  public:
    // `calls`: every call the store holds when the dialog opens.
    explicit FindStationDialog(std::vector<std::string> calls, QWidget* parent = nullptr);

    // The call chosen when the dialog was accepted.
    std::string chosenCall() const;

    QLineEdit* edit() const { return edit_; }
    QListWidget* matches() const { return matches_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Update();

    std::vector<std::string> calls_;
    QLineEdit* edit_ = nullptr;
    QListWidget* matches_ = nullptr;
};

}  // namespace plovane
