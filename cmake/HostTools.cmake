# Programs that run during the build (the skin picture generator and the skin packer).
# A native build uses its own targets; a cross build builds them once more for the build host
# as an external project from the same sources. Sets:
#   TAVLOX_HOST_SKIN_GENERATOR   command of the picture generator
#   TAVLOX_HOST_TAVLOX_SKIN      command of tavlox-skin
#   TAVLOX_HOST_TOOLS_DEPENDS    what a custom command running them must depend on
include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING)
  set(TAVLOX_HOST_SKIN_GENERATOR $<TARGET_FILE:skin-generator>)
  set(TAVLOX_HOST_TAVLOX_SKIN $<TARGET_FILE:tavlox-skin>)
  set(TAVLOX_HOST_TOOLS_DEPENDS skin-generator tavlox-skin)
else()
  include(ExternalProject)
  set(host_dir ${CMAKE_BINARY_DIR}/host-tools)
  set(TAVLOX_HOST_SKIN_GENERATOR ${host_dir}/skin-generator/skin-generator)
  set(TAVLOX_HOST_TAVLOX_SKIN ${host_dir}/tavlox-skin/tavlox-skin)
  # The host compilers are named explicitly so that nothing of the cross toolchain leaks in.
  find_program(TAVLOX_HOST_CC NAMES cc gcc clang REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  find_program(TAVLOX_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  ExternalProject_Add(tavlox_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/skin-generator/host
    BINARY_DIR ${host_dir}
    CMAKE_GENERATOR ${CMAKE_GENERATOR}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
               -DCMAKE_C_COMPILER=${TAVLOX_HOST_CC}
               -DCMAKE_CXX_COMPILER=${TAVLOX_HOST_CXX}
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target skin-generator tavlox-skin
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${TAVLOX_HOST_SKIN_GENERATOR} ${TAVLOX_HOST_TAVLOX_SKIN})
  set(TAVLOX_HOST_TOOLS_DEPENDS tavlox_host_tools ${TAVLOX_HOST_SKIN_GENERATOR} ${TAVLOX_HOST_TAVLOX_SKIN})
endif()
