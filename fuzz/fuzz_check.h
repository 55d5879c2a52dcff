#pragma once

// What a fuzz target does when a property fails: say what and with which values, then abort,
// so that libFuzzer keeps the input and the run ends with a non-zero exit.

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace fb::fuzz {

inline void require(bool holds, const char *property, const QString &detail = {})
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz property failed: %s\n  %s\n", property, qPrintable(detail));
    std::abort();
}

} // namespace fb::fuzz
