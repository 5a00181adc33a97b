#pragma once

#include <QListWidget>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "core/stat_kind.h"

namespace glintdeck {

// The stats pane's list: one row per kind in the user's order, each with a switch (shown or
// hidden), the kind's icon and title. Rows are reordered by dragging; the list itself never
// moves a row, it reports the move and shows whatever order it is given next, so the settings
// stay the one source of the order.
class StatListView final : public QListWidget {
    Q_OBJECT

  public:
    explicit StatListView(QWidget* parent = nullptr);

    // Shows the kinds in order with their switches; the selected kind stays selected.
    void setStats(const std::vector<StatKind>& order, const std::set<StatKind>& enabled);

    [[nodiscard]] std::optional<StatKind> selectedKind() const;
    void selectKind(std::optional<StatKind> kind);

    [[nodiscard]] std::optional<StatKind> kindAt(int row) const;

    // Where a row's switch is drawn, in viewport coordinates.
    [[nodiscard]] QRect switchRect(int row) const;

    // The drag's data: which row is being moved.
    [[nodiscard]] static QString rowMimeType();

  Q_SIGNALS:
    // A row dropped at offset `to` of the order as it was before the move (0: before the first
    // row, count: after the last).
    void moveRequested(int from, int to);
    void enabledToggled(glintdeck::StatKind kind, bool enabled);
    void selectedKindChanged(std::optional<glintdeck::StatKind> kind);

  protected:
    [[nodiscard]] QStringList mimeTypes() const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void toggle(int row);
    void refreshIcons();
    void acceptRowDrag(QDropEvent* event);
    [[nodiscard]] int dropOffset(QPoint position) const;
};

// The order after moving the element at `from` to offset `to` of the original order (the
// element lands before what was at `to`); offsets out of range leave the order as it is.
[[nodiscard]] std::vector<StatKind> movedOrder(std::vector<StatKind> order, int from, int to);

}  // namespace glintdeck
