#include "tests/scenario/gtk/file_drag.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Where the source's window stands, clear of the program's centred window.
constexpr int SOURCE_X = 1100, SOURCE_Y = 20;

// The source, running until the drag is done: it ends with its input.
class FileSource {
public:
    explicit FileSource(const std::vector<std::string>& items) {
        std::vector<std::string> args{GTK_FILE_SOURCE, std::to_string(SOURCE_X), std::to_string(SOURCE_Y)};
        args.insert(args.end(), items.begin(), items.end());
        int to_source[2], from_source[2];
        if (pipe(to_source) != 0) return;
        if (pipe(from_source) != 0) {
            close(to_source[0]);
            close(to_source[1]);
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(to_source[0], 0);
            dup2(from_source[1], 1);
            close(to_source[1]);
            close(from_source[0]);
            std::vector<char*> argv;
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(to_source[0]);
        close(from_source[1]);
        input_ = to_source[1];
        char line[6] = {};
        ready_ = pid_ > 0 && read(from_source[0], line, 6) == 6 && std::string(line, 5) == "ready";
        close(from_source[0]);
    }
    ~FileSource() {
        if (input_ >= 0) close(input_);
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool ready() const { return ready_; }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    bool ready_ = false;
};

bool drag_from(XPerson& person, const std::vector<std::string>& items, int to_x, int to_y) {
    FileSource source(items);
    if (!source.ready()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // drawn
    person.drag(SOURCE_X + 60, SOURCE_Y + 30, to_x, to_y);
    // The target asks the source for the data after the release.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return true;
}

}  // namespace

bool drag_files(XPerson& person, const std::vector<std::string>& paths, int to_x, int to_y) {
    return drag_from(person, paths, to_x, to_y);
}

bool drag_uri_list(XPerson& person, const std::string& list, int to_x, int to_y) {
    return drag_from(person, {"--raw", list}, to_x, to_y);
}
