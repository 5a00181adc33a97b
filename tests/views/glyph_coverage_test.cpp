// Every character the views draw must come from some installed font (Qt falls back through
// fontconfig), so a missing font package fails here instead of drawing boxes on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include "tests/support/sample_descriptors.h"
#include "views/first_run_hint_view.h"
#include "views/hud_style.h"
#include "views/symbols.h"

namespace glintdeck {
namespace {

// The characters of `text` that no font reached through Qt's fallback supports: each one laid
// out alone, where a missing glyph is glyph 0 of the primary font.
QString missingCharacters(const QString& text, const QFont& font) {
    QString missing;
    for (uint codepoint : text.toUcs4()) {
        QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&codepoint), 1);
        if (character.trimmed().isEmpty()) continue;
        QTextLayout layout(character, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end()) missing += character;
        }
    }
    return missing;
}

std::vector<QString> descriptorTexts() {
    std::vector<QString> texts;
    auto add = [&](const std::string& text) { texts.push_back(QString::fromStdString(text)); };
    for (const StatDescriptor& d : samples::all()) {
        add(d.value);
        add(d.widestValue);
        if (d.secondaryValue) add(*d.secondaryValue);
        if (d.widestSecondaryValue) add(*d.widestSecondaryValue);
        for (const auto& [label, value] : d.detail) add(label + " " + value);
        if (d.processSection) {
            add(d.processSection->title);
            for (const auto& [name, value] : d.processSection->rows) add(name + " " + value);
        }
        if (d.graph) add("Peak " + d.graph->upper.marker + d.graph->upper.label);
        if (d.graph && d.graph->lower) add("Peak " + d.graph->lower->marker);
    }
    return texts;
}

TEST(GlyphCoverageTest, EveryTextTheViewsDrawHasAFont) {
    ASSERT_EQ(QFontInfo(QApplication::font()).family(), QStringLiteral("Inter"))
        << "the views' sizes are measured in Inter";
    ASSERT_EQ(missingCharacters(QString::fromUtf16(u"a\u0378b"), QFont()),
              QString::fromUtf16(u"\u0378"))
        << "the check notices a character no font has";
    std::vector<QString> texts = descriptorTexts();
    for (const char16_t* text :
         {FirstRunHintView::kGreeting, FirstRunHintView::kStepLeft, FirstRunHintView::kPress,
          FirstRunHintView::kAfterKey, FirstRunHintView::kFootnote, u"› “ ” ’",
          u"Settings (Super+,)", u"Pinned — Keep on Screen is on",
          // Text forms the descriptors and key caps produce: dashes, the power dot, elision,
          // named keys, the battery's missing time.
          u"— – · … °C ↑ ↓", u"Ctrl+Alt+Shift+Super+Page Up Num+5 F12 key 123"}) {
        texts.push_back(QString::fromUtf16(text));
    }
    std::vector<FontDescription> fonts;
    for (const Theme& theme : {Theme::makeDefault(false), Theme::makeMono(false)}) {
        const Theme::Fonts& set = theme.fonts;  // comfortable and compact
        fonts.insert(fonts.end(), {set.value, set.label, set.detailTitle, set.detailValue});
    }
    for (const FontDescription& description : fonts) {
        for (FontWeight weight : {FontWeight::regular, FontWeight::semibold, FontWeight::heavy}) {
            QFont font = hudFont(description, weight);
            for (const QString& text : texts) {
                EXPECT_EQ(missingCharacters(text, font), QString()) << text.toStdString();
            }
        }
    }
}

TEST(GlyphCoverageTest, EverySymbolHasItsGlyphInTheIconFont) {
    ASSERT_TRUE(iconFontFamily()) << "fonts-material-design-icons-iconfont is not installed";
    QRawFont icons = QRawFont::fromFont(QFont(*iconFontFamily()));
    for (const SymbolGlyph& symbol : allSymbolGlyphs()) {
        EXPECT_TRUE(icons.supportsCharacter(QChar(symbol.codepoint))) << symbol.name;
        EXPECT_EQ(symbolText(symbol.name), QString(QChar(symbol.codepoint)));
    }
    for (const StatDescriptor& descriptor : samples::all()) {
        EXPECT_FALSE(symbolText(descriptor.symbol).isEmpty()) << descriptor.symbol;
    }
    EXPECT_TRUE(symbolText("no.such.symbol").isEmpty());
}

TEST(GlyphCoverageTest, AMissingIconFontIsReportedOnceAndLeavesNoFamily) {
    testing::internal::CaptureStderr();
    const std::array<QString, 1> paths{QStringLiteral("/nonexistent/MaterialIcons.ttf")};
    EXPECT_FALSE(loadIconFont(paths));
    std::string output = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("Material Icons"), std::string::npos);
}

}  // namespace
}  // namespace glintdeck
