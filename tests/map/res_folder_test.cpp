// Where the program finds its map pages: the variable, an installed tree, the build tree.
#include "res_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ResFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }
    // A folder <root>/<relative> holding the OpenStreetMap page.
    QString PagesIn(const QString& relative) {
        const QString folder = m_root.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(folder));
        QFile page(folder + QStringLiteral("/OpenLayer.html"));
        EXPECT_TRUE(page.open(QIODevice::WriteOnly));
        return folder;
    }
    QString Path(const QString& relative) const { return m_root.filePath(relative); }

    QTemporaryDir m_root;
};

TEST_F(ResFolderTest, InstalledTreeComesBeforeAResFolderBesideTheProgram) {
    const QString installed = PagesIn(QStringLiteral("usr/share/veltrix/res"));
    PagesIn(QStringLiteral("usr/bin/res"));
    EXPECT_EQ(ChooseResFolder({}, Path(QStringLiteral("usr/bin")), QStringLiteral("/build/res")), installed);
}

TEST_F(ResFolderTest, BuildTreeFolderBesideTheProgramThenTheCompiledInOne) {
    const QString beside = PagesIn(QStringLiteral("build/res"));
    EXPECT_EQ(ChooseResFolder({}, Path(QStringLiteral("build")), QStringLiteral("/b/res")), beside);
    QDir().mkpath(Path(QStringLiteral("tests/share/veltrix/res"))); // a folder without pages
    EXPECT_EQ(ChooseResFolder({}, Path(QStringLiteral("tests")), QStringLiteral("/b/res")),
              QStringLiteral("/b/res"));
}

TEST_F(ResFolderTest, VariableWinsEvenOverAnInstalledTree) {
    PagesIn(QStringLiteral("usr/share/veltrix/res"));
    EXPECT_EQ(ChooseResFolder(Path(QStringLiteral("mine")), Path(QStringLiteral("usr/bin")), {}),
              Path(QStringLiteral("mine")));
}

} // namespace
