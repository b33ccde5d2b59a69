// Where the link pictures of the information panel lead.
#pragma once

namespace qv::links {

inline constexpr const char* kAuthorMail = "mailto:ostrel@ostrel.example?subject=Quarvel v1.01";
inline constexpr const char* kCoAuthorMail = "mailto:tev@ostrel.example?subject=Quarvel v1.01";
inline constexpr const char* kWebPage = "http://www.ostrel.example/";

}  // namespace qv::links
