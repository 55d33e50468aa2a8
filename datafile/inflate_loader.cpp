// The process-wide current library loader.
#include "datafile/inflate_library.h"

namespace ql {

namespace {
LibraryLoader* current = nullptr;  // null: the platform's own
}  // namespace

LibraryLoader& libraryLoader() { return current ? *current : nativeLibraryLoader(); }

LibraryLoader* setLibraryLoader(LibraryLoader* loader) {
    LibraryLoader* previous = &libraryLoader();
    current = loader;
    return previous;
}

}  // namespace ql
