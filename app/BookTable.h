// The fixed table of 66 books with its heading row.
#pragma once

constexpr int BookTableRows = 67;
constexpr int BookTableCols = 5;

extern const char* const BookTable[BookTableRows][BookTableCols];
