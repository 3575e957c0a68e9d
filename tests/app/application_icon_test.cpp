// The program's icon without an installed icon theme entry, as when it runs from the build tree.
#include "app/ApplicationIcon.h"

#include <QIcon>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ApplicationIcon, BuiltInWhenTheThemeHasNone) {
    const QStringList paths = QIcon::themeSearchPaths();
    const QTemporaryDir emptyThemes;
    QIcon::setThemeSearchPaths({emptyThemes.path()});
    const QIcon icon = ApplicationIcon();
    QIcon::setThemeSearchPaths(paths);

    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    EXPECT_EQ(icon.pixmap(QSize(48, 48), 1.0).size(), QSize(48, 48));
}
