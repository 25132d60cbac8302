// What keeps the map's memory bounded: the page processes the engine starts, and pages that hold
// only the recording shown however many were shown before.
#include <QDir>
#include <QFile>
#include <QStringList>
#include <unistd.h>

#include "map_scripts.h"
#include "map_test_support.h"
#include "web_engine_setup.h"

namespace {

// The command lines of every process below this one.
QStringList DescendantCommandLines(pid_t pid) {
    QStringList lines;
    const QStringList tasks = QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& task : tasks) {
        QFile children(QStringLiteral("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (!children.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            const pid_t childPid = child.trimmed().toInt();
            if (childPid <= 0) continue;
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(childPid));
            if (cmdline.open(QIODevice::ReadOnly)) lines << QString::fromUtf8(cmdline.readAll().replace('\0', ' '));
            lines << DescendantCommandLines(childPid);
        }
    }
    return lines;
}

// One recording as the viewer sends it: both lines emptied, the whole track, then the car moving
// along its first points.
void SendRecording(CMapWindow& dlg, int n, int points) {
    dlg.RunScript(kPathDrivedDeleteScript);
    dlg.RunScript(kPathDeleteScript);
    for (int i = 0; i < points; ++i)
        dlg.RunScript(PathPlotScript(52.52 + 0.0001 * i, 13.40 + 0.0001 * n));
    for (int i = 0; i < 20; ++i)
        dlg.MovePos(52.52 + 0.0001 * i, 1, 13.40 + 0.0001 * n);
}

// Objects the page holds: Leaflet's layers on the map, or the plain drawing's canvases.
int PageObjects(CMapBrowser* browser) {
    return EvalJs(browser, R"((function () {
        var d = VeltrixTrack.active();
        if (d.mode === 'leaflet') { var n = 0; d.map.eachLayer(function () { n++; }); return n; }
        return document.querySelectorAll('canvas').length;
      })())")
        .toInt();
}

} // namespace

TEST(EngineSwitches, ZygoteIsLeftOutOnlyWithoutTheSandbox) {
    EXPECT_TRUE(CanLeaveOutZygote("1", ""));
    EXPECT_TRUE(CanLeaveOutZygote("", "--disable-gpu --no-sandbox"));
    EXPECT_FALSE(CanLeaveOutZygote("", ""));
    EXPECT_FALSE(CanLeaveOutZygote("0", "--disable-gpu"));
    EXPECT_FALSE(CanLeaveOutZygote("", "--no-sandboxing"));
}

using MapMemory = MapWindowFixture;

TEST_F(MapMemory, PagesRunInARendererWithoutZygoteAndHoldOnlyTheRecordingShown) {
    for (int kind : {2, 0}) {
        SCOPED_TRACE(kind);
        CMapBrowser* browser = ShowPage(kind);
        ASSERT_NE(browser, nullptr);
        SendRecording(*dlg, 0, 300);
        ASSERT_EQ(MapState(browser).value("path").toInt(), 300);
        const int objects = PageObjects(browser);
        EXPECT_GT(objects, 0);
        for (int n = 1; n <= 40; ++n)
            SendRecording(*dlg, n, 300 + n);
        const QJsonObject state = MapState(browser);
        EXPECT_EQ(state.value("path").toInt(), 340);
        // movpos adds each position to the driven line, which the next recording empties.
        EXPECT_EQ(state.value("drived").toInt(), 20);
        EXPECT_EQ(PageObjects(browser), objects);
        EXPECT_EQ(EvalJs(browser, "VeltrixTrack.model.path.length + ':' + VeltrixTrack.model.drived.length").toString(),
                  "340:20");
    }

    // Without the sandbox (as the tests run) the engine starts its renderer directly. An engine
    // started before the map's set-up in this program (a lone profile in another test) did not
    // get the switches; its helpers lack the set-up's language switch.
    const QList<QByteArray> flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").split(' ');
    ASSERT_TRUE(flags.contains("--no-zygote"));
    QString lang;
    for (const QByteArray& flag : flags)
        if (flag.startsWith("--lang=")) lang = QString::fromUtf8(flag) + ' ';
    const QStringList helpers = DescendantCommandLines(getpid()).filter(lang);
    if (helpers.isEmpty()) GTEST_SKIP() << "the engine was started before the map's set-up";
    EXPECT_TRUE(helpers.filter(QStringLiteral("--type=zygote")).isEmpty()) << helpers.join('\n').toStdString();
    EXPECT_FALSE(helpers.filter(QStringLiteral("--type=renderer")).isEmpty()) << helpers.join('\n').toStdString();
}
