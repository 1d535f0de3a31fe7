/* 48 MiB of initialised data: the linker places the resource section after it, so the
   version resource lies near the end of a large file. */
char padding[48 << 20] = {1};
void start(void) {}
