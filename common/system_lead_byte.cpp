#include <windows.h>

#include "text_units.h"

namespace kzo {

bool systemLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

}  // namespace kzo
