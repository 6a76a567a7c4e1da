// A library that is no plug-in: it exports none of the module entry points.
extern "C" __attribute__((visibility("default"))) int aeroquinTestNothing() {
    return 0;
}
