#pragma once

// Windows-1252, the code page of the remembered password's stored form and
// of the CSV file for head office, one character at a time.
namespace tolven {

// The character of a code; the five codes 0x80..0x9F the code page leaves
// free stand for the control characters of the same number, as Windows
// reads them.
char16_t FromWindows1252(unsigned char code);
// The code of ch, or -1 when the code page lacks it.
int ToWindows1252(char16_t ch);

} // namespace tolven
