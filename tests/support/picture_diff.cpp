#include "support/picture_diff.h"

#include <algorithm>
#include <sstream>

namespace testsupport {

QString asciiArt(const QImage& picture, const std::vector<std::pair<char, QRgb>>& legend) {
    QString art;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            QRgb pixel = picture.pixel(x, y) & 0xFFFFFF;
            auto found = std::find_if(legend.begin(), legend.end(), [&](const auto& entry) {
                return (entry.second & 0xFFFFFF) == pixel;
            });
            art += found == legend.end() ? QChar('?') : QChar(found->first);
        }
        art += '\n';
    }
    return art;
}

testing::AssertionResult samePixels(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size())
        return testing::AssertionFailure()
               << "sizes differ: expected " << expected.width() << "x" << expected.height()
               << ", got " << actual.width() << "x" << actual.height();
    int differing = 0, left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    std::ostringstream first;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            QRgb e = expected.pixel(x, y) & 0xFFFFFF, a = actual.pixel(x, y) & 0xFFFFFF;
            if (e == a)
                continue;
            if (++differing <= 5)
                first << "  (" << x << "," << y << "): expected #" << std::hex << e << ", got #"
                      << a << std::dec << "\n";
            left = std::min(left, x), top = std::min(top, y);
            right = std::max(right, x), bottom = std::max(bottom, y);
        }
    if (differing == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << differing << " pixels differ within x " << left << ".."
                                       << right << ", y " << top << ".." << bottom << ":\n"
                                       << first.str();
}

int countColour(const QImage& picture, QRgb colour, QRect area) {
    area = area.isNull() ? picture.rect() : area.intersected(picture.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}

} // namespace testsupport
