// Whether this build runs under AddressSanitizer, in the spellings of both compilers (g++ defines
// __SANITIZE_ADDRESS__, clang answers __has_feature): BRAMBOLT_UNDER_ASAN is 1 then.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define BRAMBOLT_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRAMBOLT_UNDER_ASAN 1
#endif
#endif
