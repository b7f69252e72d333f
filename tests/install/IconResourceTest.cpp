// The icon as the tray loads it: compiled into the windowing code at three sizes.

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// Pixels of the icon drawn over a panel of grey level `panel` that differ from it by more than
// half the range's middle: the icon's grey, weighted by its opacity, against the panel's.
int StandingOut(const QImage& icon, int panel) {
    int count = 0;
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb p = icon.pixel(x, y);
            count += std::abs((qGray(p) - panel) * qAlpha(p) / 255) > 96 ? 1 : 0;
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
        EXPECT_GT(StandingOut(icon, 0xf0), size * size / 6) << size;
        EXPECT_GT(StandingOut(icon, 0x2b), size * size / 10) << size;
    }
}

} // namespace
