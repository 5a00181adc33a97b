// The Qt application every views test runs in, on the offscreen platform, with Inter as the
// application font so that measurements do not depend on the machine's default font.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <memory>

namespace glintdeck {
namespace {

class QtEnvironment final : public testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "glintdeck_views_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        QApplication::setFont(QFont(QStringLiteral("Inter")));
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

TEST(ApplicationTest, MeasuresWithInter) {
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Inter"));
}

}  // namespace
}  // namespace glintdeck
