# nlohmann/json (Debian's nlohmann-json3-dev, header only) for all three trees. Its CMake
# package would put the host's whole /usr/include on the mingw trees' include path, where the
# host's C headers break the cross compilers; so only the library's own folder is mirrored.
find_path(ZT_NLOHMANN_JSON_DIR nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZT_NLOHMANN_JSON_DIR)
  message(FATAL_ERROR "nlohmann/json.hpp not found: run scripts/setup (nlohmann-json3-dev)")
endif()
set(ZT_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${ZT_JSON_INCLUDE})
file(CREATE_LINK ${ZT_NLOHMANN_JSON_DIR}/nlohmann ${ZT_JSON_INCLUDE}/nlohmann SYMBOLIC)
add_library(zt_json INTERFACE)
target_include_directories(zt_json SYSTEM INTERFACE ${ZT_JSON_INCLUDE})
