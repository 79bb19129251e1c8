#include "code_page.h"

#include "text_units.h"

namespace kzo {

namespace {
bool doubleByteCodePage = false;
}  // namespace

void fuzz::useDoubleByteCodePage(bool doubleByte) { doubleByteCodePage = doubleByte; }

bool fuzz::leadByte(unsigned char c) {
    return doubleByteCodePage && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

bool systemLeadByte(unsigned char c) { return fuzz::leadByte(c); }

}  // namespace kzo
