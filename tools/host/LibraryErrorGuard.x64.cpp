#include "LibraryErrorGuard.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "IWVestra.h"

// x64 Windows finds exception handlers in each function's unwind data, not in
// a chain on the stack. GCC has no __try, so the guarded call goes through a
// small function whose unwind data names OnLibraryError as its handler. Its
// frame keeps the Guard's address 32 bytes above the frame's stack pointer,
// just past the callee's home area.
extern "C" std::int32_t IwvGuardedCall(std::int32_t (*call)(void*), void* argument, void* guard);
extern "C" char IwvGuardedCallCaught[];
extern "C" EXCEPTION_DISPOSITION OnLibraryError(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                                DISPATCHER_CONTEXT* dispatcher);

asm(R"(
    .text
    .p2align 4
    .globl IwvGuardedCall
    .globl IwvGuardedCallCaught
    .def IwvGuardedCall; .scl 2; .type 32; .endef
    .seh_proc IwvGuardedCall
IwvGuardedCall:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    movq %r8, 32(%rsp)
    movq %rcx, %rax
    movq %rdx, %rcx
    callq *%rax
    nop
IwvGuardedCallCaught:
    addq $40, %rsp
    ret
    .seh_handler OnLibraryError, @except
    .seh_endproc
)");

namespace iwv::host {
namespace {

struct Guard {
    bool raised;
    char message[4096];
};

}  // namespace
}  // namespace iwv::host

extern "C" EXCEPTION_DISPOSITION OnLibraryError(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                                DISPATCHER_CONTEXT* dispatcher) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    // Only the library's error as documented: its code, non-continuable, with
    // the message's address.
    if (record->ExceptionCode != IWV_LIBRARY_ERROR || !(record->ExceptionFlags & EXCEPTION_NONCONTINUABLE) ||
        record->NumberParameters < 1)
        return ExceptionContinueSearch;
    auto* guard = *reinterpret_cast<iwv::host::Guard**>(static_cast<char*>(frame) + 32);
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[0]);
    std::strncpy(guard->message, text ? text : "", sizeof guard->message - 1);
    guard->raised = true;
    // Unwind every frame between the raise and IwvGuardedCall, as __except
    // does, and resume there with the result 0.
    ::RtlUnwindEx(frame, IwvGuardedCallCaught, record, nullptr, context, dispatcher->HistoryTable);
    std::abort();
}

namespace iwv::host {

GuardedResult CallGuarded(std::int32_t (*call)(void*), void* argument) {
    Guard guard{};
    GuardedResult result;
    result.value = IwvGuardedCall(call, argument, &guard);
    if (guard.raised) {
        result.raised = true;
        result.value = 0;
        result.message = guard.message;
    }
    return result;
}

}  // namespace iwv::host
