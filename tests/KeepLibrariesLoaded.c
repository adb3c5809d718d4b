/* Preloaded by the sanitized test run: libraries are never unloaded, so that the leak checker
 * can still name the system library (Mesa's driver, which SDL's shut-down unloads) that a leak
 * at exit comes from, and tests/sanitizer.supp can leave it alone. */
int dlclose(void* handle) {
    (void)handle;
    return 0;
}
