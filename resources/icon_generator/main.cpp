// Draws the toolbar icons and the application icon and writes them into the
// resources folder given as the only argument:
//   toolbar/NN_name.png          (16 x 16, in image-number order)
//   toolbar/32/NN_name.png       (the same pictures drawn at 32 x 32, for
//                                 screens of two device pixels per unit)
//   app.ico                      (16, 32 and 48 pixels: the Windows program's icon)
//   app_icon/tunelathe-N.png     (the same three pictures, for the Linux
//                                 program's windows and the desktop's menus)
// Run by hand after changing a drawing; the outputs are kept in the tree.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "drawings.h"
#include "ico_file.h"
#include "png_file.h"

namespace {

bool write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::vector<unsigned char> drawn(void (*draw)(Canvas&), int size) {
    Canvas canvas = canvas_make(size);
    draw(canvas);
    return canvas_rgba(canvas);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    // Each size drawn from the shapes themselves: a 32-pixel icon is never
    // the 16-pixel one enlarged.
    for (const auto& [size, subfolder] : {std::pair{16, "/toolbar/"}, std::pair{32, "/toolbar/32/"}}) {
        for (const ToolbarPicture& picture : toolbar_pictures) {
            const std::vector<unsigned char> png =
                png_stream(drawn(picture.draw, size), size, size, picture.grey_alpha);
            const std::string path = folder + subfolder + picture.file_name;
            if (png.empty() || !write_file(path, png)) {
                std::fprintf(stderr, "icon_generator: cannot make %s\n", path.c_str());
                return 1;
            }
        }
    }
    std::vector<IconImage> images;
    for (int size : {16, 32, 48}) images.push_back(IconImage{size, drawn(draw_app_icon, size)});
    if (!write_file(folder + "/app.ico", ico_file(images))) {
        std::fprintf(stderr, "icon_generator: cannot write %s/app.ico\n", folder.c_str());
        return 1;
    }
    // One drawing, two containers: the PNGs hold the very pixels of app.ico.
    for (const IconImage& image : images) {
        const std::string path = folder + "/app_icon/tunelathe-" + std::to_string(image.size) + ".png";
        const std::vector<unsigned char> png = png_stream(image.rgba, image.size, image.size, false);
        if (png.empty() || !write_file(path, png)) {
            std::fprintf(stderr, "icon_generator: cannot make %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
