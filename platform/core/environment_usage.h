// The environment variables that tessaline and tessaline-snapshot read, as both usage texts (and
// so both man pages) give them: a string literal, so that it joins the texts around it.
#pragma once

// clang-format off
#define TESS_ENVIRONMENT_USAGE \
    "Environment:\n" \
    "  TESSALINE_TRACE=FILE  write every platform call the program makes to FILE, one line each,\n" \
    "                        with notes that explain calls (a refusal's reason, shader digests)\n" \
    "  TESSALINE_DEBUG=1     turn on the Direct3D 9 debug layer: one line on stderr per finding\n" \
    "                        (tessaline-snapshot: on unless --no-debug)\n" \
    "  TESSALINE_COMPILE_CACHE=DIR\n" \
    "                        keep successful shader compiles in DIR (off: keep none) instead of\n" \
    "                        tessaline/compiles under XDG_CACHE_HOME or ~/.cache; an unchanged\n" \
    "                        shader then starts without running the compiler\n"
// clang-format on
