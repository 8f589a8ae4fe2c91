// Icon files: one 32-bit image (BGRA with an AND mask) per size.
#pragma once

#include <vector>

struct IconImage {
    int size;                         // width and height in pixels
    std::vector<unsigned char> rgba;  // straight alpha, top row first
};

std::vector<unsigned char> ico_file(const std::vector<IconImage>& images);
