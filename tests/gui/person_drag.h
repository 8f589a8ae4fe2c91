// A person dragging files from another program (a file manager) onto a list
// gadget, for the drop tests every back end runs: the platform's own drag
// steps end in the list's drop target as they would from that program.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "runtime/core/object_table.h"

// Picks the files up in the other program, moves them onto the row and lets
// go; whether the list takes them is the list's answer.
void drag_files_onto_row(ObjectNumber list, int row, const std::vector<std::filesystem::path>& files);

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
