#include "settings_window/stat_list_view.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "presentation/stat_kind_text.h"
#include "settings_window/pane_widgets.h"
#include "settings_window/switch_button.h"
#include "settings_window/symbol_icon.h"

namespace glintdeck {
namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kEnabledRole = Qt::UserRole + 1;
constexpr int kMargin = 6;

QRect switchFrame(const QRect& row) {
    QSize size = switchSize().toSize();
    return {row.left() + kMargin, row.center().y() - size.height() / 2 + 1, size.width(),
            size.height()};
}

// Draws the switch at the left of each row and the icon and title after it, and flips the
// switch on a click inside it (a click elsewhere selects the row as usual).
class StatRowDelegate final : public QStyledItemDelegate {
  public:
    StatRowDelegate(QObject* parent, std::function<void(int row)> onToggle)
        : QStyledItemDelegate(parent), onToggle_(std::move(onToggle)) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem content = option;
        initStyleOption(&content, index);
        content.rect.setLeft(switchFrame(option.rect).right() + kMargin + 2);
        // The row's background across its whole width, switch included.
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        background.icon = QIcon();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style) style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);
        QStyledItemDelegate::paint(painter, content, index);

        bool on = index.data(kEnabledRole).toBool();
        // On a highlighted row the highlight colour would hide an "on" track.
        bool selected = option.state & QStyle::State_Selected;
        paintSwitch(*painter, switchFrame(option.rect), on, true, option.palette, selected);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(size.width() + static_cast<int>(switchSize().width()) + 2 * kMargin);
        size.setHeight(std::max(size.height() + 6, static_cast<int>(switchSize().height()) + 8));
        return size;
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseButtonRelease: {
                auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->button() != Qt::LeftButton) break;
                if (!switchFrame(option.rect)
                         .adjusted(-3, -3, 3, 3)
                         .contains(mouse->position().toPoint())) {
                    break;
                }
                if (event->type() == QEvent::MouseButtonRelease) onToggle_(index.row());
                return true;  // a click on the switch neither selects nor starts a drag
            }
            default:
                break;
        }
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }

  private:
    std::function<void(int row)> onToggle_;
};

}  // namespace

std::vector<StatKind> movedOrder(std::vector<StatKind> order, int from, int to) {
    int count = static_cast<int>(order.size());
    if (from < 0 || from >= count || to < 0 || to > count) return order;
    StatKind moving = order[static_cast<size_t>(from)];
    order.erase(order.begin() + from);
    // `to` counts the moving row when it lies after it.
    int insertAt = to > from ? to - 1 : to;
    order.insert(order.begin() + insertAt, moving);
    return order;
}

StatListView::StatListView(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new StatRowDelegate(this, [this](int row) { toggle(row); }));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::currentRowChanged, this,
            [this](int) { Q_EMIT selectedKindChanged(selectedKind()); });
    connect(this, &QListWidget::itemSelectionChanged, this,
            [this] { Q_EMIT selectedKindChanged(selectedKind()); });
}

QString StatListView::rowMimeType() { return QStringLiteral("application/x-glintdeck-stat-row"); }

QStringList StatListView::mimeTypes() const { return {rowMimeType()}; }

void StatListView::setStats(const std::vector<StatKind>& order, const std::set<StatKind>& enabled) {
    std::optional<StatKind> selected = selectedKind();
    QSignalBlocker blocker(this);
    // Rows are updated in place: this may run from inside the list's own drop handling.
    while (count() > static_cast<int>(order.size())) delete takeItem(count() - 1);
    while (count() < static_cast<int>(order.size())) addItem(new QListWidgetItem);
    for (int row = 0; row < count(); ++row) {
        StatKind kind = order[static_cast<size_t>(row)];
        QListWidgetItem* rowItem = item(row);
        rowItem->setData(kKindRole, static_cast<int>(kind));
        rowItem->setData(kEnabledRole, enabled.contains(kind));
        rowItem->setText(qText(title(kind)));
        rowItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
    refreshIcons();
    selectKind(selected);
    viewport()->update();
}

void StatListView::refreshIcons() {
    QColor color = palette().color(QPalette::Text);
    QColor selected = palette().color(QPalette::HighlightedText);
    for (int row = 0; row < count(); ++row) {
        if (std::optional<StatKind> kind = kindAt(row)) {
            item(row)->setIcon(symbolIcon(symbolName(*kind), color, selected));
        }
    }
}

void StatListView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) refreshIcons();
    QListWidget::changeEvent(event);
}

std::optional<StatKind> StatListView::kindAt(int row) const {
    QListWidgetItem* rowItem = item(row);
    if (!rowItem) return std::nullopt;
    return static_cast<StatKind>(rowItem->data(kKindRole).toInt());
}

std::optional<StatKind> StatListView::selectedKind() const {
    QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return kindAt(row(selected.front()));
}

void StatListView::selectKind(std::optional<StatKind> kind) {
    for (int row = 0; row < count(); ++row) {
        if (kind && kindAt(row) == kind) {
            setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            return;
        }
    }
    clearSelection();
}

QRect StatListView::switchRect(int row) const { return switchFrame(visualItemRect(item(row))); }

void StatListView::toggle(int row) {
    QListWidgetItem* rowItem = item(row);
    if (!rowItem) return;
    Q_EMIT enabledToggled(*kindAt(row), !rowItem->data(kEnabledRole).toBool());
}

void StatListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && currentRow() >= 0) {
        toggle(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void StatListView::startDrag(Qt::DropActions) {
    // Our own drag, so that nothing removes the dragged row afterwards: the order comes back
    // through setStats once the settings hold it.
    QListWidgetItem* dragged = currentItem();
    if (!dragged) return;
    auto* data = new QMimeData;
    data->setData(rowMimeType(), QByteArray::number(row(dragged)));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QRect rect = visualItemRect(dragged);
    drag->setPixmap(viewport()->grab(rect));
    drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rect.topLeft());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

int StatListView::dropOffset(QPoint position) const {
    QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        // Above the first row or below the last.
        return count() > 0 && position.y() < visualItemRect(item(0)).top() ? 0 : count();
    }
    QRect rect = visualRect(index);
    return position.y() < rect.center().y() ? index.row() : index.row() + 1;
}

void StatListView::dragEnterEvent(QDragEnterEvent* event) {
    QListWidget::dragEnterEvent(event);
    acceptRowDrag(event);
}

void StatListView::dragMoveEvent(QDragMoveEvent* event) {
    QListWidget::dragMoveEvent(event);
    acceptRowDrag(event);
}

void StatListView::acceptRowDrag(QDropEvent* event) {
    // The base class takes only drags it started itself; a row is recognised by its data.
    if (event->isAccepted() || !event->mimeData()->hasFormat(rowMimeType())) return;
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void StatListView::dropEvent(QDropEvent* event) {
    bool ok = false;
    int from = event->mimeData()->data(rowMimeType()).toInt(&ok);
    if (!ok) {
        event->ignore();
        return;
    }
    int to = dropOffset(event->position().toPoint());
    event->setDropAction(Qt::MoveAction);
    event->accept();
    setState(NoState);
    viewport()->update();
    Q_EMIT moveRequested(from, to);
}

}  // namespace glintdeck
