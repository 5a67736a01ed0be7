#pragma once

#include <string_view>

namespace brimlow {

// True when `name` follows the Name production of XML 1.0 (fifth edition),
// with any surrogate pair accepted as a name character.
bool isXmlName(std::u16string_view name);

}  // namespace brimlow
