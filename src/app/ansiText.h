#pragma once

// The one crossing between the program's 8-bit texts (in the active code page)
// and the toolkit's strings.

#include <QString>
#include <string>
#include <string_view>

namespace brimlow {

QString FromAnsi(std::string_view text);
std::string ToAnsi(const QString& text);
// A text of the program's own, written in UTF-8.
QString FromUtf8(std::string_view text);

}  // namespace brimlow
