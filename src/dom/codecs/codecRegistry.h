#pragma once

// The codec registry: encoding names resolved to codec classes, and the
// byte-order mark that starts a document in a given codec.

#include <span>
#include <string_view>

#include "dom/codecs/codecs.h"

namespace brimlow::codecs {

// Every registered codec class in lookup order; UTF-8 comes first.
std::span<const TCodecClass> registeredCodecClasses();

// The codec class whose description has a name equal to `encodingName`,
// ignoring the case of A to Z only; none when no entry matches or the name is
// empty.  Fails with EConvertError when the name has a character outside
// US-ASCII.
TCodecClass findCodecClass(std::u16string_view encodingName);

// The bytes that start a document in `codecClass` for the marks asked for;
// empty when that codec takes no mark.
std::string_view byteOrderMark(TCodecClass codecClass, TByteOrderMarkSet marks);

}  // namespace brimlow::codecs
