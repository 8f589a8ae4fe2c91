// A person dragging files from another program (a file manager) onto a list
// gadget, for the drop tests every back end runs: the platform's own drag
// steps end in the list's drop target as they would from that program.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "runtime/core/object_table.h"

// Where the files were let go, in the target's own coordinates (as a drop
// record gives them).
struct DropPoint {
    int x;
    int y;
};

// Picks the files up in the other program, moves them onto the row (with row
// -1 below the last row) and lets go, with the keys held throughout
// (DROP_KEY_SHIFT, DROP_KEY_CONTROL, DROP_KEY_ALT of runtime/gui/drop_effect.h);
// whether the list takes them is the list's answer.
DropPoint drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files,
                              int keys = 0);
// The same onto a point of a window's inner area.
DropPoint drag_files_onto_window(ObjectNumber window, int x, int y, const std::vector<std::filesystem::path>& files);

// Once the next requester is shown, the person drags the files onto the row
// as above and then answers the requester with its OK button.
class DragDuringRequester {
public:
    DragDuringRequester(ObjectNumber list, int row, std::vector<std::filesystem::path> files);
    ~DragDuringRequester();
    DragDuringRequester(const DragDuringRequester&) = delete;
    DragDuringRequester& operator=(const DragDuringRequester&) = delete;
    bool done() const;  // dragged and answered

    struct Watch;

private:
    std::unique_ptr<Watch> watch_;
};
