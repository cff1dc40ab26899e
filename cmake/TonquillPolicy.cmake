# One build policy, set on each of our targets rather than on whole folders, so that the program,
# its tests, benchmarks and fuzz targets and the Windows installation all build alike. The build
# stays free of warnings; the sanitizer build of the test command turns them into errors, the
# user's own build never does.
function(tonquill_policy)
    foreach(target ${ARGN})
        target_compile_options(${target} PRIVATE
            "$<$<CXX_COMPILER_ID:GNU,Clang>:-Wall;-Wextra;-Wpedantic;-Wshadow>")
        target_compile_definitions(${target} PRIVATE QT_DISABLE_DEPRECATED_BEFORE=0x060400)
    endforeach()
endfunction()
