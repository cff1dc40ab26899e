# Every test runs with a home of its own under the build tree, its folders named in
# tools/sandbox.list, so that no test reads or writes the real user's files, fonts or settings. The
# list is found from this file, since the project including it may have its source elsewhere.
get_filename_component(TONQUILL_SANDBOX_LIST ${CMAKE_CURRENT_LIST_DIR}/../tools/sandbox.list
    ABSOLUTE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TONQUILL_SANDBOX_LIST})

function(tonquill_sandbox_environment test home)
    file(STRINGS ${TONQUILL_SANDBOX_LIST} lines REGEX "^[^#]")
    set(environment)
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=(.*)$")
            message(FATAL_ERROR "${TONQUILL_SANDBOX_LIST}: not NAME=folder: ${line}")
        endif()
        set(name ${CMAKE_MATCH_1})
        set(folder ${home})
        if(NOT CMAKE_MATCH_2 STREQUAL "" AND NOT CMAKE_MATCH_2 STREQUAL ".")
            string(APPEND folder "/${CMAKE_MATCH_2}")
        endif()
        file(MAKE_DIRECTORY ${folder})
        if(name STREQUAL "XDG_RUNTIME_DIR")
            file(CHMOD ${folder} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
        endif()
        list(APPEND environment "${name}=${folder}")
    endforeach()
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ${environment} ${ARGN})
endfunction()
