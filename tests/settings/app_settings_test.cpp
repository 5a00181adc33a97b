#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "settings/base64.h"
#include "settings/setting_declarations.h"
#include "tests/settings/fake_preferences_file.h"

namespace glintdeck {
namespace {

using Json = nlohmann::json;
using Field = AppSettings::Field;

const std::vector<StatKind> kCanonical(allStatKinds().begin(), allStatKinds().end());
const std::set<StatKind> kAllKinds(allStatKinds().begin(), allStatKinds().end());

// What a first launch starts with.
const AppSettings& defaults() {
    static const AppSettings settings(PreferencesStore::inMemory());
    return settings;
}

class FakeReduceTransparency final : public ReduceTransparencySource {
  public:
    bool reduceTransparency() const override { return on_; }
    Subscription subscribe(std::function<void()> onChange) override {
        return notifier_.subscribe([onChange = std::move(onChange)](int) { onChange(); });
    }
    void set(bool on) {
        on_ = on;
        notifier_.notify(0);
    }

  private:
    bool on_ = false;
    ChangeNotifier<int> notifier_;
};

// Everything the user can set and that is stored, to compare two settings as a whole.
auto stored(const AppSettings& s) {
    return std::tuple(s.statOrder(), s.enabledStats(), s.tileValueModes(), s.tileStyles(),
                      s.interval(), s.anchor(), s.customPosition(), s.stripHeight(), s.hotKey(),
                      s.pinHotKey(), s.hasSeenHint(), s.themePreset(), s.customTheme(),
                      s.alertEnabled(AlertWatch::overheating),
                      s.alertEnabled(AlertWatch::memoryPressure));
}

// Settings over a fake file holding the given JSON object (none: no file yet).
class AppSettingsTest : public testing::Test {
  protected:
    std::unique_ptr<AppSettings> open(const Json& stored = nullptr) {
        if (!stored.is_null()) disk_->text = stored.dump();
        return std::make_unique<AppSettings>(openStore(disk_), reduceTransparency_);
    }
    std::unique_ptr<AppSettings> reopen() { return open(); }
    Json file() const { return Json::parse(disk_->text.value_or("{}")); }

    std::shared_ptr<FakeDisk> disk_ = std::make_shared<FakeDisk>();
    std::shared_ptr<FakeReduceTransparency> reduceTransparency_ =
        std::make_shared<FakeReduceTransparency>();
};

std::vector<std::string> raws(std::vector<StatKind> kinds) {
    std::vector<std::string> result;
    for (StatKind kind : kinds) result.emplace_back(rawValue(kind));
    return result;
}

Json dataValue(const std::string& text) {
    return Json{{"$data", encodeBase64(PreferencesStore::Data(text.begin(), text.end()))}};
}

TEST_F(AppSettingsTest, StatOrderIsRepairedToHoldEveryKindOnce) {
    using enum StatKind;
    for (const auto& [stored, expected] : std::vector<std::pair<Json, std::vector<StatKind>>>{
             {{"uptime", "bogus", "cpu"},
              {uptime, cpu, memory, disk, network, battery, gpu, fan, power, temps, loadAverage}},
             {{"uptime", 3, "cpu"}, kCanonical},  // a number discards the whole list
             {"cpu", kCanonical},
             {{"disk", "cpu", "disk"},
              {disk, cpu, memory, network, battery, gpu, fan, power, temps, loadAverage, uptime}},
         }) {
        EXPECT_EQ(open({{"statOrder", stored}})->statOrder(), expected) << stored;
        EXPECT_EQ(file()["statOrder"], stored) << "loading leaves the stored order alone";
    }
}

TEST_F(AppSettingsTest, KindsNewerThanTheKnownListStartEnabledOnce) {
    using enum StatKind;
    const std::set<StatKind> cpuAndNewKinds{cpu, gpu, fan, power, temps, loadAverage, uptime};
    // A first launch writes the known list alone.
    EXPECT_EQ(open()->enabledStats(), kAllKinds);
    EXPECT_EQ(file(), (Json{{"knownStats", raws(kCanonical)}}));

    auto settings = open({{"enabledStats", {"cpu", "bogus"}}});
    EXPECT_EQ(settings->enabledStats(), cpuAndNewKinds);
    EXPECT_EQ(file()["enabledStats"], raws({cpu, gpu, fan, power, temps, loadAverage, uptime}));
    EXPECT_EQ(file()["knownStats"], raws(kCanonical));
    EXPECT_EQ(reopen()->enabledStats(), cpuAndNewKinds);

    // Once every kind is known, turning one off sticks.
    settings->setEnabled(gpu, false);
    EXPECT_EQ(reopen()->enabledStats(),
              (std::set<StatKind>{cpu, fan, power, temps, loadAverage, uptime}));

    EXPECT_EQ(open({{"enabledStats", {"cpu"}}, {"knownStats", raws(kCanonical)}})->enabledStats(),
              std::set<StatKind>{cpu});
    EXPECT_EQ(file()["enabledStats"], Json{"cpu"}) << "nothing new, nothing written";

    // A known list that is not all strings counts as the original five kinds.
    EXPECT_EQ(open({{"enabledStats", {"memory"}}, {"knownStats", {"cpu", 1}}})->enabledStats(),
              (std::set<StatKind>{memory, gpu, fan, power, temps, loadAverage, uptime}));

    // Without a usable enabled list every kind is on and the list stays as it was.
    EXPECT_EQ(open({{"enabledStats", {"cpu", 2}}})->enabledStats(), kAllKinds);
    EXPECT_EQ(file()["enabledStats"], (Json{"cpu", 2}));
}

// 1e10 seconds overflowed the timer's nanoseconds (every sampler then ticked each millisecond),
// and a strip 1e10 points high was never mapped. Held values are said once each; the file keeps
// what it held, whatever was used.
TEST_F(AppSettingsTest, UnusableNumbersFallBackAndOutOfRangeOnesAreHeldInRange) {
    const double interval = defaults().interval(), height = defaults().stripHeight();
    const double shortest = setting::interval.lowest, longest = setting::interval.highest;
    const double lowest = setting::stripHeight.lowest, highest = setting::stripHeight.highest;
    // Stored, then the interval and height used and the warnings said.
    for (const auto& [stored, usedInterval, usedHeight, warningCount] :
         std::vector<std::tuple<Json, double, double, size_t>>{
             {{{"interval", -3}, {"stripHeight", 0}}, interval, height, 0},
             {{{"interval", 7}, {"stripHeight", 22.5}}, 7, 22.5, 0},
             {{{"interval", 1e10}, {"stripHeight", 1e10}}, longest, highest, 2},
             {{{"interval", 1e-9}, {"stripHeight", 1}}, shortest, lowest, 2},
             {{{"interval", shortest}, {"stripHeight", highest}}, shortest, highest, 0},
             {{{"interval", longest}, {"stripHeight", lowest}}, longest, lowest, 0},
         }) {
        disk_->text = stored.dump();
        std::vector<std::string> warnings;
        AppSettings settings(openStore(disk_, PreferencesStore::Mode::readWrite, &warnings));
        EXPECT_EQ(settings.interval(), usedInterval) << stored;
        EXPECT_EQ(settings.stripHeight(), usedHeight) << stored;
        EXPECT_EQ(warnings.size(), warningCount) << stored;
        for (auto& [key, value] : stored.items()) EXPECT_EQ(file()[key], value) << key;
    }
}

TEST_F(AppSettingsTest, CustomPositionNeedsItsFlagAndBothCoordinates) {
    for (const auto& [stored, expected] : std::vector<std::pair<Json, std::optional<Point>>>{
             {{{"hasCustomPosition", true}, {"customPositionX", 10}, {"customPositionY", -20.5}},
              Point{10, -20.5}},
             {{{"hasCustomPosition", false}, {"customPositionX", 10}, {"customPositionY", 20}},
              std::nullopt},
             {{{"customPositionX", 10}, {"customPositionY", 20}}, std::nullopt},
             {{{"hasCustomPosition", true}, {"customPositionX", 10}}, std::nullopt},
             {{{"hasCustomPosition", true}, {"customPositionY", 2}}, std::nullopt},
         }) {
        EXPECT_EQ(open(stored)->customPosition(), expected) << stored;
    }
}

TEST_F(AppSettingsTest, HotKeysLoadFromUnsigned32BitIntegers) {
    const HotKeyBinding summon = defaults().hotKey(), pin = defaults().pinHotKey();
    constexpr int64_t kTooLarge = int64_t{1} << 32;
    for (const auto& [stored, hotKey, pinHotKey] :
         std::vector<std::tuple<Json, HotKeyBinding, HotKeyBinding>>{
             // Missing modifiers read as none.
             {{{"hotKeyCode", 49}, {"hotKeyModifiers", 0x0A00}, {"pinHotKeyCode", 0}},
              {49, 0x0A00},
              {0, 0}},
             {{{"hotKeyCode", -1}, {"pinHotKeyCode", kTooLarge}}, summon, pin},
             {{{"hotKeyCode", 4294967295}, {"hotKeyModifiers", kTooLarge}}, {4294967295, 0}, pin},
             {{{"hotKeyModifiers", 0x0100}}, summon, pin},
         }) {
        auto settings = open(stored);
        EXPECT_EQ(settings->hotKey(), hotKey) << stored;
        EXPECT_EQ(settings->pinHotKey(), pinHotKey) << stored;
    }
}

TEST_F(AppSettingsTest, TileModesAndStylesKeepOnlyKnownEntriesAndApplyDefaults) {
    auto settings =
        open({{"tileValueModes",
               {{"memory", "second"}, {"cpu", "sideways"}, {"bogus", "first"}, {"disk", 3}}},
              {"tileStyles", {{"battery", "graph"}, {"gpu", "graph"}}}});
    EXPECT_EQ(settings->tileValueModes(),
              (std::map<StatKind, TileValueMode>{{StatKind::memory, TileValueMode::second}}));
    EXPECT_EQ(settings->tileValueMode(StatKind::disk), TileValueMode::first);
    EXPECT_EQ(settings->tileStyle(StatKind::gpu), TileStyle::graph);
    EXPECT_EQ(settings->tileStyle(StatKind::battery), TileStyle::text) << "no history to plot";

    settings->setTileStyle(TileStyle::textAndGraph, StatKind::fan);
    EXPECT_EQ(file()["tileStyles"]["fan"], "textAndGraph");
    EXPECT_EQ(settings->tileStyle(StatKind::fan), TileStyle::text);
}

TEST_F(AppSettingsTest, AssignmentsAreStoredAndRunTheirCallbacks) {
    auto settings = open();
    int hotKeyRuns = 0, intervalRuns = 0, statsRuns = 0;
    settings->onHotKeyChanged = [&] { ++hotKeyRuns; };
    settings->onIntervalChanged = [&] { ++intervalRuns; };
    settings->onStatsChanged = [&] { ++statsRuns; };

    settings->setCustomPosition(Point{100, 200});
    EXPECT_EQ(reopen()->customPosition(), (Point{100, 200}));
    settings->setAnchor(PanelAnchor::screenCenter);
    EXPECT_EQ(settings->customPosition(), std::nullopt);
    EXPECT_FALSE(file().contains("customPositionX"));
    EXPECT_FALSE(file().contains("customPositionY"));

    settings->setPinHotKey({35, 0x0A00});
    EXPECT_EQ(hotKeyRuns, 0) << "a new pin key is picked up at the next summon";
    settings->setHotKey({49, 0x1000});
    EXPECT_EQ(hotKeyRuns, 1);

    settings->setInterval(0.5);
    settings->setInterval(0.5);  // equal values still write and call back
    EXPECT_EQ(intervalRuns, 2);

    settings->setStatOrder({kCanonical.rbegin(), kCanonical.rend()});
    settings->setEnabled(StatKind::cpu, false);
    settings->setEnabled(StatKind::cpu, false);
    settings->setTileValueMode(TileValueMode::second, StatKind::disk);
    settings->setTileStyle(TileStyle::graph, StatKind::cpu);
    EXPECT_EQ(statsRuns, 5);

    settings->setIsPinned(true);
    settings->setHasSeenHint(true);
    settings->setStripHeight(30);
    settings->setThemePreset(ThemePreset::mono);
    auto reopened = reopen();
    EXPECT_EQ(stored(*reopened), stored(*settings));
    EXPECT_FALSE(reopened->isPinned()) << "pinning is never stored";

    // A callback may replace itself while it runs.
    settings->onStatsChanged = [&] {
        ++statsRuns;
        settings->onStatsChanged = nullptr;
        settings->setStatOrder(kCanonical);  // runs no callback now
    };
    settings->setEnabled(StatKind::fan, false);
    EXPECT_EQ(statsRuns, 6);
}

// A change of the reduce-transparency source is a change of the theme.
TEST_F(AppSettingsTest, SubscribersHearOnlyRealChangesAndTheThemeFollowsReduceTransparency) {
    auto settings = open();
    std::vector<Field> heard;
    auto subscription = settings->subscribe([&](Field field) { heard.push_back(field); });

    settings->setInterval(settings->interval());
    settings->setEnabled(StatKind::cpu, true);
    settings->setAnchor(settings->anchor());
    settings->setThemePreset(settings->themePreset());
    settings->setIsPinned(false);
    EXPECT_TRUE(heard.empty());

    settings->setCustomPosition(Point{1, 2});
    settings->setAnchor(settings->anchor());
    settings->setThemePreset(ThemePreset::vitals);
    settings->setIsPinned(true);
    EXPECT_EQ(heard, (std::vector<Field>{Field::customPosition, Field::customPosition,
                                         Field::themePreset, Field::theme, Field::isPinned}));

    heard.clear();
    reduceTransparency_->set(true);
    EXPECT_EQ(settings->theme(), Theme::makeVitals(true));
    reduceTransparency_->set(false);
    EXPECT_EQ(settings->theme(), Theme::makeVitals(false));
    EXPECT_EQ(heard, (std::vector<Field>{Field::theme, Field::theme}));

    // A source handed over later (the shell's, once it can tell) takes over at once.
    auto later = std::make_shared<FakeReduceTransparency>();
    later->set(true);
    settings->setReduceTransparencySource(later);
    EXPECT_EQ(settings->theme(), Theme::makeVitals(true));
    reduceTransparency_->set(false);  // the old source no longer counts
    EXPECT_EQ(settings->theme(), Theme::makeVitals(true));

    settings.reset();
    later->set(false);  // nobody listens any more; must not touch the destroyed settings
}

TEST_F(AppSettingsTest, CustomThemeIsStoredAsJsonDataAndUndecodableDataIsIgnored) {
    auto settings = open();
    ThemeData data = ThemeData::initial();
    data.density = ThemeDensity::compact;
    data.cornerRadius = 4;
    settings->setThemePreset(ThemePreset::custom);
    EXPECT_EQ(settings->theme(), Theme::makeCustom(ThemeData::initial(), false));
    settings->setCustomTheme(data);
    EXPECT_EQ(settings->theme(), Theme::makeCustom(data, false));
    EXPECT_EQ(reopen()->customTheme(), data);
    ASSERT_TRUE(file()["customTheme"].contains("$data"));

    // Why the data does not decode is the theme data's and the store's rule.
    for (const Json& stored : {dataValue("{"), Json("plain text")}) {
        auto reopened = open({{"themePreset", "custom"}, {"customTheme", stored}});
        EXPECT_EQ(reopened->customTheme(), std::nullopt) << stored;
        EXPECT_EQ(reopened->theme(), Theme::makeCustom(ThemeData::initial(), false));
        EXPECT_EQ(file()["customTheme"], stored) << "the stored data is left unchanged";
    }

    settings->setCustomTheme(std::nullopt);
    EXPECT_FALSE(file().contains("customTheme"));
}

// The reset writes every key it resets, so the file holds the defaults even where they were
// never stored, and runs each callback even where nothing changed.
TEST_F(AppSettingsTest, ResetGivesTheDefaultsButKeepsTileOptionsAndTheHint) {
    Json before = Json::parse(R"({
        "tileValueModes": {"memory": "second"}, "tileStyles": {"cpu": "graph"},
        "hasSeenHint": true, "themePreset": "custom", "statOrder": ["uptime"],
        "hasCustomPosition": true, "customPositionX": 5, "customPositionY": 6,
        "enabledStats": ["cpu"], "interval": 3, "stripHeight": 40, "hotKeyCode": 1,
        "alertOverheating": false, "alertMemoryPressure": true})");
    before["customTheme"] = dataValue(encodeThemeData(ThemeData::initial()));
    before["knownStats"] = raws(kCanonical);
    auto settings = open(before);
    settings->setIsPinned(true);
    AppSettings expected(PreferencesStore::inMemory());
    expected.setTileValueMode(TileValueMode::second, StatKind::memory);
    expected.setTileStyle(TileStyle::graph, StatKind::cpu);
    expected.setHasSeenHint(true);
    for (int round = 0; round < 2; ++round) {
        int hotKeyRuns = 0, intervalRuns = 0, statsRuns = 0;
        settings->onHotKeyChanged = [&] { ++hotKeyRuns; };
        settings->onIntervalChanged = [&] { ++intervalRuns; };
        settings->onStatsChanged = [&] { ++statsRuns; };
        settings->resetToDefaults();
        EXPECT_EQ((std::tuple(statsRuns, intervalRuns, hotKeyRuns)), std::tuple(2, 1, 1));
        EXPECT_EQ(stored(*settings), stored(expected));
        EXPECT_EQ(stored(*reopen()), stored(expected));
        EXPECT_TRUE(settings->isPinned());
        EXPECT_EQ(settings->theme(), defaults().theme());
    }
}

TEST(AppSettingsSharedTest, IsBuiltOnceFromTheInstalledStore) {
    int opened = 0;
    AppSettings::setSharedStoreOpener([&opened] {
        ++opened;
        return PreferencesStore::inMemory();
    });
    AppSettings& first = AppSettings::shared();
    first.setStripHeight(30);
    EXPECT_EQ(&AppSettings::shared(), &first);
    EXPECT_EQ(AppSettings::shared().stripHeight(), 30);
    EXPECT_EQ(opened, 1);
    AppSettings::setSharedStoreOpener(nullptr);
}

}  // namespace
}  // namespace glintdeck
