#include "app/desktop_shortcuts.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/linux/session/xdg_autostart_login_item.h"
#include "shell/placement/desktop_shortcut_texts.h"
#include "shell/x11/x11_keysym_names.h"

namespace glintdeck {
namespace {

const QString kSummonId = QStringLiteral("summon");
const QString kPinId = QStringLiteral("keep-on-screen");

ShortcutDesktop shortcutDesktop(const DesktopSession& session) {
    if (session.isDesktop("sway")) return ShortcutDesktop::sway;
    if (session.isDesktop("Hyprland")) return ShortcutDesktop::hyprland;
    if (session.isDesktop("GNOME")) return ShortcutDesktop::gnome;
    if (session.isDesktop("KDE")) return ShortcutDesktop::kde;
    return ShortcutDesktop::other;
}

// The keysym at the binding's position in the current keymap; the stored key's own name, in
// lower case, where no keymap answers.
std::string keysymOf(HotKeyBinding binding) {
    if (std::optional<std::string> name = keysymNameAt(binding.keyCode)) return *name;
    return QString::fromStdString(HotKeyBinding::keyName(binding.keyCode)).toLower().toStdString();
}

QString preferredTrigger(HotKeyBinding binding) {
    return QString::fromStdString(portalTrigger(binding.modifiers, keysymOf(binding)));
}

// Why the portal binds no keys, where it was there to ask; empty where it binds them.
const char* portalFailure(GlobalShortcutsPortal::State state) {
    switch (state) {
        case GlobalShortcutsPortal::State::unavailable:
            return "no desktop portal binds global keys here";
        case GlobalShortcutsPortal::State::failed:
            return "the desktop portal refused to bind global keys";
        default:
            return "";
    }
}

// The time of a press the portal reported a moment ago, for a focus request to carry. KWin and
// Mutter report the X server's clock, in milliseconds that wrap at 32 bits; a desktop that sends
// 0 or another clock would have the request refused, so such a time gives way to the server's
// time now. Within a minute before now, or a second after it (the clocks are read apart), it is
// the server's.
std::optional<uint32_t> pressTime(uint64_t reported, std::optional<uint32_t> serverNow) {
    constexpr uint32_t kOldestMs = 60'000;
    constexpr uint32_t kAheadMs = 1'000;
    const auto time = static_cast<uint32_t>(reported);
    if (time == 0) return serverNow;
    if (!serverNow) return time;
    const bool plausible = *serverNow - time <= kOldestMs || time - *serverNow <= kAheadMs;
    return plausible ? time : *serverNow;
}

}  // namespace

std::string launchCommand() {
    std::string self = XdgAutostartLoginItem::runningProgram();
    if (self.empty()) return "glintdeck";
    std::error_code error;
    const char* path = std::getenv("PATH");
    std::string_view directories = path != nullptr ? path : "";
    while (!directories.empty()) {
        const size_t colon = directories.find(':');
        const std::filesystem::path candidate =
            std::filesystem::path(directories.substr(0, colon)) / "glintdeck";
        if (std::filesystem::equivalent(candidate, self, error)) return "glintdeck";
        if (colon == std::string_view::npos) break;
        directories.remove_prefix(colon + 1);
    }
    return self;
}

DesktopShortcuts::DesktopShortcuts(DesktopSession session, const AppSettings& settings,
                                   QDBusConnection bus, std::string command,
                                   std::function<std::optional<uint32_t>()> serverTime,
                                   GlobalShortcutsPortal::Now now)
    : session_(std::move(session)),
      settings_(settings),
      command_(std::move(command)),
      serverTime_(std::move(serverTime)),
      portal_(QString::fromLatin1(kApplicationId), std::move(bus), std::move(now)) {
    connect(&portal_, &GlobalShortcutsPortal::changed, this, [this] {
        // Both end in the instructions for binding the command by hand; the user learns why.
        if (const char* failure = portalFailure(portal_.state()); *failure != '\0') {
            std::fprintf(stderr,
                         "glintdeck: %s; bind the command %s to a key in your desktop's "
                         "settings\n",
                         failure, command_.c_str());
        }
        notifier_.notify(true);
    });
    connect(&portal_, &GlobalShortcutsPortal::activated, this, &DesktopShortcuts::activated);
}

void DesktopShortcuts::start() {
    portal_.start({
        {kSummonId, QStringLiteral("Show or hide the Glintdeck strip"),
         preferredTrigger(settings_.hotKey())},
        {kPinId, QStringLiteral("Keep the Glintdeck strip on screen"),
         preferredTrigger(settings_.pinHotKey())},
    });
}

bool DesktopShortcuts::portalOwnsKeys() const {
    const GlobalShortcutsPortal::State state = portal_.state();
    return state != GlobalShortcutsPortal::State::unavailable &&
           state != GlobalShortcutsPortal::State::failed;
}

bool DesktopShortcuts::answered() const {
    return portal_.state() != GlobalShortcutsPortal::State::starting;
}

DesktopKeys::Status DesktopShortcuts::status() const {
    Status status;
    status.portal = portalOwnsKeys();
    if (status.portal) {
        status.summonTrigger = portal_.triggerDescription(kSummonId);
        status.pinTrigger = portal_.triggerDescription(kPinId);
        status.canConfigure = portal_.canConfigure();
        return status;
    }
    const HotKeyBinding summon = settings_.hotKey();
    const BindingInstruction instruction =
        bindingInstruction(shortcutDesktop(session_), summon.modifiers, keysymOf(summon), command_);
    status.instruction = QString::fromStdString(instruction.sentence);
    status.copyText = QString::fromStdString(instruction.copyText);
    if (portal_.state() == GlobalShortcutsPortal::State::failed) {
        status.problem = QStringLiteral("The desktop portal refused to bind Glintdeck’s keys.");
    }
    return status;
}

void DesktopShortcuts::configure() { portal_.configure(); }

Subscription DesktopShortcuts::subscribe(std::function<void()> onChange) {
    return notifier_.subscribe([onChange = std::move(onChange)](bool) { onChange(); });
}

void DesktopShortcuts::activated(const QString& id, const QString& activationToken,
                                 quint64 timestamp) {
    if (id == kSummonId && onSummon) {
        onSummon(SummonRequest{.userTimestamp = pressTime(timestamp, serverTime_()),
                               .activationToken = activationToken.toStdString()});
    } else if (id == kPinId && onPinToggle) {
        onPinToggle();
    }
}

}  // namespace glintdeck
