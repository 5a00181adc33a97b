#include "shell/hot_key_recorder_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "settings/key_text.h"
#include "shell/placement/key_positions.h"
#include "shell/stored_modifiers.h"

namespace glintdeck {

namespace {

constexpr uint32_t escapeKeyCode = 53;
constexpr uint32_t commandOptionControl =
    HotKeyBinding::command | HotKeyBinding::option | HotKeyBinding::control;

// Sizes in logical pixels.
constexpr int combinationPixelSize = 17;
constexpr int combinationMinimumWidth = 92;
constexpr int captionPixelSize = 11;
const QColor hintColor(255, 149, 0);  // the desktop-neutral orange of warnings

}  // namespace

HotKeyRecorderView::HotKeyRecorderView(HotKeyBinding binding, QWidget* parent)
    : QWidget(parent),
      binding_(binding),
      combination_(new QLabel(this)),
      button_(new QPushButton(this)),
      hintLabel_(new QLabel(this)) {
    QFont combinationFont = font();
    combinationFont.setPixelSize(combinationPixelSize);
    combinationFont.setWeight(QFont::Medium);
    combination_->setFont(combinationFont);
    combination_->setMinimumWidth(combinationMinimumWidth);
    combination_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    QFont captionFont = font();
    captionFont.setPixelSize(captionPixelSize);
    hintLabel_->setFont(captionFont);
    QPalette hintPalette = hintLabel_->palette();
    hintPalette.setColor(QPalette::WindowText, hintColor);
    hintLabel_->setPalette(hintPalette);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(combination_);
    row->addWidget(button_);
    row->addWidget(hintLabel_);
    row->addStretch();

    connect(button_, &QPushButton::clicked, this, [this] {
        if (isRecording_) {
            stopRecording();
        } else {
            startRecording();
        }
    });
    refresh();
}

HotKeyRecorderView::~HotKeyRecorderView() { stopRecording(); }

void HotKeyRecorderView::setBinding(HotKeyBinding binding) {
    binding_ = binding;
    refresh();
}

void HotKeyRecorderView::startRecording() {
    hint_.reset();
    if (!isRecording_) {
        isRecording_ = true;
        // The application's own key tap: ahead of every widget, shortcut and menu.
        qApp->installEventFilter(this);
    }
    refresh();
}

void HotKeyRecorderView::stopRecording() {
    if (isRecording_) {
        qApp->removeEventFilter(this);
        isRecording_ = false;
    }
    refresh();
}

bool HotKeyRecorderView::eventFilter(QObject* watched, QEvent* event) {
    if (!isRecording_) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepted, a shortcut override turns the would-be shortcut into a plain key press,
            // which arrives next and is taken below.
            event->accept();
            return true;
        case QEvent::KeyPress: {
            // Taken at its first receiver (the window, before any widget), so it is seen once.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) {
                keyPressed(key->nativeScanCode(), key->modifiers());
            }
            return true;
        }
        case QEvent::KeyRelease:
            return true;
        default:
            return false;
    }
}

void HotKeyRecorderView::keyPressed(uint32_t nativeScanCode, Qt::KeyboardModifiers modifiers) {
    // Keys are positions: the key code comes from where the key sits, not what it types.
    const std::optional<uint32_t> keyCode = virtualKeyCode(nativeScanCode);
    if (!keyCode) {
        return;  // a lone modifier key, or a key the stored form cannot name
    }
    const uint32_t mask = storedModifiers(modifiers);
    if (*keyCode == escapeKeyCode && mask == 0) {
        stopRecording();
        return;
    }
    if ((mask & commandOptionControl) != 0) {
        binding_ = {*keyCode, mask};
        stopRecording();
        Q_EMIT bindingChanged(binding_);
        return;
    }
    hint_ = QStringLiteral("Add a modifier (Ctrl, Alt or Super)");
    refresh();
}

void HotKeyRecorderView::hideEvent(QHideEvent* event) {
    stopRecording();
    QWidget::hideEvent(event);
}

void HotKeyRecorderView::refresh() {
    combination_->setText(QString::fromStdString(keyText(binding_)));
    combination_->setForegroundRole(isRecording_ ? QPalette::PlaceholderText
                                                 : QPalette::WindowText);
    button_->setText(isRecording_ ? QStringLiteral("Press a combo… (Esc cancels)")
                                  : QStringLiteral("Record"));
    hintLabel_->setText(hint_.value_or(QString()));
    hintLabel_->setVisible(hint_.has_value());
}

}  // namespace glintdeck
