// Files under Linux, and the player: a tmpfs mounted for the test program,
// which holds each test's folder too. A dropped file's player path is its
// path from there, so the files dropped are made on it first.
#include "tests/app/app_support.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "tests/app/gtk/app_gtk.h"
#include "tests/support/player_mount.h"

const wchar_t SEPARATOR = L'/';

namespace {

const PlayerMount& player() {
    static const PlayerMount mount(std::filesystem::temp_directory_path() /
                                   ("tunelathe-app-player-" + std::to_string(getpid())));
    return mount;
}

std::u16string player_root() { return u16(wide_of(player().at.c_str())); }

}  // namespace

bool exists(const std::wstring& path) {
    struct stat status;
    return lstat(native_path(path).c_str(), &status) == 0;
}

bool make_folder(const std::wstring& path) { return mkdir(native_path(path).c_str(), 0755) == 0; }

std::vector<std::wstring> names_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    DIR* listing = opendir(native_path(folder).c_str());
    if (!listing) return names;
    while (const dirent* found = readdir(listing)) {
        if (std::strcmp(found->d_name, ".") == 0 || std::strcmp(found->d_name, "..") == 0) continue;
        names.push_back(wide_of(found->d_name));
    }
    closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

void remove_tree(const std::wstring& path) {
    std::error_code ignored;
    std::filesystem::remove_all(native_path(path), ignored);
}

bool fill_with_file(const std::wstring& path) {
    const int file = open(native_path(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) return false;
    const std::string block(1024, 'x');
    while (write(file, block.data(), block.size()) > 0) {
    }
    close(file);
    return true;
}

std::u16string player_file(const std::u16string& player_path) {
    const std::u16string local = player_root() + player_path;
    make_on_player(local, false);
    return local;
}

std::u16string player_folder(const std::u16string& player_path) {
    const std::u16string local = player_root() + player_path;
    make_on_player(local, true);
    return local;
}

std::u16string on_volume_of(const std::wstring& local, const std::u16string& player_path) {
    const std::u16string root = player_root();
    return u16(local).starts_with(root) ? root + player_path : u"(not on the test's player)";
}

std::u16string from_volume_root(const std::wstring& local) {
    const std::u16string root = player_root();
    return u16(local).starts_with(root) ? u16(local).substr(root.size()) : u"(not on the test's player)";
}

std::wstring folder_named_in(const char* variable) {
    const char* folder = std::getenv(variable);
    return folder ? wide_of(folder) : std::wstring();
}

std::wstring new_test_folder() {
    if (!player().mounted) {
        ADD_FAILURE() << "no player mounted for the tests (they run as root): " << player().problem;
        return {};
    }
    static int made = 0;
    const std::wstring folder = wide_of(player().at.c_str()) + L"/test-" + std::to_wstring(++made);
    remove_tree(folder);
    return make_folder(folder) ? folder : std::wstring();
}

std::wstring wide_of(const char* utf8) {
    std::wstring text;
    if (!utf8) return text;
    glong length = 0;
    gunichar* characters = g_utf8_to_ucs4_fast(utf8, -1, &length);
    text.assign(characters, characters + length);
    g_free(characters);
    return text;
}

std::string utf8(const std::u16string& text) {
    gchar* bytes = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(text.c_str()), static_cast<glong>(text.size()),
                                   nullptr, nullptr, nullptr);
    std::string result = bytes ? bytes : "";
    g_free(bytes);
    return result;
}

UnopenableFile::UnopenableFile(std::wstring path) : path_(std::move(path)) {
    const std::string name = native_path(path_);
    holds_ = rename(name.c_str(), (name + ".away").c_str()) == 0 && symlink(name.c_str(), name.c_str()) == 0;
}

UnopenableFile::~UnopenableFile() {
    const std::string name = native_path(path_);
    unlink(name.c_str());
    rename((name + ".away").c_str(), name.c_str());
}

const unsigned READ_ONLY_MARKS = 0444;
const unsigned UNUSUAL_MARKS = 0705;
const unsigned PLAIN_MARKS = 0644;

bool set_file_marks(const std::wstring& path, unsigned marks) { return chmod(native_path(path).c_str(), marks) == 0; }

bool has_file_marks(const std::wstring& path, unsigned marks) {
    struct stat status;
    return stat(native_path(path).c_str(), &status) == 0 && (status.st_mode & 07777) == marks;
}
