#include "Samples/SamplePictures.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vstation {
namespace pictures {

namespace {

// ---- PNG container ---------------------------------------------------------

const std::array<uint32_t, 256>& crcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t crc32(const std::string& bytes, size_t from) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) {
        c = crcTable()[(c ^ static_cast<uint8_t>(bytes[i])) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

uint32_t adler32(const std::vector<uint8_t>& bytes) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBigEndian(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value >> 24));
    out.push_back(static_cast<char>(value >> 16));
    out.push_back(static_cast<char>(value >> 8));
    out.push_back(static_cast<char>(value));
}

void putChunk(std::string& out, const char type[4], const std::string& data) {
    putBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    putBigEndian(out, crc32(out, typeAt));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string storedZlib(const std::vector<uint8_t>& raw) {
    constexpr size_t kBlock = 65535;
    std::string out;
    out.reserve(raw.size() + raw.size() / kBlock * 5 + 16);
    out.push_back(static_cast<char>(0x78));  // deflate, 32 KiB window
    out.push_back(static_cast<char>(0x01));  // no dictionary; header check
    size_t at = 0;
    do {
        const size_t length = std::min(kBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(static_cast<char>(last ? 1 : 0));
        out.push_back(static_cast<char>(length & 0xFF));
        out.push_back(static_cast<char>(length >> 8));
        out.push_back(static_cast<char>(~length & 0xFF));
        out.push_back(static_cast<char>((~length >> 8) & 0xFF));
        out.append(reinterpret_cast<const char*>(raw.data()) + at, length);
        at += length;
    } while (at < raw.size());
    putBigEndian(out, adler32(raw));
    return out;
}

// ---- drawing ------------------------------------------------------------------

struct Rgb {
    uint8_t r, g, b;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill)
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width * height) * 3) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) set(x, y, fill);
        }
    }

    void set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
        uint8_t* p = &m_pixels[(static_cast<size_t>(y) * m_width + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    // Ellipse centred at (cx, cy) with radii (rx, ry); only rows in [fromY, toY).
    void ellipse(double cx, double cy, double rx, double ry, Rgb c, int fromY = 0, int toY = 1 << 20) {
        for (int y = std::max(0, fromY); y < std::min(m_height, toY); ++y) {
            for (int x = 0; x < m_width; ++x) {
                const double dx = (x + 0.5 - cx) / rx;
                const double dy = (y + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) set(x, y, c);
            }
        }
    }

    const std::vector<uint8_t>& pixels() const { return m_pixels; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};

constexpr int kFaceWidth = 96;
constexpr int kFaceHeight = 112;

const Rgb kBackgrounds[] = {{70, 130, 180}, {95, 158, 110}, {176, 112, 160}, {205, 140, 70},
                            {120, 120, 200}, {60, 160, 160}, {190, 90, 90}, {140, 140, 90}};
const Rgb kSkins[] = {{241, 204, 170}, {224, 172, 130}, {198, 142, 100}, {160, 110, 75}, {120, 80, 55}};
const Rgb kHair[] = {{40, 30, 25}, {110, 70, 40}, {200, 170, 90}, {90, 90, 90}, {150, 60, 30}};
const Rgb kShirts[] = {{30, 60, 120}, {150, 40, 40}, {40, 110, 60}, {90, 90, 100}, {200, 180, 60}};

template <typename T, size_t N>
const T& pick(const T (&palette)[N], int person, int salt) {
    const unsigned index = static_cast<unsigned>(person) * 7u + static_cast<unsigned>(salt) * 3u;
    return palette[index % N];
}

double headHalfWidth(int person) { return 27 + static_cast<unsigned>(person) % 4; }

Canvas drawFace(int person) {
    Canvas c(kFaceWidth, kFaceHeight, pick(kBackgrounds, person, 0));
    const Rgb skin = pick(kSkins, person, 1);
    const Rgb hair = pick(kHair, person, 2);
    const double headWidth = headHalfWidth(person);
    c.ellipse(48, 128, 46, 34, pick(kShirts, person, 3));                // shoulders
    c.ellipse(48, 96, 9, 14, skin);                                       // neck
    c.ellipse(48, 50, headWidth + 3, 41, hair, 0, 46);                    // hair
    c.ellipse(48, 56, headWidth, 36, skin, 14);                           // head
    c.ellipse(48 - headWidth, 58, 4, 7, skin);                            // ears
    c.ellipse(48 + headWidth, 58, 4, 7, skin);
    const Rgb white{250, 250, 250}, iris{60, 40, 30}, brow = hair;
    for (int side : {-1, 1}) {
        const double ex = 48 + side * 11.5;
        c.ellipse(ex, 48, 8, 2.2, brow, 0, 47);                           // brow
        c.ellipse(ex, 54, 6, 3.6, white);                                 // eye
        c.ellipse(ex, 54, 2.6, 2.6, iris);
    }
    const Rgb shade{static_cast<uint8_t>(skin.r * 0.82), static_cast<uint8_t>(skin.g * 0.8),
                    static_cast<uint8_t>(skin.b * 0.8)};
    c.ellipse(48, 66, 3.2, 6, shade);                                     // nose
    c.ellipse(48, 78, 10, 3.6, Rgb{180, 60, 70});                         // mouth
    c.ellipse(48, 76.6, 10, 2.2, skin);                                   // upper lip line
    return c;
}

}  // namespace

std::string encodePng(uint32_t width, uint32_t height, int channels, const std::vector<uint8_t>& pixels) {
    const size_t row = static_cast<size_t>(width) * static_cast<size_t>(channels);
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * height);
    for (uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), pixels.begin() + static_cast<std::ptrdiff_t>(y * row),
                   pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * row));
    }
    std::string header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.push_back(8);                                        // bits per channel
    header.push_back(static_cast<char>(channels == 1 ? 0 : 2));  // grey or RGB
    header.append(3, '\0');                                     // deflate, basic filters, no interlace

    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", storedZlib(raw));
    putChunk(png, "IEND", std::string());
    return png;
}

std::string facePng(int person) {
    const Canvas face = drawFace(person);
    return encodePng(kFaceWidth, kFaceHeight, 3, face.pixels());
}

FaceGeometry drawnFaceGeometry(int person) {
    const double half = headHalfWidth(person);
    FaceGeometry g;
    g.x = 48 - half;
    g.y = 20;
    g.width = 2 * half;
    g.height = 72;
    g.leftEye = {36.5, 54};
    g.rightEye = {59.5, 54};
    g.leftMouth = {38, 78};
    g.rightMouth = {58, 78};
    g.noseTip = {48, 69};
    return g;
}

std::string infraredFacePng(int person) {
    // Near infrared: skin glows, cloth and background go dark, no colour.
    const Canvas face = drawFace(person);
    const std::vector<uint8_t>& rgb = face.pixels();
    std::vector<uint8_t> grey(rgb.size() / 3);
    for (size_t i = 0; i < grey.size(); ++i) {
        const double luma = 0.5 * rgb[3 * i] + 0.35 * rgb[3 * i + 1] + 0.15 * rgb[3 * i + 2];
        const double lifted = std::pow(luma / 255.0, 1.6) * 255.0;
        grey[i] = static_cast<uint8_t>(std::clamp(lifted * 1.15, 0.0, 255.0));
    }
    return encodePng(kFaceWidth, kFaceHeight, 1, grey);
}

std::string paddedTo(const std::string& png, size_t size) {
    if (size == png.size()) return png;
    if (size < png.size() + 12) {
        std::string pattern(size, '\0');
        for (size_t i = 0; i < size; ++i) pattern[i] = static_cast<char>(1 + i % 251);
        return pattern;
    }
    // "esPd": ancillary, private, safe to copy; placed before IEND.
    constexpr size_t kEndChunk = 12;
    std::string out = png.substr(0, png.size() - kEndChunk);
    putChunk(out, "esPd", std::string(size - png.size() - 12, '\0'));
    out += png.substr(png.size() - kEndChunk);
    return out;
}

std::string fingerprintImage(int finger) {
    constexpr int kSide = 64;
    std::string image(kSide * kSide, '\0');
    const double cx = 30 + finger % 5, cy = 34 - finger % 3;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const double dx = (x - 32) / 26.0, dy = (y - 32) / 30.0;
            double value = 235;  // paper outside the finger
            if (dx * dx + dy * dy <= 1.0) {
                const double r = std::hypot(x - cx, (y - cy) * 1.2);
                const double swirl = std::atan2(y - cy, x - cx) * (0.6 + 0.1 * (finger % 4));
                value = 128 + 100 * std::sin(r * 0.9 + swirl);
            }
            image[static_cast<size_t>(y * kSide + x)] =
                static_cast<char>(static_cast<uint8_t>(std::clamp(value, 16.0, 240.0)));
        }
    }
    return image;
}

}  // namespace pictures
}  // namespace vstation
