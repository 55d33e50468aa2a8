// The exported entry points, the live-object count and slot 0.
#include "object/win32/qlcommon_impl.h"

namespace ql {

namespace {
// Objects made by GetQLObject and not yet destroyed.  A plain integer: the
// library takes no locks; objects belong to the host's user-interface thread.
int32_t liveObjects = 0;
}  // namespace

uint32_t QLCommon::GetInterfaceVersion() {
    return state_ ? state_->interfaceVersion : 0;
}

// Written by the library entry point (object/win32/dllmain.cpp).
HINSTANCE moduleInstance = nullptr;

}  // namespace ql

using ql::QLCommon;
using ql::QLState;

extern "C" ICommon* GetQLObject(void* hostContext) {
    ++ql::liveObjects;  // raised first: an allocation failure keeps the raise
    QLCommon* object = new QLCommon(nullptr);
    QLState* state;
    try {
        state = new QLState{};  // every field zero or null
    } catch (...) {
        delete object;
        throw;
    }
    state->hostContext = hostContext;
    state->interfaceVersion = QL_INTERFACE_VERSION;
    object->setState(state);
    return object;
}

extern "C" int32_t QLRelease(void) { return ql::liveObjects; }

extern "C" void QLDestroy(ICommon* object) {
    --ql::liveObjects;  // also for null
    if (!object) return;
    QLCommon* self = static_cast<QLCommon*>(object);
    if (QLState* s = self->state()) {
        s->file.stream.reset();  // waiting bytes are not written
        s->file.ioBuffer.reset();
        s->elements.store.reset();
        s->progressWindow.reset();
        s->fileHandle.reset();  // waiting bytes are not written
        s->warningNames.reset();
        s->zlibModule.reset();
        s->zStream.reset();  // without inflateEnd: a host ends its block with InflateFinish
        delete s;
        self->setState(nullptr);
    }
    delete self;
}
