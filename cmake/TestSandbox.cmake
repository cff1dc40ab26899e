# Every test runs with a home, data, cache, config, state and runtime folder of its own under the
# build tree, so that no test reads or writes the real user's files, fonts or settings.
function(tonquill_sandbox_environment test home)
    file(MAKE_DIRECTORY ${home} ${home}/run)
    file(CHMOD ${home}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
        "HOME=${home}"
        "XDG_DATA_HOME=${home}/.local/share"
        "XDG_CACHE_HOME=${home}/.cache"
        "XDG_CONFIG_HOME=${home}/.config"
        "XDG_STATE_HOME=${home}/.local/state"
        "XDG_RUNTIME_DIR=${home}/run"
        ${ARGN})
endfunction()
