#include "sample/bitmap.h"

#include "sample/iff_builder.h"

namespace adultify::sample {

Bytes Bitmap24(int width, int height, const std::function<Colour(int, int)>& pixel) {
    const int stride = (width * 3 + 3) / 4 * 4;
    Bytes out;
    PutText(out, "BM");
    PutU32(out, 0); // the game leaves the file-size field 0
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, 24);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(stride * height));
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int row = height - 1; row >= 0; --row) { // bottom-up
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            const Colour c = pixel(x, row);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        out.resize(start + static_cast<std::size_t>(stride), 0);
    }
    return out;
}

namespace {

Colour Head(int x, int y, int w, int h, Colour skin, Colour hair, Colour background) {
    const int cx = w / 2, cy = h / 2 + 1;
    const int rx = w * 2 / 5, ry = h * 2 / 5;
    const int dx = x - cx, dy = y - cy;
    const bool inHead = dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry;
    if (!inHead) return background;
    if (dy < -ry / 2) return hair;
    const bool eye = (dy == -ry / 5) && (dx == -rx / 2 || dx == rx / 2);
    const bool mouth = (dy == ry / 2) && dx > -rx / 3 && dx < rx / 3;
    if (eye || mouth) return {40, 20, 20};
    return skin;
}

} // namespace

Bytes ThumbnailBitmap(Colour skin, Colour hair) {
    return Bitmap24(25, 25, [&](int x, int y) {
        return Head(x, y, 25, 25, skin, hair, {230, 230, 210});
    });
}

Bytes FacesBitmap(Colour skin, Colour hair) {
    return Bitmap24(105, 41, [&](int x, int y) {
        return Head(x % 35, y, 35, 41, skin, hair, {0, 0, 160});
    });
}

} // namespace adultify::sample
