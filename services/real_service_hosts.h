// The real addresses of the two translation services. The shipped executable uses exactly
// these; nothing else in the code names a real host.
#pragma once

namespace real_hosts {

// The original routes, over plain HTTP.
inline constexpr char kGoogleHost[] = "translate.google.com";
inline constexpr char kGoogleReferer[] = "http://translate.google.com/";
inline constexpr char kMicrosoftHost[] = "api.microsofttranslator.com";
// Part of the Microsoft reply's root tag; the stand-in service answers with the same URI.
inline constexpr char kSerializationNamespace[] =
    "http://schemas.microsoft.com/2003/10/Serialization/";

// The services' current public endpoints, over HTTPS.
inline constexpr char kGoogleCurrentBase[] = "https://translate.googleapis.com";
inline constexpr char kMicrosoftCurrentBase[] = "https://edge.microsoft.com";

}  // namespace real_hosts
