// Simple one-to-one case folding of UTF-16 units for comparisons that ignore
// case: ASCII, Latin-1, Latin Extended-A, and the basic Greek and Cyrillic
// letters. Units outside those ranges (surrogates included) compare exactly.
#pragma once

char16_t case_fold(char16_t c);
