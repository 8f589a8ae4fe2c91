#include "tests/support/test_folder.h"

#include <cstdlib>

std::filesystem::path test_folder_from(const char* variable) {
    const char* folder = std::getenv(variable);
    return folder ? folder : "";
}
