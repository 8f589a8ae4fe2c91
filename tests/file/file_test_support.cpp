#include "tests/file/file_test_support.h"

#include <atomic>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "runtime/file/file.h"
#include "runtime/text/text.h"

namespace {

class FileEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(text_init());
        ASSERT_TRUE(file_init());
    }
    void TearDown() override {
        file_close_all();
        text_end();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new FileEnvironment);

std::atomic<int> folder_count{0};

int process_id() {
#ifdef _WIN32
    return static_cast<int>(GetCurrentProcessId());
#else
    return static_cast<int>(getpid());
#endif
}

}  // namespace

void FileTest::SetUp() {
    folder_ = std::filesystem::temp_directory_path() /
              ("tunelathe-file-" + std::to_string(process_id()) + "-" + std::to_string(folder_count++));
    std::filesystem::remove_all(folder_);
    ASSERT_TRUE(std::filesystem::create_directories(folder_));
    text_builder_ensure();
}

void FileTest::TearDown() {
    file_close(-1);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::u16string FileTest::path(const std::string& name) const { return fs_path(name).u16string(); }

void FileTest::put(const std::string& name, const std::string& bytes) const {
    std::ofstream out(fs_path(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}

std::string FileTest::get(const std::string& name) const {
    std::ifstream in(fs_path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string error_text() {
    int mark = text_builder_mark();
    std::u16string text = file_error_text();
    text_builder_rewind(mark);
    return text;
}

std::u16string read_line(ObjectNumber number) {
    int mark = text_builder_mark();
    std::u16string line = file_read_line(number);
    text_builder_rewind(mark);
    return line;
}

std::u16string read_all_lines(ObjectNumber number, char16_t separator) {
    std::u16string lines;
    for (int guard = 0; file_eof(number) == 0 && guard < 100000; ++guard) {
        if (guard > 0) lines += separator;
        lines += read_line(number);
    }
    return lines;
}

std::u16string read_lines_at_once(ObjectNumber number, char16_t separator) {
    const int mark = text_builder_mark();
    const int count = file_read_lines(number);
    const char16_t* line = text_builder_address(mark);
    std::u16string lines;
    for (int i = 0; i < count; ++i) {
        if (i > 0) lines += separator;
        lines += line;
        line += std::char_traits<char16_t>::length(line) + 1;
    }
    EXPECT_EQ(line, text_builder_address(text_builder_mark())) << "the builder is left behind the last null";
    text_builder_rewind(mark);
    return lines;
}

#ifdef _WIN32

void make_read_only(const std::filesystem::path& file) {
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
}

void make_writable(const std::filesystem::path& file) {
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool writable_anyway(const std::filesystem::path& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

#else

void make_read_only(const std::filesystem::path& file) {
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
}

void make_writable(const std::filesystem::path& file) { chmod(file.c_str(), 0644); }

bool writable_anyway(const std::filesystem::path& file) {
    int fd = open(file.c_str(), O_WRONLY);
    if (fd < 0) return false;
    close(fd);
    return true;
}

int as_another_user(int (*body)(void*), void* context) {
    constexpr uid_t nobody = 65534;
    pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                              setresuid(nobody, nobody, nobody) != 0))
            _exit(255);
        _exit(body(context));
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return 255;
    return WEXITSTATUS(status);
}

#endif
