// One libFuzzer program per target: QMX_FUZZ_TARGET names the entry point this build feeds.
#include "fuzz_targets.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto run = [] {
        for (const qmx::fuzz::Target& t : qmx::fuzz::targets())
            if (std::strcmp(t.name, QMX_FUZZ_TARGET) == 0)
                return t.run;
        std::abort();
    }();
    return run(data, size);
}
