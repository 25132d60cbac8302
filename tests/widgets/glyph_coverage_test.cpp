// Every text of every language, laid out with each font the windows draw it in, has a glyph for
// every character: Qt takes a character the font lacks from the fallback fonts fontconfig names
// for its script, and only a character no installed font has becomes glyph 0 (an empty box).
#include "language.h"
#include "string_tables.h"
#include "win_fonts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGlyphRun>
#include <QTextLayout>

#include <utility>
#include <vector>

namespace {

// True when laying out `text` in `font` (and its fallback chain) gives glyph 0 anywhere.
bool HasMissingGlyph(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) {
    }
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.glyphIndexes().contains(0u)) return true;
    }
    return false;
}

// The characters of `text` that no font of the chain draws, for the failure message.
QString MissingCharacters(const QString& text, const QFont& font) {
    QString missing;
    for (char32_t ch : text.toUcs4()) {
        const QString one = QString::fromUcs4(&ch, 1);
        if (HasMissingGlyph(one, font)) missing += QStringLiteral("U+%1 ").arg(uint(ch), 4, 16, QChar('0'));
    }
    return missing;
}

// The fonts texts are drawn in: the application font of buttons, lists, menus and message
// boxes, the gauges' and labels' Arial and Consolas, the about box's Georgia (bold where drawn
// bold, since a bold face may come from another file).
std::vector<std::pair<const char*, QFont>> WidgetFonts() {
    return {
        {"application", QApplication::font()},
        {"Arial", WinFont(QStringLiteral("Arial"), -14)},
        {"Arial bold", WinFont(QStringLiteral("Arial"), -14, true)},
        {"Consolas", WinFont(QStringLiteral("Consolas"), -16)},
        {"Georgia", QFont(QStringLiteral("Georgia"), 12)},
    };
}

// Layout never drops a character silently: one that no font has is reported.
TEST(GlyphCoverageTest, ACharacterNoFontHasIsFound) {
    const QString privateUse = QStringLiteral("Gear \uE000");
    for (const auto& [name, font] : WidgetFonts()) {
        EXPECT_TRUE(HasMissingGlyph(privateUse, font)) << name;
        EXPECT_EQ(MissingCharacters(privateUse, font), QStringLiteral("U+e000 ")) << name;
        EXPECT_FALSE(HasMissingGlyph(QStringLiteral("Gear"), font)) << name;
    }
}

TEST(GlyphCoverageTest, EveryTextOfEveryLanguageHasAllItsGlyphs) {
    const auto fonts = WidgetFonts();
    int checked = 0;
    for (const StringTable* table : AllStringTables()) {
        for (const LangString& entry : table->strings) {
            const QString text = QString::fromUtf8(entry.text).replace(QChar('\n'), QChar(' '));
            for (const auto& [name, font] : fonts) {
                ++checked;
                EXPECT_FALSE(HasMissingGlyph(text, font))
                    << "language " << table->langId << ", text " << entry.id << ", font " << name
                    << ": no glyph for " << MissingCharacters(text, font).toStdString();
            }
        }
    }
    EXPECT_GE(checked, 16 * 100 * int(fonts.size())) << "every table was walked";
}

TEST(GlyphCoverageTest, LanguageNamesOfTheLanguageListHaveAllTheirGlyphs) {
    for (const LanguageRow& row : LANGUAGE_TABLE) {
        for (const auto& [name, font] : WidgetFonts()) {
            const QString text = QString::fromUtf8(row.name);
            EXPECT_FALSE(HasMissingGlyph(text, font))
                << row.code << ", font " << name << ": no glyph for "
                << MissingCharacters(text, font).toStdString();
        }
    }
}

} // namespace
