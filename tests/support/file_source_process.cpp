#include "tests/support/file_source_process.h"

#include <sys/wait.h>
#include <unistd.h>

FileSourceProcess::FileSourceProcess(const char* program, int x, int y, const std::vector<std::string>& items) {
    std::vector<std::string> args{program, std::to_string(x), std::to_string(y)};
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
    // It says "ready" once its window offers the items.
    char line[6] = {};
    ready_ = pid_ > 0 && read(from_source[0], line, 6) == 6 && std::string(line, 5) == "ready";
    close(from_source[0]);
}

FileSourceProcess::~FileSourceProcess() {
    if (input_ >= 0) close(input_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
}
