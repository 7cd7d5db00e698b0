# Hardened programs on Linux, as distributions build theirs: a stack protector, stack-clash probes,
# checked libc calls where the compiler can see buffer sizes, position-independent executables, and
# relocations resolved at start and then made read-only (full RELRO).
if(WIN32)
    return()
endif()

add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat
    -Werror=format-security)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i.86)$")
    add_compile_options(-fcf-protection)
endif()
# Checked libc calls need the optimiser; an unoptimised build would only get a warning for them.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_link_options(-Wl,-z,relro -Wl,-z,now)
