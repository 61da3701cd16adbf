// Keeps the OpenGL driver loaded to the end of a test program, for LeakSanitizer. Mesa's EGL
// and driver (libEGL_mesa.so, *_dri.so) are unloaded by exit handlers before LeakSanitizer
// looks; what they keep is then reported under no name that tests/lsan.supp could match, while
// loaded, their globals still hold it and nothing is reported. Call it once a window or device
// has loaded the driver.
#pragma once

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace test {

inline void KeepGlDriverLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            const char* name = info->dlpi_name;
            const std::size_t n = std::strlen(name);
            if ((n > 7 && std::strcmp(name + n - 7, "_dri.so") == 0) ||
                std::strstr(name, "libEGL_mesa.so"))
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

}  // namespace test
