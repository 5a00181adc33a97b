#pragma once

#include <QWidget>
#include <memory>

#include "core/change_notifier.h"
#include "settings_window/desktop_keys.h"

class QFormLayout;
class QLabel;
class QPushButton;

namespace glintdeck {

// The hot-keys pane's rows in a Wayland session, where the desktop owns the global keys: the
// triggers its portal bound and a button to its own shortcut settings, or, where no portal binds
// keys, one sentence on binding the command on this desktop with a button that copies it.
// Follows the desktop's changes while shown.
class DesktopKeysSection final : public QWidget {
    Q_OBJECT

  public:
    DesktopKeysSection(std::shared_ptr<DesktopKeys> keys, QWidget* parent = nullptr);

  private:
    void refresh();

    std::shared_ptr<DesktopKeys> keys_;
    QFormLayout* rows_;
    QLabel* summon_;
    QLabel* pin_;
    QLabel* owner_;
    QPushButton* configure_;
    QLabel* problem_;
    QLabel* instruction_;
    QPushButton* copy_;
    Subscription subscription_;
};

}  // namespace glintdeck
