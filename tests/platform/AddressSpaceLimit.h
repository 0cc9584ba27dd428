// Caps a test child's address space, so that a reader that grows without bound fails instead of
// taking the machine. An address-sanitizer build reserves terabytes of shadow address space, so
// there the cap cannot apply and is left out: the readers' own bounds are what the tests check,
// the cap is only a safety net.
#pragma once

#include <cstdint>

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ADDRESS_SANITIZER 1
#endif
#endif

namespace quillon::testkit {

inline void LimitAddressSpace(std::uint64_t bytes) {
#ifdef QUILLON_ADDRESS_SANITIZER
    (void)bytes;
#else
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    ::setrlimit(RLIMIT_AS, &limit);
#endif
}

}  // namespace quillon::testkit
