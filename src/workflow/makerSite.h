#pragma once

// The maker's web addresses, in one place.  The paths and the query that the
// help menu appends to them are fixed; the sites themselves may move.

namespace brimlow {

inline constexpr const char* kMakerSite = "https://www.kelvane.example";
inline constexpr const char* kForumSite = "https://forum.kelvane.example";

inline constexpr const char* kHomePagePath = "/tarvolt/brimlow/";
inline constexpr const char* kSupportPagePath =
    "/index.phtml?page=support&tmp=1&lng=Russian&product=Tarvolt%20Brimlow&version=1.0&os=";
inline constexpr const char* kForumPath = "/forum/brimlow";

}  // namespace brimlow
