// The Internet shortcut files the hyperlink label writes, free of windows.h.
#pragma once

#include <string>

namespace kzo {

// The file name of a shortcut named after a label's text: characters a file
// name cannot hold (\ / : * ? " < > | and control characters) become '_',
// leading and trailing blanks and trailing dots go, "Link" stands for a text
// with nothing left, and ".URL" follows. At most 200 characters before ".URL".
std::string internetShortcutFileName(const std::string& labelText);

// The contents of an Internet shortcut file to this address (line breaks in
// the address dropped, so that it stays one value).
std::string internetShortcutContents(const std::string& address);

}  // namespace kzo
