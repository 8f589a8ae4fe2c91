// The program's arguments on Linux, from the kernel's copy of its command
// line, so that nothing has to hand them over from main.
#include "runtime/file/file_given.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "runtime/file/path_bytes.h"

std::vector<std::u16string> file_given_paths() {
    // The command line as the kernel keeps it: the arguments, each ended by
    // a null; the first is the program's own name.
    std::string line;
    const int table = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
    if (table >= 0) {
        char buffer[4096];
        for (ssize_t got; (got = read(table, buffer, sizeof buffer)) > 0;) line.append(buffer, static_cast<std::size_t>(got));
        close(table);
    }
    std::string folder;
    std::vector<std::u16string> paths;
    std::size_t start = line.find('\0');
    while (start != std::string::npos && start + 1 < line.size()) {
        const std::size_t end = line.find('\0', start + 1);
        std::string path = line.substr(start + 1, end - start - 1);
        if (!path.empty() && path.front() != '/') {
            if (folder.empty()) {
                std::unique_ptr<char, decltype(&std::free)> here(getcwd(nullptr, 0), &std::free);
                folder = here ? here.get() : ".";
            }
            path = folder + "/" + path;
        }
        paths.push_back(path_text_of(path));
        start = end;
    }
    return paths;
}
