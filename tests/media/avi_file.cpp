#include "tests/media/media_files.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

struct Writer {
    std::vector<unsigned char> bytes;

    void u32(std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    }
    void u16(std::uint16_t value) {
        bytes.push_back(static_cast<unsigned char>(value));
        bytes.push_back(static_cast<unsigned char>(value >> 8));
    }
    void fourcc(const char* code) { bytes.insert(bytes.end(), code, code + 4); }
    // Starts a chunk or list; returns where its size goes.
    std::size_t open(const char* code) {
        fourcc(code);
        u32(0);
        return bytes.size() - 4;
    }
    void close(std::size_t size_at) {
        auto size = static_cast<std::uint32_t>(bytes.size() - size_at - 4);
        for (int i = 0; i < 4; ++i) bytes[size_at + i] = static_cast<unsigned char>(size >> (8 * i));
        if (bytes.size() % 2) bytes.push_back(0);
    }
};

}  // namespace

bool write_avi(const std::u16string& path, int width, int height, int frames) {
    const std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t frame_size = row * static_cast<std::uint32_t>(height);
    Writer w;
    std::size_t riff = w.open("RIFF");
    w.fourcc("AVI ");

    std::size_t hdrl = w.open("LIST");
    w.fourcc("hdrl");
    std::size_t avih = w.open("avih");
    w.u32(100000);                // microseconds per frame
    w.u32(frame_size * 10);       // max bytes per second
    w.u32(0);                     // padding granularity
    w.u32(0x10);                  // AVIF_HASINDEX
    w.u32(static_cast<std::uint32_t>(frames));
    w.u32(0);                     // initial frames
    w.u32(1);                     // streams
    w.u32(frame_size);            // suggested buffer size
    w.u32(static_cast<std::uint32_t>(width));
    w.u32(static_cast<std::uint32_t>(height));
    for (int i = 0; i < 4; ++i) w.u32(0);
    w.close(avih);

    std::size_t strl = w.open("LIST");
    w.fourcc("strl");
    std::size_t strh = w.open("strh");
    w.fourcc("vids");
    w.fourcc("DIB ");
    w.u32(0);  // flags
    w.u16(0);  // priority
    w.u16(0);  // language
    w.u32(0);  // initial frames
    w.u32(1);  // scale
    w.u32(10); // rate: 10 frames per second
    w.u32(0);  // start
    w.u32(static_cast<std::uint32_t>(frames));
    w.u32(frame_size);
    w.u32(0xFFFFFFFF);  // quality: default
    w.u32(0);           // sample size: varies
    w.u16(0);
    w.u16(0);
    w.u16(static_cast<std::uint16_t>(width));
    w.u16(static_cast<std::uint16_t>(height));
    w.close(strh);
    std::size_t strf = w.open("strf");
    w.u32(40);  // BITMAPINFOHEADER
    w.u32(static_cast<std::uint32_t>(width));
    w.u32(static_cast<std::uint32_t>(height));
    w.u16(1);   // planes
    w.u16(24);  // bits per pixel
    w.u32(0);   // BI_RGB
    w.u32(frame_size);
    for (int i = 0; i < 4; ++i) w.u32(0);
    w.close(strf);
    w.close(strl);
    w.close(hdrl);

    std::size_t movi = w.open("LIST");
    std::size_t movi_start = w.bytes.size();  // index offsets count from the 'movi' code
    w.fourcc("movi");
    std::vector<std::uint32_t> offsets;
    for (int f = 0; f < frames; ++f) {
        offsets.push_back(static_cast<std::uint32_t>(w.bytes.size() - movi_start));
        std::size_t chunk = w.open("00db");
        w.bytes.insert(w.bytes.end(), frame_size, static_cast<unsigned char>(40 + (f * 8) % 200));
        w.close(chunk);
    }
    w.close(movi);

    std::size_t idx1 = w.open("idx1");
    for (std::uint32_t offset : offsets) {
        w.fourcc("00db");
        w.u32(0x10);  // AVIIF_KEYFRAME
        w.u32(offset);
        w.u32(frame_size);
    }
    w.close(idx1);
    w.close(riff);

    std::ofstream file(std::filesystem::path(path), std::ios::binary);
    return static_cast<bool>(file.write(reinterpret_cast<const char*>(w.bytes.data()),
                                        static_cast<std::streamsize>(w.bytes.size())));
}
