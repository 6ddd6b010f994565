#include "setup/ui/SetupWindow.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>

using qv::setup::SetupWindow;

TEST(SetupWindow, ShowsItsOwnIconAtEveryUsualSize) {
    SetupWindow window;
    const QIcon icon = window.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48}) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_FALSE(image.isNull()) << size;
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(drawn, image.width() * image.height() / 4) << size;
        EXPECT_LT(drawn, image.width() * image.height()) << size << ": a shape, not a square";
    }
}
