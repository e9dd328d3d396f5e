#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace iwv::test {

struct CheckedResult {
    std::uint32_t value;
    // Stack pointer after the call less the one before it: 0 when the callee
    // removed exactly the arguments it was given, as the host expects.
    std::int32_t stackDelta;
};

// Pushes the 32-bit arguments right to left, calls function and compares the
// stack pointer before the pushes with the one after the return. The stack is
// put back whatever the callee did, so a wrong convention fails a test instead
// of crashing the test program.
inline CheckedResult CallChecked(void* function, std::initializer_list<std::uint32_t> arguments) {
    const std::vector<std::uint32_t> words(arguments);
    const std::uint32_t* data = words.data();
    const std::uint32_t count = static_cast<std::uint32_t>(words.size());
    std::uint32_t value;
    std::int32_t delta;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "movl %[count], %%ecx\n"
        "1:\n\t"
        "testl %%ecx, %%ecx\n\t"
        "jz 2f\n\t"
        "pushl -4(%[data],%%ecx,4)\n\t"
        "decl %%ecx\n\t"
        "jmp 1b\n"
        "2:\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %%edx\n\t"
        "subl %%esi, %%edx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(value), "=d"(delta)
        : [function] "r"(function), [data] "r"(data), [count] "r"(count)
        : "ecx", "esi", "memory", "cc");
    return {value, delta};
}

}  // namespace iwv::test
