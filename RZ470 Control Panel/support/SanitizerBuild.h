#pragma once

// RZ470_ADDRESS_SANITIZER is defined in a build under AddressSanitizer. GCC announces it with
// __SANITIZE_ADDRESS__, Clang 14 only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define RZ470_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RZ470_ADDRESS_SANITIZER 1
#endif
#endif
