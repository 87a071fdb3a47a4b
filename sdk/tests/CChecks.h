/* Checks of the plain C test programs: each failed check prints where and
 * what, and counts; the program ends with CHECK_RESULT(). */
#ifndef SDK_TESTS_CCHECKS_H
#define SDK_TESTS_CCHECKS_H

#include <stdio.h>

static int g_failures = 0;

#define CHECK(condition)                                                             \
    do {                                                                             \
        if (!(condition)) {                                                          \
            fprintf(stderr, "%s:%d: %s is false\n", __FILE__, __LINE__, #condition); \
            ++g_failures;                                                            \
        }                                                                            \
    } while (0)

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        const long long a_ = (long long)(actual), e_ = (long long)(expected);                      \
        if (a_ != e_) {                                                                            \
            fprintf(stderr, "%s:%d: %s is %lld, expected %lld\n", __FILE__, __LINE__, #actual, a_, \
                    e_);                                                                           \
            ++g_failures;                                                                          \
        }                                                                                          \
    } while (0)

#endif /* SDK_TESTS_CCHECKS_H */
