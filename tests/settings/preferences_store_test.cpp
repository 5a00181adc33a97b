#include "settings/preferences_store.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "settings/base64.h"
#include "settings/preferences_path.h"
#include "tests/settings/fake_preferences_file.h"

namespace glintdeck {
namespace {

using Mode = PreferencesStore::Mode;
using Json = nlohmann::json;

std::shared_ptr<FakeDisk> diskWith(std::string text) {
    auto disk = std::make_shared<FakeDisk>();
    disk->text = std::move(text);
    return disk;
}

Json onDisk(const FakeDisk& disk) { return Json::parse(disk.text.value_or("null")); }

TEST(PreferencesStoreTest, TypedReadsAcceptOnlyTheirOwnTypes) {
    auto disk = diskWith(R"({
        "bool": true, "int": 42, "negative": -7, "double": 2.75, "negativeDouble": -2.75,
        "string": "text", "strings": ["a", "b"], "mixed": ["a", 1], "empty": [],
        "dictionary": {"a": "x", "b": 2, "c": "z"}, "null": null,
        "huge": 1e300, "unsignedHuge": 18446744073709551615,
        "data": {"$data": "aGk="}, "badData": {"$data": "a*=="}
    })");
    auto store = openStore(disk);

    // Each key against each typed read: what must come back, and what must read as nothing.
    EXPECT_EQ(store->boolValue("bool"), true);
    for (auto key : {"int", "string", "null", "strings", "missing"}) {
        EXPECT_EQ(store->boolValue(key), std::nullopt) << key;
    }
    EXPECT_EQ(store->integerValue("int"), 42);
    EXPECT_EQ(store->integerValue("negative"), -7);
    EXPECT_EQ(store->integerValue("double"), 2);  // truncated toward zero
    EXPECT_EQ(store->integerValue("negativeDouble"), -2);
    for (auto key : {"bool", "string", "huge", "unsignedHuge", "null", "missing"}) {
        EXPECT_EQ(store->integerValue(key), std::nullopt) << key;
    }
    EXPECT_EQ(store->doubleValue("double"), 2.75);
    EXPECT_EQ(store->doubleValue("int"), 42.0);
    EXPECT_EQ(store->doubleValue("huge"), 1e300);
    for (auto key : {"bool", "string", "null", "strings", "missing"}) {
        EXPECT_EQ(store->doubleValue(key), std::nullopt) << key;
    }
    EXPECT_EQ(store->stringValue("string"), "text");
    EXPECT_EQ(store->stringValue("int"), std::nullopt);
    EXPECT_EQ(store->stringArray("strings"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(store->stringArray("empty"), std::vector<std::string>{});
    EXPECT_EQ(store->stringArray("mixed"), std::nullopt);
    EXPECT_EQ(store->stringArray("string"), std::nullopt);
    EXPECT_EQ(store->stringDictionary("dictionary"),
              (std::map<std::string, std::string>{{"a", "x"}, {"c", "z"}}));
    EXPECT_EQ(store->stringDictionary("strings"), std::nullopt);
    EXPECT_EQ(store->stringDictionary("data"), std::nullopt);
    EXPECT_EQ(store->data("data"), (PreferencesStore::Data{'h', 'i'}));
    EXPECT_EQ(store->data("badData"), std::nullopt);
    EXPECT_EQ(store->data("dictionary"), std::nullopt);
    EXPECT_TRUE(store->contains("null"));
    EXPECT_FALSE(store->contains("missing"));
    EXPECT_EQ(disk->writes, 0) << "reading must not rewrite the file";
}

// Keys it does not know, and values of types it would not read, are kept as they were.
TEST(PreferencesStoreTest, WritesReachTheFileAndSurviveReopening) {
    auto disk = diskWith(R"({"interval": "fast", "fromANewerVersion": {"x": [1, 2]}})");
    {
        auto store = openStore(disk);
        EXPECT_TRUE(store->setBool("b", true));
        store->setInteger("i", -3);
        store->setDouble("d", 0.1);
        store->setString("s", "é\"\n");
        store->setStringArray("a", {"x", "y"});
        store->setStringDictionary("m", {{"k", "v"}});
        store->setData("data", {0, 255, '{', '"'});
        store->setString("gone", "soon");
        store->remove("gone");
    }
    EXPECT_EQ(onDisk(*disk)["data"], (Json{{"$data", "AP97Ig=="}}));
    EXPECT_EQ(onDisk(*disk)["interval"], "fast");
    EXPECT_EQ(onDisk(*disk)["fromANewerVersion"], (Json{{"x", {1, 2}}}));
    auto store = openStore(disk);
    EXPECT_EQ(store->boolValue("b"), true);
    EXPECT_EQ(store->integerValue("i"), -3);
    EXPECT_EQ(store->doubleValue("d"), 0.1);  // exact: doubles round-trip through the text
    EXPECT_EQ(store->stringValue("s"), "é\"\n");
    EXPECT_EQ(store->stringArray("a"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(store->stringDictionary("m"), (std::map<std::string, std::string>{{"k", "v"}}));
    EXPECT_EQ(store->data("data"), (PreferencesStore::Data{0, 255, '{', '"'}));
    EXPECT_FALSE(store->contains("gone"));
}

// How the store reacts to what it finds: the file's own rules (names of kept copies, links,
// permissions) are the real file's tests. A file it cannot use is said once; what it may not
// write is still in force until the program quits.
TEST(PreferencesStoreTest, EachFileStateDecidesWhatIsAppliedKeptAsideAndWritten) {
    enum Fault { none, unreadable, refusesSetAside };
    enum Outcome { applied, keptAside, ignored };
    struct Case {
        std::optional<std::string> text;
        Mode mode;
        Fault fault;
        Outcome outcome;
    };
    const std::string good = R"({"interval": 2})", tooLarge(PreferencesFile::kLargestFile + 1, ' '),
                      tooDeep =
                          R"({"deep": )" + std::string(100, '[') + std::string(100, ']') + "}";
    for (const auto& [text, mode, fault, outcome] : std::vector<Case>{
             {good, Mode::readWrite, none, applied},
             {good, Mode::readOnly, none, applied},
             {std::nullopt, Mode::readOnly, none, ignored},
             {good, Mode::readWrite, unreadable, ignored},
             {R"({"interval": 2)", Mode::readWrite, none, keptAside},
             {"", Mode::readWrite, none, keptAside},
             {"[1, 2]", Mode::readWrite, none, keptAside},
             {"null", Mode::readWrite, none, keptAside},
             {"{} {}", Mode::readWrite, none, keptAside},
             {tooDeep, Mode::readWrite, none, keptAside},
             {tooLarge, Mode::readWrite, none, keptAside},
             {"{", Mode::readOnly, none, ignored},
             {"{", Mode::readWrite, refusesSetAside, ignored},
         }) {
        SCOPED_TRACE(text.value_or("(absent)").substr(0, 20) + (fault == none ? "" : " (fault)"));
        auto disk = std::make_shared<FakeDisk>();
        disk->text = text;
        disk->unreadable = fault == unreadable;
        disk->refuseSetAside = fault == refusesSetAside;
        std::vector<std::string> warnings;
        auto store = openStore(disk, mode, &warnings);
        const bool writes = mode == Mode::readWrite && outcome != ignored;
        EXPECT_EQ(store->contains("interval"), outcome == applied);
        ASSERT_EQ(warnings.size(), outcome == applied || !text ? 0u : 1u);
        if (outcome == keptAside) {
            EXPECT_NE(warnings[0].find("defaults.json.corrupt-1"), std::string::npos);
        }
        EXPECT_EQ(disk->setAside,
                  outcome == keptAside ? std::vector{*text} : std::vector<std::string>{});
        EXPECT_EQ(store->persists(), writes);

        EXPECT_EQ(store->setDouble("interval", 3), writes);
        EXPECT_EQ(store->doubleValue("interval"), 3.0);
        EXPECT_EQ(disk->writes, writes ? 1 : 0);
        if (writes) {
            EXPECT_EQ(onDisk(*disk), (Json{{"interval", 3.0}})) << "a kept file starts afresh";
        } else {
            EXPECT_EQ(disk->text, text);
        }
    }
}

// A failed save used to vanish without a word.
TEST(PreferencesStoreTest, FailedWriteIsSaidOnceAndKeepsTheValueForTheNextWrite) {
    auto disk = diskWith("{\"stripHeight\": 30}");
    std::vector<std::string> warnings;
    auto store = openStore(disk, Mode::readWrite, &warnings);
    disk->refuseWrites = true;
    EXPECT_FALSE(store->setDouble("stripHeight", 40));
    EXPECT_FALSE(store->setDouble("interval", 2));
    EXPECT_TRUE(store->hasUnsavedChanges());
    ASSERT_EQ(warnings.size(), 1u) << "said once, not at every change";
    EXPECT_NE(warnings[0].find("could not save"), std::string::npos) << warnings[0];
    EXPECT_EQ(store->doubleValue("stripHeight"), 40.0);
    EXPECT_EQ(disk->text, "{\"stripHeight\": 30}");
    disk->refuseWrites = false;
    EXPECT_TRUE(store->setBool("hasSeenHint", true));
    EXPECT_FALSE(store->hasUnsavedChanges());
    EXPECT_EQ(onDisk(*disk),
              (Json{{"stripHeight", 40.0}, {"interval", 2.0}, {"hasSeenHint", true}}));
    disk->refuseWrites = true;
    EXPECT_FALSE(store->setBool("hasSeenHint", false));
    EXPECT_EQ(warnings.size(), 2u) << "a new failure after a success is said again";
    EXPECT_FALSE(openStore(disk, Mode::readOnly)->hasUnsavedChanges()) << "never in read-only";
}

TEST(PreferencesStoreTest, BatchWritesItsChangesOnce) {
    auto disk = std::make_shared<FakeDisk>();
    auto store = openStore(disk);
    EXPECT_TRUE(store->batch([&] {
        store->setInteger("hotKeyCode", 35);
        store->batch([&] { store->setInteger("hotKeyModifiers", 0x1900); });
        EXPECT_EQ(disk->writes, 0);
    }));
    EXPECT_EQ(disk->writes, 1);
    EXPECT_EQ(onDisk(*disk), (Json{{"hotKeyCode", 35}, {"hotKeyModifiers", 0x1900}}));
}

TEST(Base64Test, RoundTripsAndRejectsMalformedText) {
    for (std::string text : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
        PreferencesStore::Data bytes(text.begin(), text.end());
        EXPECT_EQ(decodeBase64(encodeBase64(bytes)), bytes) << text;
    }
    EXPECT_EQ(encodeBase64({'f', 'o', 'o', 'b'}), "Zm9vYg==");
    for (auto bad : {"Zm9", "Zm9vY===", "Zm=v", "Zm9v\n", "Zh==", "Zm9=", "====", "Zm 9"}) {
        EXPECT_EQ(decodeBase64(bad), std::nullopt) << bad;
    }
}

TEST(PreferencesPathTest, FollowsTheXdgRules) {
    using Home = std::optional<std::string_view>;
    for (const auto& [xdg, home, path] :
         std::vector<std::tuple<Home, Home, std::optional<std::string>>>{
             {"/cfg", "/home/u", "/cfg/glintdeck/defaults.json"},
             {"/cfg/", "/home/u", "/cfg/glintdeck/defaults.json"},
             {std::nullopt, "/home/u", "/home/u/.config/glintdeck/defaults.json"},
             {"", "/home/u/", "/home/u/.config/glintdeck/defaults.json"},
             {"relative/cfg", "/home/u", "/home/u/.config/glintdeck/defaults.json"},
             {"/", "/home/u", "/glintdeck/defaults.json"},
             {std::nullopt, "relative", std::nullopt},
             {std::nullopt, std::nullopt, std::nullopt},
         }) {
        EXPECT_EQ(standardPreferencesPath(xdg, home), path)
            << xdg.value_or("(unset)") << " " << home.value_or("(unset)");
    }
}

}  // namespace
}  // namespace glintdeck
