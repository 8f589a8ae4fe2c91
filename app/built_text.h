// Keeps the text a runtime operation builds (a line read, a row's text, a
// chosen file name) in a variable, leaving the text builder as it was.
#pragma once

#include "runtime/text/text_value.h"

template <class Operation>
Text Built(Operation operation) {
    return TextBuild() + [&](int) { operation(); };
}
