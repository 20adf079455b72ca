#pragma once
// Centring a title within a fixed number of characters.

// Writes exactly `width` characters and a NUL into `destination` (width + 1 characters): the
// source in the middle, spaces around it, one more space on the right when the surplus is odd.
// A source longer than `width` keeps its first `width` characters.
void centratesto(const char* source, char* destination, int width);
