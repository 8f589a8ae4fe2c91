#include <cstdlib>

#include "runtime/core/runtime_steps.h"

void process_exit(int code) { std::exit(code); }
