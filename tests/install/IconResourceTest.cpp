// The icon as the tray loads it: compiled into the windowing code at three sizes.

#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// Pixels of the icon on a panel of the given colour whose grey level differs from the panel's by
// more than half the range's middle.
int StandingOut(const QImage& icon, const QColor& panel) {
    QImage shown(icon.size(), QImage::Format_RGB32);
    shown.fill(panel);
    QPainter(&shown).drawImage(0, 0, icon);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            count += std::abs(qGray(shown.pixel(x, y)) - qGray(panel.rgb())) > 96 ? 1 : 0;
        }
    }
    return count;
}

TEST(IconResource, LoadsAtItsSizesAndStandsOutOnLightAndDarkPanels) {
    for (const int size : {16, 32, 48}) {
        const QImage icon(QStringLiteral(":/icon/kirorin-%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size));
        // A figure on a clear ground (so, with an alpha channel), not a filled square.
        EXPECT_LT(std::max(qAlpha(icon.pixel(0, size - 1)), qAlpha(icon.pixel(size - 1, 0))), 32)
            << size << " px: a corner is not clear";
        // The dark body must show on a light panel, and its light edge on a dark one.
        EXPECT_GT(StandingOut(icon, QColor(0xf0, 0xf0, 0xf0)), size * size / 6) << size;
        EXPECT_GT(StandingOut(icon, QColor(0x2b, 0x2b, 0x2b)), size * size / 10) << size;
    }
}

} // namespace
