/*
 * A stand-in for the zlib library that lacks the "inflate" entry point.
 * The inflate host test puts it in the cache folder as ZLIB1.dll: starting
 * succeeds, every decompression call finds no "inflate", and ending calls
 * this "inflateEnd".  partialCalls counts the calls for the test.
 */
static int calls;

__declspec(dllexport) int inflateInit_(void* stream, const char* version, int size) {
    return (void)stream, (void)version, (void)size, calls += 1, 0;
}
__declspec(dllexport) int inflateEnd(void* stream) { return (void)stream, calls += 100, 0; }
__declspec(dllexport) int partialCalls(void) { return calls; }
