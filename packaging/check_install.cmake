# Installs the build into PREFIX and checks that every file a user needs is there.
# Usage: cmake -DBUILD_DIR=<build> -DPREFIX=<folder> -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
foreach(file
        bin/vantor-xml
        bin/vantor-xml-cli
        share/applications/vantor-xml.desktop
        share/icons/hicolor/scalable/apps/vantor-xml.svg
        share/icons/hicolor/256x256/apps/vantor-xml.png
        share/man/man1/vantor-xml.1.gz
        share/man/man1/vantor-xml-cli.1.gz
        share/vantor-xml/Vantor_XML.pdf
        share/doc/vantor-xml/Vantor_XML.pdf
        lib/systemd/user/vantor-xml-watch.service)
    # EXISTS follows the link of the documentation folder to the manual.
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND ${PREFIX}/bin/vantor-xml-cli --version OUTPUT_VARIABLE version
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT version MATCHES "^vantor-xml-cli \\(Vantor-XML\\) ")
    message(FATAL_ERROR "installed vantor-xml-cli --version: ${version}")
endif()
file(STRINGS ${PREFIX}/lib/systemd/user/vantor-xml-watch.service start REGEX "^ExecStart=")
if(NOT start STREQUAL "ExecStart=${PREFIX}/bin/vantor-xml-cli watch")
    message(FATAL_ERROR "the watcher's service starts: ${start}")
endif()
