#pragma once

// The work of each fuzz target, callable from the fuzzer's entry point and
// from the regression test that replays every input a fuzzer ever broke on.

#include <string_view>

namespace brimlow::fuzz {

// The event scanner with every handler; the first byte chooses Normalize.
void ScanAnyBytes(std::string_view bytes);
// The downloads list reader and the category reader.
void ReadAnyList(std::string_view bytes);
// A list that loads is saved, loaded and saved again without a change.
void RoundTripAnyList(std::string_view bytes);
// A tree built by any sequence of the document tree's operations is written.
void SerializeAnyTree(std::string_view bytes);

}  // namespace brimlow::fuzz
