/* A stand-in zlib without the "inflate" entry point: the inflate test puts it in the cache folder. */
__declspec(dllexport) int inflateInit_(void* stream, const char* version, int size) {
    (void)stream;
    (void)version;
    return size > 0 ? 0 : -2;
}
__declspec(dllexport) int inflateEnd(void* stream) { return stream ? 0 : -2; }
