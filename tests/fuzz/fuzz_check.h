// What a fuzz target asserts: a failed check is a finding, like a crash.
#pragma once
#include <stdio.h>
#include <stdlib.h>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            abort();                                                                       \
        }                                                                                  \
    } while (0)
