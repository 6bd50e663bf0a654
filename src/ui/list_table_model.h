// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt table model over the rows of a list window (ui/logic/list_rows.h), and the view parts
// both list windows share. The model announces the batch fill, live changes, removals and
// sorting to the view, and asks the window for the text and icon of each cell. The rows and
// their rules live in the Qt-free ListRows.
#pragma once

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QTreeView>
#include <QWidget>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "ui/logic/list_text.h"

class QCheckBox;
class QLineEdit;

namespace plovane {

// A column width given for the small fonts of a hand-held screen (about 4.4 pixels per
// character), widened for the font the list actually uses.
inline int ScaledColumnWidth(const QFontMetrics& metrics, int designWidth) {
    const double scale = std::max(1.0, metrics.averageCharWidth() / 4.4);
    return static_cast<int>(designWidth * scale + 0.5);
}

// Thread-affine: the user-interface thread.
template <typename Rows, typename Record, typename Key>
class ListTableModel : public QAbstractTableModel {
  public:
    using KeyType = Key;
    using CellText = std::function<QString(const Record&, int column)>;
    using CellIcon = std::function<QIcon(const Record&)>;  // for column 0

    ListTableModel(std::vector<QString> titles, std::vector<int> widths, CellText text,
                   CellIcon icon, QObject* parent = nullptr)
        : QAbstractTableModel(parent),
          titles_(std::move(titles)),
          widths_(std::move(widths)),
          text_(std::move(text)),
          icon_(std::move(icon)) {}

    const Rows& rows() const { return rows_; }
    int width(int column) const {
        return column >= 0 && column < static_cast<int>(widths_.size()) ? widths_[column] : 0;
    }

    void StartFill(std::vector<Record> records, typename Rows::Filter filter) {
        beginResetModel();
        rows_.StartFill(std::move(records), std::move(filter));
        endResetModel();
    }

    // One fill tick of up to `batch` records; returns false when the fill is over.
    bool FillTick(size_t batchSize = kFillBatch) {
        std::vector<Record> batch = rows_.TakeBatch(batchSize);
        if (batch.empty())
            return rows_.Loading();
        if (rows_.BatchFollowsRows(batch)) {
            const int first = static_cast<int>(rows_.size());
            beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
            rows_.AppendBatch(std::move(batch));
            endInsertRows();
            return rows_.Loading();
        }
        // A row a change inserted during the fill sorts after some of this batch.
        for (Record& record : batch) {
            const int row = static_cast<int>(rows_.InsertionRow(record));
            beginInsertRows({}, row, row);
            rows_.Insert(std::move(record));
            endInsertRows();
        }
        return rows_.Loading();
    }

    // The record `key` changed; `current` is its present state, nothing when it is gone.
    void Change(const Key& key, std::optional<Record> current,
                const typename Rows::Filter& filter) {
        using Kind = typename Rows::Change::Kind;
        const auto change = rows_.Classify(key, current, filter);
        const int row = static_cast<int>(change.row);
        switch (change.kind) {
            case Kind::kUpdated:
                rows_.Apply(change, std::move(current));
                emit dataChanged(index(row, 0), index(row, columnCount({}) - 1));
                break;
            case Kind::kAppended:
                beginInsertRows({}, row, row);
                rows_.Apply(change, std::move(current));
                endInsertRows();
                break;
            case Kind::kRemoved:
                beginRemoveRows({}, row, row);
                rows_.Apply(change, std::nullopt);
                endRemoveRows();
                break;
            case Kind::kNone:
                break;
        }
    }

    // Drops the rows whose record no longer exists; returns how many went.
    size_t RemoveMissing(const std::function<bool(const Key&)>& exists) {
        const std::vector<size_t> missing = rows_.MissingRows(exists);
        if (missing.size() > 64) {
            beginResetModel();
            rows_.RemoveRows(missing);
            endResetModel();
            return missing.size();
        }
        for (const size_t row : missing) {  // highest first
            beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
            rows_.Remove(row);
            endRemoveRows();
        }
        return missing.size();
    }

    // Reorders the rows with `sort(rows)`.
    void Reorder(const std::function<void(Rows&)>& sort) {
        emit layoutAboutToBeChanged();
        sort(rows_);
        emit layoutChanged();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(titles_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
            return {};
        const Record& record = rows_.at(static_cast<size_t>(index.row()));
        if (role == Qt::DisplayRole && index.column() > 0)
            return text_(record, index.column());
        if (role == Qt::DecorationRole && index.column() == 0 && icon_)
            return icon_(record);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < static_cast<int>(titles_.size()))
            return titles_[static_cast<size_t>(section)];
        return {};
    }

  private:
    Rows rows_;
    std::vector<QString> titles_;
    std::vector<int> widths_;
    CellText text_;
    CellIcon icon_;
};

// --- What the list windows share around the model ---

// Column titles translated in the window's context.
template <typename Window, size_t kColumns>
std::vector<QString> ColumnTitles(const std::array<const char*, kColumns>& titles) {
    std::vector<QString> shown;
    for (const char* title : titles)
        shown.push_back(Window::tr(title));
    return shown;
}

// The tree view of a list window: whole rows, one at a time, 16-pixel icons, clickable
// headers, the design widths scaled to the font.
template <typename Model>
QTreeView* NewListView(Model* model, int columns, QWidget* parent) {
    auto* list = new QTreeView(parent);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(16, 16));
    list->header()->setSectionsClickable(true);
    for (int column = 0; column < columns; ++column)
        list->setColumnWidth(column, ScaledColumnWidth(list->fontMetrics(), model->width(column)));
    return list;
}

// A desktop window of a useful size rather than the whole screen.
inline void ResizeWithinScreen(QWidget& window, QSize size) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    window.resize(size);
}

// One batch of the fill, without a repaint per row; true while more are to come.
template <typename Model>
bool FillListTick(QTreeView& list, Model& model, size_t batch = kFillBatch) {
    list.setUpdatesEnabled(false);
    const bool more = model.FillTick(batch);
    list.setUpdatesEnabled(true);
    return more;
}

// The key of the selected row, or nothing.
template <typename Model>
std::optional<typename Model::KeyType> SelectedRowKey(const QTreeView& list, const Model& model) {
    const QModelIndexList rows = list.selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    const int row = rows.front().row();
    if (row < 0 || row >= static_cast<int>(model.rows().size()))
        return std::nullopt;
    return model.rows().KeyOfRecord(model.rows().at(static_cast<size_t>(row)));
}

// Selects and shows the row of `key`; without such a row, nothing is selected.
template <typename Model>
void SelectRowKey(QTreeView& list, const Model& model, const typename Model::KeyType& key) {
    const auto row = model.rows().RowOf(key);
    if (!row) {
        list.clearSelection();
        return;
    }
    const QModelIndex index = model.index(static_cast<int>(*row), 0);
    list.selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list.scrollTo(index);
}

// A header click: `sortRows` orders the rows by the clicked column (a second click on it
// reverses), the header shows the order, and the selected row stays selected.
template <typename Model, typename SortRows>
void SortListByColumn(QTreeView& list, Model& model, SortState& sort, int column,
                      SortRows sortRows) {
    const auto selected = SelectedRowKey(list, model);
    sort.Click(column);
    model.Reorder(sortRows);
    list.header()->setSortIndicatorShown(true);
    list.header()->setSortIndicator(column,
                                    sort.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    if (selected)
        SelectRowKey(list, model, *selected);
}

// What both list windows hold: the model and its tree view, the call mask and the
// regular-expression switch, the pause after typing in a mask, the batch-fill timer, the
// count of records in the store and the sort order. The windows build and wire them.
// Thread-affine: the user-interface thread.
template <typename ModelType>
class ListWindowBase : public QWidget {
  public:
    using Model = ModelType;

    // For tests and the buttons.
    const Model& model() const { return *model_; }
    QTreeView* list() const { return list_; }
    QLineEdit* callMask() const { return callMask_; }
    bool loading() const { return fillTimer_.isActive(); }

  protected:
    explicit ListWindowBase(QWidget* parent) : QWidget(parent, Qt::Window) {}

    Model* model_ = nullptr;
    QTreeView* list_ = nullptr;
    QLineEdit* callMask_ = nullptr;
    QCheckBox* regularExpressions_ = nullptr;
    size_t total_ = 0;
    SortState sort_;
    QTimer maskTimer_;
    QTimer fillTimer_;
};

}  // namespace plovane
