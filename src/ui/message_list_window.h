// SPDX-License-Identifier: GPL-3.0-or-later
// The modeless "Messages" window: the message store filtered by kind, call and contents,
// filled in batches, kept current by MessageChanged, with the buttons that write, answer,
// resend, stop and delete messages. It deletes itself when closed. The rules live in
// ui/logic (message_filter.h, message_actions.h); this class only wires the widgets.
#pragma once

#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app_host.h"
#include "core/station_settings.h"
#include "messages/message_list.h"
#include "ui/list_table_model.h"
#include "ui/logic/message_actions.h"
#include "ui/logic/message_filter.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace plovane {

using MessageListModel = ListTableModel<MessageRows, CMessage, uint64_t>;

// Thread-affine: the user-interface thread.
class CMessageListWindow : public ListWindowBase<MessageListModel> {
    Q_OBJECT
  public:
    using SendNew = MessageListActions::SendNew;

    // `redrawMainView` runs when a reload clears the message-waiting mark, so the map drops
    // it. `sendNew` runs the send-message dialog with a preset addressee.
    CMessageListWindow(CMessageList& store, AppHost& host, const CStationSettings& settings,
                       SendNew sendNew, std::function<void()> redrawMainView,
                       QWidget* parent = nullptr);
    ~CMessageListWindow() override;

    // Change notifications from the host: the keys changed, or `all`.
    void MessagesChanged(const std::vector<uint64_t>& keys, bool all);
    void MessageChanged(uint64_t key);

    // Starts a full reload now (as after a filter change).
    void Reload();

    QString statusText() const;
    QComboBox* viewOnly() const { return viewOnly_; }
    QLineEdit* contentsMask() const { return contentsMask_; }
    QPushButton* button(int index) const;  // 0 New, 1 Resend, 2 Reply, 3 Stop, 4 Delete
    std::optional<uint64_t> SelectedKey() const;
    void SelectKey(uint64_t key);

  private:
    MessageFilter ReadFilter() const;
    MessageRows::Filter FilterFunction() const;
    void FillTick();
    void UpdateStatus();
    void SortByColumn(int column);
    void AfterAction(std::optional<uint64_t> key);

    CMessageList& store_;
    const CStationSettings& settings_;
    std::function<void()> redrawMainView_;
    MessageListActions actions_;
    std::vector<QIcon> icons_;

    QComboBox* viewOnly_ = nullptr;
    QLineEdit* contentsMask_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<QPushButton*> buttons_;
};

// The seven row icons: other, own unacked, own acked, to me unacked, to me acked, bulletin,
// weather service.
std::vector<QIcon> MessageIcons();

}  // namespace plovane
