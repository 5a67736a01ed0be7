#pragma once

// The code page and the locale's decimal separator are taken from the
// environment at their first use and kept for the rest of the process
// (LC_ALL, LC_CTYPE, LANG for the code page; LC_ALL, LC_NUMERIC, LANG for the
// separator).

namespace brimlow::platform {

// Forgets both choices, so that the next use reads the environment again.
// For tests that change the locale variables; not to be called while another
// thread converts text.
void rereadLocaleEnvironment();

}  // namespace brimlow::platform
