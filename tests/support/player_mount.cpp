#include "tests/support/player_mount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// As large as the tmpfs: room for a few songs and playlists.
constexpr off_t EXFAT_IMAGE_BYTES = 32 << 20;

// Runs the command and waits for it; true when it exited with 0. Its
// standard output goes to output when given, else nowhere; its errors to the
// test's own, where a failure is read.
bool run(std::vector<std::string> command, std::string* output = nullptr) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipe_ends[0]);
        close(pipe_ends[1]);
        return false;
    }
    if (pid == 0) {
        const int out = output ? pipe_ends[1] : open("/dev/null", O_WRONLY);
        dup2(out, 1);
        std::vector<char*> argv;
        for (std::string& word : command) argv.push_back(word.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipe_ends[1]);
    char buffer[256];
    for (ssize_t got; (got = read(pipe_ends[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0 && output) output->append(buffer, static_cast<std::size_t>(got));
        if (got < 0 && errno != EINTR) break;
    }
    close(pipe_ends[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Empty when the device can be opened for reading and writing, else why not.
std::string device_problem(const char* device) {
    const int handle = open(device, O_RDWR | O_CLOEXEC);
    if (handle >= 0) {
        close(handle);
        return {};
    }
    return std::string(device) + ": " + std::strerror(errno);
}

}  // namespace

PlayerMount::PlayerMount(std::filesystem::path where, PlayerFileSystem system) : at(std::move(where)) {
    std::filesystem::create_directories(at);
    if (system == PlayerFileSystem::exfat) {
        mount_exfat();
        return;
    }
    mounted = mount("tunelathe-player", at.c_str(), "tmpfs", 0, "size=32m") == 0;
    if (!mounted) problem = std::string("mounting a tmpfs: ") + std::strerror(errno);
}

void PlayerMount::mount_exfat() {
    // Without a loop device or FUSE no exFAT image can be mounted at all.
    for (const char* device : {"/dev/loop-control", "/dev/fuse"}) {
        problem = device_problem(device);
        if (!problem.empty()) {
            supported = false;
            problem = "this machine cannot mount an exFAT image: " + problem;
            return;
        }
    }
    // A fresh file, even if an earlier run that crashed left its image
    // attached to a loop device.
    image_ = at.parent_path() / (at.filename().string() + ".exfat");
    std::filesystem::remove(image_);
    const int image = open(image_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const bool sized = image >= 0 && ftruncate(image, EXFAT_IMAGE_BYTES) == 0;
    if (image >= 0) close(image);
    if (!sized) {
        problem = "making the image " + image_.string() + ": " + std::strerror(errno);
        return;
    }
    if (!run({"mkfs.exfat", "-L", "PLAYER", image_.string()})) {
        problem = "mkfs.exfat failed on " + image_.string();
        return;
    }
    std::string shown;
    if (!run({"losetup", "--find", "--show", image_.string()}, &shown) || shown.empty()) {
        problem = "losetup found no loop device for " + image_.string();
        return;
    }
    loop_device_ = shown.substr(0, shown.find('\n'));
    mounted = run({"mount.exfat-fuse", loop_device_, at.string()});
    if (!mounted) problem = "mount.exfat-fuse failed to mount " + loop_device_ + " at " + at.string();
}

PlayerMount::~PlayerMount() {
    // A FUSE block device mount ends once its file system has written
    // everything; a file still open keeps it busy, and then it goes when closed.
    if (mounted && umount2(at.c_str(), 0) != 0) umount2(at.c_str(), MNT_DETACH);
    // A device still busy is detached by the kernel once its last user closes it.
    if (!loop_device_.empty()) run({"losetup", "--detach", loop_device_});
    if (!image_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(image_, ignored);
    }
}
