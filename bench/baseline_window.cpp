// baseline_window: the least a Qt 6 Widgets program on X11 can do to be a summoned strip — a
// frameless floating window toggled by a global key grab — so bench/run can say how much of our
// cost is Qt's own. With --scan it also does what a straightforward program would do for a
// process list while shown: walk /proc with QDir and read every stat file with QFile every
// 2 s, then repaint.
//
//   baseline_window [--hidden] [--scan] [--key KEYS] [--window-title TITLE]
//
// The window is shown at launch (as our strip is) unless --hidden. KEYS is modifiers and a key
// joined by '+' (ctrl+alt+super+q, the summon key's default); the key is a letter or a digit.
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fail(const char* message) {
    std::fprintf(stderr, "baseline_window: %s\n", message);
    std::exit(1);
}

struct KeySpec {
    uint16_t modifiers = 0;
    xcb_keycode_t keycode = 0;
};

// The X modifier bit a keysym's keys are mapped to, looked up because Alt, Super and NumLock
// move between Mod1..Mod5 from one server to the next.
uint16_t modifierBit(xcb_connection_t* connection, xcb_key_symbols_t* symbols,
                     xcb_keysym_t keysym) {
    std::unique_ptr<xcb_keycode_t, decltype(&free)> codes(
        xcb_key_symbols_get_keycode(symbols, keysym), &free);
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, decltype(&free)> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr),
        &free);
    if (!codes || !mapping) return 0;
    const xcb_keycode_t* table = xcb_get_modifier_mapping_keycodes(mapping.get());
    int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < perModifier; ++i)
            for (const xcb_keycode_t* code = codes.get(); *code != XCB_NO_SYMBOL; ++code)
                if (table[modifier * perModifier + i] == *code) return uint16_t(1u << modifier);
    return 0;
}

KeySpec parseKey(xcb_connection_t* connection, xcb_key_symbols_t* symbols, QString combination) {
    KeySpec key;
    const QStringList parts = combination.split('+');
    for (const QString& part : parts) {
        if (part == "ctrl") {
            key.modifiers |= XCB_MOD_MASK_CONTROL;
        } else if (part == "shift") {
            key.modifiers |= XCB_MOD_MASK_SHIFT;
        } else if (part == "alt") {
            key.modifiers |= modifierBit(connection, symbols, XK_Alt_L);
        } else if (part == "super") {
            key.modifiers |= modifierBit(connection, symbols, XK_Super_L);
        } else if (part.size() == 1 && part[0].isLetterOrNumber()) {
            // Latin-1 letters and digits are their own keysyms.
            std::unique_ptr<xcb_keycode_t, decltype(&free)> codes(
                xcb_key_symbols_get_keycode(symbols, part[0].toLower().unicode()), &free);
            if (codes && *codes != XCB_NO_SYMBOL) key.keycode = *codes;
        }
    }
    if (key.keycode == 0) fail("the key combination names no key of this keyboard");
    return key;
}

class Strip final : public QWidget {
  public:
    explicit Strip(bool scan) : scan_(scan) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                       Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
        resize(880, 56);
        timer_.setInterval(2000);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { scanProcesses(); });
    }

    void toggle() {
        if (isVisible()) {
            timer_.stop();
            hide();
            return;
        }
        show();
        raise();
        if (scan_) {
            scanProcesses();
            timer_.start();
        }
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(30, 30, 34));
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         top_.isEmpty() ? QStringLiteral("baseline") : top_.join("  "));
    }

  private:
    // A straightforward scan: every process's stat file read afresh, CPU from the change in
    // utime + stime since the last scan.
    void scanProcesses() {
        QHash<int, qulonglong> ticks;
        std::vector<std::pair<qulonglong, QString>> busiest;
        const QStringList entries = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& entry : entries) {
            bool isPid = false;
            int pid = entry.toInt(&isPid);
            if (!isPid) continue;
            QFile file("/proc/" + entry + "/stat");
            if (!file.open(QIODevice::ReadOnly)) continue;
            QString text = QString::fromLatin1(file.readAll());
            qsizetype close = text.lastIndexOf(')');
            if (close < 0) continue;
            QString name = text.mid(text.indexOf('(') + 1, close - text.indexOf('(') - 1);
            QStringList fields = text.mid(close + 2).split(' ');
            if (fields.size() < 22) continue;
            qulonglong total = fields[11].toULongLong() + fields[12].toULongLong();
            ticks.insert(pid, total);
            busiest.emplace_back(total - previous_.value(pid, total), name);
        }
        previous_ = ticks;
        std::size_t shown = std::min<std::size_t>(5, busiest.size());
        std::partial_sort(busiest.begin(), busiest.begin() + static_cast<long>(shown),
                          busiest.end(), [](const auto& a, const auto& b) { return a > b; });
        top_.clear();
        for (std::size_t i = 0; i < shown; ++i) top_ << busiest[i].second;
        update();
    }

    bool scan_;
    QTimer timer_;
    QHash<int, qulonglong> previous_;
    QStringList top_;
};

// Toggles the strip on the grabbed key, whatever the state of CapsLock and NumLock.
class KeyFilter final : public QAbstractNativeEventFilter {
  public:
    KeyFilter(KeySpec key, uint16_t ignored, Strip& strip)
        : key_(key), ignored_(ignored), strip_(strip) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
        auto* press = static_cast<xcb_key_press_event_t*>(message);
        if (press->detail != key_.keycode || (press->state & ~ignored_) != key_.modifiers)
            return false;
        strip_.toggle();
        return true;
    }

  private:
    KeySpec key_;
    uint16_t ignored_;
    Strip& strip_;
};

}  // namespace

int main(int argc, char** argv) {
    // Read before QApplication, which takes some options of its own (-title among them).
    bool hidden = false;
    bool scan = false;
    QString keySpec = "ctrl+alt+super+q";
    QString title = "Glintdeck Baseline";
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--hidden") {
            hidden = true;
        } else if (arg == "--scan") {
            scan = true;
        } else if (arg == "--key" && i + 1 < argc) {
            keySpec = argv[++i];
        } else if (arg == "--window-title" && i + 1 < argc) {
            title = argv[++i];
        } else {
            fail("usage: baseline_window [--hidden] [--scan] [--key KEYS] [--window-title T]");
        }
    }
    int qtArgc = 1;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(qtArgc, argv);

    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) fail("needs an X11 display");
    xcb_connection_t* connection = x11->connection();
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    KeySpec key = parseKey(connection, symbols, keySpec);
    uint16_t numLock = modifierBit(connection, symbols, XK_Num_Lock);
    xcb_key_symbols_free(symbols);

    // One grab per combination of CapsLock and NumLock, each checked: an unchecked grab hides
    // another program holding the key.
    for (uint16_t locks : {uint16_t(0), uint16_t(XCB_MOD_MASK_LOCK), numLock,
                           uint16_t(XCB_MOD_MASK_LOCK | numLock)}) {
        xcb_void_cookie_t cookie =
            xcb_grab_key_checked(connection, 1, root, key.modifiers | locks, key.keycode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            free(error);
            fail("the key is grabbed by another program");
        }
    }

    Strip strip(scan);
    strip.setWindowTitle(title);
    KeyFilter filter(key, uint16_t(XCB_MOD_MASK_LOCK | numLock), strip);
    application.installNativeEventFilter(&filter);
    if (!hidden) strip.toggle();
    return application.exec();
}
