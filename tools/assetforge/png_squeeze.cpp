// Writing committed PNG assets: a palette where the colours allow, then the
// pixel data recompressed with Zopfli, the slowest and strongest deflate
// encoder: the same stream inflated, some per cent fewer bytes, and
// byte-identical from run to run. Every other chunk is kept as it is.
#include <zlib.h>
#include <zopfli/zopfli.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "forge.h"
#include "hosts/common/png_writer.h"

namespace forge {
namespace {

uint32_t Get32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
    Put32(out, static_cast<uint32_t>(size));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(size + 4))));
}

bool Inflate(const std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = static_cast<uInt>(in.size());
    uint8_t buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = buffer;
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

}  // namespace

bool SqueezePng(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> file;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        file.insert(file.end(), buffer, buffer + n);
    std::fclose(f);

    // The chunks in order, the pixel data gathered from every IDAT.
    struct Chunk {
        size_t at, size;
        bool pixels;
    };
    std::vector<Chunk> chunks;
    std::vector<uint8_t> compressed;
    for (size_t at = 8; at + 12 <= file.size();) {
        const size_t size = Get32(&file[at]);
        if (size > file.size() - at - 12) return false;
        const bool pixels = std::memcmp(&file[at + 4], "IDAT", 4) == 0;
        chunks.push_back(Chunk{at, size, pixels});
        if (pixels) compressed.insert(compressed.end(), &file[at + 8], &file[at + 8 + size]);
        at += size + 12;
    }
    std::vector<uint8_t> raw;
    if (file.size() < 8 || compressed.empty() || !Inflate(compressed, raw)) return false;

    ZopfliOptions options;
    ZopfliInitOptions(&options);
    unsigned char* squeezed = nullptr;
    size_t squeezedSize = 0;
    ZopfliCompress(&options, ZOPFLI_FORMAT_ZLIB, raw.data(), raw.size(), &squeezed, &squeezedSize);
    if (squeezedSize >= compressed.size()) {
        std::free(squeezed);
        return true;
    }
    std::vector<uint8_t> out(file.begin(), file.begin() + 8);
    bool written = false;
    for (const Chunk& c : chunks) {
        if (!c.pixels) {
            out.insert(out.end(), &file[c.at], &file[c.at + c.size + 12]);
        } else if (!written) {
            PutChunk(out, "IDAT", squeezed, squeezedSize);
            written = true;
        }
    }
    std::free(squeezed);

    // The old file stays until the new one is whole.
    const std::string temp = path + ".part";
    f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool WriteAssetPng(const std::string& path, const std::vector<uint8_t>& pixels, int width,
                   int height, int channels) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || pixels.size() != count * channels) return false;
    host::PngImage image;
    image.pixels = pixels.data();
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.compression = 9;
    image.smooth = channels == 1;
    std::vector<uint32_t> entries;  // RGBA as a big-endian word, in palette order
    std::vector<uint8_t> indices, palette;
    if (channels == 4) {
        std::vector<uint32_t> colours(count);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* p = &pixels[i * 4];
            colours[i] = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (p[2] << 8) | p[3];
        }
        entries = colours;
        // Translucent entries first, so the transparency list stops early.
        auto before = [](uint32_t a, uint32_t b) {
            const bool aOpaque = (a & 0xFF) == 0xFF, bOpaque = (b & 0xFF) == 0xFF;
            return aOpaque != bOpaque ? bOpaque : a < b;
        };
        std::sort(entries.begin(), entries.end(), before);
        entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
        if (entries.size() <= 256) {
            indices.resize(count);
            for (size_t i = 0; i < count; ++i) {
                indices[i] = static_cast<uint8_t>(
                    std::lower_bound(entries.begin(), entries.end(), colours[i], before) -
                    entries.begin());
            }
            for (uint32_t e : entries) {
                for (int shift = 24; shift >= 0; shift -= 8)
                    palette.push_back(static_cast<uint8_t>(e >> shift));
            }
            image.pixels = indices.data();
            image.channels = 1;
            image.palette = palette.data();
            image.paletteSize = static_cast<int32_t>(entries.size());
        }
    }
    std::string error;
    return host::WritePngFile(path, image, &error) && SqueezePng(path);
}

}  // namespace forge
