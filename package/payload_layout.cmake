# Checks the folder of the distributor's third-party payloads (PAYLOAD_DIR):
# only the places the installer takes files from are accepted, since anything
# else would ship unchecked or make the installer refuse every run. Sets
# files_variable to the folder's files (none for an empty value).
#
# Included by package/CMakeLists.txt; the tests run it as a script:
#   cmake -D PAYLOAD_DIR=<folder> -P payload_layout.cmake

function(check_payload_layout folder files_variable)
    set(files "")
    if(NOT folder STREQUAL "")
        if(NOT IS_DIRECTORY "${folder}")
            message(FATAL_ERROR "PAYLOAD_DIR: \"${folder}\" is not a folder")
        endif()
        # A file added later makes the build configure again.
        set(rescan CONFIGURE_DEPENDS)
        if(CMAKE_SCRIPT_MODE_FILE)
            set(rescan "")
        endif()
        file(GLOB_RECURSE files LIST_DIRECTORIES false ${rescan} ${folder}/*)
        set(layout "^(sun/ocf1\\.2\\.jar|sun/ocfpcsc1\\.dll|msie/ocfpcsc1\\.dll|msie/ocf/.+|ns/ocfpcsc1\\.dll|ns/jars/.+|Drivers/.+)$")
        foreach(file IN LISTS files)
            file(RELATIVE_PATH path ${folder} ${file})
            # Printable ASCII without the characters Windows refuses in a name.
            string(FIND "${path}" "\\" backslash)
            if(NOT path MATCHES "${layout}" OR NOT path MATCHES "^[ -~]+$" OR path MATCHES "[:*?\"<>|]"
               OR NOT backslash EQUAL -1)
                message(FATAL_ERROR "PAYLOAD_DIR: \"${path}\" is not a payload the installer uses; it takes "
                                    "sun/ocf1.2.jar, sun/ocfpcsc1.dll, msie/ocfpcsc1.dll, msie/ocf/..., ns/ocfpcsc1.dll, "
                                    "ns/jars/... and Drivers/... (names in printable ASCII)")
            endif()
        endforeach()
    endif()
    set(${files_variable} "${files}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    check_payload_layout("${PAYLOAD_DIR}" files)
endif()
