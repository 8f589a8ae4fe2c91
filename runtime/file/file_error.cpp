// The reason of each thread's last failed file operation.
#include "runtime/file/file_handle.h"

namespace {

thread_local int last_error = 0;

}  // namespace

void file_handle_keep_error(int code) { last_error = code; }

int file_handle_last_error() { return last_error; }
