// Files under Windows, and the player: drive C: as the tests' player.
#include "tests/app/app_support.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "tests/support/wine_path.h"

const wchar_t SEPARATOR = L'\\';

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool make_folder(const std::wstring& path) { return CreateDirectoryW(path.c_str(), nullptr); }

std::vector<std::wstring> names_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void remove_tree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : names_in(path)) remove_tree(path + L"\\" + name);
        RemoveDirectoryW(path.c_str());
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

bool fill_with_file(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string block(1024, 'x');
    DWORD written = 0;
    while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
    }
    CloseHandle(file);
    return true;
}

namespace {

std::u16string on_drive_c(const std::u16string& player_path) {
    std::u16string local = u"C:" + player_path;
    std::replace(local.begin(), local.end(), u'/', u'\\');
    return local;
}

}  // namespace

std::u16string player_file(const std::u16string& player_path) {
    const std::u16string local = on_drive_c(player_path);
    make_on_player(local, false);
    return local;
}

std::u16string player_folder(const std::u16string& player_path) {
    const std::u16string local = on_drive_c(player_path);
    make_on_player(local, true);
    return local;
}

std::u16string on_volume_of(const std::wstring& local, const std::u16string& player_path) {
    std::u16string on_drive = u16(local.substr(0, 2)) + player_path;
    std::replace(on_drive.begin(), on_drive.end(), u'/', u'\\');
    return on_drive;
}

std::u16string from_volume_root(const std::wstring& local) { return u16(local.substr(2)); }

std::wstring new_test_folder() {
    wchar_t temp[MAX_PATH];
    if (GetTempPathW(MAX_PATH, temp) == 0) return {};
    static int made = 0;
    std::wstring folder = std::wstring(temp) + L"tunelathe-app-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++made);
    remove_tree(folder);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
    wchar_t long_form[MAX_PATH];
    if (GetLongPathNameW(folder.c_str(), long_form, MAX_PATH) == 0) return {};
    return long_form;
}

std::string utf8(const std::u16string& text) {
    if (text.empty()) return {};
    const auto* source = reinterpret_cast<const wchar_t*>(text.c_str());
    int size = WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, source, static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring folder_named_in(const char* variable) { return wine_folder_from(variable); }

UnopenableFile::UnopenableFile(std::wstring path) : path_(std::move(path)) {
    HANDLE holder = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    holds_ = holder != INVALID_HANDLE_VALUE;
    if (holds_) holder_ = holder;
}

UnopenableFile::~UnopenableFile() {
    if (holds_) CloseHandle(holder_);
}

const unsigned READ_ONLY_MARKS = FILE_ATTRIBUTE_READONLY;
const unsigned UNUSUAL_MARKS = FILE_ATTRIBUTE_HIDDEN;
const unsigned PLAIN_MARKS = FILE_ATTRIBUTE_NORMAL;

bool set_file_marks(const std::wstring& path, unsigned marks) { return SetFileAttributesW(path.c_str(), marks); }

bool has_file_marks(const std::wstring& path, unsigned marks) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & marks) == marks;
}
