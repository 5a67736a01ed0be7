#pragma once

// The data tests' name for the platform that passes every call to the
// system's own; a test overrides only the answers it wants to change.

#include "../platform/delegatingPlatform.h"

namespace brimlow::test {

using ForwardingPlatform = platform::testing::DelegatingPlatform;

}  // namespace brimlow::test
