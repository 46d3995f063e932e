#pragma once
// A picture lying inside a larger buffer, as rows of a wider bitmap would, so that a write
// outside the picture lands in guard pixels that can be checked.

#include <QImage>
#include <cstdint>
#include <vector>

namespace fuzz {

constexpr int kGuard = 3;                          // pixels of buffer around the picture
constexpr std::uint32_t kGuardPixel = 0x5AA55AA5u; // no picture pixel holds it: alpha 0x5A

class GuardedPicture {
public:
    GuardedPicture(int width, int height)
        : stride_(width + 2 * kGuard), rows_(height + 2 * kGuard),
          buffer_(size_t(stride_) * size_t(rows_), kGuardPixel), width_(width), height_(height) {
        if (width > 0 && height > 0)
            picture_ = QImage(reinterpret_cast<uchar*>(buffer_.data() + kGuard * stride_ + kGuard),
                              width, height, stride_ * 4, QImage::Format_RGB32);
    }
    GuardedPicture(const GuardedPicture&) = delete;
    GuardedPicture& operator=(const GuardedPicture&) = delete;

    QImage& picture() { return picture_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t& at(int x, int y) { return buffer_[size_t(y + kGuard) * stride_ + x + kGuard]; }
    std::uint32_t at(int x, int y) const {
        return buffer_[size_t(y + kGuard) * stride_ + x + kGuard];
    }

    bool guardIntact() const {
        for (int row = 0; row < rows_; ++row)
            for (int column = 0; column < stride_; ++column) {
                const bool inside = row >= kGuard && row < kGuard + height_ && column >= kGuard &&
                                    column < kGuard + width_;
                if (!inside && buffer_[size_t(row) * stride_ + column] != kGuardPixel)
                    return false;
            }
        return true;
    }
    // The pixels of the w x h block at (left, top), row by row.
    std::vector<std::uint32_t> pixels(int left = 0, int top = 0, int w = -1, int h = -1) const {
        w = w < 0 ? width_ : w;
        h = h < 0 ? height_ : h;
        std::vector<std::uint32_t> out;
        out.reserve(size_t(w) * size_t(h));
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x)
                out.push_back(at(x, y));
        return out;
    }
    void setPixels(const std::vector<std::uint32_t>& pixels, int left = 0, int top = 0, int w = -1,
                   int h = -1) {
        w = w < 0 ? width_ : w;
        h = h < 0 ? height_ : h;
        size_t i = 0;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x)
                at(x, y) = pixels[i++];
    }
    void fill(std::uint32_t pixel) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                at(x, y) = pixel;
    }

private:
    int stride_, rows_;
    std::vector<std::uint32_t> buffer_;
    int width_, height_;
    QImage picture_;
};

} // namespace fuzz
