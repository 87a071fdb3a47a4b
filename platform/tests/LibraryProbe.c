/* A library for the dynamic-loading tests: one exported function. */
__attribute__((visibility("default"))) int platform_probe_answer(void) {
    return 42;
}
