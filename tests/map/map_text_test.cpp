// Texts the map window produces without a web engine: page calls, the coordinate label, the
// degree conversion, the engine locale, the error page, script joining and page URL mapping.
#include <QByteArray>
#include <QUrl>
#include <clocale>
#include <gtest/gtest.h>

#include "web_engine_setup.h"
#include "engine_locale.h"
#include "error_page.h"
#include "map_window.h"
#include "language.h"
#include "map_scripts.h"
#include "res_folder.h"
#include "script_batch.h"

TEST(MapScripts, CallTextsHaveSixDecimalsAndTheirOwnBlanks) {
    EXPECT_EQ(MovPosScript(22.541667, 113.95235), "movpos(22.541667, 113.952350)");
    EXPECT_EQ(PathPlotScript(-33.86882, 151.2093), "path_plot(-33.868820,151.209300)");
    EXPECT_EQ(PathDrivedPlotScript(0.5, -0.25), "pathdrived_plot(0.500000,-0.250000)");
}

TEST(MapScripts, NumbersKeepTheirPointUnderACommaLocale) {
    // QApplication adopts the desktop's locale; a German one must not turn the point into a comma.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale installed";
    EXPECT_EQ(MovPosScript(22.5, 113.25), "movpos(22.500000, 113.250000)");
    EXPECT_EQ(CoordLabelText(1.5, 2.5), "1.500000N, 2.500000E");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(MapScripts, LabelKeepsTheSignAndNamesTheHemisphere) {
    EXPECT_EQ(CoordLabelText(-33.86882, 151.2093), "-33.868820S, 151.209300E");
    EXPECT_EQ(CoordLabelText(22.540833, 113.952), "22.540833N, 113.952000E");
    EXPECT_EQ(CoordLabelText(40.5, -3.75), "40.500000N, -3.750000W");
    EXPECT_EQ(CoordLabelText(0, 8.5), "0.000000N, 8.500000E");
}

TEST(MapScripts, MinutesFormBecomesDecimalDegrees) {
    EXPECT_NEAR(MinutesFormToDegrees(22.3245), 22.540833, 5e-7);
    EXPECT_NEAR(MinutesFormToDegrees(113.5712), 113.952, 5e-7);
    // The integer part is truncated toward zero, so south and west keep their degrees.
    EXPECT_NEAR(MinutesFormToDegrees(-33.5), -33.833333, 5e-7);
    EXPECT_EQ(MinutesFormToDegrees(7.0), 7.0);
}

TEST(MapPageUrls, KindPicksThePageAndOtherKindsGiveGoogle) {
    EXPECT_EQ(MapPageUrl(0), "file:///res/gmap.html");
    EXPECT_EQ(MapPageUrl(1), "file:///res/BMap.html");
    EXPECT_EQ(MapPageUrl(2), "file:///res/OpenLayer.html");
    EXPECT_EQ(MapPageUrl(5), "file:///res/gmap.html");
    EXPECT_EQ(MapPageUrl(-1), "file:///res/gmap.html");
}

TEST(EngineLocale, LanguageRowGivesTheEngineLocale) {
    EXPECT_EQ(EngineLocaleForLanguage(FindLanguage("ENG")), "en-US");
    EXPECT_EQ(EngineLocaleForLanguage(FindLanguage("SLV")), "sk");
    EXPECT_EQ(EngineLocaleForLanguage(FindLanguage("LAT")), "lv");
    EXPECT_EQ(EngineLocaleForLanguage(FindLanguage("CHT")), "zh-TW");
    EXPECT_EQ(EngineLocaleForLanguage(FindLanguage("UKR")), "uk");
    EXPECT_EQ(EngineLocaleForLanguage(99), "");
    // Every language of the table has its engine locale.
    for (int row = 0; row < kLanguageCount; ++row)
        EXPECT_FALSE(EngineLocaleForLanguage(row).empty()) << LANGUAGE_TABLE[row].code;
}

TEST(EngineLocale, SettingsCarryLocaleTwiceAndTheChromeRuntimeSwitch) {
    EngineSettings s = BuildEngineSettings({"veltrix"}, FindLanguage("SLV"));
    EXPECT_EQ(s.locale, "sk");
    EXPECT_EQ(s.accept_language_list, "sk");
    EXPECT_FALSE(s.chrome_runtime);
    EXPECT_TRUE(s.no_sandbox);
    s = BuildEngineSettings({"veltrix", "--enable-chrome-runtime"}, 99);
    EXPECT_TRUE(s.chrome_runtime);
    EXPECT_EQ(s.locale, "");
    EXPECT_EQ(s.accept_language_list, "");
    EXPECT_FALSE(HasChromeRuntimeSwitch({"veltrix", "enable-chrome-runtime", "--enable-chrome-runtimes"}));
    EXPECT_TRUE(HasChromeRuntimeSwitch({"veltrix", "-enable-chrome-runtime=1"}));
}

TEST(ErrorPage, TextNamesUrlErrorAndCode) {
    const QByteArray html = ErrorPageHtml("file:///res/x.html", "ERR_FILE_NOT_FOUND", -6);
    EXPECT_EQ(html,
              QByteArray("<html><body bgcolor=\"white\"><h2>Failed to load URL file:///res/x.html with error "
                         "ERR_FILE_NOT_FOUND (-6).</h2></body></html>"));
}

TEST(ErrorPage, DataUrlDecodesBackToThePage) {
    // A URL and text that make Base64 produce '+', '/' and '=' which must be percent-encoded.
    const QString failed = QStringLiteral("file:///res/ü?a=1&b=>>>");
    const QString url = ErrorPageDataUrl(failed, "boom ~~~", 7);
    const QString prefix = QStringLiteral("data:text/html;base64,");
    ASSERT_TRUE(url.startsWith(prefix));
    const QString payload = url.mid(prefix.size());
    EXPECT_FALSE(payload.contains(u'+'));
    EXPECT_FALSE(payload.contains(u'/'));
    EXPECT_FALSE(payload.contains(u'='));
    const QByteArray decoded = QByteArray::fromBase64(QByteArray::fromPercentEncoding(payload.toLatin1()));
    EXPECT_EQ(decoded, ErrorPageHtml(failed, "boom ~~~", 7));
}

TEST(ScriptBatch, PlainCallsAreRecognisedAndAnythingElseIsNot) {
    for (const char* s : {"path_plot(22.541667,113.952000)", "movpos(-1.5, 2.0)", "path_delete()",
                          "  f( 1 , -2.5e3 ) ; ", "$x(.5)", "g(1.)"})
        EXPECT_TRUE(IsPlainCall(s)) << s;
    for (const char* s : {"", "path_plot(1,,2)", "path_plot(1,2", "f(nan, 1)", "f(1)g(2)", "f(1); g(2)",
                          "f('x')", "a.b(1)", "f(1)}catch(e){}; evil(); try{f(2)", "1(2)", "f(-)", "f(1e)"})
        EXPECT_FALSE(IsPlainCall(s)) << s;
}

TEST(ScriptBatch, ConsecutivePlainCallsShareOneEngineCallInOrder) {
    const QStringList calls =
        JoinScripts({"path_delete()", "path_plot(1.000000,2.000000)", "movpos(1.0, 2.0)"});
    ASSERT_EQ(calls.size(), 1);
    const QString& c = calls[0];
    EXPECT_LT(c.indexOf("path_delete()"), c.indexOf("path_plot(1.000000,2.000000)"));
    EXPECT_LT(c.indexOf("path_plot("), c.indexOf("movpos("));
    // Each call sits in its own try block, so a throwing call leaves the later ones running.
    EXPECT_EQ(c.count("try{"), 3);
    EXPECT_EQ(c.count("}catch(e){}"), 3);
}

TEST(ScriptBatch, OtherScriptsTravelAloneAndSplitTheBatch) {
    const QStringList calls =
        JoinScripts({"path_plot(1,2)", "path_plot(3,4)", "var a = 1; f(a)", "path_plot(5,6)"});
    ASSERT_EQ(calls.size(), 3);
    EXPECT_TRUE(calls[0].contains("path_plot(1,2)") && calls[0].contains("path_plot(3,4)"));
    EXPECT_EQ(calls[1], "var a = 1; f(a)");
    EXPECT_TRUE(calls[2].contains("path_plot(5,6)"));
}

TEST(ScriptBatch, LongBurstsAreCutNearTheSizeLimitWithoutLosingCalls) {
    QStringList scripts;
    for (int i = 0; i < 18000; ++i)
        scripts.append(PathPlotScript(22.0 + i * 1e-5, 113.0));
    const QStringList calls = JoinScripts(scripts, 64 * 1024);
    EXPECT_GT(calls.size(), 1);
    qsizetype total = 0;
    for (const QString& c : calls) {
        EXPECT_LE(c.size(), 64 * 1024);
        total += c.count("path_plot(");
    }
    EXPECT_EQ(total, 18000);
    EXPECT_TRUE(calls.first().startsWith("try{" + scripts.first() + "}"));
    EXPECT_TRUE(calls.last().contains(scripts.last()));
}

TEST(ResFolder, PageUrlsMapIntoTheFolderAndNothingElseDoes) {
    const QString root = QStringLiteral("/opt/veltrix/res");
    EXPECT_EQ(MapResUrl(QUrl("file:///res/gmap.html"), root),
              QUrl::fromLocalFile("/opt/veltrix/res/gmap.html"));
    EXPECT_EQ(MapResUrl(QUrl("file:///res/leaflet/leaflet.css"), root),
              QUrl::fromLocalFile("/opt/veltrix/res/leaflet/leaflet.css"));
    EXPECT_TRUE(MapResUrl(QUrl("file:///res/../etc/passwd"), root).isEmpty());
    EXPECT_TRUE(MapResUrl(QUrl("file:///res/a/../../etc/passwd"), root).isEmpty());
    EXPECT_TRUE(MapResUrl(QUrl("file:///other/gmap.html"), root).isEmpty());
    EXPECT_TRUE(MapResUrl(QUrl("https://example.org/res/gmap.html"), root).isEmpty());
    EXPECT_TRUE(MapResUrl(QUrl("file:///res/"), root).isEmpty());
    EXPECT_TRUE(MapResUrl(QUrl("file:///opt/veltrix/res/gmap.html"), root).isEmpty());
}
