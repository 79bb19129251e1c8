// The task list's font between the stored settings and the system's LOGFONTA.
#include <gtest/gtest.h>

#include <string>

#include "list_font.h"

namespace kzo {
namespace {

TEST(ListFont, EveryFieldGoesToTheSystemAndBackAndTheFaceIsCutToItsField) {
    ListFont font;
    font.height = -13;
    font.width = 7;
    font.escapement = 900;
    font.orientation = 450;
    font.weight = 700;
    font.italic = 1;
    font.underline = 1;
    font.strikeOut = 1;
    font.charSet = 204;
    font.outPrecision = 3;
    font.clipPrecision = 2;
    font.quality = 5;
    font.pitchAndFamily = 0x22;
    font.face = std::string(31, 'f');
    EXPECT_EQ(font, listFontOf(logFontOf(font)));

    font.face = std::string(40, 'g');
    EXPECT_EQ(std::string(31, 'g'), listFontOf(logFontOf(font)).face);
}

}  // namespace
}  // namespace kzo
