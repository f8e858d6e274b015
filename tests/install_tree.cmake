# Installs the build into a fresh temporary prefix and checks that every file a
# desktop needs is where it looks for it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
set(expected
    bin/velkaro
    ${LIBDIR}/velkaro/${HELP_MODULE}
    ${LIBDIR}/velkaro/${SVG_MODULE}
    share/velkaro/kl_VKOV30_Help.qch
    share/applications/velkaro.desktop
    share/metainfo/velkaro.metainfo.xml
    share/icons/hicolor/scalable/apps/velkaro.svg)
foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/velkaro.png)
endforeach()
foreach(f ${expected})
    if(NOT EXISTS ${PREFIX}/${f})
        message(FATAL_ERROR "missing after install: ${f}")
    endif()
endforeach()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(LENGTH expected n_expected)
list(LENGTH installed n_installed)
if(NOT n_installed EQUAL n_expected)
    message(FATAL_ERROR "unexpected files installed: ${installed}")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "install tree complete: ${n_installed} files")
