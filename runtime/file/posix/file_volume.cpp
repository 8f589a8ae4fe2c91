// Volumes on Linux: the file system that holds a file's real path, from the
// kernel's mount table, so that a player mounted anywhere is found by where it
// is mounted rather than by the names of the folders above it.
#include "runtime/file/file_volume.h"


#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "runtime/file/mount_table.h"
#include "runtime/file/utf8.h"

namespace {

std::string native_path(const char16_t* path) {
    std::vector<unsigned char> bytes;
    std::size_t length = text_to_utf8(path, bytes);
    return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

std::u16string text_of(const std::string& bytes) {
    std::u16string text(bytes.size(), u'\0');
    text.resize(utf8_decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text.data()));
    return text;
}

std::string read_mount_table() {
    std::ifstream table("/proc/self/mountinfo", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(table), std::istreambuf_iterator<char>());
}

}  // namespace

VolumePlace file_volume_place(const char16_t* path) {
    if (!path || !*path) return {};
    std::unique_ptr<char, decltype(&std::free)> real(realpath(native_path(path).c_str(), nullptr), &std::free);
    if (!real) return {};
    std::string real_path = real.get();
    std::string mount_point = mount_point_holding(read_mount_table(), real_path);
    if (mount_point.empty()) return {};
    std::string rest = real_path.substr(mount_point.size());
    if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    if (mount_point.back() != '/') mount_point += '/';
    return {text_of(mount_point), text_of(rest)};
}

// A player mounted at /media/me/PLAYER sees /media/me/PLAYER/Music/a.mp3 as
// /Music/a.mp3, wherever it is mounted.
std::u16string file_volume_player_path(const char16_t* path) {
    VolumePlace place = file_volume_place(path);
    return place.root.empty() ? std::u16string() : u"/" + place.rest;
}
