#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "settings/base64.h"
#include "tests/settings/fake_preferences_file.h"

namespace glintdeck {
namespace {

using Json = nlohmann::json;
using Field = AppSettings::Field;

const std::vector<StatKind> kCanonical(allStatKinds().begin(), allStatKinds().end());
const std::set<StatKind> kAllKinds(allStatKinds().begin(), allStatKinds().end());

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

// Settings over a fake file holding the given JSON object (none: no file yet).
class AppSettingsTest : public testing::Test {
  protected:
    std::unique_ptr<AppSettings> open(const Json& stored = nullptr) {
        if (!stored.is_null()) disk_->text = stored.dump();
        return reopen();
    }
    std::unique_ptr<AppSettings> reopen() {
        return std::make_unique<AppSettings>(openStore(disk_), reduceTransparency_);
    }
    Json file() const { return Json::parse(disk_->text.value_or("{}")); }
    std::string fileText() const { return disk_->text.value_or(""); }

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

TEST_F(AppSettingsTest, EmptyStoreGivesTheDefaultsAndRecordsTheKnownKinds) {
    auto settings = open();
    EXPECT_EQ(settings->statOrder(), kCanonical);
    EXPECT_EQ(settings->enabledStats(), kAllKinds);
    EXPECT_EQ(settings->interval(), 1.0);
    EXPECT_EQ(settings->anchor(), PanelAnchor::cursor);
    EXPECT_EQ(settings->customPosition(), std::nullopt);
    EXPECT_EQ(settings->stripHeight(), 36);
    EXPECT_EQ(settings->hotKey(), (HotKeyBinding{12, 0x1900}));
    EXPECT_EQ(settings->pinHotKey(), (HotKeyBinding{35, 0x1900}));
    EXPECT_FALSE(settings->isPinned());
    EXPECT_FALSE(settings->hasSeenHint());
    EXPECT_EQ(settings->themePreset(), ThemePreset::defaultPreset);
    EXPECT_EQ(settings->customTheme(), std::nullopt);
    EXPECT_EQ(settings->theme(), Theme::makeDefault(false));
    EXPECT_EQ(file(), (Json{{"knownStats", raws(kCanonical)}}));
}

TEST_F(AppSettingsTest, StatOrderIsRepairedToHoldEveryKindOnce) {
    using enum StatKind;
    struct Case {
        Json stored;
        std::vector<StatKind> expected;
    };
    for (const auto& [stored, expected] : std::vector<Case>{
             {{"uptime", "bogus", "cpu"},
              {uptime, cpu, memory, disk, network, battery, gpu, fan, power, temps, loadAverage}},
             {{"uptime", 3, "cpu"}, kCanonical},  // a number discards the whole list
             {"cpu", kCanonical},
             {{"disk", "cpu", "disk"},
              {disk, cpu, memory, network, battery, gpu, fan, power, temps, loadAverage, uptime}},
         }) {
        disk_->text = Json{{"statOrder", stored}}.dump();
        EXPECT_EQ(reopen()->statOrder(), expected) << stored;
        EXPECT_EQ(file()["statOrder"], stored) << "loading leaves the stored order alone";
    }
}

TEST_F(AppSettingsTest, KindsNewerThanTheKnownListStartEnabledOnce) {
    using enum StatKind;
    const std::set<StatKind> cpuAndNewKinds{cpu, gpu, fan, power, temps, loadAverage, uptime};

    auto settings = open({{"enabledStats", {"cpu", "bogus"}}});
    EXPECT_EQ(settings->enabledStats(), cpuAndNewKinds);
    EXPECT_EQ(file()["enabledStats"], raws({cpu, gpu, fan, power, temps, loadAverage, uptime}));
    EXPECT_EQ(file()["knownStats"], raws(kCanonical));
    EXPECT_EQ(reopen()->enabledStats(), cpuAndNewKinds);

    // Once every kind is known, turning one off sticks.
    settings->setEnabled(gpu, false);
    EXPECT_EQ(reopen()->enabledStats(),
              (std::set<StatKind>{cpu, fan, power, temps, loadAverage, uptime}));

    disk_->text = Json{{"enabledStats", {"cpu"}}, {"knownStats", raws(kCanonical)}}.dump();
    EXPECT_EQ(reopen()->enabledStats(), std::set<StatKind>{cpu});
    EXPECT_EQ(file()["enabledStats"], Json{"cpu"}) << "nothing new, nothing written";

    // A known list that is not all strings counts as the original five kinds.
    disk_->text = Json{{"enabledStats", {"memory"}}, {"knownStats", {"cpu", 1}}}.dump();
    EXPECT_EQ(reopen()->enabledStats(),
              (std::set<StatKind>{memory, gpu, fan, power, temps, loadAverage, uptime}));

    // Without a usable enabled list every kind is on and the list stays as it was.
    disk_->text = Json{{"enabledStats", {"cpu", 2}}}.dump();
    EXPECT_EQ(reopen()->enabledStats(), kAllKinds);
    EXPECT_EQ(file()["enabledStats"], (Json{"cpu", 2}));
}

TEST_F(AppSettingsTest, UnusableNumbersAndStringsFallBackFieldByField) {
    struct Case {
        Json stored;
        double interval;
        double stripHeight;
        PanelAnchor anchor;
        ThemePreset preset;
    };
    for (const auto& c : std::vector<Case>{
             {{{"interval", -3}, {"stripHeight", 0}, {"anchor", "Cursor"}, {"themePreset", "x"}},
              1.0,
              36,
              PanelAnchor::cursor,
              ThemePreset::defaultPreset},
             {{{"interval", 0},
               {"stripHeight", 200},
               {"anchor", "topCenter"},
               {"themePreset", "neon"}},
              1.0,
              44,
              PanelAnchor::topCenter,
              ThemePreset::neon},
             {{{"interval", "2"}, {"stripHeight", true}, {"anchor", 1}, {"themePreset", {}}},
              1.0,
              36,
              PanelAnchor::cursor,
              ThemePreset::defaultPreset},
             {{{"interval", 7},
               {"stripHeight", 22.5},
               {"anchor", "bottomCenter"},
               {"themePreset", "default"}},
              7.0,
              22.5,
              PanelAnchor::bottomCenter,
              ThemePreset::defaultPreset},
             {{{"interval", 0.25}, {"stripHeight", -1}, {"themePreset", "custom"}},
              0.25,
              36,
              PanelAnchor::cursor,
              ThemePreset::custom},
         }) {
        disk_->text = c.stored.dump();
        auto settings = reopen();
        EXPECT_EQ(settings->interval(), c.interval) << c.stored;
        EXPECT_EQ(settings->stripHeight(), c.stripHeight) << c.stored;
        EXPECT_EQ(settings->anchor(), c.anchor) << c.stored;
        EXPECT_EQ(settings->themePreset(), c.preset) << c.stored;
        for (auto& [key, value] : c.stored.items()) EXPECT_EQ(file()[key], value) << key;
    }
}

// 1e10 seconds overflowed the timer's nanoseconds (every sampler then ticked each millisecond),
// and a strip 1e10 points high was never mapped.
TEST_F(AppSettingsTest, NumbersOutOfRangeAreHeldInRangeOnceWithAWordAndKeptInTheFile) {
    struct Case {
        Json stored;
        double interval;
        double stripHeight;
        size_t warnings;
    };
    for (const auto& c : std::vector<Case>{
             {{{"interval", 1e10}, {"stripHeight", 1e10}}, 86400, 44, 2},
             {{{"interval", 1e12}, {"stripHeight", 5000}}, 86400, 44, 2},
             {{{"interval", 1e-9}, {"stripHeight", 1}}, 0.1, 22, 2},
             {{{"interval", 0.1}, {"stripHeight", 44}}, 0.1, 44, 0},
             {{{"interval", 86400}, {"stripHeight", 22}}, 86400, 22, 0},
         }) {
        disk_->text = c.stored.dump();
        std::vector<std::string> warnings;
        AppSettings settings(openStore(disk_, PreferencesStore::Mode::readWrite, &warnings));
        EXPECT_EQ(settings.interval(), c.interval) << c.stored;
        EXPECT_EQ(settings.stripHeight(), c.stripHeight) << c.stored;
        EXPECT_EQ(warnings.size(), c.warnings) << c.stored;
        for (auto& [key, value] : c.stored.items()) EXPECT_EQ(file()[key], value) << key;
    }
}

TEST_F(AppSettingsTest, CustomPositionNeedsItsFlagAndBothCoordinates) {
    struct Case {
        Json stored;
        std::optional<Point> expected;
    };
    for (const auto& [stored, expected] : std::vector<Case>{
             {{{"hasCustomPosition", true}, {"customPositionX", 10}, {"customPositionY", -20.5}},
              Point{10, -20.5}},
             {{{"hasCustomPosition", false}, {"customPositionX", 10}, {"customPositionY", 20}},
              std::nullopt},
             {{{"customPositionX", 10}, {"customPositionY", 20}}, std::nullopt},
             {{{"hasCustomPosition", true}, {"customPositionX", 10}}, std::nullopt},
             {{{"hasCustomPosition", true}, {"customPositionX", "10"}, {"customPositionY", 2}},
              std::nullopt},
         }) {
        disk_->text = stored.dump();
        EXPECT_EQ(reopen()->customPosition(), expected) << stored;
    }
}

TEST_F(AppSettingsTest, HotKeysLoadFromTheirIntegers) {
    struct Case {
        Json stored;
        HotKeyBinding hotKey;
        HotKeyBinding pinHotKey;
    };
    constexpr int64_t kTooLarge = int64_t{1} << 32;
    for (const auto& [stored, hotKey, pinHotKey] : std::vector<Case>{
             {{{"hotKeyCode", 49}, {"hotKeyModifiers", 0x0A00}, {"pinHotKeyCode", 0}},
              {49, 0x0A00},
              {0, 0}},
             {{{"hotKeyCode", 12}}, {12, 0}, {35, 0x1900}},  // modifiers missing read as none
             {{{"hotKeyCode", "12"}, {"hotKeyModifiers", 0x0100}}, {12, 0x1900}, {35, 0x1900}},
             {{{"hotKeyCode", -1}, {"pinHotKeyCode", kTooLarge}}, {12, 0x1900}, {35, 0x1900}},
             {{{"hotKeyCode", 4294967295}, {"hotKeyModifiers", kTooLarge}},
              {4294967295, 0},
              {35, 0x1900}},
             {{{"pinHotKeyCode", 3.9}, {"pinHotKeyModifiers", 256.5}}, {12, 0x1900}, {3, 256}},
             {{{"hotKeyModifiers", 0x0100}}, {12, 0x1900}, {35, 0x1900}},
         }) {
        disk_->text = stored.dump();
        auto settings = reopen();
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
    EXPECT_EQ(settings->tileValueMode(StatKind::memory), TileValueMode::second);
    EXPECT_EQ(settings->tileValueMode(StatKind::network), TileValueMode::both);
    EXPECT_EQ(settings->tileValueMode(StatKind::disk), TileValueMode::first);
    EXPECT_EQ(settings->tileStyle(StatKind::gpu), TileStyle::graph);
    EXPECT_EQ(settings->tileStyle(StatKind::battery), TileStyle::text) << "no history to plot";
    EXPECT_EQ(settings->tileStyle(StatKind::cpu), TileStyle::text);

    settings->setTileStyle(TileStyle::textAndGraph, StatKind::fan);
    EXPECT_EQ(file()["tileStyles"]["fan"], "textAndGraph");
    EXPECT_EQ(settings->tileStyle(StatKind::fan), TileStyle::text);
    settings->setTileValueMode(TileValueMode::bothReversed, StatKind::network);
    EXPECT_EQ(file()["tileValueModes"], (Json{{"memory", "second"}, {"network", "bothReversed"}}));
}

TEST_F(AppSettingsTest, AssignmentsWriteTheirKeysAndRunTheirCallbacks) {
    auto settings = open();
    int hotKeyRuns = 0, intervalRuns = 0, statsRuns = 0;
    settings->onHotKeyChanged = [&] { ++hotKeyRuns; };
    settings->onIntervalChanged = [&] { ++intervalRuns; };
    settings->onStatsChanged = [&] { ++statsRuns; };

    settings->setCustomPosition(Point{100, 200});
    EXPECT_EQ(file()["customPositionX"], 100.0);
    EXPECT_EQ(file()["hasCustomPosition"], true);
    settings->setAnchor(PanelAnchor::screenCenter);
    EXPECT_EQ(settings->customPosition(), std::nullopt);
    EXPECT_FALSE(file().contains("customPositionX"));
    EXPECT_FALSE(file().contains("customPositionY"));
    EXPECT_EQ(file()["hasCustomPosition"], false);
    EXPECT_EQ(file()["anchor"], "screenCenter");

    settings->setPinHotKey({35, 0x0A00});
    EXPECT_EQ(file()["pinHotKeyCode"], 35);
    EXPECT_EQ(file()["pinHotKeyModifiers"], 0x0A00);
    EXPECT_EQ(hotKeyRuns, 0) << "a new pin key is picked up at the next summon";
    settings->setHotKey({49, 0x1000});
    EXPECT_EQ(file()["hotKeyModifiers"], 0x1000);
    EXPECT_EQ(hotKeyRuns, 1);

    settings->setInterval(0.5);
    settings->setInterval(0.5);  // equal values still write and call back
    EXPECT_EQ(file()["interval"], 0.5);
    EXPECT_EQ(intervalRuns, 2);

    settings->setStatOrder({StatKind::uptime});
    settings->setEnabled(StatKind::cpu, false);
    settings->setEnabled(StatKind::cpu, false);
    settings->setTileValueMode(TileValueMode::second, StatKind::disk);
    settings->setTileStyle(TileStyle::graph, StatKind::cpu);
    EXPECT_EQ(statsRuns, 5);
    EXPECT_EQ(file()["statOrder"], Json{"uptime"});
    EXPECT_EQ(file()["enabledStats"].size(), 10u);

    settings->setIsPinned(true);
    settings->setHasSeenHint(true);
    settings->setStripHeight(30);
    auto reopened = reopen();
    EXPECT_FALSE(reopened->isPinned()) << "pinning is never stored";
    EXPECT_TRUE(reopened->hasSeenHint());
    EXPECT_EQ(reopened->stripHeight(), 30);
    EXPECT_EQ(reopened->hotKey(), (HotKeyBinding{49, 0x1000}));
    EXPECT_EQ(reopened->pinHotKey(), (HotKeyBinding{35, 0x0A00}));
    EXPECT_EQ(reopened->anchor(), PanelAnchor::screenCenter);
    EXPECT_EQ(reopened->tileValueMode(StatKind::disk), TileValueMode::second);
}

TEST_F(AppSettingsTest, SubscribersHearOnlyRealChanges) {
    auto settings = open();
    std::vector<Field> heard;
    auto subscription = settings->subscribe([&](Field field) { heard.push_back(field); });

    settings->setInterval(1.0);
    settings->setEnabled(StatKind::cpu, true);
    settings->setAnchor(PanelAnchor::cursor);
    settings->setThemePreset(ThemePreset::defaultPreset);
    settings->setIsPinned(false);
    EXPECT_TRUE(heard.empty());

    settings->setCustomPosition(Point{1, 2});
    settings->setAnchor(PanelAnchor::cursor);
    settings->setThemePreset(ThemePreset::mono);
    settings->setIsPinned(true);
    EXPECT_EQ(heard, (std::vector<Field>{Field::customPosition, Field::customPosition,
                                         Field::themePreset, Field::theme, Field::isPinned}));
}

TEST_F(AppSettingsTest, CallbackMayReplaceItselfWhileRunning) {
    auto settings = open();
    int runs = 0;
    settings->onStatsChanged = [&] {
        ++runs;
        settings->onStatsChanged = nullptr;
        settings->setStatOrder(kCanonical);  // runs no callback now
    };
    settings->setEnabled(StatKind::fan, false);
    EXPECT_EQ(runs, 1);
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

    std::string badDensity = R"({"accent":{"red":1,"green":1,"blue":1,"opacity":1},)"
                             R"("background":{"red":0,"green":0,"blue":0,"opacity":1},)"
                             R"("opacity":0.5,"cornerRadius":3,"density":"roomy"})";
    for (const Json& stored :
         {dataValue(badDensity), dataValue("{"), Json("plain text"), Json{{"$data", "!!"}}}) {
        disk_->text = Json{{"themePreset", "custom"}, {"customTheme", stored}}.dump();
        auto reopened = reopen();
        EXPECT_EQ(reopened->customTheme(), std::nullopt) << stored;
        EXPECT_EQ(reopened->theme(), Theme::makeCustom(ThemeData::initial(), false));
        EXPECT_EQ(file()["customTheme"], stored) << "the stored data is left unchanged";
    }

    settings->setCustomTheme(std::nullopt);
    EXPECT_FALSE(file().contains("customTheme"));
}

TEST_F(AppSettingsTest, ResetRewritesItsKeysAndRunsTheCallbacksEvenWhenAlreadyDefault) {
    auto settings = open({{"tileValueModes", {{"memory", "second"}}},
                          {"tileStyles", {{"cpu", "graph"}}},
                          {"hasSeenHint", true},
                          {"themePreset", "custom"},
                          {"hasCustomPosition", true},
                          {"customPositionX", 5},
                          {"customPositionY", 6},
                          {"customTheme", dataValue(encodeThemeData(ThemeData::initial()))},
                          {"statOrder", {"uptime"}},
                          {"enabledStats", {"cpu"}},
                          {"knownStats", raws(kCanonical)},
                          {"interval", 3},
                          {"stripHeight", 40},
                          {"hotKeyCode", 1}});
    settings->setIsPinned(true);
    for (int round = 0; round < 2; ++round) {
        int hotKeyRuns = 0, intervalRuns = 0, statsRuns = 0;
        settings->onHotKeyChanged = [&] { ++hotKeyRuns; };
        settings->onIntervalChanged = [&] { ++intervalRuns; };
        settings->onStatsChanged = [&] { ++statsRuns; };
        settings->resetToDefaults();
        EXPECT_EQ(statsRuns, 2);
        EXPECT_EQ(intervalRuns, 1);
        EXPECT_EQ(hotKeyRuns, 1);

        Json json = file();
        EXPECT_EQ(json["statOrder"], raws(kCanonical));
        EXPECT_EQ(json["enabledStats"], raws(kCanonical));
        EXPECT_EQ(json["interval"], 1.0);
        EXPECT_EQ(json["anchor"], "cursor");
        EXPECT_EQ(json["hasCustomPosition"], false);
        EXPECT_FALSE(json.contains("customPositionX"));
        EXPECT_EQ(json["stripHeight"], 36.0);
        EXPECT_EQ(json["hotKeyCode"], 12);
        EXPECT_EQ(json["hotKeyModifiers"], 0x1900);
        EXPECT_EQ(json["pinHotKeyCode"], 35);
        EXPECT_EQ(json["pinHotKeyModifiers"], 0x1900);
        EXPECT_EQ(json["themePreset"], "default");
        EXPECT_FALSE(json.contains("customTheme"));
        // Kept as they were.
        EXPECT_EQ(json["tileValueModes"], (Json{{"memory", "second"}}));
        EXPECT_EQ(json["tileStyles"], (Json{{"cpu", "graph"}}));
        EXPECT_EQ(json["hasSeenHint"], true);
        EXPECT_TRUE(settings->isPinned());
        EXPECT_EQ(settings->theme(), Theme::makeDefault(false));
    }
}

TEST_F(AppSettingsTest, ReduceTransparencyChangesRebuildTheTheme) {
    auto settings = open({{"themePreset", "vitals"}});
    std::vector<Field> heard;
    auto subscription = settings->subscribe([&](Field field) { heard.push_back(field); });
    EXPECT_EQ(settings->theme().colors.background.dark.opacity, 0.82);
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
