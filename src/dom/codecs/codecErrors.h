#pragma once

// Errors of the output sink and the codecs.  They carry fixed English messages;
// the serializer turns some of them into error reports of its own.

#include <stdexcept>
#include <string>

namespace brimlow::codecs {

// A character that a codec cannot encode, or an encoding name that cannot be
// converted to US-ASCII.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The sink was given no destination.
class EOutputStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Misuse: an index out of range, or a required object not given.
class EAccessViolation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Upper-case hexadecimal without leading zeros, as the messages show code
// points.
std::string upperHex(unsigned long long value);

}  // namespace brimlow::codecs
