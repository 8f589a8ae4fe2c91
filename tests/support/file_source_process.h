// The tests' file manager stand-in (tests/support/gtk_file_source) as a
// process of its own: its window at x, y on the screen offers the items (files,
// or "--raw" and a list sent byte for byte) until this object goes, which
// ends its input and waits for it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class FileSourceProcess {
public:
    FileSourceProcess(const char* program, int x, int y, const std::vector<std::string>& items);
    ~FileSourceProcess();
    FileSourceProcess(const FileSourceProcess&) = delete;
    FileSourceProcess& operator=(const FileSourceProcess&) = delete;
    // Its window is up and offering.
    bool ready() const { return ready_; }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    bool ready_ = false;
};
