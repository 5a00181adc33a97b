// The window over the real preferences file: what it shows when a change cannot be saved.
#include <QListWidget>
#include <filesystem>

#include "settings_window/settings_view.h"
#include "settings_window/settings_window_controller.h"
#include "tests/session/preferences_folder.h"
#include "tests/settings_window/pane_test_support.h"

namespace glintdeck {
namespace {

class PersistenceTest : public PreferencesFolderTest {
  protected:
    std::unique_ptr<AppSettings> openSettings() const {
        return std::make_unique<AppSettings>(open());
    }
    // Shows the window over settings_; its notice of changes not saved.
    QLabel* showWindow() {
        controller_ = std::make_unique<SettingsWindowController>(*settings_, services_);
        controller_->show();
        return child<QLabel>(view(), "saveNotice");
    }
    SettingsView& view() { return *controller_->window()->view(); }

    std::unique_ptr<AppSettings> settings_ = openSettings();
    SettingsServices services_;
    std::unique_ptr<SettingsWindowController> controller_;
};

QWidget* showPane(SettingsView& view, SettingsPane pane) {
    view.sidebar()->setCurrentRow(static_cast<int>(pane));
    EXPECT_EQ(view.selection(), pane);
    return view.pane();
}

// A save that failed used to vanish without a word. A link planted where the file is makes
// every save fail, even for root.
TEST_F(PersistenceTest, AChangeThatCouldNotBeSavedIsShownUntilOneIs) {
    QLabel* notice = showWindow();
    ASSERT_NE(notice, nullptr);
    QWidget* panel = showPane(view(), SettingsPane::panel);
    drag(*child<SliderRow>(*panel, "intervalRow"), 9);
    EXPECT_FALSE(notice->isVisible());

    const std::filesystem::path file = path();
    std::filesystem::rename(file, folder() / "kept.json");
    std::filesystem::create_symlink(folder() / "kept.json", file);
    choose(*child<QComboBox>(*panel, "anchorPicker"), QStringLiteral("Bottom center"));
    EXPECT_TRUE(notice->isVisible());
    showPane(view(), SettingsPane::about);
    panel = showPane(view(), SettingsPane::panel);
    EXPECT_TRUE(notice->isVisible());

    std::filesystem::remove(file);
    drag(*child<SliderRow>(*panel, "stripHeightRow"), 30);
    EXPECT_FALSE(notice->isVisible());
    auto reopened = openSettings();
    EXPECT_EQ(std::pair(reopened->anchor(), reopened->stripHeight()),
              std::pair(PanelAnchor::bottomCenter, 30.0))
        << "the next change saved both";
}

// Dotfile managers link the file into place: what it holds is read, no change is written
// through the link, and the window says why.
TEST_F(PersistenceTest, ALinkedFileIsReadAndTheWindowSaysWhyChangesAreNotSaved) {
    settings_->setStripHeight(30);
    std::filesystem::rename(path(), folder() / "dotfiles.json");
    std::filesystem::create_symlink(folder() / "dotfiles.json", path());
    settings_ = openSettings();
    EXPECT_EQ(settings_->stripHeight(), 30);
    QLabel* notice = showWindow();
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    drag(*child<SliderRow>(*showPane(view(), SettingsPane::panel), "stripHeightRow"), 40);
    EXPECT_EQ(settings_->stripHeight(), 40);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains(QStringLiteral("symbolic link")))
        << qPrintable(notice->text());
    EXPECT_EQ(openSettings()->stripHeight(), 30) << "never written through the link";
}

}  // namespace
}  // namespace glintdeck
