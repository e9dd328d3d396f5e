#include "LibraryErrorGuard.h"

#include <windows.h>

#include <cstring>

#include "IWVestra.h"

// RtlUnwind on 32-bit Windows does not keep the caller's EBX, ESI, EDI and
// EBP (MSVC's own unwinding saves them around it), so the handler calls it
// through this, which does; code after it may then use any register.
extern "C" void __stdcall IwvUnwindTo(void* frame, EXCEPTION_RECORD* record);

asm(R"(
    .text
    .p2align 4
    .globl _IwvUnwindTo@8
_IwvUnwindTo@8:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl $0
    pushl 28(%esp)
    pushl $0
    pushl 32(%esp)
    call _RtlUnwind@16
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret $8
)");

namespace iwv::host {
namespace {

// An exception registration record on the stack, as the 32-bit Windows
// dispatcher walks them through fs:[0], followed by what the handler needs to
// get back into CallGuarded.
struct Registration {
    Registration* next;
    void* handler;
    void* landing[5];  // __builtin_setjmp buffer
    char message[4096];
};

EXCEPTION_DISPOSITION __cdecl OnException(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    // Only the library's error as documented: its code, non-continuable, with
    // the message's address.
    if (record->ExceptionCode != IWV_LIBRARY_ERROR || !(record->ExceptionFlags & EXCEPTION_NONCONTINUABLE) ||
        record->NumberParameters < 1)
        return ExceptionContinueSearch;
    auto* registration = static_cast<Registration*>(frame);
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[0]);
    std::strncpy(registration->message, text ? text : "", sizeof registration->message - 1);
    // Unwind every frame between the raise and this record, as __except does,
    // then resume in CallGuarded.
    IwvUnwindTo(frame, record);
    __builtin_longjmp(registration->landing, 1);
}

Registration* Head() {
    Registration* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetHead(Registration* head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

}  // namespace

GuardedResult CallGuarded(std::int32_t (*call)(void*), void* argument) {
    GuardedResult result;
    Registration registration{};
    registration.next = Head();
    registration.handler = reinterpret_cast<void*>(&OnException);
    if (__builtin_setjmp(registration.landing)) {
        SetHead(registration.next);
        result.raised = true;
        result.message = registration.message;
        return result;
    }
    SetHead(&registration);
    result.value = call(argument);
    SetHead(registration.next);
    return result;
}

}  // namespace iwv::host
