# Hardening of every optimised build (Release, RelWithDebInfo): fortified
# libc calls, stack protector, position-independent executables, and a
# read-only relocation table bound at start (-z relro -z now). Left out of
# the sanitizer and fuzzer builds, whose run-time libraries do their own
# checking.
if(VANTRELL_SANITIZE OR VANTRELL_FUZZ)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(vantrell_optimised "$<CONFIG:Release,RelWithDebInfo>")
add_compile_options(
  "$<${vantrell_optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
add_link_options("$<${vantrell_optimised}:LINKER:-z,relro;LINKER:-z,now>")
