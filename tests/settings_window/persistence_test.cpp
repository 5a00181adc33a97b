// Every control of the window, changed through the window, then read back by new settings from
// the same preferences file on disk.
#include <unistd.h>

#include <QColorDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "platform/linux/posix_preferences_file.h"
#include "settings_window/appearance_settings_pane.h"
#include "settings_window/color_button.h"
#include "settings_window/settings_view.h"
#include "settings_window/settings_window_controller.h"
#include "settings_window/stat_list_view.h"
#include "settings_window/stats_settings_pane.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class PersistenceTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("glintdeck-settings-window-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::unique_ptr<AppSettings> open() const {
        auto file = std::make_unique<PosixPreferencesFile>((folder_ / "defaults.json").string());
        return std::make_unique<AppSettings>(
            std::make_shared<PreferencesStore>(std::move(file), PreferencesStore::Mode::readWrite));
    }

    std::filesystem::path folder_;
};

QWidget* showPane(SettingsView& view, SettingsPane pane) {
    view.sidebar()->setCurrentRow(static_cast<int>(pane));
    EXPECT_EQ(view.selection(), pane);
    return view.pane();
}

void pickColor(ColorButton& button, const QColor& color) {
    button.click();
    ASSERT_NE(button.dialog(), nullptr);
    button.dialog()->setCurrentColor(color);
    button.dialog()->accept();
}

TEST_F(PersistenceTest, EveryControlsValueSurvivesANewStart) {
    const HotKeyBinding recorded{2, HotKeyBinding::control | HotKeyBinding::option};
    auto settings = open();
    SettingsServices services;
    services.makeHotKeyRecorder = [&](HotKeyBinding, std::function<void(HotKeyBinding)> onRecorded,
                                      QWidget* parent) {
        auto* button = new QPushButton(parent);
        QObject::connect(button, &QPushButton::clicked, button,
                         [onRecorded, recorded] { onRecorded(recorded); });
        return button;
    };
    SettingsWindowController controller(*settings, services);
    controller.show();
    SettingsView& view = *controller.window()->view();

    auto* stats = qobject_cast<StatsSettingsPane*>(showPane(view, SettingsPane::stats));
    StatListView* list = stats->list();
    QCoreApplication::processEvents();
    // cpu dropped on the lower part of network.
    dropRow(*list, 0, list->visualItemRect(list->item(3)).bottomLeft() + QPoint(4, -2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->switchRect(4).center());
    list->selectKind(StatKind::network);
    choose(*child<QComboBox>(*stats, "valuePicker"), QStringLiteral("Up"));
    choose(*child<QComboBox>(*stats, "stripPicker"), QStringLiteral("Text + graph"));

    auto* appearance =
        qobject_cast<AppearanceSettingsPane*>(showPane(view, SettingsPane::appearance));
    choose(*child<QComboBox>(*appearance, "themePicker"), QStringLiteral("Custom"));
    appearance->customizeToggle()->click();
    pickColor(*child<ColorButton>(*appearance, "accentColor"), QColor(0, 255, 0));
    pickColor(*child<ColorButton>(*appearance, "backgroundColor"), QColor(0, 0, 255));
    drag(*child<SliderRow>(*appearance, "opacityRow"), 64);
    drag(*child<SliderRow>(*appearance, "cornerRadiusRow"), 7);
    choose(*child<QComboBox>(*appearance, "densityPicker"), QStringLiteral("Compact"));

    QWidget* panel = showPane(view, SettingsPane::panel);
    drag(*child<SliderRow>(*panel, "intervalRow"), 9);
    choose(*child<QComboBox>(*panel, "anchorPicker"), QStringLiteral("Bottom center"));
    drag(*child<SliderRow>(*panel, "stripHeightRow"), 30);

    QWidget* hotkeys = showPane(view, SettingsPane::hotkeys);
    child<QPushButton>(*hotkeys, "summonRecorder")->click();
    child<QPushButton>(*hotkeys, "pinRecorder")->click();

    using K = StatKind;
    const std::vector<K> order{K::memory, K::disk,  K::network, K::cpu,         K::battery, K::gpu,
                               K::fan,    K::power, K::temps,   K::loadAverage, K::uptime};
    ThemeData theme{.accent = {0, 1, 0, 1},
                    .background = {0, 0, 1, 1},
                    .opacity = 0.64,
                    .cornerRadius = 7,
                    .density = ThemeDensity::compact};
    auto reopened = open();
    EXPECT_EQ(reopened->statOrder(), order);
    std::set<K> enabled(allStatKinds().begin(), allStatKinds().end());
    enabled.erase(K::battery);
    EXPECT_EQ(reopened->enabledStats(), enabled);
    EXPECT_EQ(reopened->tileValueMode(K::network), TileValueMode::second);
    EXPECT_EQ(reopened->tileStyle(K::network), TileStyle::textAndGraph);
    EXPECT_EQ(reopened->themePreset(), ThemePreset::custom);
    EXPECT_EQ(reopened->customTheme(), theme);
    EXPECT_EQ(reopened->interval(), 2.25);
    EXPECT_EQ(reopened->anchor(), PanelAnchor::bottomCenter);
    EXPECT_EQ(reopened->stripHeight(), 30);
    EXPECT_EQ(reopened->hotKey(), recorded);
    EXPECT_EQ(reopened->pinHotKey(), recorded);
}

// A save that failed used to vanish without a word. A link planted where the file is makes
// every save fail, even for root.
TEST_F(PersistenceTest, AChangeThatCouldNotBeSavedIsShownUntilOneIs) {
    auto settings = open();
    SettingsServices services;
    SettingsWindowController controller(*settings, services);
    controller.show();
    SettingsView& view = *controller.window()->view();
    QLabel* notice = child<QLabel>(view, "saveNotice");
    ASSERT_NE(notice, nullptr);
    QWidget* panel = showPane(view, SettingsPane::panel);
    drag(*child<SliderRow>(*panel, "intervalRow"), 9);
    EXPECT_FALSE(notice->isVisible());

    const auto file = folder_ / "defaults.json";
    std::filesystem::rename(file, folder_ / "kept.json");
    std::filesystem::create_symlink(folder_ / "kept.json", file);
    choose(*child<QComboBox>(*panel, "anchorPicker"), QStringLiteral("Bottom center"));
    EXPECT_TRUE(notice->isVisible());
    showPane(view, SettingsPane::about);
    panel = showPane(view, SettingsPane::panel);
    EXPECT_TRUE(notice->isVisible());

    std::filesystem::remove(file);
    drag(*child<SliderRow>(*panel, "stripHeightRow"), 30);
    EXPECT_FALSE(notice->isVisible());
    auto reopened = open();
    EXPECT_EQ(reopened->anchor(), PanelAnchor::bottomCenter) << "the next change saved both";
    EXPECT_EQ(reopened->stripHeight(), 30);
}

// Dotfile managers link the file into place: what it holds is read, no change is written
// through the link, and the window says why.
TEST_F(PersistenceTest, ALinkedFileIsReadAndTheWindowSaysWhyChangesAreNotSaved) {
    open()->setStripHeight(30);
    std::filesystem::rename(folder_ / "defaults.json", folder_ / "dotfiles.json");
    std::filesystem::create_symlink(folder_ / "dotfiles.json", folder_ / "defaults.json");
    auto settings = open();
    EXPECT_EQ(settings->stripHeight(), 30);
    SettingsServices services;
    SettingsWindowController controller(*settings, services);
    controller.show();
    SettingsView& view = *controller.window()->view();
    QLabel* notice = child<QLabel>(view, "saveNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    drag(*child<SliderRow>(*showPane(view, SettingsPane::panel), "stripHeightRow"), 40);
    EXPECT_EQ(settings->stripHeight(), 40);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains(QStringLiteral("symbolic link")))
        << qPrintable(notice->text());
    EXPECT_EQ(open()->stripHeight(), 30) << "never written through the link";
}

}  // namespace
}  // namespace glintdeck
